#include "barcode/NKDInterleavedTwoOfFiveBarcode.h"

namespace {
// Five elements per digit, n narrow and w wide.
const char* const Two_Of_Five[] = {"nnwwn", "wnnnw", "nwnnw", "wwnnn", "nnwnw",
                                   "wnwnn", "nwwnn", "nnnww", "wnnwn", "nwnwn"};

int digitValue(QChar c)
{
    return c >= QLatin1Char('0') && c <= QLatin1Char('9') ? c.unicode() - '0' : -1;
}
}

bool NKDInterleavedTwoOfFiveBarcode::_getBarForDigit(QChar digit, int forBarNumber)
{
    const int value = digitValue(digit);
    if (value < 0 || forBarNumber < 0 || forBarNumber > 4)
        return true;
    return Two_Of_Five[value][forBarNumber] == 'n';
}

QString NKDInterleavedTwoOfFiveBarcode::digitsToDraw() const
{
    QString digits = content();
    if (checkDigit() != -1)
        digits += QChar(ushort(checkDigit()));
    return digits;
}

QString NKDInterleavedTwoOfFiveBarcode::pairedDigits() const
{
    QString digits = digitsToDraw();
    if (digits.size() % 2 != 0)
        digits.prepend(QLatin1Char('0'));
    return digits;
}

QString NKDInterleavedTwoOfFiveBarcode::caption() const
{
    return pairedDigits();
}

QString NKDInterleavedTwoOfFiveBarcode::barcode() const
{
    const QString digits = pairedDigits();
    QString modules;
    for (qsizetype i = 0; i + 1 < digits.size(); i += 2)
        for (int k = 0; k < 5; ++k) {
            modules += _getBarForDigit(digits[i], k) ? QStringLiteral("1") : QStringLiteral("111");
            modules += _getBarForDigit(digits[i + 1], k) ? QStringLiteral("0") : QStringLiteral("000");
        }
    return modules;
}

bool NKDInterleavedTwoOfFiveBarcode::isContentValid() const
{
    for (QChar c : content())
        if (digitValue(c) < 0)
            return false;
    return true;
}

void NKDInterleavedTwoOfFiveBarcode::generateChecksum()
{
    QString digits = content();
    if (digits.size() % 2 != 0)
        digits.prepend(QLatin1Char('0'));
    int sum = 0;
    for (qsizetype i = 0; i + 1 < digits.size(); i += 2)
        sum += 3 * qMax(0, digitValue(digits[i])) + qMax(0, digitValue(digits[i + 1]));
    setCheckDigit(qint8('0' + (10 - sum % 10) % 10));
    calculateWidth();
}

QString NKDIndustrialTwoOfFiveBarcode::barcode() const
{
    QString modules;
    for (QChar digit : digitsToDraw())
        for (int k = 0; k < 5; ++k)
            modules += _getBarForDigit(digit, k) ? QStringLiteral("100") : QStringLiteral("11100");
    return modules;
}
