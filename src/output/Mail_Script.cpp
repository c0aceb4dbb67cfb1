#include "output/Mail_Script.h"

#include "model/Globals.h"
#include "model/Helpers.h"

namespace {
// The script waits at most a minute for any one answer of the server; the
// whole run, attachments included, gets three.
constexpr int Mail_Send_Time_Limit_Ms = 180000;
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
    // UTF-8, so a password beyond ASCII reaches the server as typed.
    task.standardInput = m.withPwd.toUtf8() + "\nDescription";
    task.timeoutMs = Mail_Send_Time_Limit_Ms;
    return task;
}

bool sendEmail_pyth(const Mail_Message& message, const std::function<bool()>& stop)
{
    platform::TaskRequest task = Mail_Script_Task(message);
    task.stopRequested = stop;
    const platform::TaskResult result = platform::runTask(task);
    if (result.succeeded())
        return true;
    QString why = !result.started ? QStringLiteral("the mail script could not be started")
                  : result.stopped ? QStringLiteral("sending was stopped")
                  : result.timedOut ? QStringLiteral("the mail script took too long and was ended")
                                    : Trim_Str(QString::fromUtf8(result.standardError));
    if (message.withPwd.size() > 0)
        why.replace(message.withPwd, QStringLiteral("***"));
    Show_NSLog_Message(QStringLiteral("Mail to %1 not sent: %2").arg(message.toAddress, why));
    return false;
}

bool isValidEmail(const QString& address)
{
    const QString text = Trim_Str(address);
    return text.size() >= 6 && text.split('@').size() == 2 && text.split('.').size() >= 2;
}
