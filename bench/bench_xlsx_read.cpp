// Reading a 50,000-row by 10-column workbook (the title row and 49,999 rows
// of names and numbers) the way the import dialogs do: open, title row, all
// rows. Prints rows per second and the peak resident memory of the reading
// process; beside it, the floor: inflating the first worksheet part alone
// with zlib, from its compressed bytes in memory.
#include "data/SpreadsheetWriter.h"
#include "model/Globals.h"

#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>
#include <cstdio>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>
#include <unzip.h>
#include <zlib.h>

#include <vector>

namespace {
constexpr int Rows = 50000;
constexpr int Columns = 10;

// The workbook is made by our writer in a child process, so the memory the
// rows take while writing does not count towards the reader's peak. With
// GLEAMCARD_BENCH_XLSX set, it is that file: read when it exists (any
// program may have written it, with the same rows), else written there first.
QString workbook()
{
    static QTemporaryDir folder;
    static const QString path = [] {
        const QString given = qEnvironmentVariable("GLEAMCARD_BENCH_XLSX");
        const QString file = given.isEmpty() ? folder.path() + QStringLiteral("/bench.xlsx") : given;
        if (QFileInfo::exists(file))
            return file;
        const pid_t child = fork();
        if (child == 0) {
            Set_Resource_Folder(QStringLiteral(GLEAMCARD_SOURCE_DIR "/resources"));
            QList<QStringList> rows;
            rows.reserve(Rows);
            QStringList titles;
            for (int c = 1; c <= Columns; ++c)
                titles.append(QStringLiteral("Column %1").arg(c));
            rows.append(titles);
            for (int r = 1; r < Rows; ++r) {
                QStringList row;
                for (int c = 1; c <= Columns; ++c)
                    row.append(c % 2 ? QStringLiteral("Name %1-%2").arg(r).arg(c) : QString::number(r * c));
                rows.append(row);
            }
            _exit(SpreadsheetWriter::WriteWorkbook(file, rows, true) ? 0 : 1);
        }
        int status = 0;
        waitpid(child, &status, 0);
        if (!WIFEXITED(status) || WEXITSTATUS(status) != 0)
            std::fprintf(stderr, "could not write the benchmark workbook\n");
        return file;
    }();
    return path;
}

// The compressed bytes of the workbook's first worksheet part, and its size inflated.
bool compressedSheet(std::vector<unsigned char>& bytes, uLong& inflated)
{
    unzFile zip = unzOpen64(QFile::encodeName(workbook()).constData());
    if (!zip)
        return false;
    unz_file_info64 info{};
    int method = 0, level = 0;
    bool ok = unzLocateFile(zip, "xl/worksheets/sheet1.xml", 0) == UNZ_OK
              && unzGetCurrentFileInfo64(zip, &info, nullptr, 0, nullptr, 0, nullptr, 0) == UNZ_OK
              && unzOpenCurrentFile2(zip, &method, &level, 1) == UNZ_OK && method == Z_DEFLATED;
    if (ok) {
        bytes.resize(size_t(info.compressed_size));
        ok = unzReadCurrentFile(zip, bytes.data(), unsigned(bytes.size())) == int(bytes.size());
        inflated = uLong(info.uncompressed_size);
        unzCloseCurrentFile(zip);
    }
    unzClose(zip);
    return ok;
}
}

static void BM_ReadWorkbook(benchmark::State& state)
{
    const QString path = workbook();
    qint64 rowsRead = 0;
    for (auto _ : state) {
        QString error;
        SpreadsheetWriter::ReadWorkbook(path, true, &error);
        Excel_Sheet_Number = 1;
        const QList<QStringList> titles = SpreadsheetWriter::ReadData_only_column(&error);
        QList<QStringList> table = SpreadsheetWriter::ReadWorkbook(path, false, &error);
        if (!error.isNull() || titles.size() != 1 || table.size() != Rows || table.last().size() != Columns
            || table.first() != titles.first()) {
            state.SkipWithError("the workbook did not read back whole");
            break;
        }
        rowsRead += table.size();
        benchmark::DoNotOptimize(table);
        // Each round starts from nothing, so the peak is that of one read.
        state.PauseTiming();
        table = {};
        SpreadsheetWriter::Release_Data();
        spreadsheet->setData({});
        state.ResumeTiming();
    }
    SpreadsheetWriter::Release_Data();
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    state.counters["rows_per_s"] = benchmark::Counter(double(rowsRead), benchmark::Counter::kIsRate);
    state.counters["peak_MiB"] = double(usage.ru_maxrss) / 1024.0; // ru_maxrss is in KiB on Linux
}
// One read a run, as a user makes it: bench/compare.sh runs the program once a round.
BENCHMARK(BM_ReadWorkbook)->Unit(benchmark::kMillisecond)->Iterations(1);

static void BM_InflateSheet(benchmark::State& state)
{
    std::vector<unsigned char> bytes;
    uLong inflated = 0;
    if (!compressedSheet(bytes, inflated)) {
        state.SkipWithError("the first worksheet part could not be read");
        return;
    }
    std::vector<unsigned char> out(256 * 1024);
    for (auto _ : state) {
        z_stream stream{};
        inflateInit2(&stream, -MAX_WBITS);
        stream.next_in = bytes.data();
        stream.avail_in = uInt(bytes.size());
        uLong total = 0;
        int result = Z_OK;
        while (result == Z_OK) {
            stream.next_out = out.data();
            stream.avail_out = uInt(out.size());
            result = inflate(&stream, Z_NO_FLUSH);
            total += uLong(out.size() - stream.avail_out);
        }
        inflateEnd(&stream);
        if (result != Z_STREAM_END || total != inflated) {
            state.SkipWithError("the first worksheet part did not inflate whole");
            break;
        }
    }
    state.counters["MB"] = double(inflated) / 1e6;
}
// Five inflates a run, the mean of them reported; compare.sh keeps the best run.
BENCHMARK(BM_InflateSheet)->Unit(benchmark::kMillisecond)->Iterations(5);

BENCHMARK_MAIN();
