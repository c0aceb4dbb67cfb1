// A batch export whose bound barcodes change with every row: the export
// worker makes each row's symbols from the graphics' own styles, and an
// outside decoder reads every value back from the written card images.
#include "support/Decode.h"
#include "support/ScriptedHost.h"
#include "support/SharedState.h"
#include "support/TempResources.h"
#include "support/Wait.h"
#include "barcode/BarcodeDispatch.h"
#include "barcode/Barcode_Gen.h"
#include "data/DataSetFiles.h"
#include "editor/SKTWindowController.h"
#include "model/Globals.h"

#include <QDir>
#include <gtest/gtest.h>

namespace {
// Row r's EAN-13 number: 40063810, r in four digits, and its check digit.
QString ean13(int row)
{
    static const char checks[] = "07418529639630741852852963074174185296306307418529";
    return QStringLiteral("40063810%1%2").arg(row, 4, 10, QLatin1Char('0')).arg(QLatin1Char(checks[row]));
}
}

TEST(BatchSymbols, FiftyRowsOfFiveSymbologiesReadBackRowByRow)
{
    TempResources resources;
    ScriptedHost host;
    SKTWindowController* wnd = SKTWindowController::defaultInstance();
    wnd->New_Project_Setting_Reset();
    wnd->SetDocumentCanvasSize(QSizeF(640, 420));
    const int rows = 50;

    struct Bound {
        const char* type;
        const char* format; // the decoder's name, and the data set's
        QPointF at;
        std::function<QString(int)> value;
        std::function<QByteArray(int)> read;
    };
    const QList<Bound> bound = {
        {"Code 128", "Code128", {10, 10}, [](int r) { return QStringLiteral("ID-%1").arg(r, 4, 10, QLatin1Char('0')); }, {}},
        {"EAN-13", "EAN-13", {10, 110}, [](int r) { return ean13(r).left(12); }, [](int r) { return ean13(r).toLatin1(); }},
        {"QR Code", "QRCode", {10, 230}, [](int r) { return QStringLiteral("Row %1 Grüße €").arg(r); }, {}},
        {"PDF417", "PDF417", {170, 230}, [](int r) { return QStringLiteral("PDF417 row %1").arg(r); }, {}},
        {"DataMatrix", "DataMatrix", {500, 230}, [](int r) { return QStringLiteral("DM-%1").arg(r); }, {}},
    };
    for (const Bound& b : bound) {
        QStringList values;
        for (int r = 0; r < rows; ++r)
            values << b.value(r);
        ASSERT_TRUE(Write_Data_Set(b.format, values, false));
        auto g = std::make_shared<SKTBarcode>();
        g->bounds = QRectF(b.at, QSizeF(100, 60));
        g->barcode_font_index = int(Barcode_Type_Items.indexOf(b.type));
        g->linear_or_2d = Is_2D_Barcode_Title(b.type) ? 1 : 0;
        g->show_hide_hdr = g->show_hide_ftr = 1;
        g->linear_width_val = 2.0f / 72.0f * 1000.0f; // two points a module: whole pixels at export
        g->linear_height_val = 1.5f;                    // centimetres
        g->qr_size_val = 125;
        g->pdf_wdt_val = 300;
        g->pdf_hgt_val = 90;
        g->dm_module_val = 6;
        g->data_source_type = Source_Data_Set;
        g->batch_list_name = b.format;
        wnd->Get_Front_Controls_Array().append(g);
    }
    CARD_SIDE_STR = "1";
    wnd->Card_Rows().Check_Series_Or_Excel_Use_or_not();
    ASSERT_EQ(Total_Batch_Excel_Card.load(), rows);

    const QString out = resources.path() + "/out";
    ASSERT_TRUE(QDir().mkpath(out));
    // The designer's own style and preview are no business of the worker.
    const BarcodeStyle live = Live_Barcode_Style;
    const Barcode_Art preview = Barcode_Gen::defaultInstance()->preview_image;
    ASSERT_TRUE(wnd->Start_Batch_Export(out));
    ASSERT_TRUE(waitUntil([] { return !SKTWindowController::Batch_Running(); }, 120000));
    EXPECT_EQ(Live_Barcode_Style.content, live.content);
    EXPECT_EQ(Live_Barcode_Style.width, live.width);
    EXPECT_TRUE(Barcode_Gen::defaultInstance()->preview_image.sameAs(preview));

    QStringList paths;
    for (int r = 0; r < rows; ++r)
        paths << QStringLiteral("%1/Pelvoro Gleamcard/Card_%2.png").arg(out).arg(r + 1);
    for (const Bound& b : bound) {
        SCOPED_TRACE(b.type);
        // ZXingReader misses small DataMatrix symbols among other symbols; dmtxread finds them.
        const DecodeRun run = QLatin1String(b.format) == QLatin1String("DataMatrix") ? Decode_With_Dmtxread(paths)
                                                                                    : Decode_With_ZXing(paths, b.format);
        ASSERT_TRUE(run.ran) << run.failure.toStdString();
        for (int r = 0; r < rows; ++r)
            EXPECT_EQ(run.bytesOf(paths[r]), b.read ? b.read(r) : b.value(r).toUtf8()) << "row " << r;
    }
    Reset_Shared_State();
}
