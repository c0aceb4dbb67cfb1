// Making and drawing linear barcodes: 10,000 Code 128 and 10,000 Code 39
// symbols, each built from its value, measured, and drawn into a vector
// picture. Google Benchmark reports the time per symbol.
#include "barcode/BarcodeImage.h"
#include "barcode/NKDCode128Barcode.h"
#include "barcode/NKDCode39Barcode.h"

#include <QGuiApplication>
#include <benchmark/benchmark.h>

namespace {
constexpr int Symbols = 10000;

// The designer's dressing of a model: texts, flags, a 20-mil bar, font sizes, height.
void dress(NKDBarcode& model, const BarcodeStyle& style)
{
    model.setHeader(style.header_val);
    model.setFooter(style.footer_val);
    model.setPrintsCaption(true);
    model.setPrintsHeader(true);
    model.setPrintsFooter(true);
    model.setBarWidth(1.44f);
    model.setCaptionFontSize(10);
    model.setHeaderFontSize(10);
    model.setFooterFontSize(10);
    model.setHeight(60);
    model.calculateWidth();
}

template <typename Make>
void makeAndRender(benchmark::State& state, Make make)
{
    const BarcodeStyle style;
    int row = 0;
    for (auto _ : state) {
        const QString value = QStringLiteral("Card-%1-row").arg(row++);
        auto model = make(value, &style);
        dress(*model, style);
        QPicture picture = imageFromBarcode(model.get());
        benchmark::DoNotOptimize(picture.size());
    }
    state.SetItemsProcessed(state.iterations());
}

void Code128_Make_And_Render(benchmark::State& state)
{
    makeAndRender(state, [](const QString& value, const BarcodeStyle* style) {
        return NKDCode128Barcode::withCodeSet(NKDCode128Barcode::SetAuto, value, true, style);
    });
}

void Code39_Make_And_Render(benchmark::State& state)
{
    makeAndRender(state, [](const QString& value, const BarcodeStyle* style) {
        return New_Barcode<NKDCode39Barcode>(value, true, style);
    });
}
}

BENCHMARK(Code128_Make_And_Render)->Iterations(Symbols)->Unit(benchmark::kMicrosecond);
BENCHMARK(Code39_Make_And_Render)->Iterations(Symbols)->Unit(benchmark::kMicrosecond);

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
