#include "output/Promotion_Form.h"

#include "model/Globals.h"
#include "model/Helpers.h"
#include "platform/Host.h"
#include "platform/LookAndFeel.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPainter>
#include <QPushButton>
#include <QUrl>
#include <QVBoxLayout>
#include <exception>
#include <functional>

namespace {
// The maker's products. Addresses are on the maker's placeholder domain, as
// in the help window, until its real ones are set here.
struct Product_Text {
    const char* code;
    const char* title;
    const char* short_descp;
    const char* long_descp;
    const char* picture; // in the resource folder
    const char* address;
    const char* page;
};
const Product_Text kProducts[] = {
    {"L", "Pelvoro Labelwright", "Address labels, envelopes and shipping labels from your lists.",
     "Labelwright prints address and shipping labels on all common label sheets and envelope sizes. "
     "Bring your addresses from a spreadsheet or a text file, choose a layout, add your logo and a "
     "return address, and see every sheet before it goes to the printer.",
     "Product_Labelwright.png", "labelwright@pelvoro.example", "https://www.pelvoro.example/labelwright/order/"},
    {"S", "Pelvoro Snapsheet", "Contact sheets, photo albums and picture grids in minutes.",
     "Snapsheet lays out a folder of photos as contact sheets, album pages or picture grids, with "
     "captions taken from the file names or from a list. Crop, straighten and brighten pictures on the "
     "page, then print or save the pages as images.",
     "Product_Snapsheet.png", "snapsheet@pelvoro.example", "https://www.pelvoro.example/snapsheet/order/"},
    {"T", "Pelvoro Tallybook", "Stock counts and barcode shelf labels for small shops.",
     "Tallybook keeps the count of what is on your shelves. Scan or type an item, see what is left, "
     "and print barcode shelf labels for new stock. Counts can be read from and written to "
     "spreadsheets, so your figures stay where you keep them.",
     "Product_Tallybook.png", "tallybook@pelvoro.example", "https://www.pelvoro.example/tallybook/order/"},
};

// Texts of the mail links: words, full stops and commas only, as nothing
// but line ends and spaces is escaped in them.
const char* const kMailSubject = "How to get started";
const char* const kMailBody = "Hello,\n"
                              "please send me the steps to try and buy this product.\n"
                              "Thank you.";
const char* const kContactSubject = "Question from a user of ";
const char* const kContactBody = "Hello,\n"
                                 "I use %1 and have a question about this product.\n";

void openLink(const QString& link)
{
    try {
        if (!platform::openUrl(QUrl(link)))
            Show_NSLog_Message(QStringLiteral("Could not open %1").arg(link));
    } catch (const std::exception& e) {
        Show_NSLog_Message(QString::fromUtf8(e.what()));
    }
}

// Runs a window modally and hides it after: its code, 0 when it failed.
int runModalOnce(QDialog& window, const std::function<void()>& fill = {})
{
    try {
        if (fill)
            fill();
        const int code = platform::runModal(window);
        window.hide();
        return code;
    } catch (const std::exception& e) {
        Show_NSLog_Message(QString::fromUtf8(e.what()));
        window.hide();
        return 0;
    }
}

QPushButton* linkButton(const QString& title)
{
    auto* button = new QPushButton(title);
    Style_As_Link(button);
    return button;
}
}

// ---------------------------------------------------------------- pattern view

Promotion_Pattern::Promotion_Pattern(QWidget* parent)
    : QWidget(parent)
{
    setMinimumSize(200, 200);
}

void Promotion_Pattern::setPattern(const QImage& pattern)
{
    _pattern = pattern;
    update();
}

void Promotion_Pattern::setImage(const QImage& image)
{
    _image = image;
    update();
}

void Promotion_Pattern::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    if (!_pattern.isNull()) {
        painter.save();
        painter.fillRect(rect(), QBrush(_pattern));
        painter.restore();
    }
    if (_image.isNull())
        return;
    const QSize size = _image.size().scaled(this->size() - QSize(16, 16), Qt::KeepAspectRatio).boundedTo(_image.size());
    const QRect target(QPoint((width() - size.width()) / 2, (height() - size.height()) / 2), size);
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    painter.drawImage(target, _image);
}

// ---------------------------------------------------------------- promotion window

const QString Promotion_Form::Product_Codes[3] = {QStringLiteral("L"), QStringLiteral("S"), QStringLiteral("T")};
const QString Promotion_Form::Video_Link = QStringLiteral("https://video.pelvoro.example/pelvoro/");

Promotion_Form* Promotion_Form::defaultInstance(const QString& appName)
{
    static Promotion_Form* Promotion_DefaultInstance =
        new Promotion_Form(appName.isEmpty() ? QStringLiteral("Gleamcard") : appName);
    return Promotion_DefaultInstance;
}

QString Promotion_Form::Mail_Link(const QString& address, const QString& subject, const QString& body)
{
    QString link = Trim_Str(QStringLiteral("mailto:") + address + QStringLiteral("?subject=") + subject
                            + QStringLiteral("&body=") + body);
    link = Replace_char_in_string(link, QStringLiteral("\n"), QStringLiteral("%0A%0A"));
    return Replace_char_in_string(link, QStringLiteral(" "), QStringLiteral("%20"));
}

Promotion_Form::Promotion_Form(const QString& appName)
    : QDialog(nullptr)
{
    for (const Product_Text& p : kProducts) {
        Promotion_Product product;
        product.title = QString::fromUtf8(p.title);
        product.short_descp = QString::fromUtf8(p.short_descp);
        product.long_descp = QString::fromUtf8(p.long_descp);
        product.picture = QImage(Resource_Path + QLatin1Char('/') + QString::fromUtf8(p.picture));
        const QString address = QString::fromUtf8(p.address);
        product.mail_link = Mail_Link(address, QString::fromUtf8(kMailSubject), QString::fromUtf8(kMailBody));
        product.contact_link = Mail_Link(address, QString::fromUtf8(kContactSubject) + appName,
                                         QString::fromUtf8(kContactBody).arg(appName));
        product.order_link = QString::fromUtf8(p.page);
        _products.insert(QString::fromUtf8(p.code), product);
    }

    setWindowTitle(QStringLiteral("Other Products"));
    Apply_Dialog_Background(this);
    auto* layout = new QHBoxLayout(this);
    bundle_image = new Promotion_Pattern;
    layout->addWidget(bundle_image);

    auto* side = new QVBoxLayout;
    Software_title = new QLabel;
    QFont big = Software_title->font();
    big.setBold(true);
    big.setPointSizeF(big.pointSizeF() * 1.6);
    Software_title->setFont(big);
    short_descp = new QLabel;
    QFont bold = short_descp->font();
    bold.setBold(true);
    short_descp->setFont(bold);
    long_descp = new QLabel;
    for (QLabel* l : {Software_title, short_descp, long_descp})
        l->setWordWrap(true);
    long_descp->setMinimumWidth(340);
    side->addWidget(Software_title);
    side->addWidget(short_descp);
    side->addWidget(long_descp, 1);

    website_1 = linkButton(QStringLiteral("Visit the product page"));
    support_id = linkButton(QStringLiteral("Ask us a question"));
    auto* links = new QHBoxLayout;
    links->addWidget(website_1);
    links->addWidget(support_id);
    links->addStretch();
    side->addLayout(links);

    auto* buttons = new QHBoxLayout;
    auto* mail = new QPushButton(QStringLiteral("Mail Me How"));
    auto* order = new QPushButton(QStringLiteral("Order Now"));
    auto* video = new QPushButton(QStringLiteral("Watch Videos"));
    auto* ok = new QPushButton(QStringLiteral("OK"));
    ok->setDefault(true);
    for (QPushButton* b : {mail, order, video})
        b->setAutoDefault(false);
    buttons->addWidget(mail);
    buttons->addWidget(order);
    buttons->addWidget(video);
    buttons->addStretch();
    buttons->addWidget(ok);
    side->addLayout(buttons);
    layout->addLayout(side, 1);

    connect(website_1, &QPushButton::clicked, this, &Promotion_Form::Order_Clicked);
    connect(support_id, &QPushButton::clicked, this, &Promotion_Form::Contact_us_Clicked);
    connect(mail, &QPushButton::clicked, this, &Promotion_Form::Mail_Clicked);
    connect(order, &QPushButton::clicked, this, &Promotion_Form::Order_Clicked);
    connect(video, &QPushButton::clicked, this, &Promotion_Form::youtube_Clicked);
    connect(ok, &QPushButton::clicked, this, &Promotion_Form::OK_Clicked);
}

const Promotion_Product* Promotion_Form::product(const QString& code) const
{
    const auto it = _products.constFind(code);
    return it == _products.constEnd() ? nullptr : &*it;
}

int Promotion_Form::Open_Promotion_Window()
{
    return runModalOnce(*this, [this] {
        if (const Promotion_Product* p = product(software_type)) {
            bundle_image->setImage(p->picture);
            Software_title->setText(p->title);
            short_descp->setText(p->short_descp);
            long_descp->setText(p->long_descp);
            setWindowTitle(p->title);
        }
    });
}

void Promotion_Form::OK_Clicked()
{
    done(1);
}

void Promotion_Form::Mail_Clicked()
{
    const Promotion_Product* p = product(software_type);
    Open_Link(p ? p->mail_link : QString());
}

void Promotion_Form::Contact_us_Clicked()
{
    const Promotion_Product* p = product(software_type);
    Open_Link(p ? p->contact_link : QString());
}

void Promotion_Form::Order_Clicked()
{
    const Promotion_Product* p = product(software_type);
    Open_Link(p ? p->order_link : QString());
}

void Promotion_Form::youtube_Clicked()
{
    Open_Link(Video_Link);
}

void Promotion_Form::Open_Link(const QString& link)
{
    openLink(link);
}

// ---------------------------------------------------------------- review window

const QString Review_Form::Review_Link = QStringLiteral("https://www.pelvoro.example/gleamcard/review/");

Review_Form* Review_Form::defaultInstance()
{
    static Review_Form* review_DefaultInstance = new Review_Form;
    return review_DefaultInstance;
}

Review_Form::Review_Form(QWidget* parent)
    : QDialog(parent)
{
    setWindowTitle(QStringLiteral("Review Gleamcard"));
    Apply_Dialog_Background(this);
    auto* layout = new QVBoxLayout(this);
    auto* heading = new QLabel(QStringLiteral("Enjoying Gleamcard?"));
    QFont big = heading->font();
    big.setBold(true);
    big.setPointSizeF(big.pointSizeF() * 1.4);
    heading->setFont(big);
    layout->addWidget(heading);
    auto* text = new QLabel(QStringLiteral("A few words from you help others find it, and tell us what to "
                                           "make better. Reviewing takes a minute on our review page."));
    text->setWordWrap(true);
    text->setMinimumWidth(360);
    layout->addWidget(text);
    website_1 = linkButton(QStringLiteral("www.pelvoro.example/gleamcard/review"));
    support_id = linkButton(QStringLiteral("Write a review"));
    layout->addWidget(website_1, 0, Qt::AlignLeft);
    layout->addWidget(support_id, 0, Qt::AlignLeft);
    auto* buttons = new QHBoxLayout;
    auto* later = new QPushButton(QStringLiteral("Later"));
    auto* ok = new QPushButton(QStringLiteral("Review Now"));
    ok->setDefault(true);
    later->setAutoDefault(false);
    buttons->addStretch();
    buttons->addWidget(later);
    buttons->addWidget(ok);
    layout->addLayout(buttons);
    connect(website_1, &QPushButton::clicked, this, &Review_Form::Review_Clicked);
    connect(support_id, &QPushButton::clicked, this, &Review_Form::Review_Clicked);
    connect(later, &QPushButton::clicked, this, &QDialog::reject);
    connect(ok, &QPushButton::clicked, this, &Review_Form::OK_Clicked);
}

int Review_Form::Open_Review_Form_Window()
{
    return runModalOnce(*this);
}

void Review_Form::OK_Clicked()
{
    Open_Link(Review_Link);
    done(1);
}

void Review_Form::Review_Clicked()
{
    Open_Link(Review_Link);
    done(1);
}

void Review_Form::Open_Link(const QString& link)
{
    openLink(link);
}
