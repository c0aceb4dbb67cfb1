// Lengths, outer sizes of framed symbols, the QR size rule and the
// resolution step.
#include "barcode/BarcodeUnits.h"
#include "barcode/NKDCode39Barcode.h"
#include "platform/Log.h"

#include <gtest/gtest.h>

namespace {
struct LogCapture {
    QStringList lines;
    platform::LogSink previous;
    LogCapture() { previous = platform::setLogSink([this](const QString& line) { lines << line; }); }
    ~LogCapture() { platform::setLogSink(previous); }
};
}

TEST(BarcodeUnits, LengthsInPoints)
{
    EXPECT_FLOAT_EQ(Convert_Length_To_Points(1.0f, 1), 28.346472f);
    EXPECT_FLOAT_EQ(Convert_Length_To_Points(0.1f, 1), 2.8346472f);
    EXPECT_FLOAT_EQ(Convert_Length_To_Points(10.0f, 2), 28.346472f);
    EXPECT_FLOAT_EQ(Convert_Length_To_Points(0.5f, 0), 36.0f);
    EXPECT_FLOAT_EQ(Mils_To_Points(20), 1.44f);
}

TEST(BarcodeUnits, LinearHeightAndOuterWidth)
{
    BarcodeStyle style;
    auto model = New_Barcode<NKDCode39Barcode>(QStringLiteral("HEIGHT"), true, &style);
    ASSERT_TRUE(model);
    model->setHeader(QStringLiteral("HEADER"));
    model->setFooter(QStringLiteral("FOOTER"));
    model->setPrintsHeader(true);
    model->setPrintsFooter(true);
    model->setCaptionFontSize(10);
    model->setHeaderFontSize(10);
    model->setFooterFontSize(10);
    style.linear_height_val = 1.0f;
    Set_Barcode_Height(*model, style, 1);
    const float m = Convert_Length_To_Points(0.1f, 1);
    EXPECT_FLOAT_EQ(style.TB_margin, m);
    const double expected = 28.346472 + model->captionHeight() * 72.0 + m + model->headerHeight() * 72.0 + m +
                            model->footerHeight() * 72.0 + m + 2 * m;
    EXPECT_NEAR(model->height(), expected, 1e-3);

    // A hidden caption adds neither its band's margin.
    style.show_hide_val = 1;
    Set_Barcode_Height(*model, style, 1);
    EXPECT_EQ(style.value_margin, 0.0f);

    // No left and right margin: exactly the widest of bars, header and footer.
    style.LR_margin_val = 0;
    const float widest = std::max({model->width(), model->headerWidth(), model->footerWidth()});
    EXPECT_FLOAT_EQ(Set_Linear_Barcode_Width(*model, style, 1), widest);
    style.LR_margin_val = 0.1f;
    EXPECT_FLOAT_EQ(Set_Linear_Barcode_Width(*model, style, 1), widest + 2 * m + 15.0f);
}

TEST(BarcodeUnits, FramedTwoDimensionalSize)
{
    BarcodeStyle style;
    style.header = QStringLiteral("A rather wide header text");
    style.footer = QStringLiteral("F");
    setCaptionFontSize(style, 10);
    setHeaderFontSize(style, 10);
    setFooterFontSize(style, 10);
    EXPECT_GT(style.headerHeight, 0.0f);
    EXPECT_GT(style.headerWidth, style.footerWidth);
    const float m = Convert_Length_To_Points(0.1f, 1);
    const QSizeF symbol(30, 30);

    Set_2d_Barcode_Height(symbol, style, 1);
    EXPECT_FLOAT_EQ(style.height, 30 + style.headerHeight * 72 + m + style.footerHeight * 72 + m + 2 * m);
    Set_2d_Barcode_Width(symbol, style, 1);
    EXPECT_FLOAT_EQ(style.width, style.headerWidth + 2 * m + 15);

    // A hidden header gives neither its width, nor its band, nor its margin.
    style.show_hide_hdr = 1;
    Set_2d_Barcode_Height(symbol, style, 1);
    EXPECT_FLOAT_EQ(style.height, 30 + style.footerHeight * 72 + m + 2 * m);
    EXPECT_EQ(style.header_margin, 0.0f);
    Set_2d_Barcode_Width(symbol, style, 1);
    EXPECT_FLOAT_EQ(style.width, 30 + 2 * m + 15);
}

TEST(BarcodeUnits, QRSizeRule)
{
    const QR_Size_Rule five = Check_And_Set_QR_size_Acc_Version(5, 30);
    EXPECT_EQ(five.minimum, 37);
    EXPECT_EQ(five.size, 37);
    EXPECT_EQ(Check_And_Set_QR_size_Acc_Version(5, 60).size, 60);
    EXPECT_EQ(Check_And_Set_QR_size_Acc_Version(0, 10).minimum, 21);
    EXPECT_EQ(Check_And_Set_QR_size_Acc_Version(1, 10).size, 21);
    EXPECT_EQ(Check_And_Set_QR_size_Acc_Version(40, 60).size, 177);
}

TEST(BarcodeUnits, ResolutionStep)
{
    // 12.5 points at 600 dpi: ceil(104.17) pixels.
    QImage source(25, 25, QImage::Format_ARGB32);
    source.fill(Qt::transparent);
    for (int y = 0; y < 25; ++y)
        for (int x = 0; x < 25; ++x)
            if ((x + y) % 2 == 0)
                source.setPixel(x, y, qRgb(0, 0, 0));
    const QImage raised = Increase_DPI(source, QSizeF(12.5, 12.5), 600);
    ASSERT_FALSE(raised.isNull());
    EXPECT_EQ(raised.size(), QSize(105, 105));
    // Its dots per metre carry its size: pixels / dpi x 72 points.
    EXPECT_EQ(raised.dotsPerMeterX(), qRound(600 / 0.0254));
    EXPECT_NEAR(raised.width() / (raised.dotsPerMeterX() * 0.0254) * 72.0, 12.6, 0.01);
    // No interpolation: every pixel is black or transparent.
    for (int y = 0; y < 104; ++y)
        for (int x = 0; x < 104; ++x) {
            const QRgb p = raised.pixel(x, y);
            ASSERT_TRUE(p == qRgba(0, 0, 0, 255) || qAlpha(p) == 0) << x << "," << y;
        }

    LogCapture log;
    EXPECT_TRUE(Increase_DPI(QImage(), QSizeF(10, 10), 600).isNull());
    EXPECT_TRUE(log.lines.contains(QStringLiteral("Invalid image")));
    // A resolution of 0 gives the automatic 600, an absurd one is clamped.
    EXPECT_EQ(Increase_DPI(source, QSizeF(12, 12), 0).width(), 100);
    EXPECT_EQ(Increase_DPI(source, QSizeF(12, 12), 1e7).width(), 12 * Max_Barcode_DPI / 72);
    EXPECT_EQ(Checked_Barcode_DPI(300), 300);
    EXPECT_GE(log.lines.size(), 3);
    // A bitmap too large to make is refused.
    EXPECT_TRUE(Increase_DPI(source, QSizeF(5000, 5000), 2400).isNull());
}
