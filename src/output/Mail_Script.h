#pragma once
// The outside mail script ("pyth_mail.py" in the resource folder): one run
// sends one message. The password travels on its standard input only.
#include "platform/Task.h"

#include <QString>
#include <QStringList>
#include <functional>

struct Mail_Message {
    QString toAddress;      // one recipient
    QString withSubject;
    QStringList Attachments; // file paths, in order
    QString withSender;     // the account's user name and the From address
    QString withPwd;
    QString withSMTP;
    QString withPort;
    QString withBody;
    QString enable_ssl;     // "Y" TLS from the first byte, anything else STARTTLS (required)
};

// Why a message was not sent. The script tells by its exit status (listed
// in pyth_mail.py); a stop or a run that could not start is known here.
enum class Mail_Failure {
    None,
    Other,
    Login_Refused,
    Server_Not_Reached,
    No_Encryption,
    Certificate_Not_Trusted,
    Message_Refused,
    Stopped,
};

struct Mail_Send_Result {
    Mail_Failure failure = Mail_Failure::Other;
    QString detail; // the script's line about it, the password masked
    bool sent() const { return failure == Mail_Failure::None; }
};

// The script's run for one message: "/usr/bin/python" with the script and
// the message as arguments, a bare environment (only the trust-store
// variables SSL_CERT_FILE and SSL_CERT_DIR pass on from ours, when set), the
// password on standard input, and a time limit.
platform::TaskRequest Mail_Script_Task(const Mail_Message& message);

// Sends one message through the script; sent() exactly when the server
// accepted it. stop is asked while the script runs: true ends the send (a
// server that hangs cannot hold the batch). The script's reason for a
// failure goes to the log.
Mail_Send_Result sendEmail_pyth(const Mail_Message& message, const std::function<bool()>& stop = {});

// A failure in words for the user: "The E-mail server refused the login:
// 535 ...". Empty for a message that was sent.
QString Mail_Failure_Text(const Mail_Send_Result& result);

// The address test: the trimmed text has at least six characters, exactly
// one "@", and at least one ".".
bool isValidEmail(const QString& address);
