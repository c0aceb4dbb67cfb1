// The PDF417 encoder and its view: segmenting, compaction, sizing, error
// correction, and symbols read back by an independent decoder.
#include "support/SymbolTable.h"
#include "barcode/pdf417View.h"

#include "support/ScriptedHost.h"

#include <QBuffer>
#include <QPainter>
#include <gtest/gtest.h>

namespace {
std::vector<pdf417Segment> segmentsOf(const QByteArray& text)
{
    pdf417param p;
    pdf417init(&p);
    p.text = text.constData();
    p.lenText = int(text.size());
    return breakString(&p);
}

QString describe(const std::vector<pdf417Segment>& list)
{
    QString text;
    for (const pdf417Segment& s : list)
        text += QStringLiteral("%1%2 ").arg(QChar(s.type)).arg(s.end - s.start);
    return text.trimmed();
}

// Encodes a text with the view's settings and answers the record.
pdf417param encode(const QByteArray& text, int level = 2, int options = PDF417_USE_ERROR_LEVEL)
{
    pdf417param p;
    pdf417init(&p);
    p.text = text.constData();
    p.lenText = int(text.size());
    p.options = options;
    p.errorLevel = level;
    p.aspectRatio = 1.0f;
    paintCode(&p);
    p.text = nullptr;
    return p;
}

// The bit matrix as a picture: 2 pixels per module, 6 per row, bars black.
QImage pictureOf(const pdf417param& p)
{
    const int scale = 2, rowHeight = 6;
    QImage image(p.bitColumns * scale, p.codeRows * rowHeight, QImage::Format_RGB32);
    image.fill(Qt::white);
    const int rowBytes = p.lenBits / p.codeRows;
    const bool inverted = p.options & PDF417_INVERT_BITMAP;
    QPainter painter(&image);
    for (int y = 0; y < p.codeRows; ++y)
        for (int x = 0; x < p.bitColumns; ++x) {
            const bool bit = (p.outBits[size_t(y * rowBytes + x / 8)] >> (7 - x % 8)) & 1;
            if (bit != inverted)
                painter.fillRect(x * scale, y * rowHeight, scale, rowHeight, Qt::black);
        }
    return image;
}

// What a reader makes of text-compaction codewords: the four sub-modes with
// their latches and shifts; 900 starts over in upper case.
QByteArray textOfValues(const std::vector<int>& codewords)
{
    static const char mixed[] = "0123456789&\r\t,:#-.$/+%*=^";
    static const char punctuation[] = ";<>@[\\]_`~!\r\t,:\n-.$/\"|*()?{}'";
    enum { Alpha, Lower, Mixed, Punct } mode = Alpha;
    int shift = -1; // sub-mode of the next value only
    QByteArray text;
    for (int codeword : codewords) {
        if (codeword == 900) {
            mode = Alpha;
            shift = -1;
            continue;
        }
        for (int v : {codeword / 30, codeword % 30}) {
            const int current = shift >= 0 ? shift : mode;
            const bool shifted = shift >= 0;
            shift = -1;
            switch (current) {
            case Alpha:
                if (v < 26) text += char('A' + v);
                else if (v == 26) text += ' ';
                else if (v == 27) mode = Lower;
                else if (v == 28) mode = Mixed;
                else shift = Punct;
                break;
            case Lower:
                if (v < 26) text += char('a' + v);
                else if (v == 26) text += ' ';
                else if (v == 27) shift = Alpha;
                else if (v == 28) mode = Mixed;
                else shift = Punct;
                break;
            case Mixed:
                if (v < 25) text += mixed[v];
                else if (v == 25) mode = Punct;
                else if (v == 26) text += ' ';
                else if (v == 27) mode = Lower;
                else if (v == 28) mode = Alpha;
                else shift = Punct;
                break;
            default:
                if (v < 29) text += punctuation[v];
                else if (!shifted) mode = Alpha;
                break;
            }
        }
    }
    return text;
}
}

TEST(PDF417Encoder, SegmentsFollowTheDigitAndByteRules)
{
    EXPECT_EQ(describe(segmentsOf("12345678")), "N8");
    EXPECT_EQ(describe(segmentsOf("1234567")), "T7");
    EXPECT_EQ(describe(segmentsOf("ABC123456789012DEF")), "T18");
    EXPECT_EQ(describe(segmentsOf("ABC1234567890123DEF")), "T3 N13 T3");
    EXPECT_EQ(describe(segmentsOf("ABCDEF1234567890123")), "T6 N13");
    // One byte between texts joins them; a long text takes in a lone byte.
    EXPECT_EQ(describe(segmentsOf("AB\x01" "CD")), "T5");
    EXPECT_EQ(describe(segmentsOf("HELLO\x01\x02")), "T5 B2");
    // Bytes take in short texts.
    EXPECT_EQ(describe(segmentsOf("\x01\x02" "AB\x03")), "B5");

    const pdf417param eight = encode("12345678");
    EXPECT_EQ(eight.codewords[1], 902);
    const pdf417param seven = encode("1234567");
    EXPECT_NE(seven.codewords[1], 902);
}

TEST(PDF417Encoder, CompactionCodewords)
{
    EXPECT_EQ(encode("\x80\x81\x82\x83\x84\x85").codewords[1], 924);
    EXPECT_EQ(encode("\x80\x81\x82\x83\x84").codewords[1], 901);
    // Six bytes are one 48-bit number in five base-900 digits.
    const pdf417param six = encode("\x80\x81\x82\x83\x84\x85");
    const quint64 value = 0x808182838485ULL;
    quint64 check = 0;
    for (int k = 0; k < 5; ++k)
        check = check * 900 + quint64(six.codewords[2 + k]);
    EXPECT_EQ(check, value);
    // "ABC": values 0, 1, 2 and the pad value 29.
    const pdf417param abc = encode("ABC");
    EXPECT_EQ(abc.codewords[0], 3);
    EXPECT_EQ(abc.codewords[1], 1);
    EXPECT_EQ(abc.codewords[2], 2 * 30 + 29);
    // Numeric: "1" and the digits in base 900.
    const pdf417param digits = encode("00000000");
    EXPECT_EQ(digits.codewords[1], 902);
    EXPECT_EQ(digits.codewords[2] * 900 * 900 + digits.codewords[3] * 900 + digits.codewords[4], 100000000);
}

TEST(PDF417Encoder, ErrorCorrectionCoefficientsAndLevels)
{
    EXPECT_EQ(pdf417ErrorCoefficients(0), (std::vector<int>{27, 917}));
    EXPECT_EQ(pdf417ErrorCoefficients(1), (std::vector<int>{522, 568, 723, 809}));
    for (int level = 0; level <= 8; ++level)
        EXPECT_EQ(pdf417ErrorCoefficients(level).size(), size_t(2 << level));
    EXPECT_EQ(maxPossibleErrorLevel(928), 8);
    EXPECT_EQ(maxPossibleErrorLevel(511), 7);
    EXPECT_EQ(maxPossibleErrorLevel(3), 0);

    // The requested level shapes the rectangle; the symbol carries what fits.
    const pdf417param p = encode("PDF417", 2);
    ASSERT_EQ(p.error, 0);
    EXPECT_GE(p.errorLevel, 2);
    EXPECT_EQ(p.lenCodewords, p.codeRows * p.codeColumns);
    EXPECT_EQ(p.codewords[0] + (2 << p.errorLevel), p.lenCodewords);
}

TEST(PDF417Encoder, SizingAndLimits)
{
    // Aspect ratio 1 and row height 3: the column count of the sizing formula.
    const pdf417param p = encode("Sizing follows the aspect ratio of one.");
    const int total = p.codewords[0] + 8; // level 2
    const double b = 73.0 - 4.0;
    const int columns = int((-b + std::sqrt(b * b + 68.0 * total * 3.0)) / 34.0 + 0.5);
    EXPECT_EQ(p.codeColumns, std::clamp(columns, 1, 30));
    EXPECT_EQ(p.bitColumns, 17 * (p.codeColumns + 3) + 18);
    EXPECT_EQ(p.lenBits, ((p.bitColumns - 1) / 8 + 1) * p.codeRows);

    // A fixed rectangle past 928 codewords becomes the largest square.
    pdf417param big;
    pdf417init(&big);
    const QByteArray text(1000, 'x');
    big.text = text.constData();
    big.lenText = int(text.size());
    big.options = PDF417_FIXED_RECTANGLE | PDF417_USE_ERROR_LEVEL;
    big.codeColumns = 30;
    big.codeRows = 90;
    big.errorLevel = 8;
    paintCode(&big);
    ASSERT_EQ(big.error, 0);
    EXPECT_EQ(big.codeColumns, 29);
    EXPECT_EQ(big.codeRows, 32);
    EXPECT_EQ(big.errorLevel, 7); // what the square leaves room for

    EXPECT_EQ(encode(QByteArray(5421, 'a')).error, PDF417_ERROR_TEXT_TOO_BIG);
    EXPECT_EQ(encode(QByteArray(2000, '\x90')).error, PDF417_ERROR_TEXT_TOO_BIG);
    pdf417param raw;
    pdf417init(&raw);
    raw.options = PDF417_USE_RAW_CODEWORDS;
    raw.lenCodewords = 3;
    raw.codewords[0] = 2;
    paintCode(&raw);
    EXPECT_EQ(raw.error, PDF417_ERROR_INVALID_PARAMS);
}

namespace {
// A PDF417 symbol of the error correction level the designer stores, in a
// box wide enough for two pixels a module at every level.
template <int level>
void pdf(BarcodeStyle& style)
{
    style.pdf_ec_val = level;
    style.pdf_wdt_val = 600;
    style.pdf_hgt_val = 200;
}
}

// Every level, with text, numeric and byte compaction.
TEST(PDF417Decoding, EveryLevelAndCompactionReadsBack)
{
    const QByteArray text = "Gleamcard PDF417, text: mixed Case & punctuation!";
    const QByteArray digits = "1234567890123456789012345678901234567890123456789";
    const QByteArray bytes = "\x01\x02\xc3\xbe\xc3\xbf\xc2\x80 bytes \xc3\xa9\x10\x11";
    const QByteArray order = "Order 12345678901234 of 2024-06-01\r\n\tshipped";
    const QList<Symbol_Row> rows = {
        {"PDF417", QString::fromUtf8(text), text, {}, pdf<0>},
        {"PDF417", QString::fromUtf8(digits), digits, {}, pdf<1>},
        {"PDF417", QString::fromUtf8(bytes), bytes, {}, pdf<2>},
        {"PDF417", QString::fromUtf8(text), text, {}, pdf<3>},
        {"PDF417", QString::fromUtf8(digits), digits, {}, pdf<4>},
        {"PDF417", QString::fromUtf8(bytes), bytes, {}, pdf<5>},
        {"PDF417", QString::fromUtf8(order), order, {}, pdf<6>},
        {"PDF417", QString::fromUtf8(digits), digits, {}, pdf<7>},
        {"PDF417", QString::fromUtf8(bytes), bytes, {}, pdf<8>},
        {"PDF417", QString::fromUtf8(order), order, {}, pdf<0>},
        {"PDF417", QString::fromUtf8(order), order, {}, pdf<8>},
    };
    Expect_Symbol_Rows_Read(rows, {"PDF417", ZXingSearch::Pure});
}

// Every codeword value of every cluster, three times in a row so that a wrong
// pattern cannot be corrected away, at the lowest error level.
TEST(PDF417Decoding, EveryCodewordPatternOfEveryCluster)
{
    SymbolBatch batch;
    ASSERT_TRUE(batch.dir.isValid());
    const int columns = 28, rows = 30, total = columns * rows;
    for (int phase = 0; phase < 3; ++phase) {
        int value = 0;
        while (value < 900) {
            pdf417param p;
            pdf417init(&p);
            std::vector<int> data(size_t(columns * phase), 900); // moves the groups down by rows
            const int firstValue = value;
            while (value < 900 && int(data.size()) + 1 + 4 <= total - 2) {
                data.insert(data.end(), {value, value, value, 900});
                ++value;
            }
            data.resize(size_t(total - 3), 900);
            p.codewords[0] = int(data.size()) + 1;
            std::copy(data.begin(), data.end(), p.codewords + 1);
            p.lenCodewords = p.codewords[0];
            p.options = PDF417_USE_RAW_CODEWORDS | PDF417_FIXED_RECTANGLE | PDF417_USE_ERROR_LEVEL;
            p.codeColumns = columns;
            p.codeRows = rows;
            p.errorLevel = 0;
            paintCode(&p);
            ASSERT_EQ(p.error, 0);
            ASSERT_EQ(p.errorLevel, 0);
            ASSERT_TRUE(batch.add(pictureOf(p), textOfValues(data),
                                  QStringLiteral("phase %1 values %2 to %3").arg(phase).arg(firstValue).arg(value - 1)));
        }
    }
    Expect_All_Read(batch, Decode_With_ZXing(batch.paths, QStringLiteral("PDF417"), ZXingSearch::Pure),
                    "ZXingReader");
}

TEST(PDF417View, StatesImageSizeAndLevel)
{
    pdf417View view;
    EXPECT_EQ(view.imageState(), pdf417View::ImageEmpty);
    EXPECT_EQ(view.getErrorLevel(), 2);
    QImage grey(10, 10, QImage::Format_RGB32);
    {
        QPainter painter(&grey);
        view.setFrameSize(QSizeF(10, 10));
        view.drawRect(painter);
    }
    EXPECT_EQ(grey.pixel(5, 5), QColor(Qt::lightGray).rgb());

    view.setFrameSize(QSizeF(100, 20));
    EXPECT_EQ(view.drawWithText(QStringLiteral("PDF417 view"), 600), pdf417View::ImageReady);
    const QImage image = view.getImage();
    // The whole symbol stretched to 100 x 20 points at 600 dots per inch.
    EXPECT_EQ(image.width(), 834);
    EXPECT_EQ(image.height(), 167);
    EXPECT_EQ(image.dotsPerMeterX(), qRound(600 / 0.0254));

    EXPECT_EQ(view.drawWithText(QString()), pdf417View::ImageEmpty);
    EXPECT_EQ(view.drawWithText(QString(6000, QLatin1Char('a'))), pdf417View::ImageError);
    EXPECT_EQ(view.getImage(), image); // the previous image stays

    view.setErrorLevel(12);
    EXPECT_EQ(view.getErrorLevel(), 8);
}

TEST(PDF417View, ArchivingAndDragRoles)
{
    pdf417View view;
    view.setErrorLevel(5);
    view.toggleTargetState();
    ASSERT_EQ(view.drawWithText(QStringLiteral("archived"), 300), pdf417View::ImageReady);
    QByteArray data;
    {
        QDataStream out(&data, QIODevice::WriteOnly);
        view.encodeWithCoder(out);
    }
    pdf417View copy;
    QDataStream in(data);
    copy.initWithCoder(in);
    EXPECT_EQ(copy.getErrorLevel(), 5);
    EXPECT_TRUE(copy.getTargetState());
    EXPECT_FALSE(copy.getSourceState());
    EXPECT_EQ(copy.imageState(), pdf417View::ImageReady);
    EXPECT_EQ(copy.getImage().convertToFormat(QImage::Format_ARGB32),
              view.getImage().convertToFormat(QImage::Format_ARGB32));

    // As the program leaves it, the view takes no drops.
    pdf417View plain;
    EXPECT_FALSE(plain.draggingEntered(true, true));
    EXPECT_FALSE(plain.dragSessionInProgress());
    EXPECT_TRUE(copy.draggingEntered(true, true));
    EXPECT_TRUE(copy.dragSessionInProgress());
    copy.concludeDragOperation();
    EXPECT_FALSE(copy.dragSessionInProgress());

    ScriptedHost host;
    EXPECT_FALSE(copy.performDragOperation(nullptr));
    ASSERT_EQ(host.alerts.size(), 1);
    EXPECT_EQ(host.alerts[0].request.title, QStringLiteral("Paste"));
    EXPECT_EQ(host.alerts[0].request.text, QStringLiteral("Unable to perform drop operation."));
    const QString dropped = QStringLiteral("dropped");
    EXPECT_TRUE(copy.performDragOperation(&dropped));
}
