#include "wizards/Insert_Template.h"

#include "model/Helpers.h"
#include "platform/Host.h"
#include "platform/LookAndFeel.h"

#include <QDialogButtonBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>

QString Template_Msg_Val = QStringLiteral("");

Insert_Template* Insert_Template::defaultInstance()
{
    static Insert_Template* instance = new Insert_Template;
    return instance;
}

Insert_Template::Insert_Template(QWidget* parent)
    : QDialog(parent)
{
    setWindowTitle(QStringLiteral("Templates"));
    Apply_Dialog_Background(this);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(new QLabel(QStringLiteral("Browse the ready-made wording, edit it if you like, then press OK.")));
    msg_value = new QPlainTextEdit;
    msg_value->setMinimumSize(420, 90);
    layout->addWidget(msg_value);
    auto* browseRow = new QHBoxLayout;
    auto* back = new QPushButton(QStringLiteral("< Back"));
    auto* next = new QPushButton(QStringLiteral("Next >"));
    connect(back, &QPushButton::clicked, this, &Insert_Template::Msg_Back_Click);
    connect(next, &QPushButton::clicked, this, &Insert_Template::Msg_Next_Click);
    browseRow->addWidget(back);
    browseRow->addWidget(next);
    browseRow->addStretch();
    layout->addLayout(browseRow);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel);
    connect(buttons->button(QDialogButtonBox::Ok), &QPushButton::clicked, this, &Insert_Template::OKPressed);
    connect(buttons->button(QDialogButtonBox::Cancel), &QPushButton::clicked, this, &Insert_Template::CancelPressed);
    layout->addWidget(buttons);
}

int Insert_Template::Open_Template_Dialog()
{
    Template_Msg_Val = QStringLiteral("");
    title_index = 0;
    message_index = 0;
    Load_Msg_And_Title();
    msg_value->setPlainText(title_or_msg == QLatin1String("T") ? Get_Title() : Get_Message());
    const int code = platform::runModal(*this);
    hide();
    return code;
}

void Insert_Template::browse(int step)
{
    if (title_or_msg == QLatin1String("T")) {
        Title_Step(step);
        msg_value->setPlainText(Get_Title());
    } else {
        Message_Step(step);
        msg_value->setPlainText(Get_Message());
    }
}

void Insert_Template::Msg_Back_Click() { browse(-1); }
void Insert_Template::Msg_Next_Click() { browse(1); }

void Insert_Template::OKPressed()
{
    Template_Msg_Val = Trim_Str(msg_value->toPlainText());
    if (!Template_Msg_Val.isEmpty()) {
        done(1);
        return;
    }
    Show_MessageBox(QStringLiteral("Please select message."));
    msg_value->setFocus();
}

void Insert_Template::CancelPressed()
{
    Template_Msg_Val = QStringLiteral("");
    done(0);
}
