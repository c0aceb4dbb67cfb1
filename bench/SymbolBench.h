#pragma once
// Shared by the symbol benchmarks: each symbology is measured two ways, as
// drawing data (encode and lay out, the way a card keeps its symbol) and as
// pixels (encode, lay out and draw into an image of a given pixel width, the
// way an image export shows it). bench/compare.sh gives the widths of
// libzint's bitmaps of the same values in GLEAMCARD_BENCH_WIDTHS
// ("Code128=230 QR=58 ..."), so both sides fill the same number of pixels;
// without it a symbol is drawn at 300 dpi.
#include "barcode/BarcodeDispatch.h"

#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <benchmark/benchmark.h>
#include <cmath>
#include <functional>

namespace symbol_bench {
constexpr int Symbols = 10000;
using Value_Of = std::function<QString(int)>;

// The pixel width the peer's bitmap of this symbology has; 0 when not given.
inline int peerWidth(const QString& name)
{
    for (const QString& pair : qEnvironmentVariable("GLEAMCARD_BENCH_WIDTHS").split(QLatin1Char(' '), Qt::SkipEmptyParts)) {
        const qsizetype eq = pair.indexOf(QLatin1Char('='));
        if (eq > 0 && pair.left(eq) == name)
            return pair.mid(eq + 1).toInt();
    }
    return 0;
}

inline void drawingData(benchmark::State& state, BarcodeStyle style, const Value_Of& valueOf)
{
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

inline void pixels(benchmark::State& state, BarcodeStyle style, const Value_Of& valueOf, int width)
{
    if (Barcode_Picture(style, valueOf(-1), QString(), QString()).isNull())
        state.SkipWithError("no symbol");
    int row = 0;
    int shownWidth = 0;
    for (auto _ : state) {
        const Barcode_Art art = Barcode_Picture(style, valueOf(row++), QString(), QString());
        if (art.isNull()) {
            state.SkipWithError("no symbol");
            break;
        }
        const QSizeF size = art.size();
        const qreal scale = width > 0 ? width / size.width() : 300.0 / 72.0;
        QImage image(int(std::ceil(size.width() * scale)), int(std::ceil(size.height() * scale)),
                     QImage::Format_ARGB32_Premultiplied);
        image.fill(Qt::white);
        {
            QPainter painter(&image);
            painter.scale(scale, scale);
            art.draw(painter);
        }
        shownWidth = image.width();
        benchmark::DoNotOptimize(image.constBits());
    }
    state.counters["pixels_wide"] = shownWidth;
    state.SetItemsProcessed(state.iterations());
}

// Registers NAME (pixels) and NAME_Vector (drawing data).
inline void add(const char* name, const BarcodeStyle& style, Value_Of valueOf)
{
    const int width = peerWidth(QString::fromLatin1(name));
    benchmark::RegisterBenchmark(name, [=](benchmark::State& s) { pixels(s, style, valueOf, width); })
        ->Iterations(Symbols)
        ->Unit(benchmark::kMicrosecond);
    benchmark::RegisterBenchmark((std::string(name) + "_Vector").c_str(),
                                 [=](benchmark::State& s) { drawingData(s, style, valueOf); })
        ->Iterations(Symbols)
        ->Unit(benchmark::kMicrosecond);
}

inline int run(int argc, char** argv, const std::function<void()>& registerAll)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv); // fonts need the GUI side of Qt
    registerAll();
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
}
