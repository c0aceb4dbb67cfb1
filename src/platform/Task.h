#pragma once
#include <QByteArray>
#include <QString>
#include <QStringList>
#include <QProcessEnvironment>
#include <functional>

namespace platform {
// An outside program run with an argument list (never through a shell).
struct TaskRequest {
    QString program;
    QStringList arguments;
    QByteArray standardInput;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    int timeoutMs = 60000;
    // Asked about ten times a second while the program runs; true ends it.
    std::function<bool()> stopRequested;
};

struct TaskResult {
    bool started = false;
    bool timedOut = false;
    bool stopped = false;  // ended because stopRequested said so
    int exitStatus = -1;   // the program's exit status; -1 when it did not exit normally
    QByteArray standardOutput;
    QByteArray standardError;
    bool succeeded() const { return started && !timedOut && !stopped && exitStatus == 0; }
};

// Runs the program to its end (or the time limit or a stop request, after
// which it is killed).
// Safe on any thread.
TaskResult runTask(const TaskRequest& request);
}
