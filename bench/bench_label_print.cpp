// Prints 1,000 bound labels to a PDF, ten CR80 cards to an A4 sheet: every
// label loads its own row into the front (two texts and a QR code) and draws
// it onto the PDF as vectors. Reports the time per label and the size of the
// PDF; bench/compare.sh sets them beside gLabels' batch printer on the same
// rows. With --keep_pdf=PATH the last PDF is kept there. BM_PdfWriterFloor is
// the floor under it: the PDF writer alone drawing the same sheets.
#include "BoundCard.h"
#include "barcode/BarcodeDispatch.h"
#include "canvas/SKTRenderingView.h"
#include "data/DataSetFiles.h"
#include "editor/SKTWindowController.h"
#include "model/Globals.h"
#include "output/LabelLayout.h"
#include "output/Printing_View.h"

#include <QFile>
#include <QFileInfo>
#include <QPainter>
#include <QPdfWriter>
#include <cstring>

namespace {
constexpr int kLabels = 1000;
QString g_folder, g_keep;

void prepare(const QString& folder)
{
    g_folder = folder;
    Set_Resource_Folder(folder);
    QDir().mkpath(Data_Folder_Path);
    QStringList names, cities, codes;
    for (int i = 0; i < kLabels; ++i) {
        names << QStringLiteral("Guest number %1").arg(i);
        cities << QStringLiteral("City %1").arg(i % 37);
        codes << QStringLiteral("GC-%1").arg(i, 6, 10, QLatin1Char('0'));
    }
    Write_Data_Set("Names", names, false);
    Write_Data_Set("Cities", cities, false);
    Write_Data_Set("Codes", codes, false);

    SKTWindowController* wnd = SKTWindowController::defaultInstance();
    wnd->New_Project_Setting_Reset();
    CARD_SIDE_STR = "1";
    Face& face = wnd->Get_Front_Controls_Array();
    for (int i = 0; i < 2; ++i) {
        auto t = std::make_shared<SKTText>();
        t->bounds = QRectF(10, 10 + 30 * i, 160, 24);
        t->isDrawingStroke = false;
        t->data_source_type = 1;
        t->batch_list_name = i ? "Cities" : "Names";
        face.append(t);
    }
    auto qr = std::make_shared<SKTBarcode>();
    qr->bounds = QRectF(170, 40, 60, 60);
    qr->linear_or_2d = 1;
    qr->barcode_font_index = 19; // QR Code
    qr->show_hide_hdr = qr->show_hide_ftr = 1;
    qr->TB_marging_val = qr->LR_margin_val = 0;
    qr->data_source_type = 1;
    qr->batch_list_name = "Codes";
    face.append(qr);
    wnd->Card_Rows().Check_Series_Or_Excel_Use_or_not();

    // A4 with quarter-inch insets, 2 x 5 cards of 243 x 153 points.
    Left_Mar = Rite_Mar = Top_Mar = Bot_Mar = 18;
    label_width = 243;
    label_hight = 153;
    horz_mar = vert_mar = 6;
    Print_Row = 5;
    Print_Col = 2;
    label_align_val = 5;
    auto_center_flag = false;
    Print_Card_Side = "F";
    Print_Card_Algn = "U";
    Total_Label = Total_Label_Real = kLabels;
}

void BM_PrintBoundLabels(benchmark::State& state)
{
    const QImage front = SKTRenderingView::image_From_Card_Graphics(Main_App_wnd->Get_Front_Controls_Array(), false);
    int pass = 0;
    QString path;
    for (auto _ : state) {
        Printing_View view(front, QImage(), Printing_View::Print_Spool_Job, &Main_App_wnd->Card_Rows());
        path = g_folder + QStringLiteral("/labels-%1.pdf").arg(pass++);
        {
            QPdfWriter writer(path);
            writer.setPageSize(QPageSize(QPageSize::A4));
            writer.setPageMargins(QMarginsF());
            if (!view.Print_Sheets(writer) || barcode_counter != kLabels)
                state.SkipWithError("the labels were not all printed");
        }
        state.counters["pdf_megabytes"] = double(QFileInfo(path).size()) / 1e6;
    }
    if (!g_keep.isEmpty()) {
        QFile::remove(g_keep);
        QFile::copy(path, g_keep);
    }
    state.SetItemsProcessed(state.iterations() * kLabels);
}
BENCHMARK(BM_PrintBoundLabels)->Unit(benchmark::kMillisecond)->Iterations(5)->UseRealTime();

// The floor: the PDF writer alone drawing the same sheets, the labels' texts
// and QR symbols made before the clock runs.
void BM_PdfWriterFloor(benchmark::State& state)
{
    BarcodeStyle style;
    style.barcode_font_index = Barcode_First_2D_Item; // QR Code
    style.linear_or_2d = 1;
    style.show_hide_hdr = style.show_hide_ftr = 1;
    style.width = style.height = 60;
    QList<Barcode_Art> symbols;
    for (int i = 0; i < kLabels; ++i)
        symbols << Barcode_Picture(style, QStringLiteral("GC-%1").arg(i, 6, 10, QLatin1Char('0')), QString(), QString());
    const QString path = g_folder + QStringLiteral("/floor.pdf");
    for (auto _ : state) {
        QPdfWriter writer(path);
        writer.setPageSize(QPageSize(QPageSize::A4));
        writer.setPageMargins(QMarginsF());
        QPainter painter(&writer);
        painter.scale(writer.logicalDpiX() / 72.0, writer.logicalDpiY() / 72.0);
        for (int i = 0; i < kLabels; ++i) {
            if (i > 0 && i % 10 == 0)
                writer.newPage();
            const QPointF card(18 + (i % 2) * 249, 18 + (i % 10 / 2) * 159);
            painter.drawText(QRectF(card + QPointF(10, 10), QSizeF(160, 24)), QStringLiteral("Guest number %1").arg(i));
            painter.drawText(QRectF(card + QPointF(10, 40), QSizeF(160, 24)), QStringLiteral("City %1").arg(i % 37));
            symbols[i].draw(painter, card + QPointF(170, 40));
        }
    }
    state.SetItemsProcessed(state.iterations() * kLabels);
}
BENCHMARK(BM_PdfWriterFloor)->Unit(benchmark::kMillisecond)->Iterations(5)->UseRealTime();
}

int main(int argc, char** argv)
{
    int kept = 1;
    for (int i = 1; i < argc; ++i) {
        if (std::strncmp(argv[i], "--keep_pdf=", 11) == 0)
            g_keep = QString::fromLocal8Bit(argv[i] + 11);
        else
            argv[kept++] = argv[i];
    }
    argc = kept;
    return Run_Bound_Card_Benchmarks(argc, argv, prepare);
}
