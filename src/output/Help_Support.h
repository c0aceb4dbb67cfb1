#pragma once
// The help window: the user guide and the links to the maker's website, its
// resellers and its support addresses, each shown as a link.
#include <QDialog>

class QPushButton;

class Help_Support : public QDialog {
    Q_OBJECT
public:
    static Help_Support* defaultInstance();
    // Runs the window until it is closed; its modal code.
    int Open_Wnd();

    QPushButton* _Help_File_Label;
    QPushButton* website_1;
    QPushButton* reseller_1;
    QPushButton* reseller_2;
    QPushButton* support_id;
    QPushButton* support_id_2;

public slots:
    // Opens "Help.pdf" of the resource folder, or says it is missing.
    void HelpFilePressed();
    // Opens a link with the default application; a link nothing can open is reported.
    void Open_Link(const QString& link);
    void OKPressed();

private:
    explicit Help_Support(QWidget* parent = nullptr);
};
