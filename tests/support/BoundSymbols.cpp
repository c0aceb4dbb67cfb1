#include "support/BoundSymbols.h"
#include "support/Decode.h"

#include "barcode/BarcodeDispatch.h"
#include "data/DataSetFiles.h"
#include "model/Codes.h"

#include <gtest/gtest.h>

QList<Bound_Symbol> Bind_Symbols(Face& face, int rows)
{
    QList<Bound_Symbol> symbols = {
        {"Code 128", "Code128", {10, 10}, {}},
        {"QR Code", "QRCode", {10, 80}, {}},
        {"DataMatrix", "DataMatrix", {100, 80}, {}},
        {"PDF417", "PDF417", {170, 80}, {}},
    };
    // IDs in the 1-D symbol and the DataMatrix, mixed-case texts in the others.
    auto valueOf = [](const Bound_Symbol& s, int row) {
        return QLatin1String(s.type) == QLatin1String("QR Code") || QLatin1String(s.type) == QLatin1String("PDF417")
                   ? QStringLiteral("Card-%1-row").arg(row + 1)
                   : QStringLiteral("GC%1").arg(row + 1, 10, 10, QLatin1Char('0'));
    };
    for (Bound_Symbol& s : symbols) {
        for (int r = 0; r < rows; ++r)
            s.values << valueOf(s, r);
        EXPECT_TRUE(Write_Data_Set(QLatin1String(s.format), s.values, false));
        auto g = std::make_shared<SKTBarcode>();
        g->bounds = QRectF(s.at, QSizeF(100, 60));
        g->barcode_font_index = int(Barcode_Type_Items.indexOf(QLatin1String(s.type)));
        g->linear_or_2d = Is_2D_Barcode_Title(QLatin1String(s.type)) ? 1 : 0;
        g->data_source_type = Source_Data_Set;
        g->batch_list_name = QLatin1String(s.format);
        face.append(g);
    }
    return symbols;
}

void Expect_Cards_Carry_Rows(const QStringList& cardPaths, const QList<Bound_Symbol>& symbols)
{
    ASSERT_FALSE(cardPaths.isEmpty());
    for (const Bound_Symbol& s : symbols) {
        const DecodeRun run = Decode_With_ZXing(cardPaths, QLatin1String(s.format));
        ASSERT_TRUE(run.ran) << run.failure.toStdString();
        for (qsizetype i = 0; i < cardPaths.size(); ++i)
            EXPECT_EQ(run.bytesOf(cardPaths[i]), s.values.value(i).toUtf8())
                << s.type << " on card " << i + 1 << " (" << cardPaths[i].toStdString() << ")";
    }
}
