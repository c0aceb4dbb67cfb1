// Symbols of many values are drawn, saved with a white quiet zone and read
// back by two outside decoders (one run per decoder and symbology).
#include "FamilySupport.h"
#include "support/Decode.h"
#include "barcode/NKDCodabarBarcode.h"
#include "barcode/NKDEAN13Barcode.h"
#include "barcode/NKDInterleavedTwoOfFiveBarcode.h"
#include "barcode/NKDUPCABarcode.h"

#include <QTemporaryDir>
#include <functional>
#include <gtest/gtest.h>

namespace {
// A fixed pseudo-random digit source, so every run draws the same values.
class Digits {
public:
    QString next(int count)
    {
        QString text;
        for (int i = 0; i < count; ++i) {
            _state = _state * 1103515245u + 12345u;
            text += QChar('0' + int((_state >> 16) % 10));
        }
        return text;
    }

private:
    quint32 _state = 20240611u;
};

// The UPC/EAN check digit written out once more: odd positions from the
// right weigh 3.
QChar mod10(const QString& digits)
{
    int sum = 0;
    for (int i = 0; i < digits.size(); ++i) {
        const int fromRight = int(digits.size()) - i;
        sum += (digits[i].unicode() - '0') * (fromRight % 2 == 1 ? 3 : 1);
    }
    return QChar('0' + (10 - sum % 10) % 10);
}

struct Symbol {
    QString path;
    QByteArray zxing, zbar; // what each reader must report; empty: that reader is not asked
};

class Batch {
public:
    Batch() { EXPECT_TRUE(_dir.isValid()); }

    // Draws a model of a value and records what the readers must report.
    template <class Model>
    void add(const QString& value, const QByteArray& zxing, const QByteArray& zbar)
    {
        auto model = New_Barcode<Model>(value);
        ASSERT_NE(model, nullptr);
        ASSERT_TRUE(model->isContentValid()) << value.toStdString();
        const QString path = _dir.filePath(QStringLiteral("s%1.png").arg(_symbols.size()));
        ASSERT_TRUE(Render_Model(*model, _style).save(path));
        _symbols.append({path, zxing, zbar});
    }

    void readWithBoth(const QString& zxingFormat, const QStringList& zbarSymbologies,
                      const QStringList& zbarSettings = {})
    {
        QStringList zxingPaths, zbarPaths;
        for (const Symbol& s : _symbols) {
            if (!s.zxing.isEmpty())
                zxingPaths << s.path;
            if (!s.zbar.isEmpty())
                zbarPaths << s.path;
        }
        ASSERT_FALSE(zxingPaths.isEmpty());
        ASSERT_FALSE(zbarPaths.isEmpty());
        const DecodeRun zxing = Decode_With_ZXing(zxingPaths, zxingFormat);
        ASSERT_TRUE(zxing.ran) << zxing.failure.toStdString();
        const DecodeRun zbar = Decode_With_Zbar(zbarPaths, zbarSymbologies, zbarSettings);
        ASSERT_TRUE(zbar.ran) << zbar.failure.toStdString();
        for (const Symbol& s : _symbols) {
            if (!s.zxing.isEmpty()) {
                EXPECT_EQ(zxing.bytesOf(s.path), s.zxing) << "ZXingReader, " << s.path.toStdString();
            }
            if (!s.zbar.isEmpty()) {
                EXPECT_EQ(zbar.bytesOf(s.path), s.zbar) << "zbarimg, " << s.path.toStdString();
            }
        }
    }

private:
    QTemporaryDir _dir;
    BarcodeStyle _style;
    QList<Symbol> _symbols;
};
}

TEST(FamilyDecoding, EAN13WithEveryFirstDigit)
{
    Batch batch;
    Digits digits;
    for (int i = 0; i < 30; ++i) {
        const QString value = QString::number(i % 10) + digits.next(11);
        const QByteArray full = (value + mod10(value)).toLatin1();
        batch.add<NKDEAN13Barcode>(value, full, full);
        if (i % 5 == 0) // the same number typed with its check digit
            batch.add<NKDEAN13Barcode>(value + mod10(value), full, full);
    }
    batch.readWithBoth(QStringLiteral("EAN-13"), {QStringLiteral("ean13")});
}

TEST(FamilyDecoding, EAN8)
{
    Batch batch;
    Digits digits;
    for (int i = 0; i < 20; ++i) {
        const QString value = digits.next(7);
        const QByteArray full = (value + mod10(value)).toLatin1();
        batch.add<NKDEAN8Barcode>(i % 4 == 0 ? value + mod10(value) : value, full, full);
    }
    batch.readWithBoth(QStringLiteral("EAN-8"), {QStringLiteral("ean8")});
}

TEST(FamilyDecoding, UPCA)
{
    Batch batch;
    Digits digits;
    for (int i = 0; i < 20; ++i) {
        const QString value = QString::number(i % 10) + digits.next(10);
        const QByteArray full = (value + mod10(value)).toLatin1();
        batch.add<NKDUPCABarcode>(i % 4 == 0 ? value + mod10(value) : value, full, full);
    }
    batch.readWithBoth(QStringLiteral("UPC-A"), {QStringLiteral("ean13"), QStringLiteral("upca")});
}

TEST(FamilyDecoding, UPCEFromBodiesAndFromUPCANumbers)
{
    Batch batch;
    Digits digits;
    // Every last digit of the body (the four suppression forms), both number
    // systems, so every parity row and its complement is drawn.
    for (int i = 0; i < 20; ++i) {
        const QString body = digits.next(5) + QString::number(i % 10);
        const QString value = QString::number(i / 10) + body;
        // The UPC-A number it stands for, expanded here by the rules of the standard.
        const QChar last = body[5];
        QString upca;
        if (last <= '2')
            upca = value.left(3) + last + "0000" + body.mid(2, 3);
        else if (last == '3')
            upca = value.left(4) + "00000" + body.mid(3, 2);
        else if (last == '4')
            upca = value.left(5) + "00000" + body[4];
        else
            upca = value.left(6) + "0000" + last;
        const QByteArray full = (value + mod10(upca)).toLatin1();
        // zbarimg reads UPC-E of number system 0 only.
        const QByteArray zbar = value[0] == '0' ? full : QByteArray();
        batch.add<NKDUPCEBarcode>(value, full, zbar);
        if (i % 3 == 0)
            batch.add<NKDUPCEBarcode>(upca, full, zbar);
    }
    batch.readWithBoth(QStringLiteral("UPC-E"), {QStringLiteral("ean13"), QStringLiteral("upce")});
}

TEST(FamilyDecoding, InterleavedTwoOfFiveWithOddLengthsPadded)
{
    Batch batch;
    Digits digits;
    for (int length = 2; length <= 16; ++length)
        for (int i = 0; i < 2; ++i) {
            const QString value = digits.next(length);
            const QByteArray read = (length % 2 ? QStringLiteral("0") + value : value).toLatin1();
            // ZXingReader reads no ITF symbol shorter than six digits.
            batch.add<NKDInterleavedTwoOfFiveBarcode>(value, read.size() >= 6 ? read : QByteArray(), read);
        }
    batch.readWithBoth(QStringLiteral("ITF"), {QStringLiteral("i25")}, {QStringLiteral("i25.min-length=2")});
}

TEST(FamilyDecoding, CodabarWithItsOwnAndAddedStartStopLetters)
{
    Batch batch;
    Digits digits;
    const QString letters = QStringLiteral("ABCD"), inner = QStringLiteral("0123456789-$:/.+");
    for (int i = 0; i < 24; ++i) {
        QString middle;
        for (int k = 0; k < 3 + i % 9; ++k)
            middle += inner[digits.next(2).toInt() % inner.size()];
        const QString value = letters[i % 4] + middle + letters[(i / 4) % 4];
        // ZXingReader leaves the start and stop letters out; zbarimg keeps them.
        batch.add<NKDCodabarBarcode>(value, middle.toLatin1(), value.toLatin1());
    }
    // Values without letters are drawn bare by the class; a reader needs
    // start and stop letters, so this copy adds them (the module strings of
    // the bare values are compared with the letters' removed below).
    for (const QString& bare : {QStringLiteral("123"), QStringLiteral("31117013206375"), QStringLiteral("+")}) {
        const QString wrapped = QStringLiteral("A") + bare + QStringLiteral("B");
        // ZXingReader reads no Codabar symbol of fewer than three inner characters.
        batch.add<NKDCodabarBarcode>(wrapped, bare.size() >= 3 ? bare.toLatin1() : QByteArray(),
                                     wrapped.toLatin1());
        auto plain = New_Barcode<NKDCodabarBarcode>(bare);
        auto withLetters = New_Barcode<NKDCodabarBarcode>(wrapped);
        const QString full = withLetters->completeBarcode();
        // A is 10 modules, B 10, each with one separating light module.
        EXPECT_EQ(plain->completeBarcode(), full.mid(11, full.size() - 22)) << bare.toStdString();
    }
    batch.readWithBoth(QStringLiteral("Codabar"), {QStringLiteral("codabar")},
                       {QStringLiteral("codabar.min-length=1")});
}
