// Prints 1,000 labels of a bound design to a PDF, ten CR80 cards to an A4
// sheet: every label loads its own row into the front (four texts and a
// picture) and draws it onto the PDF as vectors. Reports labels per second
// and the size of the PDF.
#include "canvas/SKTRenderingView.h"
#include "BoundCard.h"
#include "model/Globals.h"
#include "editor/SKTWindowController.h"
#include "output/LabelLayout.h"
#include "output/Printing_View.h"

#include <QApplication>
#include <QDir>
#include <QFileInfo>
#include <QPdfWriter>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>

namespace {
constexpr int kLabels = 1000;
QString g_folder;

void prepare(const QString& folder)
{
    g_folder = folder;
    Make_Bound_Card(folder, kLabels, false);

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
    for (auto _ : state) {
        Printing_View view(front, QImage(), Printing_View::Print_Spool_Job, Main_App_wnd);
        const QString path = g_folder + QStringLiteral("/labels-%1.pdf").arg(pass++);
        {
            QPdfWriter writer(path);
            writer.setPageSize(QPageSize(QPageSize::A4));
            writer.setPageMargins(QMarginsF());
            if (!view.Print_Sheets(writer) || barcode_counter != kLabels)
                state.SkipWithError("the labels were not all printed");
        }
        state.counters["pdf_megabytes"] = double(QFileInfo(path).size()) / 1e6;
    }
    state.SetItemsProcessed(state.iterations() * kLabels);
    state.counters["labels_per_second"] =
        benchmark::Counter(double(kLabels), benchmark::Counter::kIsIterationInvariantRate);
}
BENCHMARK(BM_PrintBoundLabels)->Unit(benchmark::kMillisecond)->Iterations(3)->UseRealTime();
}

int main(int argc, char** argv)
{
    return Run_Bound_Card_Benchmarks(argc, argv, prepare);
}
