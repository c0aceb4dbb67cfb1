#include "wizards/Start_Card.h"

#include "model/Helpers.h"
#include "platform/Host.h"
#include "platform/LookAndFeel.h"
#include "wizards/Invitation_Globals.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

Start_Card* Start_Card::defaultInstance()
{
    static Start_Card* instance = new Start_Card;
    return instance;
}

Start_Card::Start_Card(QWidget* parent)
    : QDialog(parent)
{
    setWindowTitle(QStringLiteral("Start a New Card"));
    Apply_Dialog_Background(this);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(new QLabel(QStringLiteral("How would you like to begin?")));
    auto choice = [&](const QString& text, void (Start_Card::*action)()) {
        auto* b = new QPushButton(text);
        b->setMinimumHeight(36);
        b->setAutoDefault(false);
        connect(b, &QPushButton::clicked, this, action);
        layout->addWidget(b);
    };
    choice(QStringLiteral("Start from a Template"), &Start_Card::Using_Template_Click);
    choice(QStringLiteral("Use the Wizard"), &Start_Card::Using_Wizard_Click);
    choice(QStringLiteral("Open a Saved Design"), &Start_Card::Open_Log_Click);
    auto* buttons = new QHBoxLayout;
    auto* help = new QPushButton(QStringLiteral("Help"));
    auto* cancel = new QPushButton(QStringLiteral("Cancel"));
    connect(help, &QPushButton::clicked, this, &Start_Card::HelpClick);
    connect(cancel, &QPushButton::clicked, this, &Start_Card::CancelClick);
    buttons->addWidget(help);
    buttons->addStretch();
    buttons->addWidget(cancel);
    layout->addLayout(buttons);
}

int Start_Card::Open_Wnd()
{
    const int code = platform::runModal(*this);
    hide();
    return code;
}

void Start_Card::Select_card_option(int option)
{
    static const char* const letters[] = {"T", "W", "L"};
    if (option >= 0 && option < 3)
        Start_Card_Option = QString::fromLatin1(letters[option]);
    OK_Click();
}

void Start_Card::CancelClick()
{
    Start_Card_Option = QStringLiteral("");
    done(0);
    if (Cancel_Ends_Process)
        End_Process(0);
}

void Start_Card::HelpClick() { Open_Help_File(); }
