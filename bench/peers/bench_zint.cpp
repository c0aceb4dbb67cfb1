// The peer of bench_barcode_linear and bench_barcode_2d: libzint encoding
// the same values in process, one symbol per value, into its bitmap (NAME,
// with the bitmap's width as the counter pixels_wide) and into its vector
// output of bars, texts and module squares (NAME_Vector). Built and run by
// bench/compare.sh only, against the libzint-dev that script installs.
#include <benchmark/benchmark.h>
#include <zint.h>

#include <cstdio>
#include <string>

namespace {
constexpr int Symbols = 10000;

void makeSymbols(benchmark::State& state, int symbology, int option1, std::string (*valueOf)(int), bool vector)
{
    int row = 0, width = 0;
    for (auto _ : state) {
        const std::string value = valueOf(row++);
        zint_symbol* symbol = ZBarcode_Create();
        symbol->symbology = symbology;
        if (option1 > 0)
            symbol->option_1 = option1;
        const auto* data = reinterpret_cast<const unsigned char*>(value.data());
        const int made = vector ? ZBarcode_Encode_and_Buffer_Vector(symbol, data, int(value.size()), 0)
                                : ZBarcode_Encode_and_Buffer(symbol, data, int(value.size()), 0);
        if (made >= ZINT_ERROR)
            state.SkipWithError(symbol->errtxt);
        benchmark::DoNotOptimize(symbol->vector);
        benchmark::DoNotOptimize(symbol->bitmap);
        width = symbol->bitmap_width;
        ZBarcode_Delete(symbol);
    }
    if (!vector)
        state.counters["pixels_wide"] = width;
    state.SetItemsProcessed(state.iterations());
}

std::string format(const char* pattern, long long a, long long b = 0)
{
    char text[96];
    std::snprintf(text, sizeof text, pattern, a, b);
    return text;
}

std::string code128(int row) { return format("Card-%lld-row", row); }
std::string code39(int row) { return format("CARD-%lld-ROW", row); }
std::string id(int row) { return format("GC%010lld", row + 1LL); }
std::string ean13(int row) { return format("%012lld", 400000000000LL + row); }
std::string twoD(int row) { return format("GLEAMCARD member %06lld, badge %lld", row, row % 97); }

#define SYMBOL(NAME, SYMBOLOGY, OPTION1, VALUE)                                                            \
    void NAME(benchmark::State& state) { makeSymbols(state, SYMBOLOGY, OPTION1, VALUE, false); }           \
    void NAME##_Vector(benchmark::State& state) { makeSymbols(state, SYMBOLOGY, OPTION1, VALUE, true); }   \
    BENCHMARK(NAME)->Iterations(Symbols)->Unit(benchmark::kMicrosecond);                                     \
    BENCHMARK(NAME##_Vector)->Iterations(Symbols)->Unit(benchmark::kMicrosecond);

SYMBOL(Code128, BARCODE_CODE128, 0, code128)
SYMBOL(Code128Id, BARCODE_CODE128, 0, id)
SYMBOL(Code39, BARCODE_CODE39, 0, code39)
SYMBOL(Code39Id, BARCODE_CODE39, 0, id)
SYMBOL(EAN13, BARCODE_EANX, 0, ean13)
SYMBOL(QR, BARCODE_QRCODE, 2, twoD) // level M
SYMBOL(PDF417, BARCODE_PDF417, 0, twoD)
SYMBOL(DataMatrix, BARCODE_DATAMATRIX, 0, twoD)
}

BENCHMARK_MAIN();
