#include "platform/Log.h"

#include <QMutex>
#include <cstdio>

namespace platform {
namespace {
QMutex g_logMutex;
LogSink g_sink;
}

void log(const QString& line)
{
    QMutexLocker lock(&g_logMutex);
    const QByteArray bytes = line.toUtf8();
    std::fprintf(stderr, "%s\n", bytes.constData());
    std::fflush(stderr);
    if (g_sink)
        g_sink(line);
}

LogSink setLogSink(LogSink sink)
{
    QMutexLocker lock(&g_logMutex);
    std::swap(g_sink, sink);
    return sink;
}
}
