#include "output/Help_Support.h"

#include "model/Helpers.h"
#include "platform/Host.h"
#include "platform/LookAndFeel.h"

#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace {
// The maker's addresses. The domain is the maker's placeholder until its
// real addresses are set here.
struct Link {
    QPushButton* Help_Support::*button;
    const char* title;
    const char* target;
};
const Link kLinks[] = {
    {&Help_Support::website_1, "www.pelvoro.example/gleamcard", "https://www.pelvoro.example/gleamcard/"},
    {&Help_Support::reseller_1, "Resellers in Europe", "https://www.pelvoro.example/gleamcard/resellers/europe/"},
    {&Help_Support::reseller_2, "Resellers in America and Asia", "https://www.pelvoro.example/gleamcard/resellers/"},
    {&Help_Support::support_id, "support@pelvoro.example", "mailto:support@pelvoro.example?subject=Gleamcard"},
    {&Help_Support::support_id_2, "sales@pelvoro.example", "mailto:sales@pelvoro.example?subject=Gleamcard"},
};
}

Help_Support* Help_Support::defaultInstance()
{
    static Help_Support* instance = new Help_Support;
    return instance;
}

Help_Support::Help_Support(QWidget* parent)
    : QDialog(parent)
{
    setWindowTitle(QStringLiteral("Help and Support"));
    Apply_Dialog_Background(this);
    auto* layout = new QVBoxLayout(this);
    auto* heading = new QLabel(QStringLiteral("Gleamcard"));
    QFont big = heading->font();
    big.setBold(true);
    big.setPointSizeF(big.pointSizeF() * 1.4);
    heading->setFont(big);
    layout->addWidget(heading);

    _Help_File_Label = new QPushButton(QStringLiteral("Gleamcard Help (user guide)"));
    layout->addWidget(_Help_File_Label);
    connect(_Help_File_Label, &QPushButton::clicked, this, &Help_Support::HelpFilePressed);
    layout->addSpacing(8);
    layout->addWidget(new QLabel(QStringLiteral("On the web, where to buy, and support:")));
    for (const Link& link : kLinks) {
        auto* button = new QPushButton(QString::fromUtf8(link.title));
        this->*link.button = button;
        layout->addWidget(button);
        const QString target = QString::fromUtf8(link.target);
        connect(button, &QPushButton::clicked, this, [this, target] { Open_Link(target); });
    }
    for (QPushButton* b : {_Help_File_Label, website_1, reseller_1, reseller_2, support_id, support_id_2})
        Style_As_Link(b);

    auto* ok = new QPushButton(QStringLiteral("OK"));
    ok->setDefault(true);
    layout->addSpacing(8);
    layout->addWidget(ok, 0, Qt::AlignRight);
    connect(ok, &QPushButton::clicked, this, &Help_Support::OKPressed);
}

int Help_Support::Open_Wnd()
{
    const int code = platform::runModal(*this);
    hide();
    return code;
}

void Help_Support::HelpFilePressed()
{
    Open_Help_File();
}

void Help_Support::Open_Link(const QString& link)
{
    if (!platform::openUrl(QUrl(link))) {
        Show_NSLog_Message(QStringLiteral("Could not open %1").arg(link));
        Show_MessageBox(QStringLiteral("\"%1\" could not be opened: no application on this computer opens it.")
                            .arg(link));
    }
}

void Help_Support::OKPressed()
{
    hide();
    done(1);
}
