#pragma once
#include <QString>
#include <functional>

namespace platform {
// One line per event to standard error. Tests may add a sink to capture lines.
void log(const QString& line);
// Installs an extra receiver of every log line (nullptr removes it). Returns the previous one.
using LogSink = std::function<void(const QString&)>;
LogSink setLogSink(LogSink sink);
}
