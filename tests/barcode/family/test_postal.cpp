#include "support/Rasterise.h"
#include "barcode/BarcodeImage.h"
#include "barcode/JapanPostBarcode.h"
#include "barcode/NKDPostnetBarcode.h"
#include "barcode/NKDRoyalMailBarcode.h"

#include <QPicture>
#include <cmath>
#include <cstring>
#include <gtest/gtest.h>

namespace {
constexpr float Mm = 72.0f / 25.4f; // points per millimetre

// POSTNET: each digit has two tall bars among five whose weights 7 4 2 1 0
// add up to the digit (0 is written as 11).
QString postnetTall(int digit)
{
    const int weights[] = {7, 4, 2, 1, 0};
    const int target = digit == 0 ? 11 : digit;
    for (int a = 0; a < 5; ++a)
        for (int b = a + 1; b < 5; ++b)
            if (weights[a] + weights[b] == target) {
                QString tall(5, '0');
                tall[a] = tall[b] = '1';
                return tall;
            }
    return QString();
}

// Royal Mail 4-state: T tracker, A ascender, D descender, F full bar.
const char Royal_Mail_Set[] = "0123456789ABCDEFGHIJKLMNOPQRSTUVWXYZ";
const char* const Royal_Mail_Bars[] = {
    "TTFF", "TDAF", "TDFA", "DTAF", "DTFA", "DDAA", "TADF", "TFTF", "TFDA", "DATF", "DADA", "DFTA",
    "TAFD", "TFAD", "TFFT", "DAAD", "DAFT", "DFAT", "ATDF", "ADTF", "ADDA", "FTTF", "FTDA", "FDTA",
    "ATFD", "ADAD", "ADFT", "FTAD", "FTFT", "FDAT", "AADD", "AFTD", "AFDT", "FATD", "FADT", "FFTT"};

// The check character: the row (1-6) and column (1-6) of every character in
// the table above, summed modulo 6 (0 counting as 6).
QChar royalMailCheck(const QString& text)
{
    int rows = 0, columns = 0;
    for (QChar c : text) {
        const int index = int(strchr(Royal_Mail_Set, c.toLatin1()) - Royal_Mail_Set);
        rows += index / 6 + 1;
        columns += index % 6 + 1;
    }
    const int row = (rows % 6 == 0 ? 6 : rows % 6) - 1, column = (columns % 6 == 0 ? 6 : columns % 6) - 1;
    return QLatin1Char(Royal_Mail_Set[row * 6 + column]);
}

// (bottom, top) of a Royal Mail bar in millimetres.
QPair<float, float> royalMailBar(char bar)
{
    const bool ascender = bar == 'A' || bar == 'F', descender = bar == 'D' || bar == 'F';
    return {descender ? 0.0f : 1.9f, ascender ? 5.05f : 3.15f};
}

// Japan Post: 1 long bar, 2 upper half, 3 lower half, 4 timing bar; the
// characters in check-value order, CC1 to CC8 held as : ; < = > ? . /
const char Japan_Post_Set[] = "0123456789-:;<=>?./";
const char* const Japan_Post_Bars[] = {"144", "114", "132", "312", "123", "141", "321", "213", "231", "411",
                                       "414", "324", "342", "234", "432", "243", "423", "441", "111"};

// (bottom, top) of a Japan Post bar in millimetres for a symbol of size 10.
QPair<float, float> japanPostBar(char bar)
{
    switch (bar) {
    case '1': return {0.0f, 3.6f};
    case '2': return {1.2f, 3.6f};
    case '3': return {0.0f, 2.4f};
    default: return {1.2f, 2.4f};
    }
}

// The bars (in table letters or digits) of a symbol, with the index of each bar's module.
QList<int> barIndexes(const QString& modules)
{
    QList<int> indexes;
    for (int i = 0; i < modules.size(); ++i)
        if (modules[i] == '1')
            indexes.append(i);
    return indexes;
}
}

TEST(Postal, PostnetBarByBar)
{
    auto model = New_Barcode<NKDPostnetBarcode>(QStringLiteral("12345"));
    EXPECT_EQ(model->checkDigit(), '5');
    EXPECT_TRUE(model->isContentValid());
    EXPECT_FLOAT_EQ(model->barWidth(), 1.08f);
    EXPECT_FLOAT_EQ(model->height(), 9.0f);
    const QString modules = model->completeBarcode();
    EXPECT_EQ(modules, QString("100").repeated(31) + "1");
    const QList<int> bars = barIndexes(modules);
    ASSERT_EQ(bars.size(), 32);
    QString tall = "1";
    for (QChar digit : QStringLiteral("123455"))
        tall += postnetTall(digit.unicode() - '0');
    tall += "1";
    for (int b = 0; b < bars.size(); ++b)
        EXPECT_FLOAT_EQ(model->barTop(bars[b]), tall[b] == '1' ? 9.0f : 3.6f) << "bar " << b;

    EXPECT_FALSE(New_Barcode<NKDPostnetBarcode>(QStringLiteral("1234"))->isContentValid());
    EXPECT_TRUE(New_Barcode<NKDPostnetBarcode>(QStringLiteral("123456789"))->isContentValid());
    EXPECT_TRUE(New_Barcode<NKDPostnetBarcode>(QStringLiteral("12345678901"))->isContentValid());
    EXPECT_FALSE(New_Barcode<NKDPostnetBarcode>(QStringLiteral("1234A"))->isContentValid());
    EXPECT_FALSE(New_Barcode<NKDPostnetBarcode>(QStringLiteral("1234567890"))->isContentValid());
}

TEST(Postal, PlanetSwapsTheHeightsBetweenTheFrameBars)
{
    const QString value = QStringLiteral("0123456789");
    auto planet = New_Barcode<NKDPlanetBarcode>(value + "1");
    EXPECT_TRUE(planet->isContentValid()); // PLANET keeps the POSTNET lengths
    const QList<int> bars = barIndexes(planet->completeBarcode());
    QString tall = "1";
    for (QChar digit : value + "1" + QChar(ushort(planet->checkDigit())))
        for (QChar t : postnetTall(digit.unicode() - '0'))
            tall += t == '1' ? '0' : '1';
    tall += "1";
    ASSERT_EQ(bars.size(), tall.size());
    for (int b = 0; b < bars.size(); ++b)
        EXPECT_FLOAT_EQ(planet->barTop(bars[b]), tall[b] == '1' ? 9.0f : 3.6f) << "bar " << b;
}

TEST(Postal, RoyalMailBarByBarWithItsCheckCharacter)
{
    auto zero = New_Barcode<NKDRoyalMailBarcode>(QStringLiteral("0"));
    EXPECT_EQ(zero->checkDigit(), '0');
    EXPECT_EQ(zero->completeBarcode(), QStringLiteral("10" "10101010" "10101010" "1"));
    EXPECT_TRUE(zero->printsCaption());
    EXPECT_FLOAT_EQ(zero->barWidth(), 0.5f * Mm);
    EXPECT_FLOAT_EQ(zero->height(), 5.05f * Mm);

    for (const QString& value : {QStringLiteral("0123456789ABCDEFGHIJKLMNOPQRSTUVWXYZ"), QStringLiteral("SN34RD1A"),
                                 QStringLiteral("LU178XE1A"), QStringLiteral("ZZZ")}) {
        SCOPED_TRACE(value.toStdString());
        auto model = New_Barcode<NKDRoyalMailBarcode>(value);
        EXPECT_TRUE(model->isContentValid());
        const QChar check = royalMailCheck(value);
        EXPECT_EQ(model->checkDigit(), check.toLatin1());
        QString expected = "A"; // start
        for (QChar c : value + check)
            expected += Royal_Mail_Bars[strchr(Royal_Mail_Set, c.toLatin1()) - Royal_Mail_Set];
        expected += "F"; // stop
        const QList<int> bars = barIndexes(model->completeBarcode());
        ASSERT_EQ(bars.size(), expected.size());
        for (int b = 0; b < bars.size(); ++b) {
            const auto [bottom, top] = royalMailBar(expected[b].toLatin1());
            EXPECT_NEAR(model->barBottom(bars[b]), bottom * Mm, 1e-4) << "bar " << b;
            EXPECT_NEAR(model->barTop(bars[b]), top * Mm, 1e-4) << "bar " << b;
        }
    }
    // Characters outside the table have no bars of their own.
    EXPECT_FALSE(New_Barcode<NKDRoyalMailBarcode>(QStringLiteral("sn34"))->isContentValid());
    EXPECT_FALSE(New_Barcode<NKDRoyalMailBarcode>(QStringLiteral("SN3 4"))->isContentValid());
}

TEST(Postal, JapanPostEncodingCheckCharacterAndBars)
{
    auto model = New_Barcode<JapanPostBarcode>(QStringLiteral("1234567"));
    EXPECT_EQ(model->japanpostContents(), QStringLiteral("1234567") + QString(13, '='));
    EXPECT_EQ(model->content(), QStringLiteral("1234567"));
    EXPECT_EQ(model->checkDigit(), '/');
    EXPECT_TRUE(model->isContentValid());
    EXPECT_EQ(model->completeBarcode().size(), 133);
    EXPECT_FLOAT_EQ(model->height(), 10.0f);
    EXPECT_FALSE(New_Barcode<JapanPostBarcode>(QStringLiteral("123-4567"))->isContentValid());
    EXPECT_FALSE(New_Barcode<JapanPostBarcode>(QStringLiteral("123456"))->isContentValid());

    // Letters become a control character and a digit; other characters are dropped.
    auto letters = New_Barcode<JapanPostBarcode>(QStringLiteral("1060071 3-2-1 bz"));
    EXPECT_EQ(letters->japanpostContents(), QStringLiteral("10600713-2-1:1<5===="));
    EXPECT_EQ(letters->content(), QStringLiteral("10600713-2-1BZ"));
    // 1+0+6+0+0+7+1+3+10+2+10+1+11+1+13+5+4*14 = 127; 127 mod 19 = 13; check 19 - 13 = 6.
    EXPECT_EQ(letters->checkDigit(), '6');

    // Fifteen letters: ten of them fit.
    auto many = New_Barcode<JapanPostBarcode>(QStringLiteral("ABCDEFGHIJKLMNO"));
    EXPECT_EQ(many->japanpostContents(), QStringLiteral(":0:1:2:3:4:5:6:7:8:9"));
    EXPECT_EQ(many->content(), QStringLiteral("ABCDEFGHIJ"));
    // A letter whose digit does not fit leaves no control character behind.
    auto split = New_Barcode<JapanPostBarcode>(QStringLiteral("1ABCDEFGHIJ"));
    EXPECT_EQ(split->japanpostContents(), QStringLiteral("1:0:1:2:3:4:5:6:7:8="));
    EXPECT_EQ(split->content(), QStringLiteral("1ABCDEFGHI"));

    for (const JapanPostBarcode* m : {model.get(), letters.get()}) {
        SCOPED_TRACE(m->content().toStdString());
        QString expected = "13";
        for (QChar c : m->japanpostContents() + QChar(ushort(m->checkDigit())))
            expected += Japan_Post_Bars[strchr(Japan_Post_Set, c.toLatin1()) - Japan_Post_Set];
        expected += "31";
        const QList<int> bars = barIndexes(m->completeBarcode());
        ASSERT_EQ(bars.size(), 67);
        ASSERT_EQ(expected.size(), 67);
        for (int b = 0; b < bars.size(); ++b) {
            const auto [bottom, top] = japanPostBar(expected[b].toLatin1());
            EXPECT_NEAR(m->barBottom(bars[b]), bottom * Mm, 1e-3) << "bar " << b;
            EXPECT_NEAR(m->barTop(bars[b]), top * Mm, 1e-3) << "bar " << b;
        }
    }
}

TEST(Postal, JapanPostSizeKeepsBarWidthAtASixth)
{
    auto model = New_Barcode<JapanPostBarcode>(QStringLiteral("1234567"));
    model->setHeight(20);
    EXPECT_FLOAT_EQ(model->height(), 11.5f);
    EXPECT_FLOAT_EQ(model->barWidth(), 1.9166667f);
    EXPECT_FLOAT_EQ(model->width(), 133 * 1.9166667f);
    model->setHeight(5);
    EXPECT_FLOAT_EQ(model->height(), 8.5f);
    model->setBarWidth(1.5f);
    EXPECT_FLOAT_EQ(model->height(), 9.0f);
    model->setBarWidth(3);
    EXPECT_FLOAT_EQ(model->barWidth(), 1.9166667f);
    // Long bars scale with the size: 3.6 mm at 10, 4.14 mm at 11.5.
    EXPECT_NEAR(model->barTop(0), 3.6f * 11.5f / 10 * Mm, 1e-3);
}

namespace {
// Draws a height-modulated model with invisible texts and known bands:
// bars start 29 points above the bottom edge (5 + 8 + 4 + 10 + 2).
struct PostalPicture {
    BarcodeStyle style;
    static constexpr qreal Scale = 10, Bar_Area_Bottom = 29;
    static constexpr int Margin = 20;
    PostalPicture()
    {
        style.TB_margin = 5;
        style.footer_margin = 4;
        style.value_margin = 2;
        style.header_margin = 3;
        style.barcode_val_clr_val = style.barcode_hdr_clr_val = style.barcode_ftr_clr_val = Qt::white;
    }
    void dress(NKDBarcode& model) const
    {
        model.setStyle(&style);
        model.setCaptionHeight(10 / 72.0f);
        model.setHeaderHeight(12 / 72.0f);
        model.setFooterHeight(8 / 72.0f);
    }
    // The drawn (bottom, top) of every bar in points above the bar area's bottom.
    QList<QPair<qreal, qreal>> drawnBars(const NKDBarcode& model, QImage* drawn = nullptr) const
    {
        const QImage image = Rasterise(imageFromBarcode(&model), Scale, Margin);
        const qreal height = model.drawingHeight();
        QList<QPair<qreal, qreal>> bars;
        for (int index : barIndexes(model.completeBarcode())) {
            const int column = Margin + int((index + 0.5) * model.barWidth() * Scale);
            const InkBox ink = Ink_In(image, QRect(column, 0, 1, image.height()));
            bars.append({height - (ink.bottom + 1 - Margin) / Scale - Bar_Area_Bottom,
                         height - (ink.top - Margin) / Scale - Bar_Area_Bottom});
        }
        if (drawn)
            *drawn = image;
        return bars;
    }
};
}

TEST(Postal, RoyalMailAndJapanPostBarsAreDrawnFromTheirOwnBottoms)
{
    PostalPicture setup;
    auto royal = New_Barcode<NKDRoyalMailBarcode>(QStringLiteral("SN34RD1A"));
    setup.dress(*royal);
    royal->setHeight(float(PostalPicture::Bar_Area_Bottom) + 5.05f * Mm + 3 + 12 + 5);
    const QList<int> royalBars = barIndexes(royal->completeBarcode());
    const auto drawnRoyal = setup.drawnBars(*royal);
    for (int b = 0; b < royalBars.size(); ++b) {
        EXPECT_NEAR(drawnRoyal[b].first, royal->barBottom(royalBars[b]), 0.15) << "bar " << b;
        EXPECT_NEAR(drawnRoyal[b].second, royal->barTop(royalBars[b]), 0.15) << "bar " << b;
    }

    auto japan = New_Barcode<JapanPostBarcode>(QStringLiteral("1060071 3-2-1 BZ"));
    setup.dress(*japan);
    const QList<int> japanBars = barIndexes(japan->completeBarcode());
    const auto drawnJapan = setup.drawnBars(*japan);
    for (int b = 0; b < japanBars.size(); ++b) {
        EXPECT_NEAR(drawnJapan[b].first, japan->barBottom(japanBars[b]), 0.15) << "bar " << b;
        EXPECT_NEAR(drawnJapan[b].second, japan->barTop(japanBars[b]), 0.15) << "bar " << b;
    }
}

TEST(Postal, PicturesAreNeverShorterThanTheirBars)
{
    PostalPicture setup;
    // Bands, margins and bars: 5 + 8 + 4 + 10 + 2 + bars + 3 + 12 + 5.
    for (float size : {8.5f, 10.0f, 11.5f}) {
        SCOPED_TRACE(size);
        auto japan = New_Barcode<JapanPostBarcode>(QStringLiteral("1234567"));
        setup.dress(*japan);
        japan->setHeight(size);
        const qreal bars = 3.6 * size / 10 * Mm;
        EXPECT_NEAR(japan->drawingHeight(), 49 + bars, 1e-3);
        QImage image;
        const auto drawn = setup.drawnBars(*japan, &image);
        EXPECT_NEAR(drawn[0].first, 0, 0.15); // the first bar is a long bar, drawn whole
        EXPECT_NEAR(drawn[0].second, bars, 0.15);
        // The picture is the drawing height rounded up to whole points.
        EXPECT_EQ(image.height(), std::ceil(49 + bars) * PostalPicture::Scale + 2 * PostalPicture::Margin);
    }

    auto royal = New_Barcode<NKDRoyalMailBarcode>(QStringLiteral("SN34RD1A"));
    setup.dress(*royal);
    royal->setHeight(20);
    EXPECT_NEAR(royal->drawingHeight(), 49 + 5.05 * Mm, 1e-3);
    EXPECT_NEAR(setup.drawnBars(*royal).last().second, 5.05 * Mm, 0.15); // the full stop bar
    royal->setHeight(100); // a taller picture keeps its height
    EXPECT_FLOAT_EQ(royal->drawingHeight(), 100);

    auto postnet = New_Barcode<NKDPostnetBarcode>(QStringLiteral("12345"));
    setup.dress(*postnet);
    postnet->setPrintsFooter(true);
    EXPECT_NEAR(postnet->drawingHeight(), 49 + 9 - 12 - 3, 1e-3); // no header
    EXPECT_NEAR(setup.drawnBars(*postnet).first().second, 9, 0.15);
}
