// Code 128 and Code 39 symbols drawn as a barcode graphic draws them, read
// back by two outside decoders.
#include "support/SymbolTable.h"

#include <gtest/gtest.h>

TEST(BarcodeDecoding, Code128InEverySet)
{
    const QList<Symbol_Row> rows = {
        {"Code 128", "0", "0", "0"},
        {"Code 128", "12", "12", "12"},
        {"Code 128", "123", "123", "123"},
        {"Code 128", "1234567890", "1234567890", "1234567890"},
        {"Code 128", "12345678901", "12345678901", "12345678901"},
        {"Code 128", "Hello World", "Hello World", "Hello World"},
        {"Code 128", "x", "x", "x"},
        {"Code 128", "ABCabc123", "ABCabc123", "ABCabc123"},
        {"Code 128", "Mixed-Case_Text!@#$%^&*()", "Mixed-Case_Text!@#$%^&*()", "Mixed-Case_Text!@#$%^&*()"},
        {"Code 128", "{braces}|~`'\"", "{braces}|~`'\"", "{braces}|~`'\""},
        {"Code 128", "\t\tTAB", "\t\tTAB", "\t\tTAB"},
        {"Code 128 SET A", "ABC 123", "ABC 123", "ABC 123"},
        {"Code 128 SET A", "AbC", "AbC", "AbC"},
        {"Code 128 SET A", "lower case", "lower case", "lower case"},
        {"Code 128 SET A", "A\tB\x01" "C", "A\tB\x01" "C", "A\tB\x01" "C"},
        {"Code 128 SET B", "Hello", "Hello", "Hello"},
        {"Code 128 SET B", "tab\there", "tab\there", "tab\there"},
        {"Code 128 SET B", "ctl\x02\x03x", "ctl\x02\x03x", "ctl\x02\x03x"},
        {"Code 128 SET C", "123456", "123456", "123456"},
        {"Code 128 SET C", "12345", "12345", "12345"},
        {"Code 128 SET C", "9", "9", "9"},
        {"Code 128 SET C", "12AB34", "12AB34", "12AB34"},
        {"Code 128 SET C", "00\t99z", "00\t99z", "00\t99z"},
    };
    Expect_Symbol_Rows_Read(rows, {"Code128", ZXingSearch::Anywhere, "zbarimg", [](const QStringList& paths) {
                                       return Decode_With_Zbar(paths, {"code128"});
                                   }});
}

// Neither reader joins Extended Code 39's full-ASCII pairs: both report the
// pairs the symbol holds.
TEST(BarcodeDecoding, Code39AndExtendedCode39)
{
    const QList<Symbol_Row> rows = {
        {"Code 39", "CODE39", "CODE39", "CODE39"},
        {"Code 39", "0123456789", "0123456789", "0123456789"},
        {"Code 39", "A B-C.D$E/F+G%H", "A B-C.D$E/F+G%H", "A B-C.D$E/F+G%H"},
        {"Code 39", "abc", "ABC", "ABC"},
        {"Code 39", "1", "1", "1"},
        {"Code 39", "XYZ 987", "XYZ 987", "XYZ 987"},
        {"Extended Code 39", "Hello World!", "H+E+L+L+O W+O+R+L+D/A", "H+E+L+L+O W+O+R+L+D/A"},
        {"Extended Code 39", "a_b", "+A%O+B", "+A%O+B"},
        {"Extended Code 39", "lower", "+L+O+W+E+R", "+L+O+W+E+R"},
        {"Extended Code 39", "a*b/c", "+A/J+B/O+C", "+A/J+B/O+C"},
        {"Extended Code 39", "{x}~[y]@#", "%P+X%R%S%K+Y%M%V/C", "%P+X%R%S%K+Y%M%V/C"},
        {"Extended Code 39", "$5 + 10% = ?", "/D5 /K 10/E %H %J", "/D5 /K 10/E %H %J"},
        {"Extended Code 39", "Tab\tstop;<>", "T+A+B$I+S+T+O+P%F%G%I", "T+A+B$I+S+T+O+P%F%G%I"},
        {"Extended Code 39", "\"quote\" & 'apos' (x), `^|\\:", "/B+Q+U+O+T+E/B /F /G+A+P+O+S/G /H+X/I/L %W%N%Q%L/Z",
         "/B+Q+U+O+T+E/B /F /G+A+P+O+S/G /H+X/I/L %W%N%Q%L/Z"},
    };
    Expect_Symbol_Rows_Read(rows, {"Code39", ZXingSearch::Anywhere, "zbarimg", [](const QStringList& paths) {
                                       return Decode_With_Zbar(paths, {"code39"});
                                   }});
}
