#include "output/Mail_Batch.h"

#include "model/Batch_Sources.h"
#include "model/Globals.h"
#include "model/Helpers.h"
#include "output/Mail_Script.h"
#include "output/Send_Modeless.h"
#include "platform/MainThread.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QLabel>
#include <QTemporaryDir>
#include <QThread>
#include <QTimer>
#include <algorithm>

std::atomic<qint64> Pause_Delay_Time{0};

std::function<qint64(qint64 ms)> Mail_Pause_Wait = [](qint64 ms) {
    QElapsedTimer clock;
    clock.start();
    QThread::msleep(ms);
    return clock.elapsed();
};

namespace {
const QString Settings_Unusable = QStringLiteral(
    "Please make sure that:\n1.Entered E-mail Settings are correct.\n2.Internet Connectivity to E-mail server is not "
    "interrupted and E-mail server is not down.\n3.Your firewall or security software(if any) is not blocking the "
    "software to communicate with your E-mail server.");
const QString Sent_Successfully = QStringLiteral("E-mail has been sent successfully.");
const QString Not_Sent = QStringLiteral(
    "Could not send email message.\nPlease make sure that:\n1. Entered E-mail settings are correct.\n2. Internet "
    "connectivity to E-mail server is not interrupted and E-mail server is not down.\n3. Your Firewall or Security "
    "software (if any) is not blocking the software to communicate with your E-mail server.");

bool stopRequested() { return Stop_SMS_Sending_Now.load(); }

// A name for the card files: no folder part, and not "." or "..".
bool usableFileName(const QString& name)
{
    return !name.isEmpty() && !name.contains('/') && !name.contains('\\') && name != QLatin1String(".")
           && name != QLatin1String("..");
}

enum class Card_Files { Ready, Not_Drawn, Not_Written };

// Draws the sides the plan wants and writes them to base (the back beside
// it); files gets what to attach, the back first. A side that drew nothing
// gives Not_Drawn when skip_undrawn, and is otherwise a file that could not
// be written.
Card_Files writeCardFiles(Sides_Choice sides, const std::function<QImage(Card_Side)>& render, const QString& base,
                          bool skip_undrawn, QStringList& files)
{
    files.clear();
    const Card_Faces faces = Render_Card_Sides(sides, render);
    const bool backWanted = sides != Sides_Choice::Front, frontWanted = sides != Sides_Choice::Back;
    if (skip_undrawn && ((backWanted && faces.back.isNull()) || (frontWanted && faces.front.isNull())))
        return Card_Files::Not_Drawn;
    Faces_Written count;
    Write_Card_Faces(sides, false, faces, base, Back_Card_Path(base),
                     [](const QImage& image, const QString& path) { return Save_Card_Image(image, path); }, count);
    if (count.failed > 0)
        return Card_Files::Not_Written;
    if (backWanted)
        files << Back_Card_Path(base);
    if (frontWanted)
        files << base;
    return Card_Files::Ready;
}

// A pause of ms milliseconds, as set, that Stop ends within a tenth of a
// second. The line on the sheet shows the time left, a second less each
// second.
void pauseBatch(qint64 ms, Send_Modeless* sheet)
{
    Pause_Delay_Time = ms;
    QTimer* countdown = nullptr;
    platform::runOnMainThread([&] {
        sheet->pause_label->setText(Calculate_Pause_Time(ms));
        countdown = new QTimer;
        countdown->setInterval(1000);
        QObject::connect(countdown, &QTimer::timeout, sheet, [sheet] {
            Pause_Delay_Time = std::max<qint64>(Pause_Delay_Time - 1000, 0);
            sheet->pause_label->setText(Calculate_Pause_Time(Pause_Delay_Time));
        });
        countdown->start();
    });
    for (qint64 waited = 0; waited < ms && !stopRequested();)
        waited += std::max<qint64>(Mail_Pause_Wait(std::min<qint64>(ms - waited, 50)), 1);
    platform::runOnMainThread([&] {
        delete countdown;
        sheet->pause_label->setText(QStringLiteral(""));
    });
    Pause_Delay_Time = 0;
}

// The end box of a batch that did not end with every message sent.
QString failedBatchText(const Mail_Batch_Result& result)
{
    QString text = QStringLiteral("Could not send email message.\n");
    if (!result.failure_reason.isEmpty())
        text += result.failure_reason + '\n';
    text += QStringLiteral("%1 of %2 e-mails were sent.").arg(result.sent).arg(result.planned);
    if (!result.last_accepted.isEmpty())
        text += QStringLiteral(" The last one accepted went to %1.").arg(result.last_accepted);
    return text + '\n' + Not_Sent.section('\n', 1);
}
}

QString Check_Mail_Job(const Mail_Job& job, Mail_Plan& plan)
{
    plan = Mail_Plan();
    plan.sender = Trim_Str(job.from.toLower());
    if (plan.sender.isEmpty())
        return Settings_Unusable;
    if (Trim_Str(job.to).isEmpty())
        return QStringLiteral("Please specify the Recipient E-mail address.");
    // Every address must pass: one mistyped address refuses the batch rather
    // than silently leaving that person out. Empty pieces (a stray comma) are passed over.
    bool invalid = false;
    for (const QString& piece : job.to.toLower().split(',')) {
        if (Trim_Str(piece).isEmpty())
            continue;
        if (isValidEmail(piece))
            plan.recipients << Trim_Str(piece);
        else
            invalid = true;
    }
    if (plan.recipients.isEmpty() || invalid)
        return QStringLiteral("Recipient E-mail address is invalid or incomplete.");

    plan.subject = job.subject;
    plan.body = job.body;
    plan.password = job.password;
    plan.server = job.server;
    plan.port = job.port;
    plan.ssl = job.ssl;

    plan.file_name = QStringLiteral("PelvoroFrame");
    if (job.with_card) {
        plan.file_name = Remove_Reserve_Char_In_File_Name(job.file_name);
        if (!usableFileName(plan.file_name))
            return QStringLiteral("Please enter valid file name.");
    } else {
        plan.attachment = Trim_Str(job.attachment);
        if (!plan.attachment.isEmpty() && !QFileInfo(plan.attachment).isFile())
            return QStringLiteral("The file to attach no longer exists:\n%1").arg(plan.attachment);
    }

    if (job.delayed) {
        plan.pause_after = std::max(job.pause_after, 1);
        plan.pause_ms = std::clamp(job.hours, 0, Mail_Pause_Max_Hours) * 3600000LL
                        + std::clamp(job.minutes, 0, 59) * 60000LL + std::clamp(job.seconds, 0, 59) * 1000LL;
    }
    plan.sides = Sides_Choice_From_Code(job.card_side);
    if (!job.with_card)
        plan.mode = Mail_Mode::Plain;
    else if (!job.use_data_sets && !job.use_spreadsheet)
        plan.mode = Mail_Mode::Card;
    else
        plan.mode = job.one_per_recipient ? Mail_Mode::Row_Per_Recipient : Mail_Mode::Rows_To_Everyone;
    return QString();
}

QString Calculate_Pause_Time(qint64 ms)
{
    const qint64 s = ms / 1000, h = s / 3600, n = (s % 3600) / 60, c = s % 60;
    const QString hours = (h < 2 ? QStringLiteral("%1 Hour ") : QStringLiteral("%1 Hours ")).arg(h);
    const QString minutes = (n < 2 ? QStringLiteral("%1 Minute ") : QStringLiteral("%1 Minutes ")).arg(n);
    const QString seconds = (c < 2 ? QStringLiteral("%1 Second.") : QStringLiteral("%1 Seconds.")).arg(c);
    QString line = QStringLiteral("Pausing the process for ");
    if (h >= 1)
        return line + hours + minutes + seconds;
    if (n >= 1)
        return line + minutes + seconds;
    return line + seconds;
}

Mail_Batch_Result Send_Mail_Thread(const Mail_Plan& plan, Card_Row_Source& rows, QWidget* sheet_parent)
{
    Mail_Batch_Result result;
    Stop_SMS_Sending_Now = false;
    const bool withRows = plan.mode == Mail_Mode::Rows_To_Everyone || plan.mode == Mail_Mode::Row_Per_Recipient;
    const int rowCount = withRows ? rows.Batch_Row_Count() : 0;
    const int recipients = int(plan.recipients.size());
    const int passes = plan.mode == Mail_Mode::Rows_To_Everyone ? rowCount : recipients;
    result.planned = plan.mode == Mail_Mode::Rows_To_Everyone    ? rowCount * recipients
                     : plan.mode == Mail_Mode::Row_Per_Recipient ? std::min(rowCount, recipients)
                                                                 : recipients;

    // The card files are the user's card: only they may read them, and they
    // go when the batch ends.
    QTemporaryDir folder(QDir::tempPath() + QStringLiteral("/gleamcard-mail-XXXXXX"));
    const QString base = QDir(folder.path()).filePath(plan.file_name + QStringLiteral(".png"));
    if (!folder.isValid())
        Show_NSLog_Message(QStringLiteral("No folder for the card files: %1").arg(folder.errorString()));

    list_count = passes;
    curr_barcode_count = 0;
    Send_Modeless* sheet = nullptr;
    platform::runOnMainThread([&] {
        sheet = Send_Modeless::defaultInstance();
        sheet->Begin_Batch(sheet_parent, passes, QStringLiteral("%1 / %2"));
    });
    const int savedSide = Card_Front_Or_Back;
    if (withRows)
        rows.Batch_Begin();

    auto send = [&](const QString& to, const QStringList& files) {
        Show_NSLog_Message(QStringLiteral("Sending to %1").arg(to));
        const Mail_Message message{to, plan.subject, files, plan.sender, plan.password, plan.server,
                                   plan.port, plan.body, plan.ssl};
        const Mail_Send_Result sent = sendEmail_pyth(message, stopRequested);
        result.last_sent = sent.sent();
        if (result.last_sent) {
            ++result.sent;
            result.last_accepted = to;
        } else if (sent.failure != Mail_Failure::Stopped) {
            Show_NSLog_Message(QStringLiteral("error in mail"));
            result.failed = true;
            result.failure_reason = Mail_Failure_Text(sent);
        }
        return result.last_sent;
    };

    auto noCardFiles = [&] {
        result.failed = true;
        result.failure_reason = QStringLiteral("The card could not be written to a file to attach.");
    };

    bool finished = true; // the passes ran to their end
    QStringList cardFiles;
    int sinceLastPause = 0;
    for (int i = 0; i < passes; ++i) {
        Wait_For_Stop_Answer(); // no further message while the Stop question is open
        if (stopRequested()) {
            finished = false;
            break;
        }
        curr_barcode_count = i + 1;
        bool passSent = false;
        if (plan.mode == Mail_Mode::Plain) {
            Show_NSLog_Message(QStringLiteral("send without card."));
            passSent = send(plan.recipients[i], plan.attachment.isEmpty() ? QStringList() : QStringList{plan.attachment});
        } else if (plan.mode == Mail_Mode::Card) {
            Show_NSLog_Message(QStringLiteral("send card no batch."));
            // The card is drawn once; a card that could not be written is not sent.
            if (i == 0 && folder.isValid()) {
                const auto render = [&](Card_Side side) { return rows.Card_Row_Image(-1, side, 1.0); };
                writeCardFiles(plan.sides, render, base, false, cardFiles);
            }
            if (cardFiles.isEmpty())
                noCardFiles();
            else
                passSent = send(plan.recipients[i], cardFiles);
        } else {
            if (plan.mode == Mail_Mode::Row_Per_Recipient && i >= rowCount) {
                curr_barcode_count = passes;
                break;
            }
            QStringList files;
            const auto render = [&](Card_Side side) { return rows.Card_Row_Image(i, side, 1.0); };
            const Card_Files state =
                folder.isValid() ? writeCardFiles(plan.sides, render, base, true, files) : Card_Files::Not_Written;
            if (state == Card_Files::Not_Drawn)
                continue; // a row that draws nothing is passed over
            if (state == Card_Files::Not_Written) {
                noCardFiles();
            } else if (plan.mode == Mail_Mode::Row_Per_Recipient) {
                Show_NSLog_Message(QStringLiteral("send card with batch to one to one"));
                passSent = send(plan.recipients[i], files);
            } else {
                Show_NSLog_Message(QStringLiteral("send card with batch to all image to everyone"));
                for (const QString& to : plan.recipients) {
                    if (stopRequested() || !send(to, files))
                        break;
                    passSent = true;
                }
            }
        }
        if (result.failed) {
            finished = false;
            break;
        }
        if (!passSent)
            continue;
        if (plan.pause_after > 0 && ++sinceLastPause >= plan.pause_after && curr_barcode_count != passes) {
            pauseBatch(plan.pause_ms, sheet);
            sinceLastPause = 0;
        }
    }
    // The end box waits for an open Stop question: it tells how the batch
    // ended only once nothing more can change it.
    Wait_For_Stop_Answer();
    result.stopped = stopRequested() && (!finished || result.sent < result.planned);
    if (plan.mode == Mail_Mode::Row_Per_Recipient && rowCount < recipients)
        result.shortfall = QStringLiteral("%1 of %2 recipients got a card: there are only %3 rows.")
                               .arg(result.sent)
                               .arg(recipients)
                               .arg(rowCount);
    else if (plan.mode == Mail_Mode::Row_Per_Recipient && rowCount > recipients)
        result.shortfall = QStringLiteral("%1 of %2 rows were sent: there are only %3 recipients.")
                               .arg(result.sent)
                               .arg(rowCount)
                               .arg(recipients);

    if (withRows) {
        result.rows_without_barcode = rows.Rows_Without_Barcode();
        rows.Batch_End();
    }
    Card_Front_Or_Back = savedSide;
    folder.remove();
    platform::runOnMainThread([&] { sheet->End_Batch(); });

    QString text;
    if (result.stopped)
        text = QStringLiteral("Sending was stopped. %1 of %2 e-mails were sent.").arg(result.sent).arg(result.planned);
    else if (result.failed)
        text = failedBatchText(result);
    else if (!result.shortfall.isEmpty())
        text = result.shortfall;
    else if (result.last_sent)
        text = Sent_Successfully;
    else
        text = Not_Sent;
    const QString note = Rows_Without_Barcode_Note(result.rows_without_barcode, QStringLiteral("Cards sent"));
    Show_MessageBox(note.isEmpty() ? text : text + '\n' + note);
    return result;
}
