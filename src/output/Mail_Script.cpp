#include "output/Mail_Script.h"

#include "model/Globals.h"
#include "model/Helpers.h"

namespace {
// The script waits at most a minute for any one answer of the server; the
// whole run, attachments included, gets three.
constexpr int Mail_Send_Time_Limit_Ms = 180000;

// The script's exit statuses (see its head).
Mail_Failure failureOfExitStatus(int status)
{
    switch (status) {
    case 0: return Mail_Failure::None;
    case 3: return Mail_Failure::Login_Refused;
    case 4: return Mail_Failure::Server_Not_Reached;
    case 5: return Mail_Failure::No_Encryption;
    case 6: return Mail_Failure::Certificate_Not_Trusted;
    case 7: return Mail_Failure::Message_Refused;
    default: return Mail_Failure::Other;
    }
}
}

platform::TaskRequest Mail_Script_Task(const Mail_Message& m)
{
    platform::TaskRequest task;
    task.program = QStringLiteral("/usr/bin/python");
    task.arguments = {Resource_Path + QStringLiteral("/pyth_mail.py"),
                      m.withSender, m.withSMTP, m.withPort, m.withSender, m.toAddress, m.withSubject, m.withBody,
                      m.enable_ssl == QLatin1String("Y") ? QStringLiteral("Y") : QStringLiteral("N")};
    task.arguments << m.Attachments;
    task.environment = QProcessEnvironment();
    task.environment.insert(QStringLiteral("PYTHONPATH"), QStringLiteral(""));
    task.environment.insert(QStringLiteral("PATH"), QStringLiteral("/bin:/usr/bin:/usr/local/bin"));
    // A trust store of the user's own choosing holds for the mail server too.
    const QProcessEnvironment ours = QProcessEnvironment::systemEnvironment();
    for (const QString& name : {QStringLiteral("SSL_CERT_FILE"), QStringLiteral("SSL_CERT_DIR")})
        if (ours.contains(name))
            task.environment.insert(name, ours.value(name));
    // UTF-8, so a password beyond ASCII reaches the server as typed.
    task.standardInput = m.withPwd.toUtf8() + "\nDescription";
    task.timeoutMs = Mail_Send_Time_Limit_Ms;
    return task;
}

Mail_Send_Result sendEmail_pyth(const Mail_Message& message, const std::function<bool()>& stop)
{
    platform::TaskRequest task = Mail_Script_Task(message);
    task.stopRequested = stop;
    const platform::TaskResult run = platform::runTask(task);
    Mail_Send_Result result;
    if (!run.started) {
        result.detail = QStringLiteral("the mail script could not be started");
    } else if (run.stopped) {
        result.failure = Mail_Failure::Stopped;
        result.detail = QStringLiteral("sending was stopped");
    } else if (run.timedOut) {
        result.failure = Mail_Failure::Server_Not_Reached;
        result.detail = QStringLiteral("the mail script took too long and was ended");
    } else {
        result.failure = failureOfExitStatus(run.exitStatus);
        // The script's last line of standard error is its reason.
        const QStringList lines = Trim_Str(QString::fromUtf8(run.standardError)).split('\n');
        result.detail = Trim_Str(lines.last());
        if (result.detail.startsWith(QLatin1String("pyth_mail: ")))
            result.detail = result.detail.mid(11);
    }
    if (result.sent())
        return result;
    if (message.withPwd.size() > 0)
        result.detail.replace(message.withPwd, QStringLiteral("***"));
    Show_NSLog_Message(QStringLiteral("Mail to %1 not sent: %2").arg(message.toAddress, result.detail));
    return result;
}

QString Mail_Failure_Text(const Mail_Send_Result& result)
{
    // The script's line names the problem before its first ": " and the
    // server's or the system's own words after it.
    const int colon = result.detail.indexOf(QLatin1String(": "));
    QString words = colon < 0 ? QString() : result.detail.mid(colon + 2);
    if (!words.isEmpty() && !words.endsWith('.'))
        words += '.';
    const auto with = [&](const QString& lead) { return words.isEmpty() ? lead + '.' : lead + ": " + words; };
    switch (result.failure) {
    case Mail_Failure::None: return QString();
    case Mail_Failure::Login_Refused:
        return with(QStringLiteral("The E-mail server refused the login (sender E-mail or password)"));
    case Mail_Failure::Server_Not_Reached:
        return with(QStringLiteral("The E-mail server could not be reached, or the connection to it was lost"));
    case Mail_Failure::No_Encryption:
        return with(QStringLiteral("The E-mail server offers no encryption (TLS), so nothing was sent and the "
                                   "password was not given to it"));
    case Mail_Failure::Certificate_Not_Trusted:
        return with(QStringLiteral("The E-mail server's certificate is not trusted"));
    case Mail_Failure::Message_Refused: return with(QStringLiteral("The E-mail server refused the message"));
    case Mail_Failure::Stopped: return QStringLiteral("Sending was stopped.");
    case Mail_Failure::Other: break;
    }
    return result.detail.isEmpty() ? QStringLiteral("The mail script failed.")
                                   : QStringLiteral("The mail script failed: %1.").arg(result.detail);
}

bool isValidEmail(const QString& address)
{
    const QString text = Trim_Str(address);
    return text.size() >= 6 && text.split('@').size() == 2 && text.split('.').size() >= 2;
}
