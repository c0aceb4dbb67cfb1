// Reading a 100,000-row by 10-column workbook the way the import dialogs do:
// unpack, title row, all rows. Prints rows per second and the peak resident
// memory of the reading process.
#include "data/SpreadsheetWriter.h"
#include "model/Globals.h"

#include <QFileInfo>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>
#include <cstdio>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {
constexpr int Rows = 100000;
constexpr int Columns = 10;

// The workbook is made by our writer in a child process, so the memory the
// rows take while writing does not count towards the reader's peak. With
// GLEAMCARD_BENCH_XLSX set, it is that file: read when it exists, else
// written there first (so other readers can be timed on the same file).
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
            rows.reserve(Rows + 1);
            QStringList titles;
            for (int c = 1; c <= Columns; ++c)
                titles.append(QStringLiteral("Column %1").arg(c));
            rows.append(titles);
            for (int r = 1; r <= Rows; ++r) {
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
}

static void BM_ReadWorkbook(benchmark::State& state)
{
    const QString path = workbook();
    qint64 rowsRead = 0;
    for (auto _ : state) {
        QString error;
        SpreadsheetWriter::ReadWorkbook(path, true, &error);
        Excel_Sheet_Number = 1;
        SpreadsheetWriter::ReadData_only_column(&error);
        QList<QStringList> table = SpreadsheetWriter::ReadWorkbook(path, false, &error);
        if (!error.isNull() || table.size() != Rows + 1 || table.last().size() != Columns) {
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

BENCHMARK_MAIN();
