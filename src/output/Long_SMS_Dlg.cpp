#include "output/Long_SMS_Dlg.h"

#include "platform/Host.h"
#include "platform/LookAndFeel.h"

#include <QCheckBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>

QString Cutom_Msg_Title;
QString Cutom_Msg_Val;

Long_SMS_Dlg* Long_SMS_Dlg::defaultInstance()
{
    static Long_SMS_Dlg* instance = new Long_SMS_Dlg;
    return instance;
}

Long_SMS_Dlg::Long_SMS_Dlg(QWidget* parent)
    : QDialog(parent)
{
    setWindowTitle(QStringLiteral("Gleamcard"));
    Apply_Dialog_Background(this);
    resize(460, 320);
    auto* layout = new QVBoxLayout(this);
    _Msg_Title = new QLabel;
    QFont bold = _Msg_Title->font();
    bold.setBold(true);
    _Msg_Title->setFont(bold);
    _Msg_Val = new QPlainTextEdit;
    _Msg_Val->setReadOnly(true);
    apply_chk = new QCheckBox(QStringLiteral("Apply to all"));
    layout->addWidget(_Msg_Title);
    layout->addWidget(_Msg_Val);
    layout->addWidget(apply_chk);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    no_button = new QPushButton(QStringLiteral("No"));
    auto* cancel = new QPushButton(QStringLiteral("Cancel"));
    auto* ok = new QPushButton(QStringLiteral("OK"));
    ok->setDefault(true);
    buttons->addWidget(no_button);
    buttons->addWidget(cancel);
    buttons->addWidget(ok);
    layout->addLayout(buttons);
    connect(ok, &QPushButton::clicked, this, &Long_SMS_Dlg::OKPressed);
    connect(cancel, &QPushButton::clicked, this, &Long_SMS_Dlg::CancelPressed);
    connect(no_button, &QPushButton::clicked, this, &Long_SMS_Dlg::CancelPressed);
}

int Long_SMS_Dlg::Open_Long_sms_Dialog()
{
    if (!title_val.isEmpty()) {
        _Msg_Title->setText(title_val);
        _Msg_Val->setPlainText(msg_val_str);
        no_button->show();
    } else {
        _Msg_Title->setText(Cutom_Msg_Title);
        _Msg_Val->setPlainText(Cutom_Msg_Val);
        no_button->hide();
    }
    apply_chk->setVisible(apply_chk_show);
    const int code = platform::runModal(*this);
    hide();
    title_val.clear();
    msg_val_str.clear();
    apply_chk_show = false;
    return code;
}

void Long_SMS_Dlg::OKPressed()
{
    Msg_Apply_All_Chk = apply_chk->isChecked();
    done(1);
}

void Long_SMS_Dlg::CancelPressed()
{
    done(0);
}
