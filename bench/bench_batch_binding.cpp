// Loads and renders the rows of a two-sided card with 4 bound texts and 1
// bound image per side, as batch export does. The cost of a row must not grow
// with the row number: the first and last hundred rows are timed apart.
#include "BoundCard.h"
#include "model/Globals.h"
#include "editor/SKTWindowController.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>
#include <cstdio>

namespace {
constexpr int kRows = 1000;

void BM_BatchRows(benchmark::State& state)
{
    SKTWindowController* wnd = SKTWindowController::defaultInstance();
    double firstHundred = 0, lastHundred = 0;
    for (auto _ : state) {
        QElapsedTimer timer;
        for (int row = 0; row < kRows; ++row) {
            if (row == 0 || row == kRows - 100)
                timer.start();
            benchmark::DoNotOptimize(wnd->Card_Rows().Set_data_table_value_to_card(row, "B", false).constBits());
            benchmark::DoNotOptimize(wnd->Card_Rows().Set_data_table_value_to_card(row, "F", false).constBits());
            if (row == 99)
                firstHundred += timer.nsecsElapsed();
            if (row == kRows - 1)
                lastHundred += timer.nsecsElapsed();
        }
    }
    state.SetItemsProcessed(state.iterations() * kRows);
    state.counters["us_per_row_first100"] = firstHundred / state.iterations() / 100 / 1000;
    state.counters["us_per_row_last100"] = lastHundred / state.iterations() / 100 / 1000;
}
BENCHMARK(BM_BatchRows)->Unit(benchmark::kMillisecond)->Iterations(3);
}

int main(int argc, char** argv)
{
    return Run_Bound_Card_Benchmarks(argc, argv, [](const QString& folder) { Make_Bound_Card(folder, kRows, true); });
}
