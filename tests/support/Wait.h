#pragma once
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QThread>

// Runs the main thread's event loop until pred() holds or the time runs out.
template <typename Pred>
bool waitUntil(Pred pred, int timeoutMs = 10000)
{
    QElapsedTimer timer;
    timer.start();
    while (!pred()) {
        if (timer.elapsed() > timeoutMs)
            return false;
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
        QThread::msleep(1);
    }
    return true;
}
