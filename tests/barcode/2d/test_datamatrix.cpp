// DataMatrix symbol images: sizes and encodations passed to the encoder, the
// EPS text of the module grid, the image sizes, the console report of a value
// that does not fit, and symbols read back by two independent decoders.
#include "support/SymbolTable.h"
#include <vector>
#include <thread>
#include <atomic>
#include "barcode/DataMatrixImage.h"
#include "platform/Log.h"

#include <QRegularExpression>
#include <QTemporaryFile>
#include <cstdio>
#include <gtest/gtest.h>
#include <unistd.h>

namespace {
// What the calling code writes to one of the standard streams while it runs.
class StreamCapture {
public:
    explicit StreamCapture(FILE* stream) : stream(stream), fd(fileno(stream))
    {
        file.open();
        std::fflush(stream);
        saved = dup(fd);
        dup2(file.handle(), fd);
    }
    QByteArray finish()
    {
        std::fflush(stream);
        dup2(saved, fd);
        close(saved);
        file.seek(0);
        return file.readAll();
    }

private:
    FILE* stream;
    int fd, saved = -1;
    QTemporaryFile file;
};

double pointsWide(const QImage& image)
{
    return image.width() * 72.0 / (image.dotsPerMeterX() * 0.0254);
}
}

TEST(DataMatrixImage, FormatItemsGiveColumnsAndRows)
{
    ASSERT_EQ(DataMatrix_Format_Items.size(), 31);
    ASSERT_EQ(DataMatrix_Encoding_Items.size(), 5);
    const DataMatrix_Size rect = DataMatrix_Size_Of_Format(QStringLiteral("C8X18"));
    EXPECT_EQ(rect.W, 18);
    EXPECT_EQ(rect.H, 8);
    EXPECT_EQ(DataMatrix_Size_Of_Format(QStringLiteral("C144X144")).W, 144);
    EXPECT_EQ(DataMatrix_Size_Of_Format(QStringLiteral("Auto")).W, 0);
    EXPECT_EQ(DataMatrix_Size_Of_Format(QStringLiteral("C20")).H, 0);
}

TEST(DataMatrixImage, EpsTextOfTheGrid)
{
    // An 18 x 8 grid, dark where x + y is even; row 0 is the bottom row.
    std::vector<unsigned char> grid(18 * 8);
    for (int y = 0; y < 8; ++y)
        for (int x = 0; x < 18; ++x)
            grid[size_t(y * 18 + x)] = (x + y) % 2 == 0;
    const QByteArray eps = makeEPS_Data_Matrix("123", 18, 8, grid.data());
    EXPECT_TRUE(eps.startsWith("%!PS-Adobe-3.0 EPSF-3.0\n%%Creator: IEC16022 barcode/stamp generator\n"
                               "%%BarcodeData: 123\n%%BarcodeSize: 18x8\n"));
    EXPECT_TRUE(eps.contains("%%BoundingBox: 0 0 20 10\n%%EndComments\n%%Page: 1 1\n18 8 1[1 0 0 1 -1 -1]{<\n"));
    EXPECT_TRUE(eps.endsWith("\n>}image\n"));
    const qsizetype start = eps.indexOf("{<\n") + 3;
    const QByteArray data = eps.mid(start, eps.size() - 9 - start);
    // Eight rows of 3 bytes and a space, 32 units: no break before the final one.
    EXPECT_EQ(data, QByteArray("55557F AAAABF ").repeated(4) + "\n");
    // Each row's partial byte ends in filler bits set after the inversion.
    const QImage picture = Image_From_DataMatrix_EPS(eps);
    ASSERT_EQ(picture.size(), QSize(20, 10));
    EXPECT_EQ(qAlpha(picture.pixel(0, 0)), 0); // the unpainted edge
    EXPECT_EQ(picture.pixel(1, 8), qRgb(0, 0, 0)); // cell (0, 0) at the bottom left
    EXPECT_EQ(picture.pixel(2, 8), qRgb(255, 255, 255));
    EXPECT_EQ(picture.pixel(1, 7), qRgb(255, 255, 255));

    // 144 columns: 18 bytes and a space per row, a line break after every fifth row.
    std::vector<unsigned char> big(144 * 144, 1);
    const QByteArray bigEps = makeEPS_Data_Matrix("x", 144, 144, big.data());
    const QList<QByteArray> lines = bigEps.mid(bigEps.indexOf("{<\n") + 3).split('\n');
    EXPECT_EQ(lines[0], QByteArray(QByteArray(36, '0') + ' ').repeated(5));
    EXPECT_EQ(lines[28], QByteArray(QByteArray(36, '0') + ' ').repeated(4));
    EXPECT_TRUE(Image_From_DataMatrix_EPS("not an eps").isNull());
}

TEST(DataMatrixImage, SizesAtTheOutputResolution)
{
    // Module 2 on a 10 x 10 symbol: 20 points, a bitmap of 100 pixels at 600 dpi.
    const QImage ten = Draw_DataMatrix_Barcode(QStringLiteral("123"), 1, 0, 2, 600);
    ASSERT_FALSE(ten.isNull());
    EXPECT_EQ(ten.size(), QSize(100, 100));
    EXPECT_NEAR(pointsWide(ten), 20.0, 0.01);
    // Auto picks the smallest symbol.
    EXPECT_EQ(Draw_DataMatrix_Barcode(QStringLiteral("123"), 0, 0, 1, 72).size(), QSize(12, 12));
    // "C8X18": 18 columns and 8 rows.
    const QImage rect = Draw_DataMatrix_Barcode(QStringLiteral("123"), 25, 0, 3, 72);
    EXPECT_EQ(rect.size(), QSize(20, 10));
    EXPECT_NEAR(pointsWide(rect), 54.0, 0.05);

    platform::LogSink previous = platform::setLogSink(nullptr);
    QStringList lines;
    platform::setLogSink([&](const QString& line) { lines << line; });
    EXPECT_EQ(Draw_DataMatrix_Barcode(QStringLiteral("123"), 99, 17, 0, 72).size(), QSize(12, 12));
    platform::setLogSink(previous);
    EXPECT_EQ(lines.size(), 3);
}

TEST(DataMatrixImage, ValueThatDoesNotFitIsReportedOnTheConsole)
{
    StreamCapture out(stdout), err(stderr);
    const QImage none = Draw_DataMatrix_Barcode(QStringLiteral("0123456789"), 1, 0, 2, 600);
    const QImage autoNone = Draw_DataMatrix_Barcode(QString(4000, QLatin1Char('9')), 0, 0, 2, 600);
    const QImage tooBig = Draw_DataMatrix_Barcode(QString(2000, QLatin1Char('x')), 0, 4, 2, 600);
    const QByteArray printed = out.finish();
    const QByteArray warned = err.finish();
    EXPECT_TRUE(none.isNull());
    EXPECT_TRUE(autoNone.isNull());
    EXPECT_TRUE(tooBig.isNull());
    EXPECT_TRUE(warned.contains("No barcode produced\n"));
    EXPECT_TRUE(printed.contains("Size    : 10x10\n"));
    EXPECT_TRUE(printed.contains("Barcode : 0123456789\n"));
    EXPECT_TRUE(printed.contains("Encoding: "));
    EXPECT_FALSE(printed.contains("(null)"));
    EXPECT_TRUE(QRegularExpression(QStringLiteral("Encoded : \\d+ of \\d+ bytes with \\d+ bytes of ecc\\n"))
                    .match(QString::fromLatin1(printed)).hasMatch());
}

namespace {
// A DataMatrix symbol of the format and encoding items the designer lists
// (0 automatic), three points a module.
template <int format, int encoding>
void dm(BarcodeStyle& style)
{
    style.dm_format_index = format;
    style.dm_encoding_index = encoding;
    style.dm_module_val = 3;
}
}

// Each encoding, square and rectangular formats, and values that look like
// the picture's own description; both readers.
TEST(DataMatrixDecoding, EncodationsAndSizesReadBack)
{
    const QString latin = QStringLiteral("Ascii: caf\u00e9 \u00fc\u00df");
    const QString accents = QStringLiteral("\u00e9\u00e9\u00e9\u00e9\u00e9"); // five characters, ten bytes
    const QByteArray sevens(300, '7');
    const QList<Symbol_Row> rows = {
        {"DataMatrix", "Gleamcard DataMatrix 2024", "Gleamcard DataMatrix 2024", "Gleamcard DataMatrix 2024", dm<0, 0>},
        {"DataMatrix", "PLAIN ASCII 0123", "PLAIN ASCII 0123", "PLAIN ASCII 0123", dm<0, 1>},
        {"DataMatrix", "C40 UPPER CASE 42", "C40 UPPER CASE 42", "C40 UPPER CASE 42", dm<0, 2>},
        {"DataMatrix", "text mode lower case", "text mode lower case", "text mode lower case", dm<0, 3>},
        {"DataMatrix", latin, latin.toUtf8(), latin.toUtf8(), dm<0, 1>},
        {"DataMatrix", accents, accents.toUtf8(), accents.toUtf8(), dm<0, 0>},
        {"DataMatrix", "123", "123", "123", dm<1, 0>},                                      // C10X10
        {"DataMatrix", "Sixteen by 16", "Sixteen by 16", "Sixteen by 16", dm<4, 1>},          // C16X16
        {"DataMatrix", "RECT 8X32", "RECT 8X32", "RECT 8X32", dm<26, 2>},                     // C8X32
        {"DataMatrix", "rectangle twelve x 36", "rectangle twelve x 36", "rectangle twelve x 36", dm<28, 3>}, // C12X36
        {"DataMatrix", "A fairly long value in a 32 by 32 symbol.", "A fairly long value in a 32 by 32 symbol.",
         "A fairly long value in a 32 by 32 symbol.", dm<10, 0>},
        {"DataMatrix", QString::fromLatin1(sevens), sevens, sevens, dm<16, 0>},               // C64X64
        {"DataMatrix", "ab>}image", "ab>}image", "ab>}image", dm<0, 1>},
        {"DataMatrix", "two\n%%BoundingBox: 0 0 5 5\nlines", "two\n%%BoundingBox: 0 0 5 5\nlines",
         "two\n%%BoundingBox: 0 0 5 5\nlines", dm<0, 1>},
    };
    Expect_Symbol_Rows_Read(rows, {"DataMatrix", ZXingSearch::Anywhere, "dmtxread", Decode_With_Dmtxread});
}

TEST(DataMatrixImage, SymbolsCanBeMadeOnSeveralThreadsAtOnce)
{
    const QImage reference = Draw_DataMatrix_Barcode(QStringLiteral("thread safe 123"), 0, 0, 2, 144);
    ASSERT_FALSE(reference.isNull());
    std::atomic<int> same{0};
    std::vector<std::thread> threads;
    for (int t = 0; t < 8; ++t)
        threads.emplace_back([&] {
            for (int i = 0; i < 25; ++i)
                if (Draw_DataMatrix_Barcode(QStringLiteral("thread safe 123"), 0, 0, 2, 144) == reference)
                    ++same;
        });
    for (std::thread& t : threads)
        t.join();
    EXPECT_EQ(same.load(), 200);
}
