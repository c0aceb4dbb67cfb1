#include "support/Rasterise.h"
#include "barcode/BarcodeDispatch.h"
#include "barcode/BarcodeImage.h"
#include "barcode/LinearLayout.h"
#include "barcode/NKDBarcodeOffscreenView.h"
#include "barcode/NKDCode39Barcode.h"
#include "platform/Task.h"

#include <QFile>
#include <QPainter>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <cmath>
#include <gtest/gtest.h>
#include <thread>

namespace {
// A model with a fixed module string and the test's band heights.
class FixedModel : public NKDBarcode {
public:
    QString modules;
    QString barcode() const override { return modules; }
    void setModules(const QString& m)
    {
        modules = m;
        modulesChanged();
    }

protected:
    std::unique_ptr<NKDBarcode> newOfSameClass() const override { return std::make_unique<FixedModel>(); }
};

constexpr qreal Scale = 4; // pixels per point

// The worked example: height 100, caption 10, header 12, footer 8, margins
// 2, 3, 4, 5; as in the designer, a hidden part's margin is 0.
struct Example {
    BarcodeStyle style;
    std::unique_ptr<FixedModel> model;
    Example(const QString& modules, bool caption = true, bool header = true, bool footer = true)
    {
        style.value_margin = caption ? 2 : 0;
        style.header_margin = header ? 3 : 0;
        style.footer_margin = footer ? 4 : 0;
        style.TB_margin = 5;
        style.LR_margin = 0;
        model = New_Barcode<FixedModel>(QStringLiteral("X"), caption, &style);
        model->setModules(modules);
        model->setBarWidth(2);
        model->setHeight(100);
        model->setCaptionHeight(10 / 72.0f);
        model->setHeaderHeight(12 / 72.0f);
        model->setFooterHeight(8 / 72.0f);
        model->setPrintsHeader(header);
        model->setPrintsFooter(footer);
        model->setHeader(QStringLiteral("HEAD"));
        model->setFooter(QStringLiteral("FOOT"));
        model->calculateWidth();
    }
    QImage render() const { return Rasterise(imageFromBarcode(model.get()), Scale); }
};

// The dark rows of one pixel column, as a span in picture points measured
// upwards from the bottom edge.
std::pair<qreal, qreal> darkSpanUp(const QImage& image, int column)
{
    const InkBox ink = Ink_In(image, QRect(column, 0, 1, image.height()));
    if (ink.empty())
        return {-1, -1};
    const qreal height = image.height() / Scale;
    return {height - (ink.bottom + 1) / Scale, height - ink.top / Scale};
}

int column(qreal points)
{
    return int(points * Scale);
}

// A symbol of the type as the application dresses it from the record.
std::unique_ptr<NKDBarcode> dressed(BarcodeStyle& style, const char* type, const QString& value)
{
    style.barcode_font_index = int(Barcode_Type_Items.indexOf(type));
    return Generate_Barcode_Symbol(style, Barcode_Drawing_Of(style), value, style.header_val, style.footer_val, true)
        .model;
}
}

TEST(BarcodeRenderer, StackFromTheBottomWithTheValueBelowOrAboveTheBars)
{
    // 60 modules of 2 points: bars at 0-4, 6-8 and 18-22 points, then light
    // modules under the centred texts.
    const QString modules = QStringLiteral("11010000011") + QString(49, QLatin1Char('0'));
    Example below(modules);
    const QImage image = below.render();
    ASSERT_EQ(image.size(), QSize(120 * 4, 100 * 4));
    auto [bottom, top] = darkSpanUp(image, column(1));
    EXPECT_NEAR(bottom, 29, 0.3);
    EXPECT_NEAR(top, 80, 0.3);
    EXPECT_EQ(darkSpanUp(image, column(7)), darkSpanUp(image, column(1)));
    // Column 21 holds a bar and is drawn; a space module is light.
    EXPECT_NEAR(darkSpanUp(image, column(21)).second, 80, 0.3);
    EXPECT_TRUE(Ink_In(image, QRect(column(10), column(20), 8, column(51))).empty());

    // The caption lies between the footer band and the bars, the header above them.
    const InkBox caption = Ink_In(image, QRect(0, column(100 - 29), image.width(), column(12)));
    EXPECT_FALSE(caption.empty());
    // Capitals stand on the baseline, a descent above the box's bottom at 17 points.
    EXPECT_GT(caption.bottom, column(100 - 22));
    EXPECT_LT(caption.bottom, column(100 - 18));
    const InkBox header = Ink_In(image, QRect(0, 0, image.width(), column(20)));
    EXPECT_FALSE(header.empty());

    Example above(modules);
    above.style.show_val_on_top = 1;
    const QImage onTop = above.render();
    std::tie(bottom, top) = darkSpanUp(onTop, column(1));
    EXPECT_NEAR(bottom, 17, 0.3);
    EXPECT_NEAR(top, 68, 0.3);
    // The caption box starts at 70 points: its ink sits above the bars, below the header band.
    EXPECT_FALSE(Ink_In(onTop, QRect(0, column(100 - 83), onTop.width(), column(83 - 68) - 2)).empty());
    // Between the footer's capitals (up to about 14 points) and the bars nothing is drawn.
    EXPECT_TRUE(Ink_In(onTop, QRect(column(30), column(100 - 16.8), column(90), column(2.4))).empty());
}

TEST(BarcodeRenderer, HiddenPartsAndAnEmptySymbol)
{
    Example bare(QStringLiteral("1"), false, false, false);
    const QImage image = bare.render();
    auto [bottom, top] = darkSpanUp(image, column(1));
    EXPECT_NEAR(bottom, 5, 0.3);
    EXPECT_NEAR(top, 95, 0.3);

    // No bars: with the value on top the caption's box starts at 5 + 8 + 4 + 2 = 19 points.
    Example empty(QString(), true, false, true);
    empty.style.show_val_on_top = 1;
    empty.model->setContent(QStringLiteral("WWWW"));
    empty.model->setWidth(60);
    const QImage noBars = empty.render();
    const InkBox caption = Ink_In(noBars, QRect(0, 0, noBars.width(), column(100 - 17)));
    ASSERT_FALSE(caption.empty());
    // Capitals stand on the baseline, a descent above the box's bottom edge.
    const qreal inkBottomUp = 100 - (caption.bottom + 1) / Scale;
    EXPECT_GT(inkBottomUp, 19.5);
    EXPECT_LT(inkBottomUp, 23);
}

TEST(BarcodeRenderer, CaptionsShowWhatTheBarsHoldApartAndCentred)
{
    // The pieces in reading order as the decoders read the bars; place 'c':
    // centred under the bars, 'b': the first and last beside them. Narrow
    // bars (7 mils) with a 20-point caption: apart and inside, if smaller.
    const struct {
        const char *type, *value, *caption;
        char place;
        float mils, points;
        int wideKerning;
    } rows[] = {
        {"UPCA", "03600029145", "0 36000 29145 2", 'b', 20, 10, 0}, {"UPCA", "03600029145", "0 36000 29145 2", '-', 7, 20, 0},
        {"UPCE", "0123456", "0 123456 5", 'b', 20, 10, 0},          {"UPCE", "0123456", "0 123456 5", '-', 7, 20, 0},
        {"EAN-13", "400638133393", "4 006381 333931", '-', 7, 20, 0}, {"EAN-8", "9638507", "9638 5074", '-', 20, 10, 0},
        {"Interleaved 2 of 5", "12345", "012345", 'c', 20, 10, 0},  {"Industrial 2 of 5", "12345", "12345", 'c', 20, 10, 0},
        {"Code 39", "GC-13", "GC-13", 'c', 20, 10, 0},              {"Code 39", "GC-13", "GC-13", 'c', 20, 10, 1},
        {"Code 39", "7", "7", 'c', 20, 10, 1},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(std::string(row.type) + " " + row.value);
        BarcodeStyle style;
        style.show_hide_hdr = style.show_hide_ftr = 1;
        style.linear_width_val = row.mils;
        style.value_font_val.setPointSizeF(row.points);
        style.kerning_value_state = row.wideKerning;
        const auto model = dressed(style, row.type, QString::fromLatin1(row.value));
        ASSERT_TRUE(model);
        const Linear_Layout layout = Layout_Linear_Barcode(*model, &style);
        const qreal barsLeft = layout.bars.first().left(), barsRight = layout.bars.last().right();
        QStringList texts;
        QList<QRectF> inks;
        for (const Linear_Text_Box& box : layout.texts) {
            texts << box.block.text;
            inks << QRectF();
            for (const Barcode_Art_Glyph& glyph : box.block.glyphs)
                inks.last() |= glyph.outline.boundingRect().translated(box.topLeft + glyph.at);
        }
        EXPECT_EQ(texts.join(u' '), QString::fromLatin1(row.caption));
        EXPECT_FALSE(layout.overflows);
        for (qsizetype i = 0; i < inks.size(); ++i)
            EXPECT_TRUE(inks[i].left() >= 0 && inks[i].right() <= layout.size.width()
                        && (i == 0 || inks[i - 1].right() + 0.5 < inks[i].left()))
                << texts[i].toStdString();
        if (row.place == 'c') {
            EXPECT_NEAR(inks.first().center().x(), (barsLeft + barsRight) / 2, 1.0);
        } else if (row.place == 'b') {
            EXPECT_TRUE(inks.first().right() < barsLeft && inks[1].left() > barsLeft && inks.last().left() > barsRight);
        }
    }
}

TEST(BarcodeRenderer, TextIsUprightAndAligned)
{
    Example example(QStringLiteral("1"), false, true, false);
    example.model->setHeader(QStringLiteral("T"));
    example.style.header_font_val.setPointSizeF(40);
    example.model->setWidth(120);
    example.model->setHeaderHeight(30 / 72.0f);
    example.style.align_hdr_index = 0; // "Left"
    const QImage left = example.render();
    const InkBox ink = Ink_In(left, QRect(0, 0, left.width(), column(45)));
    ASSERT_FALSE(ink.empty());
    // A "T": the top row of ink is wide (the bar), the bottom row narrow (the stem).
    const InkBox topRow = Ink_In(left, QRect(0, ink.top + 1, left.width(), 1));
    const InkBox bottomRow = Ink_In(left, QRect(0, ink.bottom - 1, left.width(), 1));
    EXPECT_GT(topRow.right - topRow.left, 3 * (bottomRow.right - bottomRow.left));
    EXPECT_LT(ink.left, column(10));

    example.style.align_hdr_index = 2; // "Right"
    const QImage right = example.render();
    const InkBox rightInk = Ink_In(right, QRect(0, 0, right.width(), column(45)));
    EXPECT_GT(rightInk.right, column(110));
    example.style.align_hdr_index = 1; // "Center"
    const InkBox centred = Ink_In(example.render(), QRect(0, 0, right.width(), column(45)));
    EXPECT_NEAR((centred.left + centred.right) / 2.0, column(60), 2 * Scale);
    example.style.align_hdr_index = 9; // no item text: the default alignment, left
    EXPECT_EQ(Ink_In(example.render(), QRect(0, 0, right.width(), column(45))).left, ink.left);
}

TEST(BarcodeRenderer, PictureSizeIsTheFrameAndWideTextsWidenIt)
{
    BarcodeStyle style;
    auto model = New_Barcode<NKDCode39Barcode>(QStringLiteral("1"), true, &style);
    model->setBarWidth(1.44f);
    model->setHeight(60);
    model->setHeader(QStringLiteral("HEADER"));
    model->setPrintsHeader(true);
    model->setHeaderFontSize(10);
    model->calculateWidth();
    ASSERT_FLOAT_EQ(model->width(), 39 * 1.44f);
    // "HEADER" in 10 points is narrower than the 56-point symbol.
    auto view = NKDBarcodeOffscreenView::initWithBarcode(model.get());
    EXPECT_FLOAT_EQ(view.frame().width(), model->width());
    EXPECT_FLOAT_EQ(view.frame().height(), model->height());
    QPicture picture = imageFromBarcode(model.get());
    EXPECT_EQ(picture.boundingRect(),
              QRect(0, 0, int(std::ceil(model->width())), int(std::ceil(model->height()))));

    model->setHeader(QStringLiteral("A MUCH LONGER HEADER TEXT"));
    model->setHeaderFontSize(10);
    ASSERT_GT(model->headerWidth(), model->width());
    picture = imageFromBarcode(model.get());
    EXPECT_EQ(picture.boundingRect().width(), int(std::ceil(model->headerWidth())));
    // The bars are centred in the wider frame.
    const QImage image = Rasterise(picture, Scale);
    const qreal x0 = (model->headerWidth() - model->width()) / 2;
    const int barRow = image.height() / 2;
    EXPECT_GT(qGray(image.pixel(column(x0) - 2, barRow)), 200);
    EXPECT_LT(qGray(image.pixel(column(x0 + 0.7), barRow)), 60);

    model->setPrintsHeader(false);
    EXPECT_FLOAT_EQ(NKDBarcodeOffscreenView::initWithBarcode(model.get()).frame().width(), model->width());
}

TEST(BarcodeRenderer, ColoursComeFromTheStyleAndTheLiveStyleServesWithoutARecord)
{
    Example example(QStringLiteral("11001"), false, false, false);
    example.style.barcode_clr_val = QColor(200, 0, 0);
    example.style.barcode_back_clr_val = QColor(0, 0, 200);
    QImage image = example.render();
    EXPECT_EQ(image.pixelColor(column(1), column(50)), QColor(200, 0, 0));
    EXPECT_EQ(image.pixelColor(column(5), column(50)), QColor(0, 0, 200));
    EXPECT_EQ(image.pixelColor(1, 1), QColor(0, 0, 200));

    example.model->setStyle(nullptr);
    const BarcodeStyle saved = Live_Barcode_Style;
    Live_Barcode_Style.barcode_clr_val = QColor(0, 150, 0);
    Live_Barcode_Style.TB_margin = 0;
    image = example.render();
    Live_Barcode_Style = saved;
    EXPECT_EQ(image.pixelColor(column(1), column(50)), QColor(0, 150, 0));
    EXPECT_EQ(image.pixelColor(column(5), column(50)), QColor(Qt::white));
}

TEST(BarcodeRenderer, WorkerThreadDrawsTheSamePicture)
{
    BarcodeStyle style;
    auto model = dressed(style, "Code 128", QStringLiteral("Thread 42"));
    ASSERT_TRUE(model);
    const QImage here = Rasterise(imageFromBarcode(model.get()), 3);
    QImage there;
    std::thread worker([&] { there = Rasterise(imageFromBarcode(model.get()), 3); });
    worker.join();
    ASSERT_FALSE(here.isNull());
    EXPECT_EQ(here, there);
    // Ink exists: bars and texts were drawn.
    EXPECT_FALSE(Ink_In(here, here.rect()).empty());
}

TEST(BarcodeRenderer, PdfPageIsTheFrame)
{
    BarcodeStyle style;
    auto model = dressed(style, "Code 39", QStringLiteral("PDF"));
    ASSERT_TRUE(model);
    const QByteArray pdf = pdfFromBarcode(model.get());
    ASSERT_TRUE(pdf.startsWith("%PDF"));
    EXPECT_TRUE(pdfFromBarcode(nullptr).isEmpty());

    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("symbol.pdf"));
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(pdf);
    file.close();
    platform::TaskRequest request;
    request.program = QStringLiteral("pdfinfo");
    request.arguments = {path};
    const platform::TaskResult info = platform::runTask(request);
    ASSERT_TRUE(info.succeeded()) << info.standardError.toStdString();
    const QString text = QString::fromUtf8(info.standardOutput);
    const QRegularExpressionMatch size =
        QRegularExpression(QStringLiteral("Page size:\\s+([0-9.]+) x ([0-9.]+) pts")).match(text);
    ASSERT_TRUE(size.hasMatch()) << text.toStdString();
    // Whole points, rounded up so the frame is never cut.
    EXPECT_EQ(size.captured(1).toDouble(), std::ceil(model->width()));
    EXPECT_EQ(size.captured(2).toDouble(), std::ceil(model->height()));
}

TEST(BarcodeRenderer, TwoDSymbolIsFramedByTheStyle)
{
    EXPECT_TRUE(imageFromBarcodeImage(QImage()).isNull());

    // A 40-point black square at 72 dots per inch.
    QImage symbol(40, 40, QImage::Format_RGB32);
    symbol.fill(Qt::black);
    symbol.setDotsPerMeterX(2835);
    symbol.setDotsPerMeterY(2835);
    BarcodeStyle style;
    style.width = 100;
    style.height = 90;
    style.TB_margin = 5;
    style.header_margin = 3;
    style.printsHeader = true;
    style.headerHeight = 12 / 72.0f;
    style.header = QStringLiteral("TOP");
    style.printsFooter = true;
    style.footer = QStringLiteral("END");
    style.barcode_back_clr_val = Qt::red; // a 1-D setting: the 2-D ground stays white
    const QPicture picture = imageFromBarcodeImage(symbol, &style);
    EXPECT_EQ(picture.boundingRect(), QRect(0, 0, 100, 90));
    const QImage image = Rasterise(picture, Scale);
    // Square: x from 30 to 70, top at 90 - 12 - 5 - 3 = 70 (y up), so 20 points from the top.
    const InkBox square = Ink_In(image, QRect(column(20), column(15), column(60), column(55)));
    EXPECT_NEAR(square.left / Scale, 30, 0.3);
    EXPECT_NEAR((square.right + 1) / Scale, 70, 0.3);
    EXPECT_NEAR(square.top / Scale, 20, 0.3);
    EXPECT_NEAR((square.bottom + 1) / Scale, 60, 0.3);
    EXPECT_EQ(image.pixelColor(2, 2), QColor(Qt::white));
    EXPECT_FALSE(Ink_In(image, QRect(0, 0, image.width(), column(18))).empty());           // header
    EXPECT_FALSE(Ink_In(image, QRect(0, column(70), image.width(), column(20))).empty()); // footer
}

TEST(BarcodeRenderer, TextPixelsIntoAnImageAreThePathsPixels)
{
    // Every symbology with its caption, a header and a footer, at three
    // resolutions and off the pixel grid; the pixel road's texts (glyphs from
    // the shared cache) against the paths the painter fills. Its bars and
    // modules are whole pixels instead (tests/barcode/test_whole_pixels.cpp).
    const QList<QPair<QString, QString>> symbols = {
        {"Code 39", "CARD-42"}, {"Extended Code 39", "Card-42"}, {"Interleaved 2 of 5", "123456"},
        {"UPCA", "01234567890"}, {"PostNet", "12345"}, {"Modified Plessey", "12345"},
        {"Modified Plessey (Hex)", "12AB"}, {"Industrial 2 of 5", "12345"}, {"EAN-13", "400638133393"},
        {"Code 128", "Card-42"}, {"Code 128 SET A", "CARD 42"}, {"Code 128 SET B", "Card 42"},
        {"Code 128 SET C", "123456"}, {"Codabar", "A12345B"}, {"UPCE", "0123456"}, {"EAN-8", "1234567"},
        {"Royal Mail Barcode (RM4SCC / CBC)", "SN34RD1A"}, {"Planet", "12345678901"},
        {"Japan Post Barcode", "1234567"}, {"QR Code", "GLEAMCARD member 7"}, {"PDF417", "GLEAMCARD member 7"},
        {"DataMatrix", "GLEAMCARD member 7"}};
    auto textsOnly = [](const Barcode_Art& symbol) {
        Barcode_Art_Data texts = *symbol.data();
        texts.bars.clear();
        texts.grid = QImage();
        return Barcode_Art(texts);
    };
    auto draw = [](const Barcode_Art& art, int dpi, bool paths) {
        const qreal scale = dpi / 72.0;
        QImage image(int(std::ceil((art.size().width() + 1) * scale)), int(std::ceil((art.size().height() + 1) * scale)),
                     QImage::Format_ARGB32_Premultiplied);
        image.fill(Qt::white);
        QPainter painter(&image);
        painter.scale(scale, scale);
        const QPointF offGrid(0.37, 0.61);
        if (paths)
            art.drawPaths(painter, offGrid);
        else
            art.draw(painter, offGrid);
        return image;
    };
    auto largestDifference = [](const QImage& a, const QImage& b) {
        int largest = 0;
        for (int y = 0; y < a.height(); ++y)
            for (int x = 0; x < a.width(); ++x)
                for (int shift = 0; shift < 32; shift += 8)
                    largest = std::max(largest, std::abs(int((a.pixel(x, y) >> shift) & 255) -
                                                         int((b.pixel(x, y) >> shift) & 255)));
        return largest;
    };
    // The last case has a header too large for the glyph cache: it is filled as paths.
    for (const auto& [title, value] : symbols + QList<QPair<QString, QString>>{{"Code 128", "Large"}}) {
        BarcodeStyle style;
        style.barcode_font_index = int(Barcode_Type_Items.indexOf(title));
        style.linear_or_2d = Is_2D_Barcode_Title(title) ? 1 : 0;
        style.show_hide_hdr = style.show_hide_ftr = 0;
        style.barcode_val_clr_val = QColor(20, 40, 160);
        if (value == QLatin1String("Large"))
            style.header_font_val.setPointSizeF(120);
        const Barcode_Art symbol = Barcode_Picture(style, value, QStringLiteral("Gleamcard"), QStringLiteral("Row 7"));
        ASSERT_FALSE(symbol.isNull()) << title.toStdString();
        const Barcode_Art art = textsOnly(symbol);
        for (int dpi : {72, 150, 300}) {
            SCOPED_TRACE(title.toStdString() + " at " + std::to_string(dpi) + " dpi");
            const QImage paths = draw(art, dpi, true);
            EXPECT_FALSE(Ink_In(paths, paths.rect()).empty());
            EXPECT_LE(largestDifference(draw(art, dpi, false), paths), 1);
        }
    }

    // Workers share the glyph cache: four draw the same symbol at once.
    BarcodeStyle style;
    style.barcode_font_index = int(Barcode_Type_Items.indexOf("Code 128"));
    style.show_hide_hdr = 0;
    const Barcode_Art art = textsOnly(Barcode_Picture(style, QStringLiteral("Thread 42"), QStringLiteral("Workers"), QString()));
    const QImage expected = draw(art, 300, true);
    QImage drawn[4];
    std::vector<std::thread> workers;
    for (QImage& image : drawn)
        workers.emplace_back([&] { image = draw(art, 300, false); });
    for (std::thread& worker : workers)
        worker.join();
    for (const QImage& image : drawn)
        EXPECT_LE(largestDifference(image, expected), 1);
}
