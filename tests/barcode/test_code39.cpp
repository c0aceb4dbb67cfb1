#include "barcode/NKDCode39Barcode.h"

#include <QSet>
#include <gtest/gtest.h>

namespace {
QString patterns(const QString& code39Text)
{
    QString modules;
    for (QChar c : code39Text)
        modules += NKDCode39Barcode::patternOf(c);
    return modules;
}

// The module string cut into 13-module characters, read back as characters.
QString readBack(const QString& modules)
{
    static const QString set = QStringLiteral("0123456789ABCDEFGHIJKLMNOPQRSTUVWXYZ-. $/+%*");
    QString text;
    for (qsizetype at = 0; at < modules.size(); at += 13) {
        const QString piece = modules.mid(at, 13);
        QChar found = QLatin1Char('?');
        for (QChar c : set)
            if (NKDCode39Barcode::patternOf(c) == piece)
                found = c;
        text += found;
    }
    return text;
}
}

TEST(Code39, PatternTable)
{
    EXPECT_EQ(NKDCode39Barcode::patternOf(QLatin1Char('0')), QStringLiteral("1010011011010"));
    EXPECT_EQ(NKDCode39Barcode::patternOf(QLatin1Char('A')), QStringLiteral("1101010010110"));
    EXPECT_EQ(NKDCode39Barcode::patternOf(QLatin1Char('*')), QStringLiteral("1001011011010"));
    EXPECT_EQ(NKDCode39Barcode::patternOf(QLatin1Char('a')), QString());
    EXPECT_EQ(NKDCode39Barcode::patternOf(QChar(0)), QString());
    // Every character: 13 modules, five bars, three wide elements, all different.
    QSet<QString> seen;
    for (QChar c : QStringLiteral("0123456789ABCDEFGHIJKLMNOPQRSTUVWXYZ-. $/+%*")) {
        const QString p = NKDCode39Barcode::patternOf(c);
        ASSERT_EQ(p.size(), 13) << QString(c).toStdString();
        EXPECT_EQ(p.split(QLatin1Char('0'), Qt::SkipEmptyParts).size(), 5);
        EXPECT_EQ(p.count(QStringLiteral("11")) + p.left(12).count(QStringLiteral("00")), 3);
        seen.insert(p);
    }
    EXPECT_EQ(seen.size(), 44);
}

TEST(Code39, UpperCasesAndFramesWithStartAndStop)
{
    auto model = New_Barcode<NKDCode39Barcode>(QStringLiteral("abc"));
    ASSERT_NE(model, nullptr);
    EXPECT_EQ(model->content(), QStringLiteral("ABC"));
    EXPECT_EQ(model->caption(), QStringLiteral("ABC"));
    EXPECT_TRUE(model->isContentValid());
    EXPECT_EQ(model->completeBarcode(), patterns(QStringLiteral("*ABC*")));
    EXPECT_EQ(model->completeBarcode().size(), 65);
    EXPECT_FLOAT_EQ(model->width(), 65 * 0.936f);

    // "*" is the start and stop character: a value holding it would end the
    // symbol early for every reader, so it is refused (Extended Code 39 writes it as "/J").
    EXPECT_FALSE(New_Barcode<NKDCode39Barcode>(QStringLiteral("*"))->isContentValid());
    EXPECT_FALSE(New_Barcode<NKDCode39Barcode>(QStringLiteral("AB*C"))->isContentValid());
    EXPECT_TRUE(New_Barcode<NKDExtendedCode39Barcode>(QStringLiteral("AB*C"))->isContentValid());

    EXPECT_FALSE(New_Barcode<NKDCode39Barcode>(QStringLiteral("AB#"))->isContentValid());
    EXPECT_FALSE(New_Barcode<NKDCode39Barcode>(QStringLiteral("A\tB"))->isContentValid());
}

TEST(Code39, CheckCharacter)
{
    auto model = New_Barcode<NKDCode39Barcode>(QStringLiteral("CODE39"));
    EXPECT_EQ(model->checkDigit(), -1);
    model->generateChecksum();
    EXPECT_EQ(model->checkDigit(), 'W');
    EXPECT_EQ(readBack(model->completeBarcode()), QStringLiteral("*CODE39W*"));
    EXPECT_FLOAT_EQ(model->width(), 9 * 13 * 0.936f);
    // Sum 36 + 37 + 38 + 39 + 40 + 41 + 42 = 273, remainder 15: "F".
    auto symbols = New_Barcode<NKDCode39Barcode>(QStringLiteral("-. $/+%"));
    symbols->generateChecksum();
    EXPECT_EQ(symbols->checkDigit(), 'F');
}

TEST(ExtendedCode39, FullAsciiPairs)
{
    auto model = New_Barcode<NKDExtendedCode39Barcode>(QStringLiteral("a_b"));
    ASSERT_NE(model, nullptr);
    EXPECT_EQ(model->content(), QStringLiteral("a_b"));
    EXPECT_TRUE(model->isContentValid());
    EXPECT_EQ(readBack(model->completeBarcode()), QStringLiteral("*+A%O+B*"));
    EXPECT_EQ(model->completeBarcode().size(), 104);
    EXPECT_FLOAT_EQ(model->width(), 104 * 0.936f);

    auto hash = New_Barcode<NKDExtendedCode39Barcode>(QStringLiteral("AB#"));
    EXPECT_TRUE(hash->isContentValid());
    EXPECT_EQ(readBack(hash->completeBarcode()), QStringLiteral("*AB/C*"));

    // "/" and "*" are written as pairs, so no inner stop character appears.
    auto slashStar = New_Barcode<NKDExtendedCode39Barcode>(QStringLiteral("1/2*3$%+"));
    EXPECT_EQ(readBack(slashStar->completeBarcode()), QStringLiteral("*1/O2/J3/D/E/K*"));
    EXPECT_EQ(readBack(New_Barcode<NKDExtendedCode39Barcode>(QStringLiteral("{|}~`@\t\n"))->completeBarcode()),
              QStringLiteral("*%P%Q%R%S%W%V$I$J*"));

    EXPECT_FALSE(New_Barcode<NKDExtendedCode39Barcode>(QStringLiteral("a\x01"))->isContentValid());
    EXPECT_FALSE(New_Barcode<NKDExtendedCode39Barcode>(QStringLiteral("a\x7f"))->isContentValid());
    EXPECT_FALSE(New_Barcode<NKDExtendedCode39Barcode>(QStringLiteral("caf\u00e9"))->isContentValid());
}

TEST(ExtendedCode39, CheckCharacterCountsTheWrittenPairs)
{
    // "a" is written "+A": 41 + 10 = 51, remainder 8.
    auto model = New_Barcode<NKDExtendedCode39Barcode>(QStringLiteral("a"));
    model->generateChecksum();
    EXPECT_EQ(model->checkDigit(), '8');
    EXPECT_EQ(readBack(model->completeBarcode()), QStringLiteral("*+A8*"));
}
