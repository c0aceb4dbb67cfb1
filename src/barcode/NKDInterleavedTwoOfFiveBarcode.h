#pragma once
// Interleaved 2 of 5 (digit pairs: the first digit in the bars, the second in
// the spaces; wide elements three modules) and Industrial 2 of 5, which writes
// every element of a digit as a bar followed by a two-module space.
#include "barcode/NKDBarcode.h"

class NKDInterleavedTwoOfFiveBarcode : public NKDBarcode {
public:
    using NKDBarcode::initWithContent;
    QString initiator() const override { return QStringLiteral("1010"); }
    QString terminator() const override { return QStringLiteral("11101"); }
    // The pairs of the content and check digit, a leading "0" making an odd count even.
    QString barcode() const override;
    // The digits the bars hold: the padding "0" and the check digit included.
    QString caption() const override;
    // Digits only (the empty content included).
    bool isContentValid() const override;
    // The modulo-10 check digit over the (zero-padded) pairs, weights 3 and 1; the width follows.
    void generateChecksum() override;
    QString className() const override { return QStringLiteral("NKDInterleavedTwoOfFiveBarcode"); }

    // Whether element 0 to 4 of a digit is narrow; any other character is all narrow.
    static bool _getBarForDigit(QChar digit, int forBarNumber);

protected:
    // The content followed by the check digit, if one was computed.
    QString digitsToDraw() const;
    // Those digits with a "0" in front of an odd count.
    QString pairedDigits() const;
    std::unique_ptr<NKDBarcode> newOfSameClass() const override
    {
        return std::make_unique<NKDInterleavedTwoOfFiveBarcode>();
    }
};

class NKDIndustrialTwoOfFiveBarcode : public NKDInterleavedTwoOfFiveBarcode {
public:
    using NKDBarcode::initWithContent;
    // Each digit in order, each element "100" narrow or "11100" wide.
    QString barcode() const override;
    // The content and the check digit, unpadded, as the bars hold them.
    QString caption() const override { return digitsToDraw(); }
    QString className() const override { return QStringLiteral("NKDIndustrialTwoOfFiveBarcode"); }

protected:
    std::unique_ptr<NKDBarcode> newOfSameClass() const override
    {
        return std::make_unique<NKDIndustrialTwoOfFiveBarcode>();
    }
};
