#include "platform/Task.h"

#include <QElapsedTimer>
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
    QElapsedTimer clock;
    clock.start();
    while (process.state() != QProcess::NotRunning && !process.waitForFinished(100)) {
        if (process.state() == QProcess::NotRunning)
            break;
        result.stopped = request.stopRequested && request.stopRequested();
        result.timedOut = !result.stopped && clock.elapsed() >= request.timeoutMs;
        if (result.stopped || result.timedOut) {
            process.kill();
            process.waitForFinished(5000);
            break;
        }
    }
    result.standardOutput = process.readAllStandardOutput();
    result.standardError = process.readAllStandardError();
    if (!result.timedOut && !result.stopped && process.exitStatus() == QProcess::NormalExit)
        result.exitStatus = process.exitCode();
    return result;
}
}
