// UPC/EAN, Interleaved 2 of 5 and Codabar symbols drawn as a barcode graphic
// draws them, read back by two outside decoders.
#include "support/SymbolTable.h"

#include <gtest/gtest.h>

// Every first digit of EAN-13 (its parity rows), values typed with and
// without their check digit, every last digit of a UPC-E body in both
// number systems, and UPC-A numbers typed for UPC-E. Neither reader is asked
// for UPC-A itself, so a UPC-A symbol reads as the EAN-13 it also is;
// zbarimg reads UPC-E of number system 0 only.
TEST(FamilyDecoding, UpcAndEan)
{
    const QList<Symbol_Row> rows = {
        {"EAN-13", "052601815908", "0526018159085", "0526018159085"},
        {"EAN-13", "130166131860", "1301661318602", "1301661318602"},
        {"EAN-13", "2913909960307", "2913909960307", "2913909960307"},
        {"EAN-13", "382462819482", "3824628194821", "3824628194821"},
        {"EAN-13", "419935181909", "4199351819099", "4199351819099"},
        {"EAN-13", "537865797543", "5378657975435", "5378657975435"},
        {"EAN-13", "6231948757495", "6231948757495", "6231948757495"},
        {"EAN-13", "711862527601", "7118625276014", "7118625276014"},
        {"EAN-13", "889555979711", "8895559797110", "8895559797110"},
        {"EAN-13", "947104974650", "9471049746500", "9471049746500"},
        {"EAN-8", "7529170", "75291709", "75291709"},
        {"EAN-8", "34236673", "34236673", "34236673"},
        {"EAN-8", "1276842", "12768424", "12768424"},
        {"UPCA", "79244026859", "0792440268590", "0792440268590"},
        {"UPCA", "952890786666", "0952890786666", "0952890786666"},
        {"UPCA", "01396245957", "0013962459571", "0013962459571"},
        {"UPCE", "0117770", "01177707", "01177707"},
        {"UPCE", "0741211", "07412112", "07412112"},
        {"UPCE", "0547282", "05472824", "05472824"},
        {"UPCE", "0038523", "00385232", "00385232"},
        {"UPCE", "0808414", "08084149", "08084149"},
        {"UPCE", "1485255", "14852558"},
        {"UPCE", "1388856", "13888565"},
        {"UPCE", "1393367", "13933678"},
        {"UPCE", "1338758", "13387587"},
        {"UPCE", "1004749", "10047491"},
        {"UPCE", "01100000777", "01177707", "01177707"},
        {"UPCE", "00380000052", "00385232", "00385232"},
        {"UPCE", "13888500006", "13888565"},
    };
    Expect_Symbol_Rows_Read(rows, {"EAN-13,EAN-8,UPC-E", ZXingSearch::Anywhere, "zbarimg", [](const QStringList& paths) {
                                       return Decode_With_Zbar(paths, {"ean13", "ean8", "upce"});
                                   }});
}

// Interleaved 2 of 5 pads an odd length with a leading zero; ZXingReader
// reads no ITF symbol shorter than six digits. Codabar values get start and
// stop letters where they have none, and lower-case letters become
// capitals; ZXingReader leaves the letters out (and reads no symbol with a
// single inner character), zbarimg keeps them.
TEST(FamilyDecoding, TwoOfFiveAndCodabar)
{
    const QList<Symbol_Row> rows = {
        {"Interleaved 2 of 5", "12", "", "12"},
        {"Interleaved 2 of 5", "123", "", "0123"},
        {"Interleaved 2 of 5", "12345", "012345", "012345"},
        {"Interleaved 2 of 5", "123456", "123456", "123456"},
        {"Interleaved 2 of 5", "1234567", "01234567", "01234567"},
        {"Interleaved 2 of 5", "0000000000", "0000000000", "0000000000"},
        {"Interleaved 2 of 5", "98765432109876", "98765432109876", "98765432109876"},
        {"Interleaved 2 of 5", "314159265358979", "0314159265358979", "0314159265358979"},
        {"Codabar", "A123B", "123", "A123B"},
        {"Codabar", "B40156C", "40156", "B40156C"},
        {"Codabar", "C-$:/.+0D", "-$:/.+0", "C-$:/.+0D"},
        {"Codabar", "D9876543210A", "9876543210", "D9876543210A"},
        {"Codabar", "123", "123", "A123B"},
        {"Codabar", "31117013206375", "31117013206375", "A31117013206375B"},
        {"Codabar", "+", "", "A+B"},
        {"Codabar", "a123d", "123", "A123D"},
        {"Codabar", "C45", "45", "C45B"},
    };
    Expect_Symbol_Rows_Read(rows, {"ITF,Codabar", ZXingSearch::Anywhere, "zbarimg", [](const QStringList& paths) {
                                       return Decode_With_Zbar(paths, {"i25", "codabar"},
                                                               {"i25.min-length=2", "codabar.min-length=1"});
                                   }});
}
