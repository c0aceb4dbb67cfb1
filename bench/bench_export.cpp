// Exports the rows of a two-sided bound card as the batch export does: the
// rows are bound and drawn one at a time while a pool of threads encodes and
// writes the PNG files. Prints cards per second, the threads that wrote, and
// the peak memory, which must stay flat. bench/compare.sh runs it on one core
// and on all of them: the throughput must grow with the cores.
#include "BoundCard.h"
#include "editor/SKTWindowController.h"
#include "model/Globals.h"
#include "output/Batch_Export.h"

#include <QDir>
#include <QThread>
#include <sys/resource.h>

namespace {
constexpr int kRows = 1000;
QString g_out;

double peakMiB()
{
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_maxrss / 1024.0;
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
    Export_Choices choices;
    choices.side = Sides_Choice::Both;
    double peakBefore = 0;
    for (auto _ : state) {
        peakBefore = peakMiB();
        const Batch_Export_Result result = Export_Card_Rows(wnd->Card_Rows(), g_out, choices, nullptr);
        if (result.outcome != Export_Outcome::Written || result.cards != kRows)
            state.SkipWithError("the cards were not all written");
    }
    const double cards = double(state.iterations()) * kRows;
    state.counters["cards_per_s"] = benchmark::Counter(cards, benchmark::Counter::kIsRate);
    state.counters["cores"] = QThread::idealThreadCount();
    state.counters["peak_MiB_first_pass"] = peakBefore;
    state.counters["peak_MiB_at_end"] = peakMiB();
}
BENCHMARK(BM_ExportRows)->Unit(benchmark::kMillisecond)->Iterations(2)->UseRealTime();
}

int main(int argc, char** argv)
{
    return Run_Bound_Card_Benchmarks(argc, argv, prepare);
}
