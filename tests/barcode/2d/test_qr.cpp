// The QR Code encoder and its wrapper: segments, versions, format and
// version information, masks, the module image, and symbols read back by an
// independent decoder.
#include "support/SymbolTable.h"
#include "barcode/QREncoder.h"
#include "barcode/QR_Encode.h"

#include <gtest/gtest.h>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <random>

namespace {
std::unique_ptr<CQR_Encode> encoded(const QByteArray& text, int level = 1, int version = 0, bool extend = true,
                                    int mask = -1)
{
    auto encoder = std::make_unique<CQR_Encode>();
    if (!encoder->EncodeData(level, version, extend, mask, text.constData(), text.size()))
        return nullptr;
    return encoder;
}

QString segments(const CQR_Encode& e)
{
    QString text;
    for (qint64 b = 0; b < e.m_ncDataBlock; ++b)
        text += QStringLiteral("%1:%2 ").arg(int(e.m_byBlockMode[size_t(b)])).arg(e.m_nBlockLength[size_t(b)]);
    return text.trimmed();
}

// The first copy of the format information, bit 0 at (8, 0).
int formatBits(const CQR_Encode& e)
{
    const int at[15][2] = {{8, 0}, {8, 1}, {8, 2}, {8, 3}, {8, 4}, {8, 5}, {8, 7}, {8, 8},
                           {7, 8}, {5, 8}, {4, 8}, {3, 8}, {2, 8}, {1, 8}, {0, 8}};
    int bits = 0;
    for (int i = 0; i < 15; ++i)
        bits |= e.m_byModuleData[at[i][0]][at[i][1]] << i;
    return bits;
}

// The second copy, along row 8 on the right and column 8 at the bottom.
int formatBitsSecondCopy(const CQR_Encode& e)
{
    const int size = int(e.m_nSymbleSize);
    int bits = 0;
    for (int i = 0; i < 8; ++i)
        bits |= e.m_byModuleData[size - 1 - i][8] << i;
    for (int i = 8; i < 15; ++i)
        bits |= e.m_byModuleData[8][size - 15 + i] << i;
    return bits;
}

int versionBits(const CQR_Encode& e, bool lowerLeft)
{
    const int size = int(e.m_nSymbleSize);
    int bits = 0;
    for (int i = 0; i < 6; ++i)
        for (int j = 0; j < 3; ++j)
            bits |= (lowerLeft ? e.m_byModuleData[i][size - 11 + j] : e.m_byModuleData[size - 11 + j][i])
                    << (3 * i + j);
    return bits;
}

QImage symbolImage(const DataMatrix& matrix, int pixelsPerModule = 4)
{
    return QREncoder::renderModules(matrix, int(matrix.dimension()) * pixelsPerModule);
}
}

TEST(QREncoder, SegmentsAndVersions)
{
    auto digits = encoded("12345678", 1);
    ASSERT_TRUE(digits);
    EXPECT_EQ(digits->m_nVersion, 1);
    EXPECT_EQ(digits->m_nSymbleSize, 21);
    EXPECT_EQ(segments(*digits), "0:8");
    EXPECT_EQ(segments(*encoded("HELLO WORLD")), "1:11");
    EXPECT_EQ(segments(*encoded("hello world")), "2:11");
    // Two digits between capitals cost less inside the alphanumeric segment.
    EXPECT_EQ(segments(*encoded("ABC12DEF")), "1:8");
    // A long digit run stays numeric.
    EXPECT_EQ(segments(*encoded("AB123456789012CD")), "1:2 0:12 1:2");
    // Bytes from 0x80 up are 8-bit data, never Kanji.
    EXPECT_EQ(segments(*encoded("\x81\x40\xe0\x40")), "2:4");
    EXPECT_EQ(CQR_Encode::Get_Encoding_Mode("0123", 4), QR_MODE_NUMERAL);
    EXPECT_EQ(CQR_Encode::Get_Encoding_Mode("A1 B", 4), QR_MODE_ALPHABET);
    EXPECT_EQ(CQR_Encode::Get_Encoding_Mode("A1b", 3), QR_MODE_8BIT);
    EXPECT_EQ(CQR_Encode::Get_Encoding_Mode("", 0), QR_MODE_8BIT);

    EXPECT_EQ(encoded("12345678", 1, 5)->m_nVersion, 5);
    const QByteArray longText(100, 'a');
    EXPECT_EQ(encoded(longText, 1, 2, true)->m_nVersion, 6);
    EXPECT_FALSE(encoded(longText, 1, 2, false));
    EXPECT_FALSE(encoded("", 1));
    EXPECT_FALSE(encoded(QByteArray(3000, 'a'), 0));

    // What the whole stream needs decides the version: capitals then digits fit version 1.
    auto mixed = encoded("ABCDEFG12345678901234", 0);
    ASSERT_TRUE(mixed);
    EXPECT_EQ(mixed->m_nVersion, 1);
}

TEST(QREncoder, CapacitiesOfTheVersionTable)
{
    EXPECT_EQ(QR_Data_Bits(1, 0), 152);
    EXPECT_EQ(QR_Data_Bits(1, 3), 72);
    EXPECT_EQ(QR_Data_Bits(40, 0), 23648);
    EXPECT_EQ(QR_Data_Bits(40, 3), 10208);
    EXPECT_EQ(QREncoder::characterCapacity(0, 1, 0), 41);
    EXPECT_EQ(QREncoder::characterCapacity(1, 1, 0), 25);
    EXPECT_EQ(QREncoder::characterCapacity(2, 1, 0), 17);
    EXPECT_EQ(QREncoder::characterCapacity(0, 2, 0), 77);
    EXPECT_EQ(QREncoder::characterCapacity(2, 10, 1), 213);
    EXPECT_EQ(QREncoder::characterCapacity(2, 25, 2), 715);
    EXPECT_EQ(QREncoder::characterCapacity(0, 40, 0), 7089);
    EXPECT_EQ(QREncoder::characterCapacity(1, 40, 0), 4296);
    EXPECT_EQ(QREncoder::characterCapacity(2, 40, 0), 2953);
    EXPECT_EQ(QREncoder::characterCapacity(2, 40, 3), 1273);
    for (int v = 1; v <= 40; ++v) {
        const QR_VERSIONINFO& info = QR_VersonInfo(v);
        const int raw = (4 * v + 17) * (4 * v + 17);
        EXPECT_LT(info.ncAllCodeWord * 8, raw) << v;
        for (int level = 0; level < 4; ++level) {
            const auto& a = info.RS_BlockInfo1[level];
            const auto& b = info.RS_BlockInfo2[level];
            EXPECT_EQ(a.ncRSBlock * a.ncAllCodeWord + b.ncRSBlock * b.ncAllCodeWord, info.ncAllCodeWord) << v;
        }
    }
}

TEST(QREncoder, FormatAndVersionInformation)
{
    // Level M with mask 0: all data bits 0, so only the mask pattern shows.
    auto m0 = encoded("QR", 1, 1, false, 0);
    ASSERT_TRUE(m0);
    EXPECT_EQ(formatBits(*m0), 0x5412);
    EXPECT_EQ(formatBitsSecondCopy(*m0), 0x5412);
    auto l4 = encoded("QR", 0, 1, false, 4);
    EXPECT_EQ(formatBits(*l4), 0x662F); // L, mask 4
    EXPECT_EQ(m0->m_byModuleData[8][21 - 8], 1); // the dark module
    EXPECT_EQ(m0->m_byModuleData[0][0], 1);      // no quiet zone: the finder's corner

    auto v6 = encoded("QR", 1, 6);
    auto v7 = encoded("QR", 1, 7);
    auto v40 = encoded("QR", 1, 40);
    EXPECT_EQ(versionBits(*v7, false), 0x07C94);
    EXPECT_EQ(versionBits(*v7, true), 0x07C94);
    EXPECT_EQ(versionBits(*v40, false), 0x28C69);
    EXPECT_EQ(v6->m_nSymbleSize, 41);
}

// The mask penalty counted module by module, the plain way: runs of five or
// more of one colour, 2 x 2 blocks of one colour, finder-like 1011101 runs
// with light modules beside them and four light modules on one side, and
// the balance of dark and light. Modules outside the symbol read light.
namespace {
qint64 penaltyByModules(const CQR_Encode& e)
{
    const int n = int(e.m_nSymbleSize);
    auto dark = [&](int x, int y) { return x >= 0 && y >= 0 && x < n && y < n && (e.m_byModuleData[x][y] & 0x11); };
    qint64 penalty = 0;
    for (int line = 0; line < n; ++line)
        for (int vertical = 0; vertical < 2; ++vertical) {
            auto at = [&](int k) { return vertical ? dark(line, k) : dark(k, line); };
            for (int k = 0, run = 1; k < n; ++k, ++run)
                if (k == n - 1 || at(k) != at(k + 1)) {
                    if (run >= 5)
                        penalty += 3 + (run - 5);
                    run = 0;
                }
            for (int p = 0; p + 7 <= n; ++p) {
                const bool finder = at(p) && !at(p + 1) && at(p + 2) && at(p + 3) && at(p + 4) && !at(p + 5) && at(p + 6);
                if (!finder || at(p - 1) || at(p + 7))
                    continue;
                const bool lightBefore = !at(p - 4) && !at(p - 3) && !at(p - 2);
                const bool lightAfter = !at(p + 8) && !at(p + 9) && !at(p + 10);
                if (lightBefore || lightAfter)
                    penalty += 40;
            }
        }
    qint64 darkCount = 0;
    for (int x = 0; x < n; ++x)
        for (int y = 0; y < n; ++y) {
            darkCount += dark(x, y);
            if (x + 1 < n && y + 1 < n && dark(x, y) == dark(x + 1, y) && dark(x, y) == dark(x, y + 1) &&
                dark(x, y) == dark(x + 1, y + 1))
                penalty += 3;
        }
    const qint64 N = qint64(n) * n;
    return penalty + 10 * (std::abs(50 - 100 * (N - darkCount) / N) / 5);
}
}

TEST(QREncoder, MaskPenaltyByWordsEqualsTheCountByModules)
{
    std::mt19937 random(20261207);
    CQR_Encode e;
    // Random matrices of every size, sparse, even and dense, so long runs,
    // blocks and finder-like runs all occur, also across word boundaries.
    for (int version = 1; version <= 40; ++version)
        for (int density : {10, 50, 90}) {
            e.m_nSymbleSize = 4 * version + 17;
            for (int x = 0; x < e.m_nSymbleSize; ++x)
                for (int y = 0; y < e.m_nSymbleSize; ++y)
                    e.m_byModuleData[x][y] = int(random() % 100) < density;
            ASSERT_EQ(e.CountPenalty(), penaltyByModules(e)) << "size " << e.m_nSymbleSize << " density " << density;
        }
    // Finder-like runs placed against both edges and straddling the word boundaries.
    for (int at : {0, 57, 60, 64, 121, 128, 170}) {
        e.m_nSymbleSize = 177;
        std::memset(e.m_byModuleData, 0, sizeof e.m_byModuleData);
        for (int k = 0; k < 7; ++k)
            e.m_byModuleData[at + k][3] = e.m_byModuleData[5][at + k] = (0b1011101 >> (6 - k)) & 1;
        EXPECT_EQ(e.CountPenalty(), penaltyByModules(e)) << at;
    }

    // Real symbols: every mask of each is scored alike, and the chosen mask
    // is the first one of the lowest penalty.
    const QByteArray texts[] = {"MASK CHOICE", "https://example.org/card?id=42", "GC-000517", "12345678901234567890",
                                QByteArray(300, 'x'), QByteArray(2000, '7'), "GLEAMCARD member 000042, badge 42"};
    for (const QByteArray& text : texts)
        for (int level = 0; level < 4; ++level) {
            auto chosen = encoded(text, level);
            ASSERT_TRUE(chosen);
            qint64 best = -1;
            int bestMask = -1;
            for (int mask = 0; mask < 8; ++mask) {
                auto masked = encoded(text, level, 0, true, mask);
                const qint64 penalty = penaltyByModules(*masked);
                EXPECT_EQ(masked->CountPenalty(), penalty);
                if (best < 0 || penalty < best) {
                    best = penalty;
                    bestMask = mask;
                }
            }
            EXPECT_EQ(chosen->m_nMaskingNo, bestMask) << text.left(40).constData() << " level " << level;
        }
}

TEST(QRWrapper, CapacityVersionAndLevelChecks)
{
    EXPECT_EQ(QREncoder::encodeWithECLevel(0, 0, QString(41, QLatin1Char('7')))->dimension(), 21);
    // Automatic takes the version that holds the text.
    EXPECT_EQ(QREncoder::encodeWithECLevel(0, 0, QString(42, QLatin1Char('7')))->dimension(), 25);
    EXPECT_EQ(QREncoder::encodeWithECLevel(0, 0, QString(18, QLatin1Char('a')))->dimension(), 25);
    // A chosen version is kept and refuses what does not fit.
    EXPECT_EQ(QREncoder::encodeWithECLevel(0, 2, QString(77, QLatin1Char('7')))->dimension(), 25);
    EXPECT_FALSE(QREncoder::encodeWithECLevel(0, 2, QString(78, QLatin1Char('7'))));
    EXPECT_FALSE(QREncoder::encodeWithECLevel(0, 0, QString()));
    // Out-of-range stored values are clamped.
    EXPECT_EQ(QREncoder::encodeWithECLevel(9, 0, QStringLiteral("HI"))->dimension(), 21);
    EXPECT_EQ(QREncoder::encodeWithECLevel(0, 41, QStringLiteral("HI"))->dimension(), 177);

    auto grid = QREncoder::encodeWithECLevel(1, 0, QStringLiteral("GRID"));
    const QString description = grid->description();
    EXPECT_EQ(description.count(QLatin1Char('\n')), 21);
    EXPECT_TRUE(description.startsWith(QStringLiteral("1111111")));
}

TEST(QRWrapper, ModuleImageGeometry)
{
    auto v1 = QREncoder::encodeWithECLevel(0, 1, QStringLiteral("A"));
    auto v2 = QREncoder::encodeWithECLevel(0, 2, QStringLiteral("A"));
    auto inkColumns = [](const QImage& image) {
        int first = -1, last = -1;
        for (int x = 0; x < image.width(); ++x)
            if (qAlpha(image.pixel(x, image.height() / 2)) != 0) {
                if (first < 0)
                    first = x;
                last = x;
            }
        return std::pair(first, image.width() - 1 - last);
    };
    const QImage a = QREncoder::renderModules(*v1, 60);
    EXPECT_EQ(a.size(), QSize(60, 60));
    EXPECT_EQ(inkColumns(a), std::pair(9, 9));
    EXPECT_EQ(inkColumns(QREncoder::renderModules(*v2, 60)), std::pair(5, 5));
    EXPECT_EQ(inkColumns(QREncoder::renderModules(*v2, 61)), std::pair(5, 6));
    for (int y = 0; y < a.height(); ++y)
        for (int x = 0; x < a.width(); ++x) {
            const QRgb p = a.pixel(x, y);
            ASSERT_TRUE(p == qRgba(255, 255, 255, 0) || p == qRgba(0, 0, 0, 255) || p == qRgba(255, 255, 255, 255));
        }
    // Smaller than the symbol: one pixel per module, never scale 0.
    EXPECT_EQ(QREncoder::renderModules(*v2, 10).size(), QSize(25, 25));
    // At the output resolution the point size stays: 60 points at 600 dpi.
    const QImage raised = QREncoder::renderDataMatrix(v1.get(), 60, 600);
    EXPECT_EQ(raised.size(), QSize(500, 500));
    EXPECT_TRUE(QREncoder::renderDataMatrix(nullptr, 60, 600).isNull());
    EXPECT_TRUE(QREncoder::renderDataMatrix(v1.get(), 100000, 600).isNull());
}

namespace {
// A QR Code of the version (0 automatic) and level (0-3: L, M, Q, H) the
// designer's lists give, in a box large enough for four pixels a module.
template <int version, int level>
void qr(BarcodeStyle& style)
{
    style.qr_version_index = version;
    style.qr_ec_index = level;
    style.qr_size_val = version > 20 ? 240 : 120;
}
}

// Every level, small and large versions, and each encoding mode.
TEST(QRDecoding, VersionsLevelsAndModes)
{
    const QByteArray utf8 = "Gleamcard: cards, badges & invitations \xe2\x80\x94 caf\xc3\xa9";
    const QByteArray order = "ORDER 12345678901234567890 for Ms. Smith, Room 12b";
    const QList<Symbol_Row> rows = {
        {"QR Code", "31415926535897932384626433832795", "31415926535897932384626433832795", {}, qr<1, 0>},
        {"QR Code", "GLEAMCARD", "GLEAMCARD", {}, qr<1, 3>},
        {"QR Code", "GLEAMCARD QR $%*+-./: 2024", "GLEAMCARD QR $%*+-./: 2024", {}, qr<2, 1>},
        {"QR Code", "Gleamcard 2024", "Gleamcard 2024", {}, qr<2, 2>},
        {"QR Code", QString::fromUtf8(utf8), utf8, {}, qr<7, 3>},
        {"QR Code", QString::fromLatin1(order), order, {}, qr<10, 2>},
        {"QR Code", QString::fromLatin1(order).repeated(6), order.repeated(6), {}, qr<25, 0>},
        {"QR Code", QString::fromUtf8(utf8).repeated(9), utf8.repeated(9), {}, qr<40, 3>},
        {"QR Code", QStringLiteral("Card 0042 \u00e9"), QStringLiteral("Card 0042 \u00e9").toUtf8(), {}, qr<0, 1>},
    };
    Expect_Symbol_Rows_Read(rows, {"QRCode", ZXingSearch::Pure});
}

// A mask forced on the encoder: each of the eight reads back.
TEST(QRDecoding, EveryMaskReadsBack)
{
    SymbolBatch batch;
    ASSERT_TRUE(batch.dir.isValid());
    for (int mask = 0; mask < 8; ++mask) {
        const QByteArray text = "Mask " + QByteArray::number(mask) + " forced";
        auto encoder = encoded(text, 1, 3, false, mask);
        ASSERT_TRUE(encoder);
        DataMatrix grid(encoder->m_nSymbleSize);
        for (int x = 0; x < encoder->m_nSymbleSize; ++x)
            for (int y = 0; y < encoder->m_nSymbleSize; ++y)
                grid.set(qint8(encoder->m_byModuleData[x][y]), x, y);
        ASSERT_TRUE(batch.add(symbolImage(grid), text, QStringLiteral("mask %1").arg(mask), 16));
    }
    Expect_All_Read(batch, Decode_With_ZXing(batch.paths, QStringLiteral("QRCode"), ZXingSearch::Pure),
                    "ZXingReader");
}
