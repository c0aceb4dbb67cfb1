// Every symbol is drawn, rasterised with a white quiet zone and read back by
// two outside decoders.
#include "BarcodeTestSupport.h"
#include "support/Decode.h"
#include "barcode/BarcodeImage.h"
#include "barcode/NKDCode128Barcode.h"
#include "barcode/NKDCode39Barcode.h"

#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {
struct Case {
    QString value;
    QByteArray expected; // what a reader must give
};

// Reads a rendered model with both decoders and compares their text.
void expectBothRead(NKDBarcode& model, const QByteArray& expected, const QString& zxingFormat,
                    const QString& zbarSymbology, const std::function<QByteArray(const QByteArray&)>& interpret,
                    int index)
{
    static QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    BarcodeStyle style;
    model.setStyle(&style);
    Dress_Model(model, style);
    ASSERT_TRUE(model.isContentValid());
    const QPicture picture = imageFromBarcode(&model);
    ASSERT_FALSE(picture.isNull());
    const QString path = dir.filePath(QStringLiteral("symbol_%1_%2.png").arg(zbarSymbology).arg(index));
    ASSERT_TRUE(Rasterise(picture, 3, 60).save(path));

    const DecodeRun zxing = Decode_With_ZXing({path}, zxingFormat);
    ASSERT_TRUE(zxing.ran) << zxing.failure.toStdString();
    ASSERT_TRUE(zxing.read.contains(path)) << "ZXingReader read nothing: " << zxing.errorOutput.toStdString();
    EXPECT_EQ(interpret(zxing.bytesOf(path)), expected) << "ZXingReader, value " << model.content().toStdString();
    const DecodeRun zbar = Decode_With_Zbar({path}, {zbarSymbology});
    ASSERT_TRUE(zbar.ran) << zbar.failure.toStdString();
    ASSERT_TRUE(zbar.read.contains(path)) << "zbarimg read nothing: " << zbar.errorOutput.toStdString();
    EXPECT_EQ(interpret(zbar.bytesOf(path)), expected) << "zbarimg, value " << model.content().toStdString();
}

QByteArray asRead(const QByteArray& text)
{
    return text;
}

// Neither reader turns full-ASCII pairs back into characters by default, so
// the Code 39 characters they report are read with the full-ASCII table here.
QByteArray fullAscii(const QByteArray& code39)
{
    QByteArray text;
    for (qsizetype i = 0; i < code39.size(); ++i) {
        const char c = code39[i];
        if (!QByteArray("$%/+").contains(c) || i + 1 == code39.size()) {
            text += c;
            continue;
        }
        const char n = code39[++i];
        if (c == '+')
            text += char(n - 'A' + 'a');
        else if (c == '$')
            text += char(n - 'A' + 1);
        else if (c == '/')
            text += n == 'Z' ? ':' : char(n - 'A' + '!');
        else if (n <= 'E')
            text += char(n - 'A' + 27);
        else if (n <= 'J')
            text += char(n - 'F' + ';');
        else if (n <= 'O')
            text += char(n - 'K' + '[');
        else if (n <= 'S')
            text += char(n - 'P' + '{');
        else
            text += QByteArray("\x7f\0@`\x7f\x7f\x7f", 7).at(n - 'T');
    }
    return text;
}
}

TEST(BarcodeDecoding, Code128InEverySet)
{
    const struct {
        int set;
        Case c;
    } cases[] = {
        {NKDCode128Barcode::SetAuto, {"0", "0"}},
        {NKDCode128Barcode::SetAuto, {"12", "12"}},
        {NKDCode128Barcode::SetAuto, {"123", "123"}},
        {NKDCode128Barcode::SetAuto, {"1234567890", "1234567890"}},
        {NKDCode128Barcode::SetAuto, {"12345678901", "12345678901"}},
        {NKDCode128Barcode::SetAuto, {"Hello World", "Hello World"}},
        {NKDCode128Barcode::SetAuto, {"x", "x"}},
        {NKDCode128Barcode::SetAuto, {"ABCabc123", "ABCabc123"}},
        {NKDCode128Barcode::SetAuto, {"Mixed-Case_Text!@#$%^&*()", "Mixed-Case_Text!@#$%^&*()"}},
        {NKDCode128Barcode::SetAuto, {"{braces}|~`'\"", "{braces}|~`'\""}},
        {NKDCode128Barcode::SetAuto, {"\t\tTAB", "\t\tTAB"}},
        {NKDCode128Barcode::SetA, {"ABC 123", "ABC 123"}},
        {NKDCode128Barcode::SetA, {"AbC", "AbC"}},
        {NKDCode128Barcode::SetA, {"lower case", "lower case"}},
        {NKDCode128Barcode::SetA, {"A\tB\x01" "C", "A\tB\x01" "C"}},
        {NKDCode128Barcode::SetB, {"Hello", "Hello"}},
        {NKDCode128Barcode::SetB, {"tab\there", "tab\there"}},
        {NKDCode128Barcode::SetB, {"ctl\x02\x03x", "ctl\x02\x03x"}},
        {NKDCode128Barcode::SetC, {"123456", "123456"}},
        {NKDCode128Barcode::SetC, {"12345", "12345"}},
        {NKDCode128Barcode::SetC, {"9", "9"}},
        {NKDCode128Barcode::SetC, {"12AB34", "12AB34"}},
        {NKDCode128Barcode::SetC, {"00\t99z", "00\t99z"}},
    };
    int index = 0;
    for (const auto& [set, c] : cases) {
        SCOPED_TRACE(c.value.toStdString());
        auto model = NKDCode128Barcode::withCodeSet(set, c.value);
        ASSERT_NE(model, nullptr);
        expectBothRead(*model, c.expected, QStringLiteral("Code128"), QStringLiteral("code128"), asRead, index++);
    }
}

TEST(BarcodeDecoding, Code39)
{
    const Case cases[] = {
        {"CODE39", "CODE39"},
        {"0123456789", "0123456789"},
        {"A B-C.D$E/F+G%H", "A B-C.D$E/F+G%H"},
        {"abc", "ABC"},
        {"1", "1"},
        {"XYZ 987", "XYZ 987"},
    };
    int index = 0;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.value.toStdString());
        auto model = New_Barcode<NKDCode39Barcode>(c.value);
        expectBothRead(*model, c.expected, QStringLiteral("Code39"), QStringLiteral("code39"), asRead, index++);
    }
}

TEST(BarcodeDecoding, ExtendedCode39)
{
    const Case cases[] = {
        {"Hello World!", "Hello World!"},
        {"a_b", "a_b"},
        {"lower", "lower"},
        {"a*b/c", "a*b/c"},
        {"{x}~[y]@#", "{x}~[y]@#"},
        {"$5 + 10% = ?", "$5 + 10% = ?"},
        {"Tab\tstop;<>", "Tab\tstop;<>"},
        {"\"quote\" & 'apos' (x), `^|\\:", "\"quote\" & 'apos' (x), `^|\\:"},
    };
    int index = 100;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.value.toStdString());
        auto model = New_Barcode<NKDExtendedCode39Barcode>(c.value);
        expectBothRead(*model, c.expected, QStringLiteral("Code39"), QStringLiteral("code39"), fullAscii, index++);
    }
}
