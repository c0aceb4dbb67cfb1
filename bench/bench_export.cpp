// Exports the rows of a two-sided bound card as batch export does, and shows
// where the time goes: binding and rendering a side versus writing its PNG.
// Prints cards per second and the peak memory; memory must stay flat.
#include "data/DataSetFiles.h"
#include "editor/Globals.h"
#include "editor/SKTWindowController.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>
#include <sys/resource.h>

namespace {
constexpr int kRows = 1000;
QString g_out;

long peakKiB()
{
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_maxrss;
}

void prepare(const QString& folder)
{
    Set_Resource_Folder(folder);
    QDir().mkpath(Data_Folder_Path);
    g_out = folder + "/out";
    QDir().mkpath(g_out);
    QImage photo(240, 180, QImage::Format_ARGB32);
    photo.fill(QColor(200, 120, 60));
    photo.save(folder + "/photo.png");
    QStringList names, photos;
    for (int i = 0; i < kRows; ++i) {
        names << QStringLiteral("Guest number %1").arg(i);
        photos << folder + "/photo.png";
    }
    Write_Data_Set("Names", names, false);
    Write_Data_Set("Photos", photos, false);
    SKTWindowController* wnd = SKTWindowController::defaultInstance();
    wnd->New_Project_Setting_Reset();
    CARD_SIDE_STR = "2";
    for (Face* face : {&wnd->Get_Front_Controls_Array(), &wnd->Get_Back_Controls_Array()}) {
        for (int i = 0; i < 4; ++i) {
            auto t = std::make_shared<SKTText>();
            t->bounds = QRectF(10, 10 + 30 * i, 150, 24);
            t->data_source_type = 1;
            t->batch_list_name = "Names";
            face->append(t);
        }
        auto img = std::make_shared<SKTImage>();
        img->bounds = QRectF(165, 20, 70, 70);
        img->data_source_type = 1;
        img->batch_list_name = "Photos";
        face->append(img);
    }
    wnd->Check_Series_Or_Excel_Use_or_not();
}

void BM_ExportRows(benchmark::State& state)
{
    SKTWindowController* wnd = SKTWindowController::defaultInstance();
    qint64 renderNs = 0, writeNs = 0;
    long peakAfter100 = 0;
    for (auto _ : state) {
        QElapsedTimer t;
        for (int row = 0; row < kRows; ++row) {
            const QString base = QStringLiteral("%1/Card_%2.png").arg(g_out).arg(row + 1);
            t.start();
            const QImage back = wnd->Set_data_table_value_to_card(row, "B", false);
            const QImage front = wnd->Set_data_table_value_to_card(row, "F", false);
            renderNs += t.nsecsElapsed();
            t.start();
            wnd->Save_gen_image(back, wnd->Create_Back_Card_Path(base));
            wnd->Save_gen_image(front, base);
            writeNs += t.nsecsElapsed();
            if (row == 99 && peakAfter100 == 0)
                peakAfter100 = peakKiB();
        }
    }
    const double cards = double(state.iterations()) * kRows;
    state.counters["cards_per_s"] = benchmark::Counter(cards, benchmark::Counter::kIsRate);
    state.counters["bind_render_us_per_card"] = renderNs / cards / 1000;
    state.counters["png_write_us_per_card"] = writeNs / cards / 1000;
    state.counters["peak_MiB_after_100_rows"] = peakAfter100 / 1024.0;
    state.counters["peak_MiB_at_end"] = peakKiB() / 1024.0;
}
BENCHMARK(BM_ExportRows)->Unit(benchmark::kMillisecond)->Iterations(1)->UseRealTime();
}

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    QTemporaryDir dir;
    prepare(dir.path());
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    return 0;
}
