#include "platform/PropertyList.h"

#include <QDateTime>
#include <QDebug>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QPoint>
#include <QSize>
#include <QTemporaryDir>
#include <QTimeZone>
#include <cmath>
#include <gtest/gtest.h>
#include <limits>
#include <random>

using platform::PlistFormat;
using platform::plistParse;
using platform::plistReadFile;
using platform::plistSerialize;
using platform::plistWriteFile;

namespace {

std::string text(const QVariant& value)
{
    QString out;
    QDebug(&out) << value;
    return out.toStdString();
}

::testing::AssertionResult same(const QVariant& expected, const QVariant& actual)
{
    if (expected == actual)
        return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure() << "expected " << text(expected) << "\n  actual " << text(actual);
}

// Parses and reports the error text, so a failing test shows why.
std::optional<QVariant> parse(const QByteArray& bytes, QString* error = nullptr)
{
    QString problem;
    auto result = plistParse(bytes, &problem);
    if (error)
        *error = problem;
    EXPECT_EQ(result.has_value(), problem.isEmpty()) << problem.toStdString();
    return result;
}

QVariant roundTrip(const QVariant& value, PlistFormat format)
{
    QString error;
    const QByteArray bytes = plistSerialize(value, format, &error);
    EXPECT_FALSE(bytes.isEmpty()) << error.toStdString();
    const auto back = parse(bytes);
    EXPECT_TRUE(back.has_value());
    return back.value_or(QVariant());
}

QDateTime utc(int y, int mo, int d, int h, int mi, int s, int ms = 0)
{
    return QDateTime(QDate(y, mo, d), QTime(h, mi, s, ms), QTimeZone::utc());
}

QVariant nestedArrays(int levels)
{
    QVariant value = QStringLiteral("bottom");
    for (int i = 0; i < levels; ++i)
        value = QVariantList{value};
    return value;
}

// A tree with every kind of value, for the truncation and damage tests.
QVariant sampleTree()
{
    return QVariantMap{
        {QStringLiteral("name"), QStringLiteral("Gleamcard 😀 &<>")},
        {QStringLiteral("count"), qint64(-5)},
        {QStringLiteral("big"), std::numeric_limits<qint64>::max()},
        {QStringLiteral("ratio"), 0.1},
        {QStringLiteral("on"), true},
        {QStringLiteral("blob"), QByteArray("a\0b\0c", 5)},
        {QStringLiteral("when"), utc(2020, 5, 17, 8, 30, 0)},
        {QStringLiteral("items"), QVariantList{QVariantMap{}, QVariantList{}, 300, QStringLiteral("é")}},
    };
}

// ---- Hand-built binary property lists ----

QByteArray bigEndian(quint64 value, int width)
{
    QByteArray out(width, '\0');
    for (int i = width - 1; i >= 0; --i, value >>= 8)
        out[i] = char(value & 0xFF);
    return out;
}

// "bplist00", the encoded objects, their offset table and the trailer.
QByteArray bplist(const QList<QByteArray>& objects, int refWidth = 1, quint64 top = 0)
{
    QByteArray out("bplist00");
    QList<quint64> offsets;
    for (const QByteArray& object : objects) {
        offsets.append(out.size());
        out += object;
    }
    const quint64 table = out.size();
    const int offsetWidth = table < 0x100 ? 1 : table < 0x10000 ? 2 : 4;
    for (quint64 offset : offsets)
        out += bigEndian(offset, offsetWidth);
    out += QByteArray(6, '\0') + char(offsetWidth) + char(refWidth);
    out += bigEndian(objects.size(), 8) + bigEndian(top, 8) + bigEndian(table, 8);
    return out;
}

QByteArray bytes(std::initializer_list<int> values)
{
    QByteArray out;
    for (int v : values)
        out += char(v);
    return out;
}

const char* kXmlHead = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
                       "<!DOCTYPE plist PUBLIC \"-//Apple//DTD PLIST 1.0//EN\" "
                       "\"http://www.apple.com/DTDs/PropertyList-1.0.dtd\">\n";

QByteArray xmlPlist(const char* body)
{
    return QByteArray(kXmlHead) + "<plist version=\"1.0\">" + body + "</plist>\n";
}

} // namespace

// ---- Round trips, in both formats ----

class PropertyListRoundTrip : public ::testing::TestWithParam<PlistFormat> {};

INSTANTIATE_TEST_SUITE_P(PropertyList, PropertyListRoundTrip,
                         ::testing::Values(PlistFormat::Xml, PlistFormat::Binary),
                         [](const auto& info) { return info.param == PlistFormat::Xml ? "Xml" : "Binary"; });

TEST_P(PropertyListRoundTrip, IntegersKeepSignAndComeBackAs64Bit)
{
    constexpr qint64 lo = std::numeric_limits<qint64>::min();
    constexpr qint64 hi = std::numeric_limits<qint64>::max();
    const QList<qint64> values = {0, 1, -1, -5, 127, 128, 255, 256, -129, 65535, 65536,
                                  std::numeric_limits<qint32>::min(), std::numeric_limits<qint32>::max(),
                                  4294967295LL, 1LL << 40, lo + 1, lo, hi};
    for (qint64 v : values) {
        const QVariant back = roundTrip(v, GetParam());
        EXPECT_EQ(back.typeId(), QMetaType::LongLong) << v;
        EXPECT_EQ(back.toLongLong(), v);
    }
    // Narrower and unsigned integral types are integers too.
    EXPECT_EQ(roundTrip(QVariant::fromValue<short>(-3), GetParam()).toLongLong(), -3);
    EXPECT_EQ(roundTrip(QVariant::fromValue<uchar>(200), GetParam()).toLongLong(), 200);
    EXPECT_EQ(roundTrip(4000000000u, GetParam()).toLongLong(), 4000000000LL);
    EXPECT_EQ(roundTrip(quint64(hi), GetParam()).toLongLong(), hi);
}

TEST_P(PropertyListRoundTrip, RealsComeBackBitForBit)
{
    const QList<double> values = {1.5, 0.1, 1e300, -2.5e-300, 1.0 / 3.0, 123456789.125,
                                  std::numeric_limits<double>::max(), std::numeric_limits<double>::denorm_min(),
                                  std::numeric_limits<double>::infinity(), -std::numeric_limits<double>::infinity()};
    for (double v : values) {
        const QVariant back = roundTrip(v, GetParam());
        EXPECT_EQ(back.typeId(), QMetaType::Double);
        EXPECT_EQ(back.toDouble(), v);
    }
    // libplist writes negative zero to XML as 0.0.
    const double negativeZero = roundTrip(-0.0, GetParam()).toDouble();
    EXPECT_EQ(negativeZero, 0.0);
    EXPECT_EQ(std::signbit(negativeZero), GetParam() == PlistFormat::Binary);
    EXPECT_TRUE(std::isnan(roundTrip(std::nan(""), GetParam()).toDouble()));
    EXPECT_EQ(roundTrip(1.25f, GetParam()).toDouble(), 1.25);
}

TEST_P(PropertyListRoundTrip, StringsAndKeysKeepEveryCharacter)
{
    const QStringList values = {
        QString(), QStringLiteral("plain"), QStringLiteral("ünïcödé 日本語 Ελληνικά"),
        QStringLiteral("emoji 😀👍🏽 and 𝄞"), QStringLiteral("&<>\"' &amp; &#65; <![CDATA[x]]>"),
        QStringLiteral("line\nbreaks\r\nand\rreturns\tand tabs"), QStringLiteral("  padded  "),
        QStringLiteral("\uFEFFstarts with a byte order mark"), QString(5000, QChar(u'x'))};
    QVariantMap keyed;
    for (const QString& s : values) {
        EXPECT_TRUE(same(s, roundTrip(s, GetParam())));
        keyed.insert(s, s.size());
    }
    EXPECT_TRUE(same(keyed, roundTrip(keyed, GetParam())));
}

TEST_P(PropertyListRoundTrip, DataKeepsEveryByte)
{
    QByteArray all;
    for (int i = 0; i < 256; ++i)
        all += char(i);
    const QList<QByteArray> values = {QByteArray(), QByteArray(1, '\0'), QByteArray("a\0b\0\0c", 6), all,
                                      all.repeated(400)};
    for (const QByteArray& v : values)
        EXPECT_TRUE(same(v, roundTrip(v, GetParam())));
}

TEST_P(PropertyListRoundTrip, NestedContainersAndEmptyOnes)
{
    const QVariant tree = QVariantMap{
        {QStringLiteral("empty array"), QVariantList{}},
        {QStringLiteral("empty dict"), QVariantMap{}},
        {QStringLiteral("twins"), QVariantList{QVariantList{}, QVariantList{}, QVariantMap{}, QVariantMap{},
                                               QVariantList{1, 2}, QVariantList{1, 2}}},
        {QStringLiteral("deep"),
         QVariantList{QVariantMap{{QStringLiteral("a"),
                                   QVariantList{QVariantMap{{QStringLiteral("b"),
                                                             QVariantList{QVariantMap{{QStringLiteral("c"),
                                                                                       QVariantList{true, false}}}}}}}}}}},
        {QStringLiteral("repeated"), QVariantList{QStringLiteral("same"), QStringLiteral("same"), 7, 7, 7}},
    };
    EXPECT_TRUE(same(tree, roundTrip(tree, GetParam())));
    // A QStringList is written as an array and read back as a QVariantList.
    const QVariant back = roundTrip(QStringList{QStringLiteral("a"), QStringLiteral("b")}, GetParam());
    EXPECT_TRUE(same(QVariantList{QStringLiteral("a"), QStringLiteral("b")}, back));
}

TEST_P(PropertyListRoundTrip, NestingUpToTheLimit)
{
    EXPECT_TRUE(same(nestedArrays(platform::plistMaxDepth), roundTrip(nestedArrays(platform::plistMaxDepth), GetParam())));
    QString error;
    EXPECT_TRUE(plistSerialize(nestedArrays(platform::plistMaxDepth + 1), GetParam(), &error).isEmpty());
    EXPECT_TRUE(error.contains(QStringLiteral("nested deeper"))) << error.toStdString();
}

TEST_P(PropertyListRoundTrip, DatesInWholeSeconds)
{
    const QList<QDateTime> values = {utc(2001, 1, 1, 0, 0, 0), utc(2024, 2, 29, 12, 34, 56),
                                     utc(2000, 12, 31, 23, 59, 59), utc(1950, 6, 1, 6, 0, 1),
                                     utc(1932, 12, 13, 20, 45, 52), utc(2069, 1, 19, 3, 14, 7)};
    for (const QDateTime& v : values) {
        const QVariant back = roundTrip(v, GetParam());
        EXPECT_EQ(back.typeId(), QMetaType::QDateTime);
        EXPECT_EQ(back.toDateTime(), v) << back.toDateTime().toString(Qt::ISODateWithMs).toStdString();
        EXPECT_EQ(back.toDateTime().timeSpec(), Qt::UTC);
    }
    // A date given in another zone is the same instant.
    const QDateTime twoHoursAhead(QDate(2023, 7, 1), QTime(14, 0), QTimeZone(2 * 3600));
    EXPECT_EQ(roundTrip(twoHoursAhead, GetParam()).toDateTime(), utc(2023, 7, 1, 12, 0, 0));
}

TEST(PropertyListDates, BinaryKeepsMillisecondsAndXmlRoundsDown)
{
    for (const QDateTime& v : {utc(2024, 2, 29, 12, 34, 56, 789), utc(1999, 6, 15, 12, 34, 56, 789)}) {
        EXPECT_EQ(roundTrip(v, PlistFormat::Binary).toDateTime(), v);
        EXPECT_EQ(roundTrip(v, PlistFormat::Xml).toDateTime(), v.addMSecs(-789));
    }
}

// ---- Values that cannot be written ----

TEST(PropertyListSerialize, RefusesWhatAPropertyListCannotHold)
{
    const QList<std::pair<QVariant, QString>> cases = {
        {QVariant(), QStringLiteral("/: cannot store")},
        {QPoint(1, 2), QStringLiteral("QPoint")},
        {QVariantHash{{QStringLiteral("a"), 1}}, QStringLiteral("QVariantHash")},
        {std::numeric_limits<quint64>::max(), QStringLiteral("signed 64-bit")},
        {QString(QStringLiteral("a%1b")).arg(QChar(0)), QStringLiteral("NUL")},
        {QVariantMap{{QStringLiteral("k") + QChar(0), 1}}, QStringLiteral("key contains a NUL")},
        {QString(QChar(0xD800)), QStringLiteral("UTF-16")},
        {QDateTime(), QStringLiteral("invalid date")},
        {utc(1900, 1, 1, 0, 0, 0), QStringLiteral("outside")},
        {utc(2100, 1, 1, 0, 0, 0), QStringLiteral("outside")},
        {QVariantMap{{QStringLiteral("cards"),
                      QVariantList{1, 2, QVariantMap{{QStringLiteral("size"), QSize(3, 4)}}}}},
         QStringLiteral("/cards/2/size: cannot store a value of type QSize")},
    };
    for (PlistFormat format : {PlistFormat::Xml, PlistFormat::Binary}) {
        for (const auto& [value, expected] : cases) {
            QString error;
            EXPECT_TRUE(plistSerialize(value, format, &error).isEmpty()) << text(value);
            EXPECT_TRUE(error.contains(expected)) << error.toStdString();
        }
    }
}

TEST(PropertyListSerialize, ControlCharactersOnlyInBinary)
{
    const QString controls = QStringLiteral("bell \a escape \x1b");
    QString error;
    EXPECT_TRUE(plistSerialize(controls, PlistFormat::Xml, &error).isEmpty());
    EXPECT_TRUE(error.contains(QStringLiteral("U+0007"))) << error.toStdString();
    EXPECT_TRUE(same(controls, roundTrip(controls, PlistFormat::Binary)));
}

// ---- XML ----

TEST(PropertyListXml, WritesTheStandardForm)
{
    const QByteArray xml = plistSerialize(
        QVariantList{qint64(-5), std::numeric_limits<qint64>::min() + 1, QStringLiteral("a&b\r\n")}, PlistFormat::Xml);
    EXPECT_TRUE(xml.startsWith("<?xml")) << xml.constData();
    EXPECT_TRUE(xml.contains("<plist version=\"1.0\">"));
    // Other readers expect signed decimal integers, and XML turns a raw
    // carriage return into a line feed.
    EXPECT_TRUE(xml.contains("<integer>-5</integer>")) << xml.constData();
    EXPECT_TRUE(xml.contains("<integer>-9223372036854775807</integer>"));
    EXPECT_TRUE(xml.contains("<string>a&amp;b&#13;\n</string>")) << xml.constData();
}

TEST(PropertyListXml, ReadsWhatOtherProgramsWrite)
{
    const QByteArray xml = xmlPlist(R"(
<!-- written by hand -->
<dict>
  <key>entities</key><string>a &amp; b &lt;c&gt; &quot;q&quot; &apos;s&apos; &#65;&#x1F600;</string>
  <key>cdata</key><string><![CDATA[x < y && z]]></string>
  <key>empty</key><string/>
  <key>a&amp;b</key><true/>
  <key></key><false></false>
  <key>int</key><integer> -42 </integer>
  <key>plus</key><integer>+7</integer>
  <key>real</key><real>2.5E-3</real>
  <key>whole</key><real>3</real>
  <key>inf</key><real>+infinity</real>
  <key>data</key><data>
      YQBi
      AGM=
  </data>
  <key>date</key><date>2011-03-04T05:06:07Z</date>
  <key>list</key><array><integer>1</integer><!-- between --><dict/><array/></array>
</dict>)");
    const auto value = parse(xml);
    ASSERT_TRUE(value.has_value());
    const QVariantMap expected = {
        {QStringLiteral("entities"), QStringLiteral("a & b <c> \"q\" 's' A😀")},
        {QStringLiteral("cdata"), QStringLiteral("x < y && z")},
        {QStringLiteral("empty"), QString()},
        {QStringLiteral("a&b"), true},
        {QString(), false},
        {QStringLiteral("int"), -42},
        {QStringLiteral("plus"), 7},
        {QStringLiteral("real"), 2.5e-3},
        {QStringLiteral("whole"), 3.0},
        {QStringLiteral("inf"), std::numeric_limits<double>::infinity()},
        {QStringLiteral("data"), QByteArray("a\0b\0c", 5)},
        {QStringLiteral("date"), utc(2011, 3, 4, 5, 6, 7)},
        {QStringLiteral("list"), QVariantList{1, QVariantMap{}, QVariantList{}}},
    };
    EXPECT_TRUE(same(expected, *value));
}

TEST(PropertyListXml, DictionaryKeepsAllKeys)
{
    QByteArray body = "<dict>";
    QVariantMap expected;
    for (int i = 0; i < 300; ++i) {
        body += QStringLiteral("<key>key %1 &amp; ü</key><integer>%1</integer>").arg(i).toUtf8();
        expected.insert(QStringLiteral("key %1 & ü").arg(i), i);
    }
    body += "</dict>";
    const auto value = parse(xmlPlist(body.constData()));
    ASSERT_TRUE(value.has_value());
    EXPECT_EQ(value->toMap().size(), 300);
    EXPECT_TRUE(same(expected, *value));
}

TEST(PropertyListXml, RejectsMalformedDocuments)
{
    const QList<std::pair<QByteArray, QString>> cases = {
        {"<html><body>hi</body></html>", QStringLiteral("root element is <html>")},
        {"<?xml version=\"1.0\"?><root/>", QStringLiteral("root element is <root>")},
        {"hello", QString()},
        {"<plist", QString()},
        {QByteArray("\xff\xfe\x00garbage", 10), QString()},
        {xmlPlist(""), QStringLiteral("holds no value")},
        {xmlPlist("<string>a</string><string>b</string>"), QStringLiteral("more than one value")},
        {xmlPlist("<integer>abc</integer>"), QStringLiteral("<integer> holds \"abc\"")},
        {xmlPlist("<integer></integer>"), QStringLiteral("<integer> holds \"\"")},
        {xmlPlist("<integer>1.5</integer>"), QStringLiteral("<integer>")},
        {xmlPlist("<integer>0x10</integer>"), QStringLiteral("<integer>")},
        {xmlPlist("<integer>9223372036854775808</integer>"), QStringLiteral("<integer>")},
        {xmlPlist("<real>abc</real>"), QStringLiteral("<real>")},
        {xmlPlist("<real>1,5</real>"), QStringLiteral("<real>")},
        {xmlPlist("<date>garbage</date>"), QStringLiteral("<date>")},
        {xmlPlist("<date>2020-01-02T03:04:05</date>"), QStringLiteral("<date>")},
        {xmlPlist("<data>@@@@</data>"), QStringLiteral("<data>")},
        {xmlPlist("<true>yes</true>"), QStringLiteral("<true>")},
        {xmlPlist("<dict><key>a</key></dict>"), QStringLiteral("key \"a\" has no value")},
        {xmlPlist("<dict><string>x</string></dict>"), QStringLiteral("<string> where a <key> belongs")},
        {xmlPlist("<dict><key>a</key><true/><key>a</key><false/></dict>"), QStringLiteral("appears twice")},
        {xmlPlist("<array><key>k</key></array>"), QStringLiteral("<key> is not a property list value")},
        {xmlPlist("<foo>1</foo>"), QStringLiteral("<foo> is not")},
        {xmlPlist("<string>a<b/>c</string>"), QStringLiteral("<b> inside a text element")},
        {xmlPlist("<array>junk<true/></array>"), QStringLiteral("unexpected text \"junk\"")},
        {xmlPlist("<string>&undefined;</string>"), QStringLiteral("unresolved entity &undefined;")},
        {xmlPlist("<string>x</string>") + "<extra/>", QStringLiteral("Extra content")},
        {QByteArray(kXmlHead) + "<plist><array><string>x</string>", QStringLiteral("Premature end")},
        {xmlPlist("<array><string>x</string>"), QStringLiteral("tag mismatch")},
    };
    for (const auto& [xml, expected] : cases) {
        QString error;
        EXPECT_FALSE(parse(xml, &error).has_value()) << xml.toStdString();
        EXPECT_TRUE(error.startsWith(QStringLiteral("XML property list, line "))) << error.toStdString();
        EXPECT_TRUE(error.contains(expected)) << error.toStdString();
    }
}

TEST(PropertyListXml, TruncatedAtEveryLength)
{
    const QByteArray xml = plistSerialize(sampleTree(), PlistFormat::Xml);
    const qsizetype end = xml.lastIndexOf("</plist>") + 8;
    ASSERT_GT(end, 8);
    ASSERT_TRUE(parse(xml.left(end)).has_value());
    for (qsizetype n = 0; n < end; ++n) {
        QString error;
        EXPECT_FALSE(parse(xml.left(n), &error).has_value()) << "cut at " << n;
    }
}

TEST(PropertyListXml, DeepNestingIsRefusedNotOverflowed)
{
    const int levels = 200000;
    const QByteArray xml = xmlPlist((QByteArray("<array>").repeated(levels) + QByteArray("</array>").repeated(levels)).constData());
    QString error;
    EXPECT_FALSE(parse(xml, &error).has_value());
    EXPECT_TRUE(error.contains(QStringLiteral("nested deeper than 512"))) << error.toStdString();
}

// ---- Binary ----

TEST(PropertyListBinary, ReadsEveryEncodingOfTheFormat)
{
    // Encodings other writers use and libplist may not: unsigned short
    // integers, a 16-byte integer, a 4-byte real, UTF-16 with a surrogate
    // pair, a length held in a following integer, and one object referenced
    // twice.
    const QByteArray file = bplist({
        bytes({0xAC, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 1}),
        "\x51k",
        bytes({0x10, 0xFF}),
        bytes({0x11, 0xFF, 0xFE}),
        bytes({0x12, 0xFF, 0xFF, 0xFF, 0xFF}),
        bytes({0x13, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFB}),
        bytes({0x14, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 7}),
        bytes({0x22, 0x3F, 0xC0, 0, 0}),
        bytes({0x62, 0xD8, 0x3D, 0xDE, 0x00}),
        bytes({0x4F, 0x10, 0x14}) + QByteArray(20, '\x01'),
        bytes({0x33, 0x3F, 0xE0, 0, 0, 0, 0, 0, 0}),
        bytes({0x09}),
    });
    const auto value = parse(file);
    ASSERT_TRUE(value.has_value());
    const QVariantList expected = {QStringLiteral("k"), 255, 65534, 4294967295LL, -5, 7, 1.5,
                                   QStringLiteral("😀"), QByteArray(20, '\x01'),
                                   utc(2001, 1, 1, 0, 0, 0, 500), true, QStringLiteral("k")};
    EXPECT_TRUE(same(expected, *value));

    // A dictionary whose key and value share one string object, with
    // two-byte references.
    const auto dict = parse(bplist({bytes({0xD2, 0, 1, 0, 2, 0, 3, 0, 1}), "\x51" "a", "\x51" "b", bytes({0x10, 1})}, 2));
    ASSERT_TRUE(dict.has_value());
    EXPECT_TRUE(same(QVariantMap({{QStringLiteral("a"), 1}, {QStringLiteral("b"), QStringLiteral("a")}}), *dict));
}

TEST(PropertyListBinary, WritesNegativeIntegersInEightBytes)
{
    const QByteArray file = plistSerialize(QVariantList{qint64(-5)}, PlistFormat::Binary);
    EXPECT_TRUE(file.startsWith("bplist00"));
    EXPECT_TRUE(file.contains(bytes({0x13, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFB})));
}

TEST(PropertyListBinary, TruncatedAtEveryLength)
{
    const QByteArray file = plistSerialize(sampleTree(), PlistFormat::Binary);
    ASSERT_TRUE(file.startsWith("bplist00"));
    ASSERT_TRUE(same(sampleTree(), parse(file).value_or(QVariant())));
    for (qsizetype n = 0; n < file.size(); ++n)
        EXPECT_FALSE(parse(file.left(n)).has_value()) << "cut at " << n;
}

TEST(PropertyListBinary, RejectsDamagedAndHostileFiles)
{
    // [5], to damage the trailer of; the trailer fields are counted from the end.
    const QByteArray good = bplist({bytes({0xA1, 1}), bytes({0x10, 5})});
    ASSERT_TRUE(same(QVariantList{5}, parse(good).value_or(QVariant())));
    auto damaged = [&](qsizetype fromEnd, const QByteArray& with) {
        QByteArray copy = good;
        copy.replace(copy.size() - fromEnd, with.size(), with);
        return copy;
    };
    const QString trailer = QStringLiteral("trailer does not match");

    QList<QByteArray> exponential;
    for (int i = 0; i < 40; ++i)
        exponential.append(bytes({0xA2, i + 1, i + 1}));
    exponential.append(bytes({0x09}));
    QList<QByteArray> chain;
    for (int i = 0; i < 100000; ++i)
        chain.append(bytes({0xA1}) + bigEndian(i + 1, 4));
    chain.append(bytes({0x09}));

    const QList<std::pair<QByteArray, QString>> cases = {
        {"bplist15" + good.mid(8), QStringLiteral("unsupported version \"bplist15\"")},
        {QByteArray("bplist00").leftJustified(30, '\0'), QStringLiteral("too short")},
        {damaged(26, bytes({0})), trailer},          // offset width
        {damaged(26, bytes({9})), trailer},
        {damaged(25, bytes({0})), trailer},          // reference width
        {damaged(24, bigEndian(0, 8)), trailer},     // object count
        {damaged(24, bigEndian((1ULL << 61) + 2, 8)), trailer},
        {damaged(16, bigEndian(2, 8)), trailer},     // top object
        {damaged(8, bigEndian(good.size(), 8)), trailer}, // offset table position
        {damaged(8, bigEndian(~0ULL, 8)), trailer},
        {damaged(34, bytes({0xF0})), QStringLiteral("offset out of range")},
        {bplist({bytes({0xA1, 7})}), QStringLiteral("reference out of range")},
        {bplist({bytes({0xA1, 0})}), QStringLiteral("reached twice")},
        {bplist({bytes({0xA1, 1}), bytes({0xA1, 0})}), QStringLiteral("reached twice")},
        {bplist({bytes({0xA2, 1, 1}), bytes({0xA0})}), QStringLiteral("reached twice")},
        {bplist(exponential), QStringLiteral("reached twice")},
        {bplist(chain, 4), QStringLiteral("nested deeper than 512")},
        {bplist({bytes({0x5F, 0x10, 0x30}) + "abc"}), QStringLiteral("runs past")},
        {bplist({bytes({0xAF, 0x13, 0x7F, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF})}), QStringLiteral("runs past")},
        {bplist({bytes({0xDF, 0x13, 0x40, 0, 0, 0, 0, 0, 0, 0})}), QStringLiteral("runs past")},
        {bplist({bytes({0x5F, 0x20, 0x01}) + "abc"}), QStringLiteral("runs past")},
        {bplist({bytes({0x13, 0x01})}), QStringLiteral("runs past")},
        {bplist({bytes({0xD1, 1, 2}), bytes({0x10, 1}), bytes({0x10, 2})}), QStringLiteral("key is not a string")},
        {bplist({bytes({0x61, 0xD8, 0x3D})}), QStringLiteral("invalid UTF-16")},
        {bplist({bytes({0x80, 5})}), QStringLiteral("unsupported object type 0x80")},
        {bplist({bytes({0xC1, 1}), bytes({0x09})}), QStringLiteral("unsupported object type 0xc1")},
        {bplist({bytes({0x00})}), QStringLiteral("unsupported marker 0x00")},
        {bplist({bytes({0x14, 0, 0, 0, 0, 0, 0, 0, 1, 0, 0, 0, 0, 0, 0, 0, 0})}), QStringLiteral("does not fit")},
        {bplist({bytes({0x15, 0})}), QStringLiteral("bad integer size")},
        {bplist({bytes({0x21, 0, 0})}), QStringLiteral("bad real size")},
        {bplist({bytes({0x33, 0x7F, 0xF8, 0, 0, 0, 0, 0, 0})}), QStringLiteral("date out of range")},
    };
    for (const auto& [file, expected] : cases) {
        QString error;
        EXPECT_FALSE(parse(file, &error).has_value()) << file.left(40).toHex().constData();
        EXPECT_TRUE(error.startsWith(QStringLiteral("binary property list: "))) << error.toStdString();
        EXPECT_TRUE(error.contains(expected)) << error.toStdString();
    }
}

TEST(PropertyListBinary, SurvivesRandomDamage)
{
    const QByteArray good = plistSerialize(sampleTree(), PlistFormat::Binary);
    std::mt19937 random(20240601);
    int rejected = 0;
    for (int round = 0; round < 3000; ++round) {
        QByteArray file = good;
        for (int flips = 1 + round % 4; flips > 0; --flips)
            file[8 + random() % (file.size() - 8)] = char(random());
        // parse() checks that a refusal always comes with a reason.
        rejected += !parse(file).has_value();
    }
    // Damaged bytes in the trailer or the references must be caught.
    EXPECT_GT(rejected, 300);
    for (int round = 0; round < 300; ++round) {
        QByteArray file("bplist00");
        for (int i = 0; i < 200; ++i)
            file += char(random());
        EXPECT_FALSE(parse(file).has_value());
    }
}

// ---- Files ----

class PropertyListFile : public ::testing::Test {
protected:
    QTemporaryDir dir;
    QString path(const QString& name) const { return dir.filePath(name); }
    QByteArray contents(const QString& name) const
    {
        QFile file(path(name));
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }
};

TEST_F(PropertyListFile, WritesAndReadsBackInBothFormats)
{
    ASSERT_TRUE(dir.isValid());
    for (PlistFormat format : {PlistFormat::Xml, PlistFormat::Binary}) {
        QString error;
        ASSERT_TRUE(plistWriteFile(path(QStringLiteral("card.plist")), sampleTree(), format, &error))
            << error.toStdString();
        EXPECT_EQ(contents(QStringLiteral("card.plist")).startsWith("bplist00"), format == PlistFormat::Binary);
        const auto back = plistReadFile(path(QStringLiteral("card.plist")), &error);
        ASSERT_TRUE(back.has_value()) << error.toStdString();
        EXPECT_TRUE(same(sampleTree(), *back));
    }
    // The temporary file is gone once renamed.
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden), QStringList{QStringLiteral("card.plist")});
}

TEST_F(PropertyListFile, FailedWriteKeepsTheOldFile)
{
    ASSERT_TRUE(dir.isValid());
    const QString file = path(QStringLiteral("card.plist"));
    ASSERT_TRUE(plistWriteFile(file, QVariantMap{{QStringLiteral("v"), 1}}, PlistFormat::Xml));
    const QByteArray before = contents(QStringLiteral("card.plist"));
    ASSERT_FALSE(before.isEmpty());

    QString error;
    EXPECT_FALSE(plistWriteFile(file, QVariantMap{{QStringLiteral("v"), QPoint(1, 1)}}, PlistFormat::Xml, &error));
    EXPECT_TRUE(error.contains(QStringLiteral("/v: cannot store"))) << error.toStdString();
    EXPECT_EQ(contents(QStringLiteral("card.plist")), before);
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden), QStringList{QStringLiteral("card.plist")});

    // A folder where the file should go cannot be replaced.
    ASSERT_TRUE(QDir(dir.path()).mkdir(QStringLiteral("folder")));
    error.clear();
    EXPECT_FALSE(plistWriteFile(path(QStringLiteral("folder")), QVariantList{}, PlistFormat::Binary, &error));
    EXPECT_TRUE(error.contains(path(QStringLiteral("folder")))) << error.toStdString();
    EXPECT_TRUE(QFileInfo(path(QStringLiteral("folder"))).isDir());

    const QString missing = path(QStringLiteral("no/such/folder/card.plist"));
    error.clear();
    EXPECT_FALSE(plistWriteFile(missing, QVariantList{}, PlistFormat::Binary, &error));
    EXPECT_TRUE(error.contains(missing)) << error.toStdString();
}

TEST_F(PropertyListFile, ReadFailuresNameTheFile)
{
    ASSERT_TRUE(dir.isValid());
    auto write = [&](const QString& name, const QByteArray& bytes) {
        QFile file(path(name));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(bytes);
    };
    write(QStringLiteral("empty.plist"), QByteArray());
    write(QStringLiteral("cut.plist"), plistSerialize(sampleTree(), PlistFormat::Binary).chopped(1));
    write(QStringLiteral("notes.txt"), "just some notes\n");
    const QList<std::pair<QString, QString>> cases = {
        {QStringLiteral("missing.plist"), QStringLiteral("cannot open")},
        {QStringLiteral("empty.plist"), QStringLiteral("empty property list")},
        {QStringLiteral("cut.plist"), QStringLiteral("binary property list")},
        {QStringLiteral("notes.txt"), QStringLiteral("XML property list")},
    };
    for (const auto& [name, expected] : cases) {
        QString error;
        EXPECT_FALSE(plistReadFile(path(name), &error).has_value()) << name.toStdString();
        EXPECT_TRUE(error.contains(path(name))) << error.toStdString();
        EXPECT_TRUE(error.contains(expected)) << error.toStdString();
    }
}
