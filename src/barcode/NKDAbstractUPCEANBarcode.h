#pragma once
// What the retail symbologies (EAN-13, EAN-8, UPC-A, UPC-E) share: the
// left-hand odd-parity digit patterns, the "101" guards, a quiet zone of a
// tenth of the width on either side, the modulo-10 check digit and a caption
// split into a left digit, the middle and the check digit.
#include "barcode/NKDBarcode.h"

// Turning a left-hand odd-parity pattern into its other forms.
namespace UPCEAN {
// The right-hand pattern: every module inverted.
QString swapHandedness(const QString& pattern);
// The left-hand even-parity pattern: the right-hand pattern read backwards.
QString swapParity(const QString& pattern);
// The modulo-10 check digit ('0' to '9') of a digit string, weights 3, 1, 3, ...
// from the rightmost digit leftwards; -1 when the text is empty or holds a non-digit.
qint8 checkDigitOf(const QString& digits);
bool isAllDigits(const QString& text);
}

class NKDAbstractUPCEANBarcode : public NKDBarcode {
public:
    using NKDBarcode::initWithContent;
    // The left-hand odd-parity pattern of a digit; "" for anything else.
    QString _encodeChar(QChar c) const override;
    QString initiator() const override { return QStringLiteral("101"); }
    QString terminator() const override { return QStringLiteral("101"); }
    int digitsToLeft() const override { return 1; }
    int digitsToRight() const override { return 1; }
    // The check digit as a one-character text ("" when there is none).
    QString rightCaption() const override;
    // 0 for an empty content, else the modules and a fifth more for the quiet zones.
    void calculateWidth() override;
    float firstBar() const override { return width() * 0.1f; }
    float lastBar() const override { return width() * 0.9f - barWidth(); }
    // Guard bars reach lower than the digit bars.
    float barBottom(int index) const override;
    // The check digit of a content of dataDigits() digits; other contents keep theirs.
    void generateChecksum() override;

    // The number of data digits the content holds (the check digit apart).
    virtual int dataDigits() const { return 11; }

protected:
    // The pattern of the content's digit at a position; "" past the end or for a non-digit.
    const QString& leftOddAt(int position) const;
    const QString& rightAt(int position) const;
    const QString& leftEvenAt(int position) const;
    // The digit at a position of the content; -1 for none.
    int digitAt(int position) const;
    // The right-hand pattern of a digit; "" for another character.
    static const QString& rightOf(QChar c);
    QString checkText() const;
    // Splits a typed check digit off a value: the content keeps the first
    // `digits` characters, the next one becomes the check digit. A longer
    // value keeps the same split but can no longer be drawn.
    void splitTypedCheckDigit(const QString& value, int digits);
    bool hasSurplus() const { return _surplus; }
    void setSurplus(bool surplus)
    {
        _surplus = surplus;
        modulesChanged();
    }

private:
    bool _surplus = false; // the value had characters the symbol has no room for
};
