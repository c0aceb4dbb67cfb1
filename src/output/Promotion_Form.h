#pragma once
// The product promotion window: one of three other products of the maker,
// with its picture, title, short and long description, and buttons that
// open a prepared e-mail, an enquiry e-mail, the order page or the maker's
// video page in the user's default applications. The review window asks the
// user to review the application on the maker's review page. Neither touches
// the design.
#include <QDialog>
#include <QHash>
#include <QImage>
#include <QWidget>

class QLabel;
class QPushButton;

// An image view that paints a repeating pattern behind its own image.
class Promotion_Pattern : public QWidget {
    Q_OBJECT
public:
    explicit Promotion_Pattern(QWidget* parent = nullptr);
    void setPattern(const QImage& pattern);
    void setImage(const QImage& image);
    QImage image() const { return _image; }
    QSize sizeHint() const override { return {240, 240}; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QImage _pattern, _image;
};

// What the window shows and opens for one product.
struct Promotion_Product {
    QString title, short_descp, long_descp;
    QImage picture;
    QString mail_link;    // the prepared how-to e-mail
    QString contact_link; // the enquiry e-mail
    QString order_link;   // the product's order page
};

class Promotion_Form : public QDialog {
    Q_OBJECT
public:
    // The product codes, one letter per product, in the order of the main
    // window's three commands.
    static const QString Product_Codes[3];
    // The maker's video page, the same for every product.
    static const QString Video_Link;

    // The shared instance; the first call builds the products' links with
    // the application's name (appName, or "Gleamcard" when empty).
    static Promotion_Form* defaultInstance(const QString& appName = QString());
    // Fills the window for software_type and runs it: 1 after OK, 0 when it
    // was closed or could not be opened.
    int Open_Promotion_Window();

    // A mail link: trimmed, each line end as "%0A%0A" and each space as
    // "%20"; the subject and body hold no other character a link reserves.
    static QString Mail_Link(const QString& address, const QString& subject, const QString& body);
    // The product of a code; nullptr for a code that names none.
    const Promotion_Product* product(const QString& code) const;

    QString software_type;
    Promotion_Pattern* bundle_image;
    QLabel* Software_title;
    QLabel* short_descp;
    QLabel* long_descp;
    QPushButton* website_1;
    QPushButton* support_id;

public slots:
    void OK_Clicked();
    void Mail_Clicked();
    void Contact_us_Clicked();
    void Order_Clicked();
    void youtube_Clicked();
    // Opens the link with the default application; a failure is logged.
    void Open_Link(const QString& link);

private:
    explicit Promotion_Form(const QString& appName);
    QHash<QString, Promotion_Product> _products;
};

class Review_Form : public QDialog {
    Q_OBJECT
public:
    static const QString Review_Link;
    static Review_Form* defaultInstance();
    // Runs the window: 1 after a review button, 0 when closed.
    int Open_Review_Form_Window();

    QPushButton* website_1;
    QPushButton* support_id;

public slots:
    void OK_Clicked();
    void Review_Clicked();
    void Open_Link(const QString& link);

private:
    explicit Review_Form(QWidget* parent = nullptr);
};
