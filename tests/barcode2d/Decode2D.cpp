#include "Decode2D.h"

#include "platform/Task.h"

#include <QPainter>
#include <gtest/gtest.h>

bool Save_With_Quiet_Zone(const QImage& symbol, const QString& path, int quiet)
{
    if (symbol.isNull())
        return false;
    QImage out(symbol.width() + 2 * quiet, symbol.height() + 2 * quiet, QImage::Format_RGB32);
    out.fill(Qt::white);
    QPainter painter(&out);
    painter.drawImage(quiet, quiet, symbol);
    painter.end();
    return out.save(path, "PNG");
}

DecodeRun Decode_With_ZXing(const QStringList& paths, const QString& format)
{
    DecodeRun run;
    platform::TaskRequest request;
    request.program = QStringLiteral("ZXingReader");
    request.arguments = QStringList{QStringLiteral("-format"), format, QStringLiteral("-ispure")} + paths;
    request.timeoutMs = 120000;
    const platform::TaskResult result = platform::runTask(request);
    if (!result.started) {
        run.failure = QStringLiteral("ZXingReader could not be started (is zxing-cpp-tools installed?)");
        return run;
    }
    run.ran = true;
    // Blocks of "Key: value" lines, one block per symbol, each starting with
    // "File:" (which a run over one file leaves out).
    QString file = paths.size() == 1 ? paths.first() : QString();
    for (const QByteArray& rawLine : result.standardOutput.split('\n')) {
        const QString line = QString::fromUtf8(rawLine);
        if (line.startsWith(QLatin1String("File:")))
            file = line.mid(5).trimmed();
        else if (line.startsWith(QLatin1String("Bytes:")) && !file.isEmpty())
            run.read[file].bytes = QByteArray::fromHex(line.mid(6).trimmed().remove(QLatin1Char(' ')).toLatin1());
        else if (line.startsWith(QLatin1String("EC Level:")) && !file.isEmpty())
            run.read[file].ecLevel = line.mid(9).trimmed();
    }
    return run;
}

DecodeRun Decode_With_Dmtxread(const QStringList& paths)
{
    DecodeRun run;
    for (const QString& path : paths) {
        platform::TaskRequest request;
        request.program = QStringLiteral("dmtxread");
        request.arguments = {QStringLiteral("-N1"), QStringLiteral("-m10000"), path};
        request.timeoutMs = 60000;
        const platform::TaskResult result = platform::runTask(request);
        if (!result.started) {
            run.ran = false;
            run.failure = QStringLiteral("dmtxread could not be started (is dmtx-utils installed?)");
            return run;
        }
        run.ran = true;
        if (result.exitStatus == 0 && !result.standardOutput.isEmpty())
            run.read[path].bytes = result.standardOutput;
    }
    return run;
}

bool SymbolBatch::add(const QImage& symbol, const QByteArray& expectedBytes, const QString& label, int quiet)
{
    const QString path = dir.filePath(QStringLiteral("symbol_%1.png").arg(paths.size(), 3, 10, QLatin1Char('0')));
    if (!Save_With_Quiet_Zone(symbol, path, quiet))
        return false;
    paths << path;
    expected << expectedBytes;
    labels << label;
    return true;
}

void Expect_All_Read(const SymbolBatch& batch, const DecodeRun& run, const char* decoder)
{
    ASSERT_TRUE(run.ran) << run.failure.toStdString();
    for (qsizetype i = 0; i < batch.paths.size(); ++i) {
        const auto found = run.read.constFind(batch.paths[i]);
        if (found == run.read.cend()) {
            ADD_FAILURE() << decoder << " read nothing from " << batch.labels[i].toStdString();
            continue;
        }
        const QByteArray& got = found->bytes;
        const QByteArray& want = batch.expected[i];
        if (got == want)
            continue;
        qsizetype at = 0;
        while (at < got.size() && at < want.size() && got[at] == want[at])
            ++at;
        ADD_FAILURE() << decoder << ", " << batch.labels[i].toStdString() << ": read " << got.size()
                      << " bytes for " << want.size() << ", first difference at " << at << ": read \""
                      << got.mid(at, 24).toPercentEncoding(" ").toStdString() << "\", expected \""
                      << want.mid(at, 24).toPercentEncoding(" ").toStdString() << "\"";
    }
}
