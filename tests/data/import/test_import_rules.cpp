// The pure rules of importing and generating values: text decoding, the
// RTF reader, CSV records, the values a file or folder yields, and series.
#include "data/Import_Sources.h"
#include "data/Rtf_Reader.h"
#include "data/Series_Rules.h"
#include "data/Text_Decoding.h"
#include "model/Helpers.h"

#include <QStringEncoder>
#include <gtest/gtest.h>

namespace {
QByteArray encoded(const QString& text, QStringConverter::Encoding encoding, bool bom)
{
    QStringEncoder encoder(encoding, bom ? QStringConverter::Flag::WriteBom : QStringConverter::Flag::Default);
    return encoder(text);
}
}

TEST(TextDecoding, ByteOrderMarkThenStrictUtf8ThenLatin1)
{
    const QString text = QStringLiteral("Zoë\nŁódź €");
    EXPECT_EQ(Decode_Text_File(encoded(text, QStringConverter::Utf8, false)), text);
    EXPECT_EQ(Decode_Text_File(encoded(text, QStringConverter::Utf8, true)), text);
    EXPECT_EQ(Decode_Text_File(encoded(text, QStringConverter::Utf16LE, true)), text);
    EXPECT_EQ(Decode_Text_File(encoded(text, QStringConverter::Utf16BE, true)), text);
    // Not valid UTF-8: each byte is one Latin-1 character, none is lost.
    EXPECT_EQ(Decode_Text_File(QByteArray("Caf\xe9\r\nNa\xefve")), QStringLiteral("Café\r\nNaïve"));
    // Damaged files: what a lone surrogate in UTF-16 or a code unit past
    // Unicode in UTF-32 makes no character of is left out, so the text is
    // written and read back as it is.
    EXPECT_EQ(Decode_Text_File(QByteArray("\xff\xfe" "A\0\x00\xd8" "B\0", 8)), QStringLiteral("AB"));
    const QString past = Decode_Text_File(QByteArray("\0\0\xfe\xff" "\xff\xff\xfe\x16" "\0\0\0A", 12));
    EXPECT_TRUE(past.endsWith(QLatin1Char('A')));
    EXPECT_EQ(QString::fromUtf8(past.toUtf8()), past);
}

TEST(TextValues, LinesOrFieldsCleanedWithEmptyOnesLeftOut)
{
    struct Case {
        const char* text;
        const char* extension;
        QStringList values;
    };
    const Case cases[] = {
        {"Ann\r\nBob\r\n\r\n  Cy  \r\n", "txt", {"Ann", "Bob", "Cy"}},
        {"Ann\nBob\n", "TXT", {"Ann", "Bob"}},
        {"Ann\rBob", "txt", {"Ann", "Bob"}},
        {"a{b}\\c\n{}\n", "txt", {"abc"}},
        {"x NSFont = y\nlast", "txt", {"x NSFont = y", "last"}},
        // CSV: every field, records at CR, LF or CR LF.
        {"a,b\r\nc,d\ne,f\rg", "csv", {"a", "b", "c", "d", "e", "f", "g"}},
        {"one\ntwo\n", "CSV", {"one", "two"}},
        {"\"Smith, John\",\"say \"\"hi\"\"\"\n", "csv", {"Smith, John", "say \"hi\""}},
        {"\"line one\r\nline two\",x", "csv", {"line one line two", "x"}},
        {"a,,b\n,\n", "csv", {"a", "b"}},
        {"", "csv", {}},
    };
    for (const Case& c : cases)
        EXPECT_EQ(Text_Values(QString::fromUtf8(c.text), QString::fromLatin1(c.extension)), c.values) << c.text;
    // More values than the cap: nothing, however far the text goes on.
    EXPECT_EQ(Text_Values("a\n\nb\n", "txt", 2), (QStringList{"a", "b"}));
    EXPECT_EQ(Text_Values("a,b,c", "csv", 2), std::nullopt);
}

TEST(CellValue, LineBreaksBecomeOneBlankEachAndTheEndsAreTrimmed)
{
    const std::pair<QString, QString> cases[] = {
        {"first \r\nsecond\r\nlast", "first  second last"},
        {"a\rb\nc", "a b c"},
        {"a\r\n\r\nb", "a  b"},
        {" x\n", "x"},
        {"plain", "plain"},
        {"", ""},
    };
    for (const auto& [cell, value] : cases)
        EXPECT_EQ(Cell_Value(cell), value) << cell.toStdString();
}

TEST(RtfReader, TextOfEveryRunWithoutTablesOrDestinations)
{
    struct Case {
        const char* rtf;
        const char* text;
    };
    const Case cases[] = {
        {"{\\rtf1\\ansi\\ansicpg1252{\\fonttbl\\f0\\fswiss Helvetica;}{\\colortbl;\\red255\\green0\\blue0;}"
         "{\\*\\expandedcolortbl;;}{\\info{\\title Secret}}\\f0\\fs24 \\cf0 Ann\\par\n{\\b Bob} \\cf1 Smith\\par\n"
         "Cy\\line Dee\\tab E\\par}",
         "Ann\nBob Smith\nCy\nDee\tE\n"},
        {"{\\rtf1\\ansi \\u26085\\'3f\\u26412?\\par\\uc2 \\u-3913\\'3f\\'3f x\\par}", "日本\n\uF0B7 x\n"},
        {"{\\rtf1\\ansi\\ansicpg1252 Caf\\'e9 \\'80 5\\par}", "Café € 5\n"},
        {"{\\rtf1\\ansi\\ansicpg1251 \\'cf\\'f0\\'e8\\'e2\\'e5\\'f2\\par}", "Привет\n"},
        {"{\\rtf1 a\\{b\\}\\\\c {\\*\\unknown hidden} {\\stylesheet{\\s0 Normal;}}d\\par}", "a{b}\\c  d\n"},
        {"{\\rtf1 {\\field{\\*\\fldinst HYPERLINK \"x\"}{\\fldrslt Link}}\\par}", "Link\n"},
    };
    for (const Case& c : cases) {
        const auto text = Rtf_Document_Text(QByteArray(c.rtf));
        ASSERT_TRUE(text) << c.rtf;
        EXPECT_EQ(*text, QString::fromUtf8(c.text)) << c.rtf;
    }
    EXPECT_FALSE(Rtf_Document_Text("plain words"));
    // An rtf file's values are its lines, with no attribute text among them.
    EXPECT_EQ(Text_Values(*Text_File_Text(cases[0].rtf, QStringLiteral("RTF")), QStringLiteral("RTF")),
              (QStringList{"Ann", "Bob Smith", "Cy", "Dee\tE"}));
}

TEST(Int64Value, LeadingIntegerOfATypedText)
{
    const std::pair<const char*, qint64> cases[] = {
        {"12ab", 12}, {"", 0}, {"x1", 0}, {"  -7", -7}, {"+5", 5}, {"007", 7},
        {"99999999999999999999", std::numeric_limits<qint64>::max()},
        {"-99999999999999999999", std::numeric_limits<qint64>::min()},
    };
    for (const auto& [text, value] : cases)
        EXPECT_EQ(Int64_Value(QString::fromLatin1(text)), value) << text;
}

TEST(SeriesRules, SequentialPaddedToTheLongerTextAsTyped)
{
    struct Case {
        const char *prefix, *from, *to, *suffix;
        bool pad;
        QStringList values;
    };
    const Case cases[] = {
        {"", "1", "10", "", true, {"01", "02", "03", "04", "05", "06", "07", "08", "09", "10"}},
        {"", "1", "3", "", false, {"1", "2", "3"}},
        {"", "001", "3", "", true, {"001", "002", "003"}},
        {"A-", "8", "10", "-X", true, {"A-08-X", "A-09-X", "A-10-X"}},
        {"", "-3", "1", "", true, {"-3", "-2", "-1", "00", "01"}},
        {"", "-12", "-10", "", false, {"-12", "-11", "-10"}},
        {"", "-05", "3", "", true, {"-05", "-04", "-03", "-02", "-01", "000", "001", "002", "003"}},
        {"", "+8", "10", "", true, {"08", "09", "10"}},
    };
    for (const Case& c : cases)
        EXPECT_EQ(Sequential_Series(c.prefix, c.from, c.to, c.suffix, c.pad), c.values) << c.from << ".." << c.to;
    EXPECT_EQ(PadZero(QStringLiteral("-3"), 4), QStringLiteral("-003"));
    // Counted in 64 bits: no overflow at the ends of the range.
    EXPECT_EQ(Sequential_Count("-9223372036854775808", "9223372036854775807"), std::numeric_limits<quint64>::max());
    EXPECT_EQ(Sequential_Count("2147483647", "2147483650"), 4u);
    EXPECT_EQ(Sequential_Series("", "2147483647", "2147483649", "", false),
              (QStringList{"2147483647", "2147483648", "2147483649"}));
    EXPECT_EQ(Sequential_Count("5", "5"), 0u);
}

TEST(SeriesRules, RandomNumbersHaveTheirDigitsAndConstantsRepeat)
{
    for (int length = 1; length <= 9; ++length) {
        const QStringList values = Random_Series("N", QString::number(length), 200, "!");
        ASSERT_EQ(values.size(), 200);
        for (const QString& v : values) {
            const QString digits = v.mid(1, v.size() - 2);
            ASSERT_EQ(digits.size(), length) << v.toStdString();
            ASSERT_NE(digits[0], QLatin1Char('0')) << v.toStdString();
        }
    }
    EXPECT_EQ(Random_Series("", " 3", 1, "").first().size(), 3); // a blank around the length is no reason for zeros
    EXPECT_EQ(Random_Series("", "12", 2, ""), (QStringList{"0", "0"}));
    EXPECT_EQ(Constant_Series(" v ", 3), (QStringList{" v ", " v ", " v "}));
    EXPECT_TRUE(Constant_Series("v", -3).isEmpty());
}
