#include "platform/Task.h"

#include <QProcess>

namespace platform {

TaskResult runTask(const TaskRequest& request)
{
    TaskResult result;
    QProcess process;
    process.setProcessEnvironment(request.environment);
    process.start(request.program, request.arguments);
    if (!process.waitForStarted(10000))
        return result;
    result.started = true;
    if (!request.standardInput.isEmpty())
        process.write(request.standardInput);
    process.closeWriteChannel();
    if (!process.waitForFinished(request.timeoutMs)) {
        result.timedOut = true;
        process.kill();
        process.waitForFinished(5000);
    }
    result.standardOutput = process.readAllStandardOutput();
    result.standardError = process.readAllStandardError();
    if (!result.timedOut && process.exitStatus() == QProcess::NormalExit)
        result.exitStatus = process.exitCode();
    return result;
}
}
