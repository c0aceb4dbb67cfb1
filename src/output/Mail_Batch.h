#pragma once
// The batch e-mail sender without its window: the checks made before a send,
// and the worker that hands one message after another to the mail script
// with the progress sheet up, pausing after every few messages on request.
#include "model/Card_Rows.h"
#include "output/Card_Output.h"

#include <QImage>
#include <QList>
#include <QString>
#include <QStringList>
#include <atomic>
#include <functional>

class QWidget;

// The mail window's fields as the user left them, and the account.
struct Mail_Job {
    QString from, to, subject, body;
    bool with_card = true;
    QString card_side = QStringLiteral("F"); // "BOTH", "F" or "B"
    QString file_name = QStringLiteral("PelvoroFrame");
    bool use_data_sets = false, use_spreadsheet = false;
    bool one_per_recipient = false; // row i to recipient i; otherwise every row to everyone
    QString attachment;             // sent only without card
    bool delayed = false;
    int pause_after = 1, hours = 0, minutes = 0, seconds = 0;
    QString password, server, port, ssl; // ssl "Y" for SSL
};

enum class Mail_Mode { Plain, Card, Rows_To_Everyone, Row_Per_Recipient };

// A job that passed the checks.
struct Mail_Plan {
    Mail_Mode mode = Mail_Mode::Plain;
    QString sender;
    QStringList recipients;
    QString subject, body, password, server, port, ssl;
    Sides_Choice sides = Sides_Choice::Front;
    QString file_name;  // base name of the card files
    QString attachment; // an existing file, or empty
    int pause_after = 0; // messages between pauses; 0 for none
    qint64 pause_ms = 0;
};

// The checks made before anything is shown or sent, the first failure
// winning: the message to show, or an empty text with plan filled.
QString Check_Mail_Job(const Mail_Job& job, Mail_Plan& plan);

// The pause hours are capped so that a pause stays within a 32-bit count of
// milliseconds.
inline constexpr int Mail_Pause_Max_Hours = 99;

// "Pausing the process for 1 Minute 5 Seconds." for ms milliseconds.
QString Calculate_Pause_Time(qint64 ms);

// The pause still to run, in milliseconds, while the countdown shows it.
extern std::atomic<qint64> Pause_Delay_Time;

// How a pause waits: one slice of at most ms milliseconds, giving the
// milliseconds it took. A pause ends when its slices add up to its length,
// so a clock put here in place of the wall clock keeps it.
extern std::function<qint64(qint64 ms)> Mail_Pause_Wait;

struct Mail_Batch_Result {
    int sent = 0;    // messages the server accepted
    int planned = 0; // messages the batch was to send
    bool failed = false;  // a message failed, which ended the batch
    bool stopped = false; // Stop ended the batch before its end
    bool last_sent = false;
    QString last_accepted;  // the recipient of the last message the server accepted
    QString failure_reason; // why the batch ended early, in words for the user
    QString shortfall; // one row per recipient, and rows and recipients did not match: what was left unsent
    Cards_Without_Barcode rows_without_barcode; // cards sent without their barcode
};

// Sends the plan's messages, one run of the mail script each, with the
// progress sheet over sheet_parent; the first failure or Stop ends the batch,
// and the end box tells how it went: why a failure happened and how far the
// batch got, what was left unsent, or, only once every message is accepted,
// success. The card is row r of rows, or without rows the design as it stands
// (row -1). Card files live in a private temporary folder removed at the end.
// Call it off the main thread.
Mail_Batch_Result Send_Mail_Thread(const Mail_Plan& plan, Card_Row_Source& rows, QWidget* sheet_parent);
