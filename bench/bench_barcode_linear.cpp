// Making linear symbols as the batch does: 10,000 Code 128, Code 39 and
// EAN-13 symbols, each encoded from its own value and laid out as drawing
// data (bars and caption glyphs) ready for any painter. Google Benchmark
// reports the time per symbol; bench/compare.sh sets it beside libzint's
// encode and vector output of the same values.
#include "barcode/BarcodeDispatch.h"

#include <QGuiApplication>
#include <benchmark/benchmark.h>

namespace {
constexpr int Symbols = 10000;

// The style a card's barcode has, the caption shown, no header or footer.
BarcodeStyle styleOf(const QString& title)
{
    BarcodeStyle style;
    style.barcode_font_index = int(Barcode_Type_Items.indexOf(title));
    style.show_hide_hdr = 1;
    style.show_hide_ftr = 1;
    return style;
}

template <typename Value>
void makeSymbols(benchmark::State& state, const QString& title, Value valueOf)
{
    BarcodeStyle style = styleOf(title);
    // Qt loads its font database and the caption's font the first time a text
    // is measured; the app does that once when it starts, not per symbol, so
    // one symbol of a value outside the timed ones is made before the clock runs.
    if (Barcode_Picture(style, valueOf(-1), QString(), QString()).isNull())
        state.SkipWithError("no symbol");
    int row = 0;
    for (auto _ : state) {
        const Barcode_Art art = Barcode_Picture(style, valueOf(row++), QString(), QString());
        if (art.isNull())
            state.SkipWithError("no symbol");
        benchmark::DoNotOptimize(art.data());
    }
    state.SetItemsProcessed(state.iterations());
}

void Code128(benchmark::State& state)
{
    makeSymbols(state, "Code 128", [](int row) { return QStringLiteral("Card-%1-row").arg(row); });
}

void Code39(benchmark::State& state)
{
    makeSymbols(state, "Code 39", [](int row) { return QStringLiteral("CARD-%1-ROW").arg(row); });
}

void EAN13(benchmark::State& state)
{
    makeSymbols(state, "EAN-13", [](int row) { return QStringLiteral("%1").arg(400000000000LL + row, 12, 10, QLatin1Char('0')); });
}
}

BENCHMARK(Code128)->Iterations(Symbols)->Unit(benchmark::kMicrosecond);
BENCHMARK(Code39)->Iterations(Symbols)->Unit(benchmark::kMicrosecond);
BENCHMARK(EAN13)->Iterations(Symbols)->Unit(benchmark::kMicrosecond);

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv); // fonts need the GUI side of Qt
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
