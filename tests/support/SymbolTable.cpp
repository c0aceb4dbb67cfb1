#include "support/SymbolTable.h"
#include "support/Rasterise.h"

#include "barcode/BarcodeDispatch.h"

#include <gtest/gtest.h>

BarcodeStyle Style_Of_Type(const QString& type)
{
    BarcodeStyle style;
    style.barcode_font_index = int(Barcode_Type_Items.indexOf(type));
    style.linear_or_2d = Is_2D_Barcode_Title(type) ? 1 : 0;
    style.show_hide_hdr = style.show_hide_ftr = style.show_hide_val = 1;
    return style;
}

namespace {
// The rows one decoder is asked about, as a batch view over the drawn files.
void expectRead(const QStringList& paths, const QList<QByteArray>& wanted, const QStringList& labels,
                const std::function<DecodeRun(const QStringList&)>& decode, const char* name)
{
    SymbolBatch asked;
    for (qsizetype i = 0; i < paths.size(); ++i)
        if (!wanted[i].isEmpty()) {
            asked.paths << paths[i];
            asked.expected << wanted[i];
            asked.labels << labels[i];
        }
    if (!asked.paths.isEmpty())
        Expect_All_Read(asked, decode(asked.paths), name);
}
}

void Expect_Symbol_Rows_Read(const QList<Symbol_Row>& rows, const Symbol_Decoders& decoders, qreal scale)
{
    Expect_Symbol_Rows_Read(rows, decoders, {{int(qRound(scale * 72)), {}}});
}

void Expect_Symbol_Rows_Read(const QList<Symbol_Row>& rows, const Symbol_Decoders& decoders,
                             const QList<Symbol_Drawing>& drawings,
                             const std::function<void(const Barcode_Art&, const QImage&, const Symbol_Drawing&)>& check)
{
    SymbolBatch drawn;
    ASSERT_TRUE(drawn.dir.isValid());
    QList<QByteArray> others;
    for (const Symbol_Row& row : rows) {
        const QString label = QStringLiteral("%1 \"%2\"").arg(row.type, row.value.left(40));
        BarcodeStyle style = Style_Of_Type(row.type);
        if (row.settings)
            row.settings(style);
        const Barcode_Art art = Barcode_Picture(style, row.value, QString(), QString());
        ASSERT_FALSE(art.isNull()) << label.toStdString();
        for (const Symbol_Drawing& way : drawings) {
            const QString at = drawings.size() == 1 && way.offset.isNull()
                                   ? label
                                   : QStringLiteral("%1 at %2 dpi, offset (%3, %4)")
                                         .arg(label).arg(way.dpi).arg(way.offset.x()).arg(way.offset.y());
            const QImage image = Rasterise(art, way.dpi / 72.0, 0, way.offset);
            if (check) {
                SCOPED_TRACE(at.toStdString());
                check(art, image, way);
            }
            ASSERT_TRUE(drawn.add(image, row.reading, at));
            others << row.other;
        }
    }
    expectRead(drawn.paths, drawn.expected, drawn.labels,
               [&](const QStringList& paths) { return Decode_With_ZXing(paths, decoders.zxingFormat, decoders.search); },
               "ZXingReader");
    if (decoders.other)
        expectRead(drawn.paths, others, drawn.labels, decoders.other, decoders.otherName);
}
