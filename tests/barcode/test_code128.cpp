#include "barcode/NKDCode128Barcode.h"
#include "platform/Log.h"

#include <QSet>
#include <gtest/gtest.h>

namespace {
using Values = QList<int>;

QString symbol(int start, const Values& data, int check)
{
    QString modules = NKDCode128Barcode::patternOf(start);
    for (int value : data)
        modules += NKDCode128Barcode::patternOf(value);
    return modules + NKDCode128Barcode::patternOf(check) + QStringLiteral("1100011101011");
}

std::unique_ptr<NKDCode128Barcode> make(int set, const QString& content)
{
    return NKDCode128Barcode::withCodeSet(set, content);
}
}

TEST(Code128, PatternTable)
{
    EXPECT_EQ(NKDCode128Barcode::patternOf(103), QStringLiteral("11010000100"));
    EXPECT_EQ(NKDCode128Barcode::patternOf(104), QStringLiteral("11010010000"));
    EXPECT_EQ(NKDCode128Barcode::patternOf(105), QStringLiteral("11010011100"));
    EXPECT_EQ(NKDCode128Barcode::patternOf(106), QString());
    QSet<QString> seen;
    for (int value = 0; value <= 105; ++value) {
        const QString p = NKDCode128Barcode::patternOf(value);
        ASSERT_EQ(p.size(), 11) << value;
        EXPECT_TRUE(p.startsWith(QLatin1Char('1')) && p.endsWith(QLatin1Char('0'))) << value;
        EXPECT_EQ(p.split(QLatin1Char('0'), Qt::SkipEmptyParts).size(), 3) << value;
        seen.insert(p);
    }
    EXPECT_EQ(seen.size(), 106);
}

TEST(Code128, AutomaticSetAndCheckValues)
{
    auto digits = make(NKDCode128Barcode::SetAuto, QStringLiteral("123456"));
    EXPECT_EQ(digits->codeSet(), NKDCode128Barcode::SetC);
    EXPECT_EQ(digits->checkDigit(), 44);
    EXPECT_EQ(digits->completeBarcode(), symbol(105, {12, 34, 56}, 44));
    EXPECT_EQ(digits->completeBarcode().size(), 68);
    EXPECT_FLOAT_EQ(digits->width(), 68 * 0.936f);
    EXPECT_EQ(digits->caption(), QStringLiteral("123456"));

    auto empty = make(NKDCode128Barcode::SetAuto, QStringLiteral(""));
    EXPECT_EQ(empty->codeSet(), NKDCode128Barcode::SetC);
    EXPECT_EQ(empty->checkDigit(), 2);
    EXPECT_EQ(empty->completeBarcode(), symbol(105, {}, 2));

    auto hi = make(NKDCode128Barcode::SetB, QStringLiteral("HI"));
    EXPECT_EQ(hi->checkDigit(), 20);
    EXPECT_EQ(make(NKDCode128Barcode::SetAuto, QStringLiteral("Hi"))->codeSet(), NKDCode128Barcode::SetB);
    EXPECT_EQ(make(NKDCode128Barcode::SetAuto, QStringLiteral("\t\tx"))->codeSet(), NKDCode128Barcode::SetA);
    // A tie between control characters and lower-case letters goes to set B.
    EXPECT_EQ(make(NKDCode128Barcode::SetAuto, QStringLiteral("\tx"))->codeSet(), NKDCode128Barcode::SetB);
    // A space has value 0 in set B: "A B" sums 104 + 33 + 0 + 3 x 34.
    EXPECT_EQ(make(NKDCode128Barcode::SetB, QStringLiteral("A B"))->checkDigit(), (104 + 33 + 102) % 103);
    // Set C is kept from the start when chosen.
    EXPECT_EQ(make(NKDCode128Barcode::SetC, QStringLiteral("123456"))->codeSet(), NKDCode128Barcode::SetC);
}

TEST(Code128, OddDigitCountInSetCEndsInSetBInsteadOfAddingAZero)
{
    auto odd = make(NKDCode128Barcode::SetC, QStringLiteral("12345"));
    EXPECT_EQ(odd->dataValues(), Values({12, 34, 100, 21}));
    EXPECT_EQ(odd->checkDigit(), (105 + 12 + 2 * 34 + 3 * 100 + 4 * 21) % 103);
    EXPECT_EQ(odd->caption(), QStringLiteral("12345"));
    EXPECT_EQ(make(NKDCode128Barcode::SetAuto, QStringLiteral("7"))->dataValues(), Values({100, 23}));
}

TEST(Code128, CharactersOutsideTheSetSwitchSet)
{
    // Set A has no lower case: one letter is shifted, a run changes set.
    EXPECT_EQ(make(NKDCode128Barcode::SetA, QStringLiteral("AbC"))->dataValues(), Values({33, 98, 66, 35}));
    EXPECT_EQ(make(NKDCode128Barcode::SetA, QStringLiteral("Abc"))->dataValues(), Values({33, 100, 66, 67}));
    // Set B has no control characters.
    EXPECT_EQ(make(NKDCode128Barcode::SetB, QStringLiteral("A\tB"))->dataValues(), Values({33, 98, 73, 34}));
    EXPECT_EQ(make(NKDCode128Barcode::SetB, QStringLiteral("\x01\x02"))->dataValues(), Values({101, 65, 66}));
    // Set C leaves for letters (B) and control characters (A).
    EXPECT_EQ(make(NKDCode128Barcode::SetC, QStringLiteral("12AB34"))->dataValues(),
              Values({12, 100, 33, 34, 19, 20}));
    EXPECT_EQ(make(NKDCode128Barcode::SetC, QStringLiteral("12\t"))->dataValues(), Values({12, 101, 73}));
    // DEL exists in set B only.
    EXPECT_EQ(make(NKDCode128Barcode::SetA, QStringLiteral("A\x7f"))->dataValues(), Values({33, 98, 95}));

    auto mixed = make(NKDCode128Barcode::SetA, QStringLiteral("Abc"));
    EXPECT_EQ(mixed->checkDigit(), (103 + 33 + 2 * 100 + 3 * 66 + 4 * 67) % 103);
    EXPECT_EQ(mixed->completeBarcode(), symbol(103, {33, 100, 66, 67}, mixed->checkDigit()));
    EXPECT_TRUE(mixed->isContentValid());
    EXPECT_FALSE(make(NKDCode128Barcode::SetB, QStringLiteral("\u00e9t\u00e9"))->isContentValid());
}

TEST(Code128, AnInvalidSetIsLoggedAndHasNoStart)
{
    QStringList lines;
    const platform::LogSink previous = platform::setLogSink([&](const QString& line) { lines << line; });
    NKDCode128Barcode model;
    model.setCodeSet(7);
    EXPECT_EQ(model.initiator(), QString());
    platform::setLogSink(previous);
    ASSERT_EQ(lines.size(), 1);
    EXPECT_TRUE(lines[0].startsWith(QStringLiteral("Invalid codeSet value:")));
}
