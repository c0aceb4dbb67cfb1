// The peer of bench_barcode_linear and bench_barcode_2d: libzint encoding
// the same values in process and making its vector output (bars, texts and
// module squares), one symbol per value. Built and run by bench/compare.sh
// only, against the libzint-dev that script installs.
#include <benchmark/benchmark.h>
#include <zint.h>

#include <cstdio>
#include <string>

namespace {
constexpr int Symbols = 10000;

void makeSymbols(benchmark::State& state, int symbology, int option1, std::string (*valueOf)(int))
{
    int row = 0;
    for (auto _ : state) {
        const std::string value = valueOf(row++);
        zint_symbol* symbol = ZBarcode_Create();
        symbol->symbology = symbology;
        if (option1 > 0)
            symbol->option_1 = option1;
        if (ZBarcode_Encode_and_Buffer_Vector(symbol, reinterpret_cast<const unsigned char*>(value.data()),
                                              int(value.size()), 0) >= ZINT_ERROR)
            state.SkipWithError(symbol->errtxt);
        benchmark::DoNotOptimize(symbol->vector);
        ZBarcode_Delete(symbol);
    }
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
std::string ean13(int row) { return format("%012lld", 400000000000LL + row); }
std::string twoD(int row) { return format("GLEAMCARD member %06lld, badge %lld", row, row % 97); }

void Code128(benchmark::State& state) { makeSymbols(state, BARCODE_CODE128, 0, code128); }
void Code39(benchmark::State& state) { makeSymbols(state, BARCODE_CODE39, 0, code39); }
void EAN13(benchmark::State& state) { makeSymbols(state, BARCODE_EANX, 0, ean13); }
void QR(benchmark::State& state) { makeSymbols(state, BARCODE_QRCODE, 2, twoD); } // level M
void PDF417(benchmark::State& state) { makeSymbols(state, BARCODE_PDF417, 0, twoD); }
void DataMatrix(benchmark::State& state) { makeSymbols(state, BARCODE_DATAMATRIX, 0, twoD); }
}

BENCHMARK(Code128)->Iterations(Symbols)->Unit(benchmark::kMicrosecond);
BENCHMARK(Code39)->Iterations(Symbols)->Unit(benchmark::kMicrosecond);
BENCHMARK(EAN13)->Iterations(Symbols)->Unit(benchmark::kMicrosecond);
BENCHMARK(QR)->Iterations(Symbols)->Unit(benchmark::kMicrosecond);
BENCHMARK(PDF417)->Iterations(Symbols)->Unit(benchmark::kMicrosecond);
BENCHMARK(DataMatrix)->Iterations(Symbols)->Unit(benchmark::kMicrosecond);

BENCHMARK_MAIN();
