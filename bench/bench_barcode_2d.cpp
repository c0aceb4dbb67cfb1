// Encoding and imaging 2-D symbols: 10,000 QR Code, 10,000 PDF417 and 10,000
// DataMatrix symbols, each encoded from its own value and turned into its
// bitmap at 600 dots per inch with the designer's default sizes. Google
// Benchmark reports the time per symbol.
#include "barcode/DataMatrixImage.h"
#include "barcode/QREncoder.h"
#include "barcode/pdf417View.h"

#include <QGuiApplication>
#include <benchmark/benchmark.h>

namespace {
constexpr int Symbols = 10000;
constexpr int Dpi = 600;

QString valueOf(int row)
{
    return QStringLiteral("GLEAMCARD member %1, badge %2").arg(row, 6, 10, QLatin1Char('0')).arg(row % 97);
}

void QR_Encode_And_Image(benchmark::State& state)
{
    int row = 0;
    for (auto _ : state) {
        auto grid = QREncoder::encodeWithECLevel(1, 0, valueOf(row++));
        QImage image = QREncoder::renderDataMatrix(grid.get(), 60, Dpi);
        benchmark::DoNotOptimize(image.bits());
    }
    state.SetItemsProcessed(state.iterations());
}

void PDF417_Encode_And_Image(benchmark::State& state)
{
    pdf417View view;
    view.setFrameSize(QSizeF(100, 20));
    int row = 0;
    for (auto _ : state) {
        view.drawWithText(valueOf(row++), Dpi);
        QImage image = view.getImage();
        benchmark::DoNotOptimize(image.bits());
    }
    state.SetItemsProcessed(state.iterations());
}

void DataMatrix_Encode_And_Image(benchmark::State& state)
{
    int row = 0;
    for (auto _ : state) {
        QImage image = Draw_DataMatrix_Barcode(valueOf(row++), 0, 0, 2, Dpi);
        benchmark::DoNotOptimize(image.bits());
    }
    state.SetItemsProcessed(state.iterations());
}
}

BENCHMARK(QR_Encode_And_Image)->Iterations(Symbols)->Unit(benchmark::kMicrosecond);
BENCHMARK(PDF417_Encode_And_Image)->Iterations(Symbols)->Unit(benchmark::kMicrosecond);
BENCHMARK(DataMatrix_Encode_And_Image)->Iterations(Symbols)->Unit(benchmark::kMicrosecond);

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
