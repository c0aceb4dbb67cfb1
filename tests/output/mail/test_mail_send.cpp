// Mail sent through the shipped mail script to a real SMTP server on
// 127.0.0.1; the tests read what the server received.
#include "data/DataSetFiles.h"
#include "canvas/SKTRenderingView.h"
#include "editor/Batch_Binding.h"
#include "model/Globals.h"
#include "output/Email_Setting.h"
#include "output/Mail_Batch.h"
#include "output/Mail_Script.h"
#include "output/Send_Mail.h"
#include "output/Send_Modeless.h"
#include "platform/Log.h"
#include "support/BoundSymbols.h"
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
#include <QScopeGuard>
#include <QSpinBox>
#include <QPainter>
#include <QTemporaryDir>
#include <QTimer>
#include <gtest/gtest.h>

#include <algorithm>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

namespace {
// The SMTP server of the tests (tests/output/mail/smtp_sink.py): a plain listener,
// one that offers STARTTLS and one that speaks TLS from the first byte, with
// a certificate of its own that the mail script trusts only when
// SSL_CERT_FILE names it.
struct Sink {
    QTemporaryDir dir;
    QProcess process;
    int plain = 0, starttls = 0, ssl = 0;

    explicit Sink(const QStringList& options = {})
    {
        process.start("/usr/bin/python3", QStringList{GLEAMCARD_SOURCE_DIR "/tests/output/mail/smtp_sink.py", dir.path()} + options);
        if (process.waitForReadyRead(15000)) {
            const QStringList ports = QString::fromLatin1(process.readLine()).split(' ');
            if (ports.size() == 4)
                plain = ports[1].toInt(), starttls = ports[2].toInt(), ssl = ports[3].trimmed().toInt();
        }
    }
    ~Sink()
    {
        process.kill();
        process.waitForFinished(5000);
    }
    QString cert() const { return dir.filePath("cert.pem"); }
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
    // Every AUTH command the server saw: "<listener> encrypted" or "<listener> plain".
    QStringList authCommands() const
    {
        QFile f(dir.filePath("auth.txt"));
        f.open(QIODevice::ReadOnly);
        return QString::fromUtf8(f.readAll()).split('\n', Qt::SkipEmptyParts);
    }
};
Sink* sink = nullptr;

// A port of 127.0.0.1 that was free a moment ago: bound, then let go.
int portNobodyListensOn()
{
    const int fd = ::socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t size = sizeof address;
    int port = 0;
    if (fd >= 0 && ::bind(fd, reinterpret_cast<sockaddr*>(&address), size) == 0
        && ::getsockname(fd, reinterpret_cast<sockaddr*>(&address), &size) == 0)
        port = ntohs(address.sin_port);
    if (fd >= 0)
        ::close(fd);
    return port;
}

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
    // What the design answers before a batch, and the rows it drew without a barcode.
    bool found = true, goOn = true;
    int lengthsAsked = 0;
    Cards_Without_Barcode noBarcode;
    bool Sources_Found() override { return found; }
    bool Confirm_Source_Lengths() override { return ++lengthsAsked, goOn; }
    Cards_Without_Barcode Rows_Without_Barcode() const override { return noBarcode; }
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
    QByteArray oldTrust = qgetenv("SSL_CERT_FILE");
    Stand_In_Design design;
    Send_Mail* mail = Send_Mail::defaultInstance();
    QStringList log;
    platform::LogSink oldSink;
    int before = 0;

    void SetUp() override
    {
        ASSERT_GT(sink->ssl, 0) << "the SMTP server did not start";
        qputenv("TMPDIR", tmp.path().toUtf8());
        qputenv("SSL_CERT_FILE", sink->cert().toUtf8()); // the mail script trusts the server
        oldSink = platform::setLogSink([this](const QString& line) { log << line; });
        reset();
    }
    void TearDown() override
    {
        platform::setLogSink(oldSink);
        qputenv("TMPDIR", oldTmp);
        oldTrust.isNull() ? qunsetenv("SSL_CERT_FILE") : qputenv("SSL_CERT_FILE", oldTrust);
    }
    // A fresh mail window and an account on the STARTTLS listener; what the
    // server had so far is passed over.
    void reset()
    {
        sender_email = "me@example.com";
        sender_pwd = QStringLiteral("s&<>crét");
        sending_server = "127.0.0.1";
        sending_port = QString::number(sink->starttls);
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
    dlg->_send_mail_port->setText(QString::number(sink->starttls));
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
    EXPECT_EQ(sink->authCommands().last(), "starttls encrypted");
    EXPECT_EQ(dlg->_send_mail_test_mail->text(), "This is test mail sent by " + app + ".");
    EXPECT_EQ(dlg->_send_mail_result_status->text(), "E-mail has been sent successfully.");
    EXPECT_EQ(host.alertTexts(), QStringList{"E-mail has been sent successfully."});

    // A refused login is named as such after the advice.
    dlg->_send_mail_password->setText("wrong password");
    dlg->Send_Test_Email();
    EXPECT_TRUE(dlg->_send_mail_result_status->text().endsWith(
        "\n\nCould not send email. The E-mail server refused the login (sender E-mail or password): 535 5.7.8 "
        "Authentication credentials invalid."))
        << dlg->_send_mail_result_status->text().toStdString();
    EXPECT_EQ(received().size(), 1);

    // The password is never on the script's command line.
    Mail_Message m;
    m.withPwd = "secret-pw";
    m.toAddress = "a@b.cd";
    const platform::TaskRequest task = Mail_Script_Task(m);
    EXPECT_FALSE(task.arguments.join(' ').contains("secret-pw"));
    EXPECT_TRUE(task.standardInput.startsWith("secret-pw\n"));
    // Besides PATH and PYTHONPATH only the trust store we were given passes on.
    QStringList keys{"PATH", "PYTHONPATH", "SSL_CERT_FILE"};
    if (qEnvironmentVariableIsSet("SSL_CERT_DIR"))
        keys.insert(2, "SSL_CERT_DIR");
    EXPECT_EQ(task.environment.keys(), keys);
    EXPECT_EQ(task.environment.value("SSL_CERT_FILE"), sink->cert());
}

TEST_F(MailSendTest, ThePasswordGoesOnlyOverAnEncryptedConnectionWithATrustedServer)
{
    struct Case {
        const char* what;
        int Sink::*listener;
        QString ssl;
        bool trusted;
        Mail_Failure failure;
        QString text; // what the window shows
    };
    const Case cases[] = {
        {"TLS, and the server offers no STARTTLS", &Sink::plain, "N", true, Mail_Failure::No_Encryption,
         "The E-mail server offers no encryption (TLS), so nothing was sent and the password was not given to it."},
        {"TLS through STARTTLS, trusted certificate", &Sink::starttls, "N", true, Mail_Failure::None, ""},
        {"TLS through STARTTLS, self-signed certificate", &Sink::starttls, "N", false,
         Mail_Failure::Certificate_Not_Trusted, "The E-mail server's certificate is not trusted: self-signed certificate."},
        {"SSL from the first byte, trusted certificate", &Sink::ssl, "Y", true, Mail_Failure::None, ""},
        {"SSL from the first byte, self-signed certificate", &Sink::ssl, "Y", false,
         Mail_Failure::Certificate_Not_Trusted, "The E-mail server's certificate is not trusted: self-signed certificate."},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        c.trusted ? qputenv("SSL_CERT_FILE", sink->cert().toUtf8()) : qunsetenv("SSL_CERT_FILE");
        const int seen = int(sink->messages().size());
        const QStringList authBefore = sink->authCommands();
        Mail_Message m{"a@x.org", "Hi", {}, "me@example.com", "pw-secret", "127.0.0.1",
                       QString::number(sink->*c.listener), "Hello", c.ssl};
        const Mail_Send_Result result = sendEmail_pyth(m);
        EXPECT_EQ(result.failure, c.failure) << result.detail.toStdString();
        EXPECT_EQ(Mail_Failure_Text(result), c.text);
        const QStringList auth = sink->authCommands().mid(authBefore.size());
        if (c.failure == Mail_Failure::None) {
            EXPECT_EQ(sink->messages().size(), seen + 1);
            EXPECT_EQ(auth, QStringList{sink->messages().last()["listener"].toString() + " encrypted"});
        } else {
            EXPECT_EQ(sink->messages().size(), seen);
            EXPECT_TRUE(auth.isEmpty()) << auth.join('|').toStdString(); // the password never left
        }
    }
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
        QString end; // the end box
    };
    const Case cases[] = {
        {"two rows to three people", 2, false, "a@x.org,b@x.org,c@x.org",
         {"a@x.org", "b@x.org", "c@x.org", "a@x.org", "b@x.org", "c@x.org"}, {0, 0, 0, 1, 1, 1}, 2,
         "E-mail has been sent successfully."},
        {"five rows for six people", 5, true, "a@x.org,b@x.org,c@x.org,d@x.org,e@x.org,f@x.org",
         {"a@x.org", "b@x.org", "c@x.org", "d@x.org", "e@x.org"}, {0, 1, 2, 3, 4}, 6,
         "5 of 6 recipients got a card: there are only 5 rows."},
        {"five rows for three people", 5, true, "a@x.org,b@x.org,c@x.org", {"a@x.org", "b@x.org", "c@x.org"},
         {0, 1, 2}, 3, "3 of 5 rows were sent: there are only 3 recipients."},
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
        EXPECT_EQ(host.alertTexts(), QStringList{c.end});
    }
}

TEST_F(MailSendTest, RowsAreSentOnlyOverFoundDataTheUserAgreesToAndRowsWithoutBarcodeAreNamed)
{
    struct Case {
        const char* what;
        bool found, goOn;
        Cards_Without_Barcode noBarcode;
        int sent, asked;
        QString end;
    };
    const Case cases[] = {
        {"a source is missing", false, true, {}, 0, 0, ""},
        {"the user stops at the lengths", true, false, {}, 0, 1, ""},
        {"a row without its barcode", true, true, {{}, {2}}, 2, 1,
         "E-mail has been sent successfully.\nCards sent without a barcode: 1 (row 2). The barcode could not be "
         "made from that row's value."},
        {"a row without a value", true, true, {{{"Batch Processing Series \"Seats\"", {2}}}, {}}, 2, 1,
         "E-mail has been sent successfully.\nCards sent without a barcode: 1 (row 2). That card has no value in "
         "Batch Processing Series \"Seats\"."},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        reset();
        design.found = c.found;
        design.goOn = c.goOn;
        design.noBarcode = c.noBarcode;
        design.lengthsAsked = 0;
        withRows(2, true);
        mail->to_txt->setText("a@x.org,b@x.org");
        ASSERT_TRUE(send());
        EXPECT_EQ(int(received().size()), c.sent);
        EXPECT_EQ(design.lengthsAsked, c.asked);
        EXPECT_EQ(host.alertTexts(), c.end.isEmpty() ? QStringList() : QStringList{c.end});
    }
    design.found = design.goOn = true;
    design.noBarcode = {};
}

TEST_F(MailSendTest, AFailedMessageEndsTheBatchSayingWhyAndHowFarItGot)
{
    const QString advice = QStringLiteral(
        "Please make sure that:\n1. Entered E-mail settings are correct.\n2. Internet connectivity to E-mail server "
        "is not interrupted and E-mail server is not down.\n3. Your Firewall or Security software (if any) is not "
        "blocking the software to communicate with your E-mail server.");
    const int closedPort = portNobodyListensOn();
    ASSERT_GT(closedPort, 0);
    enum Server { Usual, Closed_Port, Goes_Down_After_One };
    struct Case {
        const char* what;
        Server server;
        QString password, to;
        QStringList expectTo;
        QString why, howFar;
        bool cardNotWritten = false; // with the card, which draws nothing
    };
    const Case cases[] = {
        {"refused second recipient", Usual, "pw-one", "a@x.org,reject@x.org,c@x.org", {"a@x.org"},
         "The E-mail server refused the message: 550 5.1.1 No such mailbox.",
         "1 of 3 e-mails were sent. The last one accepted went to a@x.org."},
        {"wrong password", Usual, "wrong password", "a@x.org,b@x.org", {},
         "The E-mail server refused the login (sender E-mail or password): 535 5.7.8 Authentication credentials "
         "invalid.",
         "0 of 2 e-mails were sent."},
        {"server not listening", Closed_Port, "pw-two", "a@x.org,b@x.org", {},
         "The E-mail server could not be reached, or the connection to it was lost: Connection refused.",
         "0 of 2 e-mails were sent."},
        {"server down after the first message", Goes_Down_After_One, "pw-three", "a@x.org,b@x.org,c@x.org",
         {"a@x.org"}, "The E-mail server could not be reached, or the connection to it was lost: Connection refused.",
         "1 of 3 e-mails were sent. The last one accepted went to a@x.org."},
        {"card not written", Usual, "pw-four", "a@x.org", {}, "The card could not be written to a file to attach.",
         "0 of 1 e-mails were sent.", true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        reset();
        std::unique_ptr<Sink> goesDown;
        if (c.server == Goes_Down_After_One) {
            goesDown = std::make_unique<Sink>(QStringList{"--close-after", "1"});
            ASSERT_GT(goesDown->starttls, 0);
            qputenv("SSL_CERT_FILE", goesDown->cert().toUtf8());
            sending_port = QString::number(goesDown->starttls);
        } else if (c.server == Closed_Port) {
            sending_port = QString::number(closedPort);
        }
        sender_pwd = c.password;
        design.drawsNothing = c.cardNotWritten;
        if (!c.cardNotWritten)
            mail->Without_barcode_rd_select();
        mail->to_txt->setText(c.to);
        ASSERT_TRUE(send());
        EXPECT_EQ(to(goesDown ? goesDown->messages() : received()), c.expectTo);
        ASSERT_FALSE(host.alertTexts().isEmpty());
        EXPECT_EQ(host.alertTexts().last(), "Could not send email message.\n" + c.why + '\n' + c.howFar + '\n' + advice);
        EXPECT_TRUE(c.cardNotWritten ? host.alertTexts().contains("There is no image to write.")
                                     : log.contains("error in mail"));
        for (const QString& line : log + host.alertTexts())
            EXPECT_FALSE(line.contains(c.password)) << line.toStdString();
        qputenv("SSL_CERT_FILE", sink->cert().toUtf8());
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

TEST_F(MailSendTest, AfterStopAndNoTheSuccessTextComesOnlyOnceTheLastMessageWasAccepted)
{
    mail->Without_barcode_rd_select();
    mail->to_txt->setText("a@x.org,slow@x.org"); // the server takes a second over the last message
    bool questionOpenAtEnd = true;
    int acceptedAtEnd = -1;
    host.whileAlertOpen = [&] {
        if (host.alertTexts().last() == "Are you sure you want to continue?") {
            // The last message goes while the question is open; the question
            // then stays a while, long enough for a batch that did not wait
            // for its answer to show its end box.
            waitUntil([&] { return received().size() == 2; }, 20000);
            const int alerts = int(host.alerts.size());
            waitUntil([&] { return host.alerts.size() > alerts; }, 2000);
        } else {
            questionOpenAtEnd = Stop_Question_Open.load();
            acceptedAtEnd = int(received().size());
        }
    };
    mail->Send_Button();
    // The first message is in, and the last is on its way.
    ASSERT_TRUE(waitUntil([&] { return received().size() == 1 && curr_barcode_count.load() == 2; }, 20000));
    host.answer("No");
    Send_Modeless::defaultInstance()->Stop_Sending_Pressed();
    ASSERT_TRUE(waitUntil([this] { return !mail->Sending(); }, 20000));
    host.whileAlertOpen = nullptr;

    EXPECT_EQ(host.alertTexts(),
              (QStringList{"Are you sure you want to continue?", "E-mail has been sent successfully."}));
    EXPECT_FALSE(questionOpenAtEnd);
    EXPECT_EQ(acceptedAtEnd, 2);
}

TEST_F(MailSendTest, APauseLastsTheTimeSet)
{
    // A pause of 2 seconds after every second message, kept by a clock of
    // the test's own (so no load can stretch or shrink it): the batch waits
    // 2,000 ms of it, once, after the second message reached the server and
    // before the third.
    qint64 waited = 0;
    QList<int> heldWhileWaiting; // messages the server held at each slice
    const auto wallClock = Mail_Pause_Wait;
    Mail_Pause_Wait = [&](qint64 ms) {
        waited += ms;
        heldWhileWaiting << int(received().size());
        return ms;
    };
    const auto restore = qScopeGuard([&] { Mail_Pause_Wait = wallClock; });
    mail->Without_barcode_rd_select();
    mail->to_txt->setText("a@x.org,b@x.org,c@x.org");
    mail->delayed_delv_chk->setChecked(true);
    mail->delayed_delv_chk_select();
    mail->mail_count_txt->setText("2");
    mail->mail_count_changed();
    mail->sec_txt->setText("2");
    mail->seconds_changed();
    ASSERT_TRUE(send());

    EXPECT_EQ(to(received()), (QStringList{"a@x.org", "b@x.org", "c@x.org"}));
    EXPECT_EQ(waited, 2000);
    ASSERT_FALSE(heldWhileWaiting.isEmpty());
    EXPECT_EQ(heldWhileWaiting.count(2), heldWhileWaiting.size()) << heldWhileWaiting.size() << " slices";
    EXPECT_EQ(host.alertTexts(), QStringList{"E-mail has been sent successfully."});
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

TEST_F(MailSendTest, MailedCardsOfABoundDesignCarryEachRowsSymbols)
{
    SKTDocument document;
    Batch_Binding binding(document);
    SKTRenderingView::setCardSize(Bound_Symbols_Card);
    const QList<Bound_Symbol> symbols = Bind_Symbols(document.graphics, 2);
    binding.Check_Series_Or_Excel_Use_or_not();
    mail->design = &binding;
    mail->send_barcode_rd_select();
    mail->send_with_batch_chk->setChecked(true);
    mail->send_with_batch_chk_select();
    mail->obo_rd_select();
    mail->mail_card_side_CellClick(1); // front
    mail->to_txt->setText("p1@x.org,p2@x.org");
    ASSERT_TRUE(send());
    QStringList cards;
    for (const QJsonObject& m : received())
        for (const auto& a : m["attachments"].toArray())
            cards << a.toObject()["file"].toString();
    ASSERT_EQ(cards.size(), 2);
    Expect_Cards_Carry_Rows(cards, symbols);
}
