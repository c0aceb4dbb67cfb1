// Symbols drawn into pixels at the resolutions cards are written at (mail
// cards at 72 dpi, screens at 96, exports at 150), on and off the pixel
// grid: every module the same whole number of pixels, read back by the
// outside decoders. One table per kind of symbol.
#include "support/Rasterise.h"
#include "support/SymbolTable.h"
#include "barcode/BarcodeDispatch.h"
#include "platform/Log.h"

#include <QPainter>
#include <gtest/gtest.h>

namespace {
const QList<Symbol_Drawing> Card_Resolutions = {
    {72, {}}, {72, {0.37, 0.61}}, {96, {}}, {96, {0.37, 0.61}}, {150, {}}, {150, {0.37, 0.61}},
};

// The symbol's pixels are whole modules: no shaded pixel anywhere in its
// ink, every run of one colour along a row a whole number of the narrowest
// run, the ink inside the symbol's box.
void Expect_Whole_Pixel_Modules(const Barcode_Art& art, const QImage& image, const Symbol_Drawing& way)
{
    const InkBox ink = Ink_In(image, image.rect());
    ASSERT_FALSE(ink.empty());
    const qreal scale = way.dpi / 72.0;
    const QRectF box(way.offset * scale, art.size() * scale);
    EXPECT_GE(ink.left, std::floor(box.left()));
    EXPECT_LE(ink.right + 1, std::ceil(box.right()));
    QList<int> runs;
    int shaded = 0;
    for (int y = ink.top; y <= ink.bottom; ++y) {
        const QRgb* line = reinterpret_cast<const QRgb*>(image.constScanLine(y));
        int run = 0;
        for (int x = ink.left; x <= ink.right; ++x) {
            const int gray = qGray(line[x]);
            shaded += gray != 0 && gray != 255;
            if (run > 0 && (gray < 128) != (qGray(line[x - 1]) < 128)) {
                runs << run;
                run = 0;
            }
            ++run;
        }
        runs << run;
    }
    EXPECT_EQ(shaded, 0);
    const int narrowest = *std::min_element(runs.begin(), runs.end());
    EXPECT_TRUE(std::all_of(runs.begin(), runs.end(), [&](int r) { return r % narrowest == 0; }))
        << "runs of " << narrowest << " pixels and others";
    if (const Barcode_Art_Data* a = art.data(); a->moduleCount > 0) {
        // A linear symbol stays centred where its modules stood, within a module.
        const qreal centre = (way.offset.x() + a->moduleLeft + a->moduleCount * a->moduleWidth / 2) * scale;
        EXPECT_NEAR((ink.left + ink.right + 1) / 2.0, centre, narrowest + 1.0);
    }
}

// Every linear symbology a reader knows, as a new barcode draws it.
// zbarimg reads no EAN-8 or Codabar symbol of one pixel a module (72 dpi),
// so only ZXingReader is asked for those.
TEST(WholePixelSymbols, LinearSymbolsReadAtCardResolutions)
{
    const QList<Symbol_Row> rows = {
        {"Code 128", "GC0000000001", "GC0000000001", "GC0000000001"},
        {"Code 128", "Card-1-row", "Card-1-row", "Card-1-row"},
        {"Code 128 SET A", "CARD 42", "CARD 42", "CARD 42"},
        {"Code 128 SET B", "Card 42", "Card 42", "Card 42"},
        {"Code 128 SET C", "20260417", "20260417", "20260417"},
        {"Code 39", "GC0000000001", "GC0000000001", "GC0000000001"},
        {"Code 39", "CARD-1-ROW", "CARD-1-ROW", "CARD-1-ROW"},
        {"Extended Code 39", "Card-1", "C+A+R+D-1", "C+A+R+D-1"},
        {"EAN-13", "400638133393", "4006381333931", "4006381333931"},
        {"EAN-8", "7529170", "75291709"},
        {"UPCA", "01234567890", "0012345678905", "0012345678905"},
        {"UPCE", "0117770", "01177707", "01177707"},
        {"Interleaved 2 of 5", "20260417", "20260417", "20260417"},
        {"Codabar", "A40156B", "40156"},
    };
    Expect_Symbol_Rows_Read(rows,
                            {"Code128,Code39,EAN-13,EAN-8,UPC-E,ITF,Codabar", ZXingSearch::Anywhere, "zbarimg",
                             [](const QStringList& paths) {
                                 return Decode_With_Zbar(paths, {"code128", "code39", "ean13", "ean8", "upce", "i25",
                                                                 "codabar"},
                                                         {"i25.min-length=2", "codabar.min-length=1"});
                             }},
                            Card_Resolutions, Expect_Whole_Pixel_Modules);
}

// zbarimg takes UTF-8 for another character set and misses version 40 at
// one pixel a module (96 dpi): only ZXingReader is asked for those.
TEST(WholePixelSymbols, QrCodesReadAtCardResolutions)
{
    const QList<Symbol_Row> rows = {
        {"QR Code", "GC0000000001", "GC0000000001", "GC0000000001"},
        {"QR Code", "Card-1-row", "Card-1-row", "Card-1-row"},
        {"QR Code", "https://example.org/card?id=GC0000000001&row=17", "https://example.org/card?id=GC0000000001&row=17",
         "https://example.org/card?id=GC0000000001&row=17"},
        {"QR Code", "Grüße, Zoë", "Grüße, Zoë"},
        {"QR Code", "GC0000000001 at version 40", "GC0000000001 at version 40", {},
         [](BarcodeStyle& s) { s.qr_version_index = 40; }},
    };
    Expect_Symbol_Rows_Read(rows, {"QRCode", ZXingSearch::Pure, "zbarimg", [](const QStringList& paths) {
                                       return Decode_With_Zbar(paths, {"qrcode"});
                                   }},
                            Card_Resolutions, Expect_Whole_Pixel_Modules);
}

TEST(WholePixelSymbols, Pdf417ReadsAtCardResolutions)
{
    QString nearCapacity;
    for (int i = 0; nearCapacity.size() < 1000; ++i)
        nearCapacity += QStringLiteral("Member GC%1 row %2; ").arg(i, 10, 10, QLatin1Char('0')).arg(i);
    const QList<Symbol_Row> rows = {
        {"PDF417", "GC0000000001", "GC0000000001"},
        {"PDF417", "Card-1-row", "Card-1-row"},
        {"PDF417", nearCapacity, nearCapacity.toUtf8(), {}, [](BarcodeStyle& s) {
             s.pdf_wdt_val = 600;
             s.pdf_hgt_val = 300;
         }},
    };
    Expect_Symbol_Rows_Read(rows, {"PDF417", ZXingSearch::Anywhere}, Card_Resolutions, Expect_Whole_Pixel_Modules);
}

// dmtxread reads the small rectangular symbol of "Card-1-row" only from
// three pixels a module: only ZXingReader is asked for it.
TEST(WholePixelSymbols, DataMatrixReadsAtCardResolutions)
{
    const QList<Symbol_Row> rows = {
        {"DataMatrix", "GC0000000001", "GC0000000001", "GC0000000001"},
        {"DataMatrix", "Card-1-row", "Card-1-row"},
        {"DataMatrix", "GLEAMCARD member 000017, badge 17", "GLEAMCARD member 000017, badge 17",
         "GLEAMCARD member 000017, badge 17"},
    };
    Expect_Symbol_Rows_Read(rows, {"DataMatrix", ZXingSearch::Anywhere, "dmtxread", Decode_With_Dmtxread},
                            Card_Resolutions, Expect_Whole_Pixel_Modules);
}

// Modules under a pixel: one pixel each where the symbol still fits its
// box, else drawn as before; either way one log line names the symbol and
// the resolution, however often it is drawn.
TEST(WholePixelSymbols, ModulesUnderAPixelAreDrawnOnePixelWideWhenTheyFitAndLogged)
{
    struct Case {
        float mils;       // the narrow bar
        float margin;     // left and right, centimetres
        QString logLine;
    };
    const Case cases[] = {
        {12, 1.0f, "Code 128 barcode \"GC0000000001\": modules narrower than one pixel at 72 dpi; drawn one "
                   "pixel per module."},
        {5, 0.0f, "Code 128 barcode \"GC0000000001\": modules narrower than one pixel at 72 dpi do not fit its "
                  "box at one pixel each; drawn unevenly, it may not scan."},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.mils);
        QStringList log;
        const platform::LogSink old = platform::setLogSink([&](const QString& line) { log << line; });
        BarcodeStyle style = Style_Of_Type("Code 128");
        style.linear_width_val = c.mils;
        style.LR_margin_val = c.margin;
        const Barcode_Art art = Barcode_Picture(style, "GC0000000001", QString(), QString());
        ASSERT_FALSE(art.isNull());
        const QImage once = Rasterise(art, 1), twice = Rasterise(art, 1);
        platform::setLogSink(old);
        EXPECT_EQ(log, QStringList{c.logLine});
        EXPECT_EQ(once, twice);
        if (c.logLine.endsWith("module."))
            Expect_Whole_Pixel_Modules(art, once, {72, {}});
    }
}
}
