// Mail sent through the shipped mail script to a real SMTP server on
// 127.0.0.1; the tests read what the server received.
#include "data/DataSetFiles.h"
#include "editor/Batch_Binding.h"
#include "model/Globals.h"
#include "output/Email_Setting.h"
#include "output/Mail_Script.h"
#include "output/Send_Mail.h"
#include "output/Send_Modeless.h"
#include "platform/Log.h"
#include "support/SharedState.h"
#include "support/ScriptedHost.h"
#include "support/TempResources.h"
#include "support/Wait.h"

#include <QAction>
#include <QButtonGroup>
#include <QCheckBox>
#include <QDir>
#include <QElapsedTimer>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QProcess>
#include <QRadioButton>
#include <QSpinBox>
#include <QPainter>
#include <QTemporaryDir>
#include <QTimer>
#include <gtest/gtest.h>

namespace {
// The SMTP server of the tests (tests/mail/smtp_sink.py), one per program.
struct Sink {
    QTemporaryDir dir;
    QProcess process;
    int port = 0;

    Sink()
    {
        process.start("/usr/bin/python3", {GLEAMCARD_SOURCE_DIR "/tests/mail/smtp_sink.py", dir.path()});
        if (process.waitForReadyRead(15000))
            port = QString::fromLatin1(process.readLine()).section(' ', 1).trimmed().toInt();
    }
    ~Sink()
    {
        process.kill();
        process.waitForFinished(5000);
    }
    QList<QJsonObject> messages() const
    {
        QList<QJsonObject> out;
        for (const QString& name : QDir(dir.path()).entryList({"*.json"}, QDir::Files, QDir::Name)) {
            QFile f(dir.filePath(name));
            f.open(QIODevice::ReadOnly);
            out << QJsonDocument::fromJson(f.readAll()).object();
        }
        return out;
    }
};
Sink* sink = nullptr;

// A design of solid cards: the current design and each row have their own
// colour on each side.
struct Stand_In_Design : Card_Row_Source {
    int rows = 0;
    int begun = 0, ended = 0;
    bool drawsNothing = false; // the design as it stands draws nothing
    static QColor colour(int row, Card_Side side) { return QColor::fromHsv((row * 47 + side * 180 + 400) % 360, 255, 200); }
    void Check_Series_Or_Excel_Use_or_not() override
    {
        Use_Data_Sheet_Values = rows > 0;
        Use_Excel_Binding_Values = false;
        Get_total_Card_count();
    }
    void Get_total_Card_count() override { Total_Batch_Excel_Card = Use_Data_Sheet_Values ? rows : 0; }
    int Batch_Row_Count() const override { return Total_Batch_Excel_Card; }
    void Batch_Begin() override { ++begun; }
    void Batch_End() override { ++ended; }
    QImage Card_Row_Image(int row, Card_Side side, qreal) override
    {
        return row < 0 && drawsNothing ? QImage() : card(row, side);
    }
    bool Draw_Card_Row(int row, Card_Side side, QPainter& painter) override
    {
        painter.drawImage(0, 0, card(row, side));
        return true;
    }
    static QImage card(int row, Card_Side side)
    {
        QImage image(60, 40, QImage::Format_ARGB32);
        image.fill(colour(row, side));
        return image;
    }
};

struct MailSendTest : ::testing::Test {
    static void SetUpTestSuite() { sink = new Sink; }
    static void TearDownTestSuite() { delete sink; sink = nullptr; }

    TempResources resources;
    ScriptedHost host;
    QTemporaryDir tmp; // the batch's temporary folder goes here
    QByteArray oldTmp = qgetenv("TMPDIR");
    Stand_In_Design design;
    Send_Mail* mail = Send_Mail::defaultInstance();
    QStringList log;
    platform::LogSink oldSink;
    int before = 0;

    void SetUp() override
    {
        ASSERT_GT(sink->port, 0) << "the SMTP server did not start";
        qputenv("TMPDIR", tmp.path().toUtf8());
        oldSink = platform::setLogSink([this](const QString& line) { log << line; });
        reset();
    }
    void TearDown() override
    {
        platform::setLogSink(oldSink);
        qputenv("TMPDIR", oldTmp);
    }
    // A fresh mail window and account; what the server had so far is passed over.
    void reset()
    {
        sender_email = "me@example.com";
        sender_pwd = QStringLiteral("s&<>crét");
        sending_server = "127.0.0.1";
        sending_port = QString::number(sink->port);
        send_enable_ssl = "N";
        mail->design = &design;
        Reset_Shared_State();
        mail->Open_Wnd(); // resets the fields (the scripted host closes it at once)
        mail->subject_txt->setText("Cards");
        mail->message_txt->setPlainText("Hello");
        before = int(sink->messages().size());
        host.alerts.clear();
        log.clear();
    }
    bool send()
    {
        mail->Send_Button();
        return waitUntil([this] { return !mail->Sending(); }, 60000);
    }
    QList<QJsonObject> received() const { return sink->messages().mid(before); }
    static QStringList to(const QList<QJsonObject>& msgs)
    {
        QStringList out;
        for (const auto& m : msgs)
            out << m["to"].toString();
        return out;
    }
    // The names of a message's attachments, each checked to be a PNG image.
    static QStringList cards(const QJsonObject& m, QList<QRgb>* colours = nullptr)
    {
        QStringList names;
        for (const auto& v : m["attachments"].toArray()) {
            const QJsonObject a = v.toObject();
            names << a["filename"].toString();
            EXPECT_EQ(a["type"].toString(), "image/png");
            const QImage image(a["file"].toString(), "PNG");
            EXPECT_FALSE(image.isNull());
            if (colours)
                *colours << image.pixel(5, 5);
        }
        return names;
    }
    void withRows(int rows, bool one_per_recipient)
    {
        design.rows = rows;
        mail->send_barcode_rd_select();
        mail->send_with_batch_chk->setChecked(true);
        mail->send_with_batch_chk_select();
        one_per_recipient ? mail->obo_rd_select() : mail->all_rd_select();
    }
};
}

TEST_F(MailSendTest, TestMailFromTheSettingsDialog)
{
    Email_Setting* dlg = Email_Setting::defaultInstance();
    dlg->_send_mail_sender_mail->setText("Me@Example.com");
    dlg->_send_mail_password->setText(QStringLiteral("pä&<>ss"));
    dlg->_send_mail_smtp->setText("127.0.0.1");
    dlg->_send_mail_port->setText(QString::number(sink->port));
    dlg->_send_mail_to->setText("Friend@Example.org");
    dlg->TLS_Selected();
    bool painted = false; // the window's events are served while the mail goes out
    QTimer::singleShot(0, [&] { painted = true; });
    dlg->Send_Test_Email();
    EXPECT_TRUE(painted);

    const auto msgs = received();
    ASSERT_EQ(msgs.size(), 1);
    const QString app = QCoreApplication::applicationName();
    EXPECT_EQ(msgs[0]["subject"].toString(), app + " Test Mail");
    EXPECT_EQ(msgs[0]["body"].toString().trimmed(), "This is test mail sent by " + app + ".");
    EXPECT_EQ(msgs[0]["rcpt_tos"].toArray().first().toString(), "friend@example.org");
    EXPECT_EQ(msgs[0]["login"].toString(), "me@example.com");
    EXPECT_EQ(msgs[0]["password"].toString(), QStringLiteral("pä&<>ss")); // through standard input, as typed
    EXPECT_EQ(dlg->_send_mail_result_status->text(), "E-mail has been sent successfully.");
    EXPECT_EQ(host.alertTexts(), QStringList{"E-mail has been sent successfully."});

    // The password is never on the script's command line.
    Mail_Message m;
    m.withPwd = "secret-pw";
    m.toAddress = "a@b.cd";
    const platform::TaskRequest task = Mail_Script_Task(m);
    EXPECT_FALSE(task.arguments.join(' ').contains("secret-pw"));
    EXPECT_TRUE(task.standardInput.startsWith("secret-pw\n"));
    EXPECT_EQ(task.environment.keys(), (QStringList{"PATH", "PYTHONPATH"}));
}

TEST_F(MailSendTest, PlainMailToThreeRecipientsWithOneAttachment)
{
    mail->Without_barcode_rd_select();
    mail->attachment->setText(Resource_Path + "/Message.txt");
    mail->to_txt->setText("A1@x.org, a2@x.org,a3@x.org");
    ASSERT_TRUE(send());

    const auto msgs = received();
    EXPECT_EQ(to(msgs), (QStringList{"a1@x.org", "a2@x.org", "a3@x.org"}));
    for (const auto& m : msgs) {
        EXPECT_EQ(m["rcpt_tos"].toArray().size(), 1);
        EXPECT_EQ(m["subject"].toString(), "Cards");
        ASSERT_EQ(m["attachments"].toArray().size(), 1);
        EXPECT_EQ(m["attachments"][0]["filename"].toString(), "Message.txt");
        EXPECT_EQ(m["attachments"][0]["type"].toString(), "text/plain");
    }
    EXPECT_EQ(host.alertTexts(), QStringList{"E-mail has been sent successfully."});
    EXPECT_TRUE(log.contains("send without card."));
}

TEST_F(MailSendTest, CardMailsCarryBackThenFrontAndLeaveNoFiles)
{
    mail->mail_card_side_CellClick(0); // both sides
    mail->file_name_txt->setText("Badge");
    mail->to_txt->setText("a1@x.org,a2@x.org");
    Card_Front_Or_Back = Side_Back;
    ASSERT_TRUE(send());

    const auto msgs = received();
    ASSERT_EQ(to(msgs), (QStringList{"a1@x.org", "a2@x.org"}));
    for (const auto& m : msgs) {
        QList<QRgb> colours;
        EXPECT_EQ(cards(m, &colours), (QStringList{"Badge_Back.png", "Badge.png"}));
        EXPECT_EQ(colours, (QList<QRgb>{design.colour(-1, Side_Back).rgb(), design.colour(-1, Side_Front).rgb()}));
    }
    EXPECT_EQ(design.begun, 0); // the design as it stands: no rows loaded
    EXPECT_EQ(Card_Front_Or_Back.load(), int(Side_Back)); // the side on screen is put back
    EXPECT_TRUE(QDir(tmp.path()).entryList(QDir::NoDotAndDotDot | QDir::AllEntries).isEmpty());
    EXPECT_EQ(host.alertTexts(), QStringList{"E-mail has been sent successfully."});
}

TEST_F(MailSendTest, RowsGoToEveryoneOrOnePerRecipient)
{
    struct Case {
        const char* what;
        int rows;
        bool onePerRecipient;
        QString to;
        QStringList expectTo;
        QList<int> expectRows;
        int total; // the progress sheet's total
    };
    const Case cases[] = {
        {"two rows to three people", 2, false, "a@x.org,b@x.org,c@x.org",
         {"a@x.org", "b@x.org", "c@x.org", "a@x.org", "b@x.org", "c@x.org"}, {0, 0, 0, 1, 1, 1}, 2},
        {"three rows for five people", 3, true, "a@x.org,b@x.org,c@x.org,d@x.org,e@x.org",
         {"a@x.org", "b@x.org", "c@x.org"}, {0, 1, 2}, 5},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        reset();
        withRows(c.rows, c.onePerRecipient);
        mail->mail_card_side_CellClick(1); // front
        mail->to_txt->setText(c.to);
        ASSERT_TRUE(send());
        const auto msgs = received();
        EXPECT_EQ(to(msgs), c.expectTo);
        for (int i = 0; i < std::min(msgs.size(), c.expectRows.size()); ++i) {
            QList<QRgb> colours;
            EXPECT_EQ(cards(msgs[i], &colours), QStringList{"PelvoroFrame.png"});
            EXPECT_EQ(colours, QList<QRgb>{design.colour(c.expectRows[i], Side_Front).rgb()});
        }
        EXPECT_EQ(list_count.load(), c.total);
        EXPECT_EQ(curr_barcode_count.load(), c.total); // the batch ran to its end
        EXPECT_EQ(design.ended, design.begun);
        EXPECT_EQ(host.alertTexts().last(), "E-mail has been sent successfully.");
    }
}

TEST_F(MailSendTest, AFailedMessageEndsTheBatchAndThePasswordStaysSecret)
{
    struct Case {
        const char* what;
        QString password, to;
        QStringList expectTo;
        bool cardNotWritten = false; // with the card, which draws nothing
    };
    const Case cases[] = {
        {"refused second recipient", "pw-one", "a@x.org,reject@x.org,c@x.org", {"a@x.org"}},
        {"wrong password", "wrong password", "a@x.org,b@x.org", {}},
        {"card not written", "pw-two", "a@x.org", {}, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        reset();
        sender_pwd = c.password;
        design.drawsNothing = c.cardNotWritten;
        if (!c.cardNotWritten)
            mail->Without_barcode_rd_select();
        mail->to_txt->setText(c.to);
        ASSERT_TRUE(send());
        EXPECT_EQ(to(received()), c.expectTo);
        ASSERT_FALSE(host.alertTexts().isEmpty());
        EXPECT_TRUE(host.alertTexts().last().startsWith("Could not send email message."));
        EXPECT_TRUE(c.cardNotWritten ? host.alertTexts().contains("There is no image to write.")
                                     : log.contains("error in mail"));
        for (const QString& line : log + host.alertTexts())
            EXPECT_FALSE(line.contains(c.password)) << line.toStdString();
    }
}

TEST_F(MailSendTest, StopEndsAPauseOrAHungSendWithinASecond)
{
    struct Case {
        const char* what;
        QString to;
        bool pause; // a pause of 30 seconds after every message
    };
    const Case cases[] = {
        {"during a pause", "a@x.org,b@x.org,c@x.org", true},
        {"a server that never answers", "a@x.org,hang@x.org,c@x.org", false},
    };
    Send_Modeless* sheet = Send_Modeless::defaultInstance();
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        reset();
        mail->Without_barcode_rd_select();
        mail->to_txt->setText(c.to);
        mail->delayed_delv_chk->setChecked(c.pause);
        mail->delayed_delv_chk_select();
        mail->sec_txt->setText("30");
        mail->seconds_changed();
        mail->Send_Button();
        ASSERT_TRUE(waitUntil([&] { return received().size() == 1; }, 20000));
        if (c.pause)
            ASSERT_TRUE(waitUntil([&] { return sheet->pause_label->text() == "Pausing the process for 30 Seconds."; }));
        else
            QThread::msleep(500); // the second message is in the server's hands
        host.answer("Yes");
        QElapsedTimer clock;
        clock.start();
        sheet->Stop_Sending_Pressed();
        ASSERT_TRUE(waitUntil([this] { return !mail->Sending(); }, 10000));
        EXPECT_LT(clock.elapsed(), 1000);
        EXPECT_EQ(received().size(), 1);
        EXPECT_EQ(host.alertTexts().last(), "Sending was stopped. 1 of 3 e-mails were sent.");
        EXPECT_TRUE(sheet->pause_label->text().isEmpty());
        EXPECT_FALSE(sheet->isVisible());
    }
}

TEST_F(MailSendTest, MailWindowSendsTheRowsOfABoundDesign)
{
    SKTDocument document;
    Batch_Binding binding(document);
    ASSERT_TRUE(Write_Data_Set("Names", {"Ann", "Bob"}, false));
    auto t = std::make_shared<SKTText>();
    t->data_source_type = Source_Data_Set;
    t->batch_list_name = "Names";
    t->bounds = QRectF(10, 10, 100, 20);
    document.graphics.append(t);
    binding.Check_Series_Or_Excel_Use_or_not();
    mail->design = &binding;

    host.modalScripts.push_back([&](QDialog&) {
        EXPECT_TRUE(mail->send_with_batch_chk->isEnabled());
        EXPECT_FALSE(mail->send_with_excel_chk->isEnabled());
        EXPECT_FALSE(mail->rd_one_per_recp->isEnabled());
        mail->to_txt->setText("p1@x.org,p2@x.org");
        mail->send_with_batch_chk->setChecked(true);
        mail->send_with_batch_chk_select();
        EXPECT_TRUE(mail->rd_one_per_recp->isEnabled());
        mail->obo_rd_select();
        EXPECT_TRUE(send());
        return 0;
    });
    mail->Open_Wnd();

    ASSERT_EQ(host.modalRuns.last(), "Send_Mail");
    EXPECT_EQ(host.alertTexts().join('|').toStdString(), "E-mail has been sent successfully.");
    const auto msgs = received();
    EXPECT_EQ(to(msgs), (QStringList{"p1@x.org", "p2@x.org"}));
    for (const auto& m : msgs)
        EXPECT_EQ(cards(m), QStringList{"PelvoroFrame.png"});
    EXPECT_EQ(t->text, "Ann"); // row 0 is back in the design
    EXPECT_FALSE(Card_Value_In_Process.load());
}
