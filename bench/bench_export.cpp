// Exports the rows of a two-sided bound card as batch export does, and shows
// where the time goes: binding and rendering a side versus writing its PNG.
// Prints cards per second and the peak memory; memory must stay flat.
#include "BoundCard.h"
#include "model/Globals.h"
#include "editor/SKTWindowController.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>
#include <sys/resource.h>

namespace {
constexpr int kRows = 1000;
QString g_out;

long peakKiB()
{
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_maxrss;
}

void prepare(const QString& folder)
{
    g_out = folder + "/out";
    QDir().mkpath(g_out);
    Make_Bound_Card(folder, kRows, true);
}

void BM_ExportRows(benchmark::State& state)
{
    SKTWindowController* wnd = SKTWindowController::defaultInstance();
    qint64 renderNs = 0, writeNs = 0;
    long peakAfter100 = 0;
    for (auto _ : state) {
        QElapsedTimer t;
        for (int row = 0; row < kRows; ++row) {
            const QString base = QStringLiteral("%1/Card_%2.png").arg(g_out).arg(row + 1);
            t.start();
            const QImage back = wnd->Set_data_table_value_to_card(row, "B", false);
            const QImage front = wnd->Set_data_table_value_to_card(row, "F", false);
            renderNs += t.nsecsElapsed();
            t.start();
            wnd->Save_gen_image(back, wnd->Create_Back_Card_Path(base));
            wnd->Save_gen_image(front, base);
            writeNs += t.nsecsElapsed();
            if (row == 99 && peakAfter100 == 0)
                peakAfter100 = peakKiB();
        }
    }
    const double cards = double(state.iterations()) * kRows;
    state.counters["cards_per_s"] = benchmark::Counter(cards, benchmark::Counter::kIsRate);
    state.counters["bind_render_us_per_card"] = renderNs / cards / 1000;
    state.counters["png_write_us_per_card"] = writeNs / cards / 1000;
    state.counters["peak_MiB_after_100_rows"] = peakAfter100 / 1024.0;
    state.counters["peak_MiB_at_end"] = peakKiB() / 1024.0;
}
BENCHMARK(BM_ExportRows)->Unit(benchmark::kMillisecond)->Iterations(1)->UseRealTime();
}

int main(int argc, char** argv)
{
    return Run_Bound_Card_Benchmarks(argc, argv, prepare);
}
