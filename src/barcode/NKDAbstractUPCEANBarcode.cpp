#include "barcode/NKDAbstractUPCEANBarcode.h"

#include <algorithm>

namespace {
// Number set A: the left-hand odd-parity patterns of the digits 0 to 9.
const char* const Left_Odd[] = {"0001101", "0011001", "0010011", "0111101", "0100011",
                                "0110001", "0101111", "0111011", "0110111", "0001011"};

int digitValue(QChar c)
{
    return c >= QLatin1Char('0') && c <= QLatin1Char('9') ? c.unicode() - '0' : -1;
}

// The three number sets of every digit, made once.
struct Digit_Patterns {
    QString odd[10], right[10], even[10];
};
const Digit_Patterns& digitPatterns()
{
    static const Digit_Patterns patterns = [] {
        Digit_Patterns p;
        for (int d = 0; d < 10; ++d) {
            p.odd[d] = QString::fromLatin1(Left_Odd[d]);
            p.right[d] = UPCEAN::swapHandedness(p.odd[d]);
            p.even[d] = UPCEAN::swapParity(p.odd[d]);
        }
        return p;
    }();
    return patterns;
}

// A digit's pattern in one number set; "" for no digit.
const QString& patternIn(const QString (&set)[10], int digit)
{
    static const QString none;
    return digit < 0 ? none : set[digit];
}
}

QString UPCEAN::swapHandedness(const QString& pattern)
{
    QString swapped;
    swapped.reserve(pattern.size());
    for (QChar c : pattern)
        swapped += c == QLatin1Char('0') ? QLatin1Char('1') : QLatin1Char('0');
    return swapped;
}

QString UPCEAN::swapParity(const QString& pattern)
{
    QString right = swapHandedness(pattern);
    std::reverse(right.begin(), right.end());
    return right;
}

bool UPCEAN::isAllDigits(const QString& text)
{
    for (QChar c : text)
        if (digitValue(c) < 0)
            return false;
    return true;
}

qint8 UPCEAN::checkDigitOf(const QString& digits)
{
    if (digits.isEmpty() || !isAllDigits(digits))
        return -1;
    int sum = 0, weight = 3;
    for (qsizetype i = digits.size() - 1; i >= 0; --i, weight = 4 - weight)
        sum += weight * digitValue(digits[i]);
    return qint8('0' + (10 - sum % 10) % 10);
}

QString NKDAbstractUPCEANBarcode::_encodeChar(QChar c) const
{
    const int value = digitValue(c);
    return value < 0 ? QString() : digitPatterns().odd[value];
}

int NKDAbstractUPCEANBarcode::digitAt(int position) const
{
    const QString& text = content();
    return position >= 0 && position < text.size() ? digitValue(text[position]) : -1;
}

const QString& NKDAbstractUPCEANBarcode::leftOddAt(int position) const
{
    return patternIn(digitPatterns().odd, digitAt(position));
}

const QString& NKDAbstractUPCEANBarcode::rightAt(int position) const
{
    return patternIn(digitPatterns().right, digitAt(position));
}

const QString& NKDAbstractUPCEANBarcode::leftEvenAt(int position) const
{
    return patternIn(digitPatterns().even, digitAt(position));
}

const QString& NKDAbstractUPCEANBarcode::rightOf(QChar c)
{
    return patternIn(digitPatterns().right, digitValue(c));
}

QString NKDAbstractUPCEANBarcode::checkText() const
{
    return checkDigit() >= 0 ? QString(QChar(ushort(checkDigit()))) : QString();
}

QString NKDAbstractUPCEANBarcode::rightCaption() const
{
    return checkText();
}

void NKDAbstractUPCEANBarcode::calculateWidth()
{
    if (content().isEmpty()) {
        setWidth(0);
        return;
    }
    setWidth(float(completeBarcode().size()) * barWidth() * 1.2f);
}

float NKDAbstractUPCEANBarcode::barBottom(int index) const
{
    const int count = int(completeBarcode().size());
    if (index < 7 || index > count - 7 || (index >= 45 && index <= 49))
        return 3.6f;
    return captionHeight() * 72;
}

void NKDAbstractUPCEANBarcode::generateChecksum()
{
    const QString digits = content();
    if (digits.size() == dataDigits() && UPCEAN::isAllDigits(digits))
        setCheckDigit(UPCEAN::checkDigitOf(digits));
}

void NKDAbstractUPCEANBarcode::splitTypedCheckDigit(const QString& value, int digits)
{
    setContent(value.left(digits));
    const QChar typed = value[digits];
    setCheckDigit(typed.unicode() < 128 ? qint8(typed.unicode()) : qint8('?'));
    setSurplus(value.size() > digits + 1);
}
