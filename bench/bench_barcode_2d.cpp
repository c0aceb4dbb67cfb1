// Making 2-D symbols as the batch does: 10,000 QR Code (level M), PDF417
// and DataMatrix symbols, each encoded from its own value and framed as
// drawing data (the module grid, scaled when it is painted), with the
// designer's default sizes. Google Benchmark reports the time per symbol;
// bench/compare.sh sets it beside libzint's encode and vector output.
#include "barcode/BarcodeDispatch.h"

#include <QGuiApplication>
#include <benchmark/benchmark.h>

namespace {
constexpr int Symbols = 10000;

QString valueOf(int row)
{
    return QStringLiteral("GLEAMCARD member %1, badge %2").arg(row, 6, 10, QLatin1Char('0')).arg(row % 97);
}

void makeSymbols(benchmark::State& state, const QString& title)
{
    BarcodeStyle style;
    style.barcode_font_index = int(Barcode_Type_Items.indexOf(title));
    style.linear_or_2d = 1;
    style.qr_ec_index = 1; // M
    style.show_hide_hdr = 1;
    style.show_hide_ftr = 1;
    int row = 0;
    for (auto _ : state) {
        const Barcode_Art art = Barcode_Picture(style, valueOf(row++), QString(), QString());
        if (art.isNull())
            state.SkipWithError("no symbol");
        benchmark::DoNotOptimize(art.data());
    }
    state.SetItemsProcessed(state.iterations());
}

void QR(benchmark::State& state) { makeSymbols(state, "QR Code"); }
void PDF417(benchmark::State& state) { makeSymbols(state, "PDF417"); }
void DataMatrix(benchmark::State& state) { makeSymbols(state, "DataMatrix"); }
}

BENCHMARK(QR)->Iterations(Symbols)->Unit(benchmark::kMicrosecond);
BENCHMARK(PDF417)->Iterations(Symbols)->Unit(benchmark::kMicrosecond);
BENCHMARK(DataMatrix)->Iterations(Symbols)->Unit(benchmark::kMicrosecond);

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
