#pragma once
// Shared by the batch benchmarks: a card whose four texts and one picture per
// side take their values from data sets of `rows` values, in a fresh
// resource folder, ready for a batch; and a main that runs the benchmarks
// inside a QApplication.
#include "data/DataSetFiles.h"
#include "model/Globals.h"
#include "editor/SKTWindowController.h"

#include <QApplication>
#include <QDir>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>
#include <functional>

inline void Make_Bound_Card(const QString& folder, int rows, bool twoSided)
{
    Set_Resource_Folder(folder);
    QDir().mkpath(Data_Folder_Path);
    QImage photo(200, 150, QImage::Format_ARGB32);
    photo.fill(QColor(90, 140, 200));
    const QString photoPath = folder + "/photo.png";
    photo.save(photoPath);
    QStringList names, cities, photos;
    for (int i = 0; i < rows; ++i) {
        names << QStringLiteral("Guest number %1").arg(i);
        cities << QStringLiteral("City %1").arg(i % 37);
        photos << photoPath;
    }
    Write_Data_Set("Names", names, false);
    Write_Data_Set("Cities", cities, false);
    Write_Data_Set("Photos", photos, false);

    SKTWindowController* wnd = SKTWindowController::defaultInstance();
    wnd->New_Project_Setting_Reset();
    CARD_SIDE_STR = twoSided ? "2" : "1";
    QList<Face*> faces{&wnd->Get_Front_Controls_Array()};
    if (twoSided)
        faces << &wnd->Get_Back_Controls_Array();
    for (Face* face : faces) {
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
    wnd->Card_Rows().Check_Series_Or_Excel_Use_or_not();
}

// Runs the registered benchmarks after prepare(folder) set up a temporary folder.
inline int Run_Bound_Card_Benchmarks(int argc, char** argv, const std::function<void(const QString&)>& prepare)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    QTemporaryDir dir;
    prepare(dir.path());
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    return 0;
}
