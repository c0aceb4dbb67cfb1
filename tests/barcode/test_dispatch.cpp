// The symbology dispatch and the symbols it hands out: every type title to
// its class, the values scanners could not read, and the units a stored
// style draws in.
#include "support/Rasterise.h"
#include "support/SymbolTable.h"
#include "barcode/BarcodeDispatch.h"
#include "barcode/DataMatrixImage.h"
#include "barcode/NKDCode128Barcode.h"
#include "barcode/NKDCode39Barcode.h"
#include "barcode/NKDUPCABarcode.h"
#include "barcode/QR_Encode.h"

#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {
Barcode_Symbol symbolOf(BarcodeStyle& style, const QString& value)
{
    return Generate_Barcode_Symbol(style, Barcode_Drawing_Of(style), value, "HEADER", "FOOTER",
                                   style.show_hide_val != 1);
}
}

TEST(BarcodeDispatch, EveryTypeTitleGivesASymbolOfItsClass)
{
    struct Case {
        const char* title;
        const char* value;
        const char* className; // "" for a 2-D symbol image
    };
    const Case cases[] = {
        {"Code 39", "CODE39", "NKDCode39Barcode"},
        {"Extended Code 39", "Ext 39", "NKDExtendedCode39Barcode"},
        {"Interleaved 2 of 5", "1234", "NKDInterleavedTwoOfFiveBarcode"},
        {"UPCA", "01234567890", "NKDUPCABarcode"},
        {"PostNet", "12345", "NKDPostnetBarcode"},
        {"Modified Plessey", "1234", "NKDModifiedPlesseyBarcode"},
        {"Modified Plessey (Hex)", "12AB", "NKDModifiedPlesseyHexBarcode"},
        {"Industrial 2 of 5", "1234", "NKDIndustrialTwoOfFiveBarcode"},
        {"EAN-13", "400638133393", "NKDEAN13Barcode"},
        {"Code 128", "Abc123", "NKDCode128Barcode"},
        {"Code 128 SET A", "ABC", "NKDCode128Barcode"},
        {"Code 128 SET B", "abc", "NKDCode128Barcode"},
        {"Code 128 SET C", "123456", "NKDCode128Barcode"},
        {"Codabar", "123", "NKDCodabarBarcode"},
        {"UPCE", "1123456", "NKDUPCEBarcode"},
        {"EAN-8", "9638507", "NKDEAN8Barcode"},
        {"Royal Mail Barcode (RM4SCC / CBC)", "SN34RD1A", "NKDRoyalMailBarcode"},
        {"Planet", "12345678901", "NKDPlanetBarcode"},
        {"Japan Post Barcode", "1234567", "JapanPostBarcode"},
        {"QR Code", "Hello", ""},
        {"PDF417", "Hello", ""},
        {"DataMatrix", "Hello", ""},
    };
    ASSERT_EQ(Barcode_Type_Items.size(), 22);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.title);
        ASSERT_TRUE(Barcode_Type_Items.contains(c.title));
        BarcodeStyle style = Style_Of_Type(c.title);
        const Barcode_Symbol symbol = symbolOf(style, c.value);
        ASSERT_TRUE(symbol.made());
        if (*c.className) {
            ASSERT_TRUE(symbol.model);
            EXPECT_EQ(symbol.model->className(), c.className);
        } else {
            EXPECT_FALSE(symbol.grid.isNull());
        }
        EXPECT_FALSE(Barcode_Symbol_Art(symbol, style, Unit_Centimetre).isNull());
    }
    BarcodeStyle code39 = Style_Of_Type("Code 39");
    EXPECT_FLOAT_EQ(symbolOf(code39, "A").model->barWidth(), 1.44f); // 20 mils
    // The Code 128 items choose their set before the content is read.
    BarcodeStyle setC = Style_Of_Type("Code 128 SET C");
    EXPECT_EQ(static_cast<NKDCode128Barcode*>(symbolOf(setC, "123456").model.get())->codeSet(), 2);
    // An empty value, or one the symbology refuses, gives nothing.
    BarcodeStyle ean = Style_Of_Type("EAN-13");
    EXPECT_FALSE(symbolOf(ean, "").made());
    EXPECT_FALSE(symbolOf(ean, "ABC").made());
    EXPECT_TRUE(Barcode_Picture(ean, "ABC", "H", "F").isNull());
}

TEST(BarcodeDispatch, ValuesScannersCouldNotReadAreMendedOrRefused)
{
    const struct {
        const char* title;
        const char* typed;
        const char* drawn; // "" refused
    } cases[] = {
        {"Codabar", "123", "A123B"},
        {"Codabar", "a123d", "A123D"},
        {"Codabar", "C45", "C45B"},
        {"Codabar", "B", "BB"},
        {"Code 39", "AB*C", ""},
        {"Extended Code 39", "AB*C", "AB*C"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.title) + " " + c.typed);
        BarcodeStyle style = Style_Of_Type(c.title);
        const Barcode_Symbol symbol = symbolOf(style, c.typed);
        if (!*c.drawn) {
            EXPECT_FALSE(symbol.made());
            continue;
        }
        ASSERT_TRUE(symbol.model);
        EXPECT_EQ(symbol.model->content(), c.drawn);
    }
}

TEST(BarcodeDispatch, CaptionIsOneLineAndTheUpcCheckDigitInsideThePicture)
{
    // A tab or line break in a Code 128 value is shown as a space in the caption.
    BarcodeStyle code128 = Style_Of_Type("Code 128");
    const Barcode_Symbol withTab = symbolOf(code128, "AB\tC\nD");
    ASSERT_TRUE(withTab.model);
    EXPECT_EQ(withTab.model->caption(), "AB C D");

    // The check digit printed right of the bars ends inside the picture.
    for (const char* title : {"UPCA", "UPCE"}) {
        SCOPED_TRACE(title);
        BarcodeStyle style = Style_Of_Type(title);
        style.show_hide_val = 0;
        const Barcode_Symbol symbol = symbolOf(style, QString(title) == "UPCA" ? "01234567890" : "1123456");
        ASSERT_TRUE(symbol.model);
        ASSERT_FALSE(symbol.model->rightCaption().isEmpty());
        const QImage image = Rasterise(Barcode_Symbol_Art(symbol, style, Unit_Centimetre), 4, 0);
        // The last dark column of the bar rows, then the caption's ink right of it.
        const int barRow = image.height() / 3;
        int lastBar = -1;
        for (int x = 0; x < image.width(); ++x)
            if (qGray(image.pixel(x, barRow)) < 128)
                lastBar = x;
        ASSERT_GT(lastBar, 0);
        int inkRight = -1;
        for (int y = 0; y < image.height(); ++y)
            for (int x = lastBar + 2; x < image.width(); ++x)
                if (qGray(image.pixel(x, y)) < 128)
                    inkRight = std::max(inkRight, x);
        EXPECT_GT(inkRight, lastBar + 2) << "no check digit right of the bars";
        EXPECT_LT(inkRight, image.width() - 2) << "the check digit runs into the edge";
    }
}

TEST(BarcodeDispatch, StoredLengthsAreCentimetresAndTheResolutionIsTheStoredOne)
{
    BarcodeStyle style = Style_Of_Type("Code 39");
    style.linear_height_val = 1.0f;
    style.TB_marging_val = 0.5f;
    const Barcode_Symbol symbol = symbolOf(style, "CM");
    ASSERT_TRUE(symbol.model);
    // 1 cm of bars and 0.5 cm above and below: 2 cm, not 2 inches.
    EXPECT_NEAR(symbol.model->height(), 2 * 28.346472, 0.01);

    const struct {
        int index;
        const char* custom;
        int dpi;
    } resolutions[] = {{0, "0", 600}, {3, "0", 300}, {6, "450", 450}, {6, "abc", 600}, {99, "0", 600}};
    for (const auto& r : resolutions) {
        style.dpi_val_index = r.index;
        style.dpi_custom_val = r.custom;
        EXPECT_EQ(Barcode_Drawing_Of(style).dpi, r.dpi) << r.index << " " << r.custom;
    }
    // The stored PDF417 level reaches the encoder.
    QTemporaryDir dir;
    QStringList paths;
    for (int level : {2, 5}) {
        BarcodeStyle pdf = Style_Of_Type("PDF417");
        pdf.pdf_ec_val = level;
        pdf.pdf_wdt_val = 300;
        pdf.pdf_hgt_val = 90;
        paths << dir.filePath(QStringLiteral("pdf%1.png").arg(level));
        ASSERT_TRUE(Save_With_Quiet_Zone(symbolOf(pdf, "LEVEL TEST").image_2d(), paths.last(), 40));
    }
    const DecodeRun pdfRun = Decode_With_ZXing(paths, "PDF417");
    ASSERT_TRUE(pdfRun.ran) << pdfRun.failure.toStdString();
    EXPECT_EQ(pdfRun.read.value(paths[0]).bytes, "LEVEL TEST");
    EXPECT_EQ(pdfRun.read.value(paths[1]).ecLevel, "5");
    EXPECT_NE(pdfRun.read.value(paths[0]).ecLevel, "5");

    style.qr_version_index = 5;
    style.qr_ec_index = 3;
    EXPECT_EQ(Barcode_Drawing_Of(style).qrVersion, 5);
    EXPECT_EQ(Barcode_Drawing_Of(style).qrLevel, 3);
}

TEST(BarcodeDispatch, QrCarriesUtf8AndDataMatrixKeepsToWhatTheLibraryMakes)
{
    QTemporaryDir dir;
    BarcodeStyle qr = Style_Of_Type("QR Code");
    const QString text = QStringLiteral("Grüße €");
    const QString qrPath = dir.filePath("qr.png");
    ASSERT_TRUE(Save_With_Quiet_Zone(symbolOf(qr, text).image_2d(), qrPath, 40));
    const DecodeRun zxing = Decode_With_ZXing({qrPath}, "QRCode", ZXingSearch::Pure);
    ASSERT_TRUE(zxing.ran) << zxing.failure.toStdString();
    EXPECT_EQ(zxing.bytesOf(qrPath), text.toUtf8());
    // The stream opens with the UTF-8 designator (mode 0111, ECI 26); plain
    // ASCII needs none.
    CQR_Encode encoder;
    const QByteArray bytes = text.toUtf8();
    ASSERT_TRUE(encoder.EncodeData(0, 0, false, -1, bytes.constData(), bytes.size()));
    EXPECT_EQ(encoder.m_byDataCodeWord[0], 0x71);
    EXPECT_EQ(encoder.m_byDataCodeWord[1] >> 4, 0xA);
    ASSERT_TRUE(encoder.EncodeData(0, 0, false, -1, "Gruesse", 7));
    EXPECT_EQ(encoder.m_byDataCodeWord[0] >> 4, 0x4); // straight into the byte segment

    BarcodeStyle dm = Style_Of_Type("DataMatrix");
    dm.dm_module_val = 1;
    dm.dpi_val_index = 1; // 72 dpi keeps the largest symbol small
    EXPECT_EQ(DataMatrix_Max_Bytes, 3115);
    EXPECT_FALSE(symbolOf(dm, QString(3115, QLatin1Char('7'))).grid.isNull());
    // One digit more is refused every time, and no picture is passed on.
    for (int i = 0; i < 3; ++i)
        EXPECT_TRUE(Barcode_Picture(dm, QString(3116, QLatin1Char('7')), "", "").isNull());
}
