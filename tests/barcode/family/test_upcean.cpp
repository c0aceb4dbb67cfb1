#include "barcode/NKDEAN13Barcode.h"
#include "barcode/NKDUPCABarcode.h"

#include <gtest/gtest.h>

namespace {
// Number set A of the EAN/UPC standard; the right-hand set is its inverse and
// set B (even parity) the right-hand set reversed.
const char* const SetA[] = {"0001101", "0011001", "0010011", "0111101", "0100011",
                            "0110001", "0101111", "0111011", "0110111", "0001011"};
QString odd(char digit)
{
    return QString::fromLatin1(SetA[digit - '0']);
}
QString right(char digit)
{
    QString pattern = odd(digit);
    for (QChar& c : pattern)
        c = c == '0' ? '1' : '0';
    return pattern;
}
QString even(char digit)
{
    QString pattern = right(digit);
    std::reverse(pattern.begin(), pattern.end());
    return pattern;
}
}

TEST(UPCEAN, EAN13ComputesItsCheckDigitAndSplitsItsCaption)
{
    auto model = New_Barcode<NKDEAN13Barcode>(QStringLiteral("400638133393"));
    EXPECT_EQ(model->checkDigit(), '1');
    EXPECT_TRUE(model->isContentValid());
    EXPECT_EQ(model->leftCaption(), QStringLiteral("4"));
    EXPECT_EQ(model->caption(), QStringLiteral("  006381\t333931"));
    EXPECT_EQ(model->rightCaption(), QStringLiteral(""));
    // First digit 4: L G L L G G for the digits 0 0 6 3 8 1.
    const QString expected = "101" + odd('0') + even('0') + odd('6') + odd('3') + even('8') + even('1') + "01010"
                             + right('3') + right('3') + right('3') + right('9') + right('3') + right('1') + "101";
    EXPECT_EQ(model->completeBarcode(), expected);
    EXPECT_FLOAT_EQ(model->width(), 95 * model->barWidth() * 1.2f);
    EXPECT_FLOAT_EQ(model->firstBar(), model->width() * 0.1f);
}

TEST(UPCEAN, EAN13RefusesWrongCheckDigitsLettersAndSurplusDigits)
{
    EXPECT_TRUE(New_Barcode<NKDEAN13Barcode>(QStringLiteral("4006381333931"))->isContentValid());
    EXPECT_EQ(New_Barcode<NKDEAN13Barcode>(QStringLiteral("4006381333931"))->completeBarcode().size(), 95);
    EXPECT_FALSE(New_Barcode<NKDEAN13Barcode>(QStringLiteral("4006381333932"))->isContentValid());
    EXPECT_FALSE(New_Barcode<NKDEAN13Barcode>(QStringLiteral("40063813339A"))->isContentValid());
    // A fourteenth digit would be lost from the symbol.
    EXPECT_FALSE(New_Barcode<NKDEAN13Barcode>(QStringLiteral("40063813339310"))->isContentValid());
    auto empty = New_Barcode<NKDEAN13Barcode>(QStringLiteral(""));
    EXPECT_EQ(empty->width(), 0.0f);
}

TEST(UPCEAN, UPCACaptionAndCheckDigit)
{
    auto model = New_Barcode<NKDUPCABarcode>(QStringLiteral("03600029145"));
    EXPECT_EQ(model->checkDigit(), '2');
    EXPECT_TRUE(model->isContentValid());
    EXPECT_EQ(model->leftCaption(), QStringLiteral("0"));
    EXPECT_EQ(model->caption(), QStringLiteral("36000\t29145"));
    EXPECT_EQ(model->rightCaption(), QStringLiteral("2"));
    EXPECT_EQ(model->completeBarcode().size(), 95);
    EXPECT_TRUE(New_Barcode<NKDUPCABarcode>(QStringLiteral("036000291452"))->isContentValid());
    EXPECT_FALSE(New_Barcode<NKDUPCABarcode>(QStringLiteral("036000291453"))->isContentValid());
    EXPECT_FALSE(New_Barcode<NKDUPCABarcode>(QStringLiteral("0360002914521"))->isContentValid());
}

TEST(UPCEAN, EAN8ChecksItsDigitsAndItsTypedCheckDigit)
{
    auto model = New_Barcode<NKDEAN8Barcode>(QStringLiteral("9638507"));
    EXPECT_EQ(model->checkDigit(), '4');
    EXPECT_TRUE(model->isContentValid());
    EXPECT_EQ(model->completeBarcode(), "101" + odd('9') + odd('6') + odd('3') + odd('8') + "01010" + right('5')
                                            + right('0') + right('7') + right('4') + "101");
    EXPECT_EQ(model->leftCaption(), QStringLiteral(""));
    EXPECT_EQ(model->caption(), QStringLiteral(" 9638\t5074"));
    EXPECT_EQ(model->rightCaption(), QStringLiteral(""));

    EXPECT_TRUE(New_Barcode<NKDEAN8Barcode>(QStringLiteral("96385074"))->isContentValid());
    EXPECT_FALSE(New_Barcode<NKDEAN8Barcode>(QStringLiteral("96385075"))->isContentValid());
    EXPECT_FALSE(New_Barcode<NKDEAN8Barcode>(QStringLiteral("963850A"))->isContentValid());
    EXPECT_FALSE(New_Barcode<NKDEAN8Barcode>(QStringLiteral("9638507X"))->isContentValid());
    EXPECT_FALSE(New_Barcode<NKDEAN8Barcode>(QStringLiteral("963850741"))->isContentValid());
}

TEST(UPCEAN, UPCEFromSevenEightAndElevenDigits)
{
    // Number system 0, check digit 5: parity E O O E E O.
    const QString expected = "101" + even('1') + odd('2') + odd('3') + even('4') + even('5') + odd('6') + "010101";
    for (const QString& value : {QStringLiteral("01234565"), QStringLiteral("0123456"),
                                 QStringLiteral("01234500006")}) {
        SCOPED_TRACE(value.toStdString());
        auto model = New_Barcode<NKDUPCEBarcode>(value);
        EXPECT_EQ(model->content(), QStringLiteral("0123456"));
        EXPECT_EQ(model->checkDigit(), '5');
        EXPECT_TRUE(model->isContentValid());
        EXPECT_EQ(model->completeBarcode(), expected);
        EXPECT_EQ(model->leftCaption(), QStringLiteral("0"));
        EXPECT_EQ(model->caption(), QStringLiteral("123456"));
        EXPECT_EQ(model->rightCaption(), QStringLiteral("5"));
    }
    // Number system 1 takes the complementary parity: O E E O O E.
    auto one = New_Barcode<NKDUPCEBarcode>(QStringLiteral("1123456"));
    EXPECT_EQ(one->checkDigit(), '2'); // of 11234500006
    EXPECT_TRUE(one->isContentValid());
    // Check digit 2 is E E O O E O for number system 0; complemented O O E E O E.
    EXPECT_EQ(one->completeBarcode(),
              "101" + odd('1') + odd('2') + even('3') + even('4') + odd('5') + even('6') + "010101");

    EXPECT_FALSE(New_Barcode<NKDUPCEBarcode>(QStringLiteral("01234567"))->isContentValid());
    EXPECT_FALSE(New_Barcode<NKDUPCEBarcode>(QStringLiteral("2123456"))->isContentValid());
    EXPECT_FALSE(New_Barcode<NKDUPCEBarcode>(QStringLiteral("012345A"))->isContentValid());
}

TEST(UPCEAN, ZerosAreSuppressedOnlyWhereTheNumberAllowsIt)
{
    EXPECT_EQ(NKDUPCEBarcode::UPCAToUPCE(QStringLiteral("012345000058")), QStringLiteral("123455"));
    EXPECT_EQ(NKDUPCEBarcode::UPCAToUPCE(QStringLiteral("01234500005")), QStringLiteral(""));
    // One UPC-A number of each form, and its UPC-E body.
    const struct {
        const char* upca;
        const char* body;
    } allowed[] = {{"01200000345", "123450"}, {"01220000345", "123452"}, {"01230000045", "123453"},
                   {"01234000005", "123454"}, {"01234500007", "123457"}};
    for (const auto& c : allowed) {
        const QString upca = QString::fromLatin1(c.upca);
        auto ua = New_Barcode<NKDUPCABarcode>(upca);
        const QString full = upca + QChar(ushort(ua->checkDigit()));
        EXPECT_EQ(NKDUPCEBarcode::UPCAToUPCE(full), QString::fromLatin1(c.body)) << c.upca;
        auto model = New_Barcode<NKDUPCEBarcode>(upca);
        EXPECT_TRUE(model->isContentValid()) << c.upca;
        EXPECT_EQ(model->checkDigit(), ua->checkDigit()) << c.upca;
    }
    // The same leading digits with product digits that are not zero: no UPC-E form.
    for (const char* upca : {"01200012345", "01230010045", "01234010005", "01234510007", "01234500003"}) {
        auto ua = New_Barcode<NKDUPCABarcode>(QString::fromLatin1(upca));
        EXPECT_EQ(NKDUPCEBarcode::UPCAToUPCE(QString::fromLatin1(upca) + QChar(ushort(ua->checkDigit()))),
                  QString())
            << upca;
        EXPECT_FALSE(New_Barcode<NKDUPCEBarcode>(QString::fromLatin1(upca))->isContentValid()) << upca;
    }
}
