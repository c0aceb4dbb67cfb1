#include "barcode/NKDCodabarBarcode.h"
#include "barcode/NKDInterleavedTwoOfFiveBarcode.h"
#include "barcode/NKDModifiedPlesseyBarcode.h"

#include <gtest/gtest.h>

TEST(TwoOfFive, InterleavedPadsOddLengthsAndInterleavesPairs)
{
    auto model = New_Barcode<NKDInterleavedTwoOfFiveBarcode>(QStringLiteral("123"));
    EXPECT_TRUE(model->isContentValid());
    // Pair 0,1: bars n n w w n of 0, spaces w n n n w of 1; pair 2,3: bars
    // n w n n w of 2, spaces w w n n n of 3. Bar "1"/"111", space "0"/"000".
    const QString pair01 = QStringLiteral("1" "000" "1" "0" "111" "0" "111" "0" "1" "000");
    const QString pair23 = QStringLiteral("1" "000" "111" "000" "1" "0" "1" "0" "111" "0");
    EXPECT_EQ(model->completeBarcode(), "1010" + pair01 + pair23 + "11101");
    EXPECT_EQ(model->completeBarcode().size(), 45);

    EXPECT_TRUE(New_Barcode<NKDInterleavedTwoOfFiveBarcode>(QStringLiteral(""))->isContentValid());
    EXPECT_FALSE(New_Barcode<NKDInterleavedTwoOfFiveBarcode>(QStringLiteral("12A4"))->isContentValid());
    EXPECT_FALSE(New_Barcode<NKDIndustrialTwoOfFiveBarcode>(QStringLiteral("1-2"))->isContentValid());
}

TEST(TwoOfFive, CheckDigitOverThePairs)
{
    auto model = New_Barcode<NKDInterleavedTwoOfFiveBarcode>(QStringLiteral("1234"));
    model->generateChecksum();
    EXPECT_EQ(model->checkDigit(), '2');
    // 1234 and its check digit are five digits: drawn as 012342.
    auto padded = New_Barcode<NKDInterleavedTwoOfFiveBarcode>(QStringLiteral("012342"));
    EXPECT_EQ(model->completeBarcode(), padded->completeBarcode());
    EXPECT_FLOAT_EQ(model->width(), float(padded->completeBarcode().size()) * model->barWidth());

    auto fives = New_Barcode<NKDInterleavedTwoOfFiveBarcode>(QStringLiteral("55"));
    fives->generateChecksum();
    EXPECT_EQ(fives->checkDigit(), '0');
}

TEST(TwoOfFive, IndustrialWritesEveryElementAsABarAndASpace)
{
    auto one = New_Barcode<NKDIndustrialTwoOfFiveBarcode>(QStringLiteral("1"));
    EXPECT_EQ(one->completeBarcode(), QStringLiteral("1010" "11100" "100" "100" "100" "11100" "11101"));
    // 7 is n n n w w, 0 is n n w w n; no leading zero for an odd count.
    auto seventy = New_Barcode<NKDIndustrialTwoOfFiveBarcode>(QStringLiteral("70"));
    EXPECT_EQ(seventy->completeBarcode(), QStringLiteral("1010"
                                                          "100" "100" "100" "11100" "11100"
                                                          "100" "100" "11100" "11100" "100"
                                                          "11101"));
}

TEST(Codabar, StandardPatternsWithANarrowSpaceBetweenCharacters)
{
    auto model = New_Barcode<NKDCodabarBarcode>(QStringLiteral("A123B"));
    EXPECT_TRUE(model->isContentValid());
    EXPECT_EQ(model->completeBarcode(), QStringLiteral("1011001001" "0" "101011001" "0" "101001011" "0"
                                                       "110010101" "0" "1001001011"));
    EXPECT_EQ(model->caption(), QStringLiteral("A123B"));

    auto bare = New_Barcode<NKDCodabarBarcode>(QStringLiteral("123"));
    EXPECT_TRUE(bare->isContentValid());
    EXPECT_EQ(bare->completeBarcode(), QStringLiteral("101011001" "0" "101001011" "0" "110010101"));

    // The four wide-bar characters and the start/stop letters C and D.
    EXPECT_EQ(New_Barcode<NKDCodabarBarcode>(QStringLiteral("+"))->completeBarcode(), QStringLiteral("1011011011"));
    EXPECT_EQ(New_Barcode<NKDCodabarBarcode>(QStringLiteral(":/."))->completeBarcode(),
              QStringLiteral("1101011011" "0" "1101101011" "0" "1101101101"));
    EXPECT_EQ(New_Barcode<NKDCodabarBarcode>(QStringLiteral("CD"))->completeBarcode(),
              QStringLiteral("1010010011" "0" "1010011001"));
    EXPECT_EQ(New_Barcode<NKDCodabarBarcode>(QStringLiteral("0$-"))->completeBarcode(),
              QStringLiteral("101010011" "0" "101100101" "0" "101001101"));

    EXPECT_FALSE(New_Barcode<NKDCodabarBarcode>(QStringLiteral("A1E"))->isContentValid());
    EXPECT_FALSE(New_Barcode<NKDCodabarBarcode>(QStringLiteral("a12b"))->isContentValid());
}

TEST(ModifiedPlessey, BitsLeastSignificantFirstWithTheCheckDigit)
{
    auto model = New_Barcode<NKDModifiedPlesseyBarcode>(QStringLiteral("1234"));
    EXPECT_EQ(model->checkDigit(), '4');
    EXPECT_TRUE(model->isContentValid());
    const QString zero = QStringLiteral("1000"), one = QStringLiteral("1110");
    const QString start = one + one + zero + one;
    const QString stop = QStringLiteral("111") + zero + zero + one + one;
    const QString d1 = one + zero + zero + zero, d2 = zero + one + zero + zero, d3 = one + one + zero + zero,
                  d4 = zero + zero + one + zero;
    EXPECT_EQ(model->completeBarcode(), start + d1 + d2 + d3 + d4 + d4 + stop);
    EXPECT_FLOAT_EQ(model->width(), float(model->completeBarcode().size()) * model->barWidth());

    // 7 from the right contributes 1 + 4, 9 adds 9, 5 contributes 1 + 0: 15, check 5.
    EXPECT_EQ(New_Barcode<NKDModifiedPlesseyBarcode>(QStringLiteral("597"))->checkDigit(), '5');
    EXPECT_FALSE(New_Barcode<NKDModifiedPlesseyBarcode>(QStringLiteral("1F"))->isContentValid());
}

TEST(ModifiedPlessey, HexTakesAToFInAnyCase)
{
    auto model = New_Barcode<NKDModifiedPlesseyHexBarcode>(QStringLiteral("1f"));
    EXPECT_EQ(model->content(), QStringLiteral("1F"));
    EXPECT_TRUE(model->isContentValid());
    // F (15) from the right contributes the digit sum of 30, 1 adds 1: 4, check 6.
    EXPECT_EQ(model->checkDigit(), '6');
    const QString zero = QStringLiteral("1000"), one = QStringLiteral("1110");
    const QString a = zero + one + zero + one;
    EXPECT_EQ(New_Barcode<NKDModifiedPlesseyHexBarcode>(QStringLiteral("A"))->_encodeChar(QChar('A')), a);
    EXPECT_TRUE(model->completeBarcode().contains(one + one + one + one));
    EXPECT_FALSE(New_Barcode<NKDModifiedPlesseyHexBarcode>(QStringLiteral("1G"))->isContentValid());
}
