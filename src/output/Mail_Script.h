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
    QString enable_ssl;     // "Y" SSL, anything else TLS when the server offers it
};

// The script's run for one message: "/usr/bin/python" with the script and
// the message as arguments, a bare environment, the password on standard
// input, and a time limit.
platform::TaskRequest Mail_Script_Task(const Mail_Message& message);

// Sends one message through the script; true exactly when the server
// accepted it. stop is asked while the script runs: true ends the send (a
// server that hangs cannot hold the batch). The script's reason for a
// failure goes to the log.
bool sendEmail_pyth(const Mail_Message& message, const std::function<bool()>& stop = {});

// The address test: the trimmed text has at least six characters, exactly
// one "@", and at least one ".".
bool isValidEmail(const QString& address);
