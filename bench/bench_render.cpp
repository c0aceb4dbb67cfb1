// Renders a CR80 card face with 20 text and image graphics, as export and
// mail do for every card.
#include "canvas/SKTRenderingView.h"

#include <QGuiApplication>
#include <benchmark/benchmark.h>

static Face makeFace()
{
    Face face;
    QImage photo(300, 200, QImage::Format_ARGB32);
    photo.fill(QColor(120, 160, 200));
    for (int i = 0; i < 20; ++i) {
        if (i % 2) {
            auto text = std::make_shared<SKTText>();
            text->bounds = QRectF(5 + i * 5, 5 + i * 6, 140, 24);
            text->text = QStringLiteral("Guest number %1").arg(i);
            text->isDrawingStroke = false;
            face << text;
        } else {
            auto image = std::make_shared<SKTImage>();
            image->bounds = QRectF(10 + i * 4, 8 + i * 3, 60, 40);
            image->image = photo;
            face << image;
        }
    }
    return face;
}

static void BM_RenderCR80Face(benchmark::State& state)
{
    SKTRenderingView::setCardSize(QSizeF(3.37 * 72, 2.13 * 72));
    const Face face = makeFace();
    for (auto _ : state) {
        QImage img = SKTRenderingView::image_From_Card_Graphics(face, false);
        benchmark::DoNotOptimize(img.constBits());
    }
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_RenderCR80Face)->Unit(benchmark::kMicrosecond);

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    return 0;
}
