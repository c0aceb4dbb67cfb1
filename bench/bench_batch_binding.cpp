// Loads and renders the rows of a two-sided card with 4 bound texts and 1
// bound image per side, as batch export does. The cost of a row must not grow
// with the row number: the first and last hundred rows are timed apart.
#include "data/DataSetFiles.h"
#include "editor/Globals.h"
#include "editor/SKTWindowController.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>
#include <cstdio>

namespace {
constexpr int kRows = 1000;

void prepare(const QString& folder)
{
    Set_Resource_Folder(folder);
    QDir().mkpath(Data_Folder_Path);
    QImage photo(200, 150, QImage::Format_ARGB32);
    photo.fill(QColor(90, 140, 200));
    const QString photoPath = folder + "/photo.png";
    photo.save(photoPath);
    QStringList names, cities, photos;
    for (int i = 0; i < kRows; ++i) {
        names << QStringLiteral("Guest number %1").arg(i);
        cities << QStringLiteral("City %1").arg(i % 37);
        photos << photoPath;
    }
    Write_Data_Set("Names", names, false);
    Write_Data_Set("Cities", cities, false);
    Write_Data_Set("Photos", photos, false);

    SKTWindowController* wnd = SKTWindowController::defaultInstance();
    wnd->New_Project_Setting_Reset();
    CARD_SIDE_STR = "2";
    for (Face* face : {&wnd->Get_Front_Controls_Array(), &wnd->Get_Back_Controls_Array()}) {
        for (int i = 0; i < 4; ++i) {
            auto t = std::make_shared<SKTText>();
            t->bounds = QRectF(10, 10 + 30 * i, 160, 24);
            t->data_source_type = 1;
            t->batch_list_name = i % 2 ? "Cities" : "Names";
            face->append(t);
        }
        auto img = std::make_shared<SKTImage>();
        img->bounds = QRectF(170, 20, 60, 60);
        img->data_source_type = 1;
        img->batch_list_name = "Photos";
        face->append(img);
    }
    wnd->Check_Series_Or_Excel_Use_or_not();
}

void BM_BatchRows(benchmark::State& state)
{
    SKTWindowController* wnd = SKTWindowController::defaultInstance();
    double firstHundred = 0, lastHundred = 0;
    for (auto _ : state) {
        QElapsedTimer timer;
        for (int row = 0; row < kRows; ++row) {
            if (row == 0 || row == kRows - 100)
                timer.start();
            benchmark::DoNotOptimize(wnd->Set_data_table_value_to_card(row, "B", false).constBits());
            benchmark::DoNotOptimize(wnd->Set_data_table_value_to_card(row, "F", false).constBits());
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
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    QTemporaryDir dir;
    prepare(dir.path());
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    return 0;
}
