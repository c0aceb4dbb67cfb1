#include "support/Decode.h"

#include "platform/Task.h"

#include <QPainter>
#include <QXmlStreamReader>
#include <algorithm>
#include <gtest/gtest.h>
#include <initializer_list>

namespace {
// Runs a decoder to its end. The run counts as ran when the decoder started,
// finished in time and exited with one of the statuses it uses for "read"
// and "read nothing" (anything else is an error: a file it cannot open, an
// argument it does not know).
platform::TaskResult runDecoder(const QString& program, const QStringList& arguments,
                                std::initializer_list<int> usualExits, DecodeRun& run)
{
    platform::TaskRequest request;
    request.program = program;
    request.arguments = arguments;
    request.timeoutMs = 120000;
    const platform::TaskResult result = platform::runTask(request);
    run.errorOutput += QString::fromUtf8(result.standardError);
    if (!result.started)
        run.failure = program + QStringLiteral(" could not be started (is it installed?)");
    else if (result.timedOut)
        run.failure = program + QStringLiteral(" did not finish in time");
    else if (std::find(usualExits.begin(), usualExits.end(), result.exitStatus) == usualExits.end())
        run.failure = program + QStringLiteral(" failed with exit status %1: ").arg(result.exitStatus)
                      + QString::fromUtf8(result.standardError + result.standardOutput).left(2000);
    run.ran = run.failure.isEmpty();
    return result;
}

// A run over no files would read nothing and could pass nothing.
bool refuseNoFiles(const QStringList& pngPaths, const QString& program, DecodeRun& run)
{
    if (!pngPaths.isEmpty())
        return false;
    run.failure = program + QStringLiteral(" was given no files to read");
    return true;
}
}

DecodeRun Decode_With_ZXing(const QStringList& pngPaths, const QString& formats, ZXingSearch search)
{
    DecodeRun run;
    const QString program = QStringLiteral("ZXingReader");
    if (refuseNoFiles(pngPaths, program, run))
        return run;
    // -escape keeps a text with line ends on its one line; the exact content
    // is taken from the hexadecimal "Bytes:" line.
    QStringList arguments = {QStringLiteral("-format"), formats, QStringLiteral("-escape")};
    if (search == ZXingSearch::Pure)
        arguments << QStringLiteral("-ispure");
    const platform::TaskResult result = runDecoder(program, arguments + pngPaths, {0}, run);
    if (!run.ran)
        return run;
    // Blocks of "Key: value" lines, one block per symbol, each starting with
    // "File:" when the run is over more than one file. Only the first symbol
    // of a file is kept; `current` tells whether the block being read is it.
    QString file = pngPaths.size() == 1 ? pngPaths.first() : QString();
    bool current = false;
    for (const QByteArray& rawLine : result.standardOutput.split('\n')) {
        const QString line = QString::fromUtf8(rawLine);
        if (line.startsWith(QLatin1String("File:"))) {
            file = line.mid(5).trimmed();
            current = false;
        } else if (line.startsWith(QLatin1String("Bytes:"))) {
            current = !file.isEmpty() && !run.read.contains(file);
            if (current)
                run.read[file].bytes = QByteArray::fromHex(line.mid(6).remove(QLatin1Char(' ')).toLatin1());
        } else if (line.startsWith(QLatin1String("EC Level:")) && current) {
            run.read[file].ecLevel = line.mid(9).trimmed();
        }
    }
    return run;
}

DecodeRun Decode_With_Zbar(const QStringList& pngPaths, const QStringList& symbologies, const QStringList& settings)
{
    DecodeRun run;
    const QString program = QStringLiteral("zbarimg");
    if (refuseNoFiles(pngPaths, program, run))
        return run;
    QStringList arguments = {QStringLiteral("-q"), QStringLiteral("--xml"), QStringLiteral("--nodbus"),
                             QStringLiteral("-Sdisable")};
    for (const QString& symbology : symbologies)
        arguments << QStringLiteral("-S%1.enable").arg(symbology);
    for (const QString& setting : settings)
        arguments << QStringLiteral("-S") + setting;
    // Exit status 4: some image held no symbol.
    const platform::TaskResult result = runDecoder(program, arguments + pngPaths, {0, 4}, run);
    if (!run.ran)
        return run;
    // <source href='path'> ... <symbol ...><data>text</data></symbol> ...; data
    // that is not all printable comes as <data format='base64'>.
    QXmlStreamReader xml(result.standardOutput);
    QString source;
    while (!xml.atEnd()) {
        if (xml.readNext() != QXmlStreamReader::StartElement)
            continue;
        if (xml.name() == QLatin1String("source")) {
            source = xml.attributes().value(QLatin1String("href")).toString();
        } else if (xml.name() == QLatin1String("data") && !run.read.contains(source)) {
            const bool base64 = xml.attributes().value(QLatin1String("format")) == QLatin1String("base64");
            const QString text = xml.readElementText();
            run.read[source].bytes = base64 ? QByteArray::fromBase64(text.trimmed().toLatin1()) : text.toUtf8();
        }
    }
    if (xml.hasError()) {
        run.ran = false;
        run.failure = QStringLiteral("zbarimg output unreadable: ") + xml.errorString();
    }
    return run;
}

DecodeRun Decode_With_Dmtxread(const QStringList& pngPaths)
{
    DecodeRun run;
    const QString program = QStringLiteral("dmtxread");
    if (refuseNoFiles(pngPaths, program, run))
        return run;
    for (const QString& path : pngPaths) {
        // Exit status 1: no symbol found. The message comes without a line end.
        const platform::TaskResult result =
            runDecoder(program, {QStringLiteral("-N1"), QStringLiteral("-m10000"), path}, {0, 1}, run);
        if (!run.ran)
            return run;
        if (result.exitStatus == 0 && !result.standardOutput.isEmpty())
            run.read[path].bytes = result.standardOutput;
    }
    return run;
}

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
