// The e-mail settings (file and dialog) and the checks made before a send.
#include "model/Globals.h"
#include "output/Email_Setting.h"
#include "output/Mail_Batch.h"
#include "output/Mail_Script.h"
#include "output/Preferences.h"
#include "support/ScriptedHost.h"
#include "support/TempResources.h"

#include <QFile>
#include <QFileInfo>
#include <QLineEdit>
#include <QRadioButton>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {
struct MailSettingsTest : ::testing::Test {
    TempResources resources;
    ScriptedHost host;
    Email_Setting* dlg = Email_Setting::defaultInstance();
    QString file() const { return Resource_Path + "/com.pelvoro.card.plist"; }
    // Owner, group and others, without Qt's bits for the current user.
    QFile::Permissions mode() const
    {
        return QFile::permissions(file()) & ~(QFile::ReadUser | QFile::WriteUser | QFile::ExeUser);
    }

    void fill(const QString& sender, const QString& pwd, const QString& smtp, const QString& port, const QString& to)
    {
        dlg->_send_mail_sender_mail->setText(sender);
        dlg->_send_mail_password->setText(pwd);
        dlg->_send_mail_smtp->setText(smtp);
        dlg->_send_mail_port->setText(port);
        dlg->_send_mail_to->setText(to);
    }
};
}

TEST_F(MailSettingsTest, FileIsCreatedPrivateAndRoundTripsEveryCharacter)
{
    // First start: the file is created empty, readable by its owner only; TLS is shown.
    ASSERT_FALSE(QFileInfo::exists(file()));
    dlg->loadPreferences();
    ASSERT_TRUE(QFileInfo::exists(file()));
    EXPECT_EQ(QFileInfo(file()).size(), 0);
    EXPECT_EQ(mode(), QFile::ReadOwner | QFile::WriteOwner);
    EXPECT_TRUE(dlg->_send_mail_tls->isChecked());
    EXPECT_TRUE(dlg->_send_mail_sender_mail->text().isEmpty());

    const QString pwd = QStringLiteral("p&<>\"'ß€ 密码");
    fill("Me@Example.com", pwd, "smtp.example.com", "587", "");
    dlg->SSL_Selected();
    dlg->Save_Button(); // an empty test recipient does not stop a save
    EXPECT_TRUE(host.alerts.isEmpty()) << host.alertTexts().join('|').toStdString();
    EXPECT_EQ(mode(), QFile::ReadOwner | QFile::WriteOwner);

    const Preferences p = Preferences::sharedInstance();
    EXPECT_EQ(p.send_email_Password(), pwd);
    EXPECT_EQ(p.send_email_SenderEmail(), "Me@Example.com"); // as typed
    EXPECT_EQ(p.send_email_SMTP_server(), "smtp.example.com");
    EXPECT_EQ(p.send_email_PORT_num(), "587");
    EXPECT_EQ(p.send_email_Recipient(), "");
    EXPECT_EQ(p.send_email_enable_ssl(), "Y");
    Get_Email_Details();
    EXPECT_EQ(sender_pwd, pwd);
    EXPECT_EQ(send_enable_ssl, "Y");

    // Reset removes the settings: the file comes back empty, the fields
    // (the last test mail's text too) and the globals with it.
    dlg->_send_mail_test_mail->setText("This is test mail sent by Gleamcard.");
    host.answer("Yes");
    dlg->Reset_Button();
    EXPECT_EQ(QFileInfo(file()).size(), 0);
    EXPECT_TRUE(dlg->_send_mail_password->text().isEmpty());
    EXPECT_TRUE(dlg->_send_mail_test_mail->text().isEmpty());
    EXPECT_TRUE(dlg->_send_mail_tls->isChecked());
    EXPECT_TRUE(sender_email.isEmpty());
    EXPECT_TRUE(sender_pwd.isEmpty());
    EXPECT_TRUE(send_enable_ssl.isNull());
}

TEST_F(MailSettingsTest, AFileThatCannotBeReadIsLeftAlone)
{
    QFile f(file());
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write("<plist><dict><key>SendEmailPwd</key>"); // cut short
    f.close();
    const Preferences p = Preferences::sharedInstance();
    EXPECT_EQ(p.send_email_Password(), "");
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    EXPECT_EQ(f.readAll(), QByteArray("<plist><dict><key>SendEmailPwd</key>"));
}

TEST_F(MailSettingsTest, ValidationNamesTheFirstProblemAndFocusesItsField)
{
    struct Case {
        const char *sender, *pwd, *smtp, *port, *to;
        bool withRecipient;
        const char* message; // nullptr: passes
        QLineEdit* Email_Setting::*field;
    };
    const Case cases[] = {
        {"", "x", "s", "25", "", false, "Please enter sender E-mail.", &Email_Setting::_send_mail_sender_mail},
        {"a@b.c", "x", "s", "25", "", false, "Please enter valid sender E-mail address.", &Email_Setting::_send_mail_sender_mail},
        {"ab@c.d", "x", "s", "25", "", false, nullptr, nullptr},
        {"a@b@cd.e", "x", "s", "25", "", false, "Please enter valid sender E-mail address.", &Email_Setting::_send_mail_sender_mail},
        {"abc@defg", "x", "s", "25", "", false, "Please enter valid sender E-mail address.", &Email_Setting::_send_mail_sender_mail},
        {"ab@c.de", "", "s", "25", "", false, "Please enter password.", &Email_Setting::_send_mail_password},
        {"ab@c.de", "x", "", "25", "", false, "Please enter SMTP server.", &Email_Setting::_send_mail_smtp},
        {"ab@c.de", "x", "s", "", "", false, "Please enter port number.", &Email_Setting::_send_mail_port},
        {"ab@c.de", "x", "s", "abc", "", false, nullptr, nullptr}, // the port is not tested for digits
        {"ab@c.de", "x", "s", "25", "", true, "Please enter recipient E-mail address.", &Email_Setting::_send_mail_to},
        {"ab@c.de", "x", "s", "25", "to@x", true, "Please enter valid recipient E-mail address.", &Email_Setting::_send_mail_to},
        {"ab@c.de", "x", "s", "25", "To@X.org", true, nullptr, nullptr},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.sender) + " / " + c.to);
        host.alerts.clear();
        fill(c.sender, c.pwd, c.smtp, c.port, c.to);
        dlg->_send_mail_port->setFocus(); // somewhere else first
        const bool ok = dlg->Check_Validation(c.withRecipient);
        EXPECT_EQ(ok, c.message == nullptr);
        if (c.message) {
            EXPECT_EQ(host.alertTexts(), QStringList{c.message});
            EXPECT_EQ(dlg->focusWidget(), dlg->*c.field);
        } else {
            EXPECT_TRUE(host.alerts.isEmpty());
        }
    }
    // A save that fails its checks writes nothing.
    fill("", "x", "s", "25", "");
    dlg->Save_Button();
    EXPECT_EQ(QFileInfo(file()).size(), 0);
}

TEST(MailChecks, JobsAreCheckedBeforeAnythingIsSent)
{
    QTemporaryDir dir;
    const QString gone = dir.filePath("notes.txt");
    struct Case {
        const char* what;
        std::function<void(Mail_Job&)> change;
        QString message; // empty: passes
        std::function<void(const Mail_Plan&)> check;
    };
    const QString settings = "Please make sure that:\n1.Entered E-mail Settings are correct.";
    const QString badRecipient = "Recipient E-mail address is invalid or incomplete.";
    const QString badName = "Please enter valid file name.";
    const Case cases[] = {
        {"no sender", [](Mail_Job& j) { j.from = "  "; }, settings, {}},
        {"no recipient", [](Mail_Job& j) { j.to = " "; }, "Please specify the Recipient E-mail address.", {}},
        {"one bad address refuses all", [](Mail_Job& j) { j.to = "ab@c.de, bob"; }, badRecipient, {}},
        {"recipients trimmed, lower-cased, stray comma passed over",
         [](Mail_Job& j) { j.to = "AB@c.de, cd@e.fg ,"; }, {},
         [](const Mail_Plan& p) { EXPECT_EQ(p.recipients, (QStringList{"ab@c.de", "cd@e.fg"})); }},
        {"reserved characters trimmed from the name", [](Mail_Job& j) { j.file_name = "*Card?"; }, {},
         [](const Mail_Plan& p) { EXPECT_EQ(p.file_name, "Card"); }},
        {"name with a folder", [](Mail_Job& j) { j.file_name = "a/b"; }, badName, {}},
        {"name ..", [](Mail_Job& j) { j.file_name = ".."; }, badName, {}},
        {"attachment gone", [&](Mail_Job& j) { j.with_card = false; j.attachment = gone; },
         "The file to attach no longer exists:\n" + gone, {}},
        {"hours capped", [](Mail_Job& j) { j.delayed = true; j.pause_after = 0; j.hours = 100000; j.seconds = 5; }, {},
         [](const Mail_Plan& p) {
             EXPECT_EQ(p.pause_after, 1);
             EXPECT_EQ(p.pause_ms, 99 * 3600000LL + 5000);
         }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        Mail_Job job;
        job.from = " Me@Example.com ";
        job.to = "ab@c.de";
        c.change(job);
        Mail_Plan plan;
        const QString message = Check_Mail_Job(job, plan);
        EXPECT_TRUE(c.message.isEmpty() ? message.isEmpty() : message.startsWith(c.message)) << message.toStdString();
        if (c.check && message.isEmpty()) {
            EXPECT_EQ(plan.sender, "me@example.com");
            c.check(plan);
        }
    }
}

TEST(MailChecks, PauseLines)
{
    const std::pair<qint64, const char*> cases[] = {
        {65000, "Pausing the process for 1 Minute 5 Seconds."},
        {3600000, "Pausing the process for 1 Hour 0 Minute 0 Second."},
        {2 * 3600000 + 2 * 60000 + 1000, "Pausing the process for 2 Hours 2 Minutes 1 Second."},
        {59000, "Pausing the process for 59 Seconds."},
        {0, "Pausing the process for 0 Second."},
        {99 * 3600000LL + 59 * 60000 + 59000, "Pausing the process for 99 Hours 59 Minutes 59 Seconds."},
    };
    for (const auto& [ms, line] : cases)
        EXPECT_EQ(Calculate_Pause_Time(ms), line);
}
