#include "output/Email_Setting.h"

#include "model/Helpers.h"
#include "output/Mail_Script.h"
#include "output/Preferences.h"
#include "platform/Host.h"
#include "platform/LookAndFeel.h"

#include <QCoreApplication>
#include <QEventLoop>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QThread>
#include <QVBoxLayout>
#include <exception>

namespace {
const QString Test_Failed = QStringLiteral(
    "Please make sure that:\n1. Entered E-mail settings are correct.\n2. Internet connectivity to E-mail server is not "
    "interrupted and E-mail server is not down.\n3. Your Firewall or Security software (if any) is not blocking the "
    "software to communicate with your E-mail server.\n\nCould not send email.");
}

Email_Setting* Email_Setting::defaultInstance()
{
    static Email_Setting* instance = new Email_Setting;
    return instance;
}

Email_Setting::Email_Setting(QWidget* parent)
    : QDialog(parent)
{
    setWindowTitle(QStringLiteral("E-mail Settings"));
    Apply_Dialog_Background(this);
    auto* layout = new QVBoxLayout(this);
    auto* form = new QFormLayout;
    _send_mail_sender_mail = new QLineEdit;
    _send_mail_password = new QLineEdit;
    _send_mail_password->setEchoMode(QLineEdit::Password);
    _send_mail_smtp = new QLineEdit;
    _send_mail_port = new QLineEdit;
    _send_mail_ssl = new QRadioButton(QStringLiteral("SSL"));
    _send_mail_tls = new QRadioButton(QStringLiteral("TLS"));
    auto* security = new QHBoxLayout;
    security->addWidget(_send_mail_ssl);
    security->addWidget(_send_mail_tls);
    security->addStretch();
    form->addRow(QStringLiteral("Sender e-mail:"), _send_mail_sender_mail);
    form->addRow(QStringLiteral("Password:"), _send_mail_password);
    form->addRow(QStringLiteral("SMTP server:"), _send_mail_smtp);
    form->addRow(QStringLiteral("Port:"), _send_mail_port);
    form->addRow(QStringLiteral("Security:"), security);
    _send_mail_to = new QLineEdit;
    auto* sendTest = new QPushButton(QStringLiteral("Send Test Mail"));
    auto* testRow = new QHBoxLayout;
    testRow->addWidget(_send_mail_to);
    testRow->addWidget(sendTest);
    form->addRow(QStringLiteral("Test mail to:"), testRow);
    _send_mail_test_mail = new QLineEdit;
    _send_mail_test_mail->setReadOnly(true);
    form->addRow(QStringLiteral("Test mail:"), _send_mail_test_mail);
    layout->addLayout(form);
    _send_mail_result_status = new QLabel;
    _send_mail_result_status->setWordWrap(true);
    layout->addWidget(_send_mail_result_status);

    auto* reset = new QPushButton(QStringLiteral("Reset"));
    auto* save = new QPushButton(QStringLiteral("Save"));
    save->setDefault(true);
    auto* close = new QPushButton(QStringLiteral("Close"));
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(reset);
    buttons->addStretch();
    buttons->addWidget(save);
    buttons->addWidget(close);
    layout->addLayout(buttons);
    setMinimumWidth(460);

    plz_wait_Window = new QDialog(this);
    plz_wait_Window->setWindowModality(Qt::WindowModal);
    Apply_Dialog_Background(plz_wait_Window);
    (new QVBoxLayout(plz_wait_Window))->addWidget(new QLabel(QStringLiteral("It may take a while, Please wait.."),
                                                             plz_wait_Window));

    connect(_send_mail_ssl, &QRadioButton::clicked, this, &Email_Setting::SSL_Selected);
    connect(_send_mail_tls, &QRadioButton::clicked, this, &Email_Setting::TLS_Selected);
    connect(sendTest, &QPushButton::clicked, this, &Email_Setting::Send_Test_Email);
    connect(reset, &QPushButton::clicked, this, &Email_Setting::Reset_Button);
    connect(save, &QPushButton::clicked, this, &Email_Setting::Save_Button);
    connect(close, &QPushButton::clicked, this, &Email_Setting::Close_Button);
}

void Email_Setting::Open_Wnd()
{
    try {
        loadPreferences();
        _send_mail_result_status->clear();
        platform::runModal(*this);
        hide();
    } catch (const std::exception& e) {
        Show_NSLog_Message(QString::fromUtf8(e.what()));
    }
}

void Email_Setting::loadPreferences()
{
    const Preferences prefs = Preferences::sharedInstance();
    _send_mail_sender_mail->setText(prefs.send_email_SenderEmail());
    _send_mail_password->setText(prefs.send_email_Password());
    _send_mail_smtp->setText(prefs.send_email_SMTP_server());
    _send_mail_port->setText(prefs.send_email_PORT_num());
    _send_mail_to->setText(prefs.send_email_Recipient());
    if (prefs.send_email_enable_ssl() == QLatin1String("Y"))
        SSL_Selected();
    else
        TLS_Selected();
}

void Email_Setting::flushPreferences()
{
    Preferences prefs = Preferences::sharedInstance();
    prefs.setsend_email_SenderEmail(_send_mail_sender_mail->text());
    prefs.setsend_email_Password(_send_mail_password->text());
    prefs.setsend_email_SMTP_server(_send_mail_smtp->text());
    prefs.setsend_email_PORT_num(_send_mail_port->text());
    prefs.setsend_email_Recipient(_send_mail_to->text());
    const bool ssl = _send_mail_ssl->isChecked() && !_send_mail_tls->isChecked();
    prefs.setsend_email_enable_ssl(ssl ? QStringLiteral("Y") : QStringLiteral("N"));
    prefs.flush();
}

bool Email_Setting::Check_Validation(bool with_recipient)
{
    auto refuse = [](const QString& text, QLineEdit* field) {
        Show_MessageBox(text);
        field->setFocus();
        return false;
    };
    const QString sender = _send_mail_sender_mail->text().toLower();
    if (sender.isEmpty())
        return refuse(QStringLiteral("Please enter sender E-mail."), _send_mail_sender_mail);
    if (!isValidEmail(sender))
        return refuse(QStringLiteral("Please enter valid sender E-mail address."), _send_mail_sender_mail);
    if (_send_mail_password->text().isEmpty())
        return refuse(QStringLiteral("Please enter password."), _send_mail_password);
    if (_send_mail_smtp->text().isEmpty())
        return refuse(QStringLiteral("Please enter SMTP server."), _send_mail_smtp);
    if (_send_mail_port->text().isEmpty())
        return refuse(QStringLiteral("Please enter port number."), _send_mail_port);
    if (with_recipient) {
        const QString to = _send_mail_to->text().toLower();
        if (to.isEmpty())
            return refuse(QStringLiteral("Please enter recipient E-mail address."), _send_mail_to);
        if (!isValidEmail(to))
            return refuse(QStringLiteral("Please enter valid recipient E-mail address."), _send_mail_to);
    }
    return true;
}

void Email_Setting::Save_Button()
{
    if (!Check_Validation(false))
        return;
    flushPreferences();
    done(1);
}

void Email_Setting::Close_Button()
{
    if (!testRunning)
        done(0);
}

void Email_Setting::reject()
{
    if (!testRunning)
        QDialog::reject();
}

void Email_Setting::Reset_Button()
{
    if (!Show_YES_NO_MessageBox(QStringLiteral("Are you sure you want to reset current email settings?")))
        return;
    Delete_File(Preferences::sharedInstance().mPreferencesPath);
    for (QLineEdit* field : {_send_mail_to, _send_mail_sender_mail, _send_mail_smtp, _send_mail_port,
                             _send_mail_password, _send_mail_test_mail})
        field->clear();
    TLS_Selected();
    // The file comes back empty and the mail globals with it.
    Get_Email_Details();
}

void Email_Setting::Send_Test_Email()
{
    if (testRunning || !Check_Validation(true))
        return;
    testRunning = true;
    Show_Create_Modeless();
    const QString app = QCoreApplication::applicationName();
    Mail_Message message;
    message.toAddress = _send_mail_to->text().toLower();
    message.withSender = _send_mail_sender_mail->text().toLower();
    message.withPwd = _send_mail_password->text();
    message.withSMTP = _send_mail_smtp->text();
    message.withPort = _send_mail_port->text();
    message.enable_ssl = _send_mail_ssl->isChecked() && !_send_mail_tls->isChecked() ? QStringLiteral("Y")
                                                                                      : QStringLiteral("N");
    message.withBody = QStringLiteral("This is test mail sent by ") + app + QStringLiteral(".");
    message.withSubject = app + QStringLiteral(" Test Mail");
    _send_mail_test_mail->setText(message.withBody);
    _send_mail_result_status->setText(QStringLiteral("It may take a while, Please wait..."));

    // The script runs beside the event loop, so the window keeps painting.
    Mail_Send_Result sent;
    QEventLoop wait;
    QThread* worker = QThread::create([&] { sent = sendEmail_pyth(message); });
    connect(worker, &QThread::finished, &wait, &QEventLoop::quit, Qt::QueuedConnection);
    worker->start();
    wait.exec();
    worker->wait();
    delete worker;

    Hide_Destroy_Modeless();
    testRunning = false;
    const QString text = sent.sent() ? QStringLiteral("E-mail has been sent successfully.")
                                     : Test_Failed + ' ' + Mail_Failure_Text(sent);
    _send_mail_result_status->setText(text);
    Show_MessageBox(text);
}

void Email_Setting::SSL_Selected()
{
    _send_mail_ssl->setChecked(true);
    _send_mail_tls->setChecked(false);
}

void Email_Setting::TLS_Selected()
{
    _send_mail_tls->setChecked(true);
    _send_mail_ssl->setChecked(false);
}

void Email_Setting::Show_Create_Modeless()
{
    try {
        plz_wait_Window->open();
    } catch (const std::exception& e) {
        Show_NSLog_Message(QString::fromUtf8(e.what()));
    }
}

void Email_Setting::Hide_Destroy_Modeless()
{
    try {
        plz_wait_Window->hide();
    } catch (const std::exception& e) {
        Show_NSLog_Message(QString::fromUtf8(e.what()));
    }
}
