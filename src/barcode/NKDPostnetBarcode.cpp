#include "barcode/NKDPostnetBarcode.h"

#include "barcode/LinearLayout.h"

namespace {
// The tall bars of each digit, 1 tall.
const char* const Postnet_Tall[] = {"11000", "00011", "00101", "00110", "01001",
                                    "01010", "01100", "10001", "10010", "10100"};
constexpr float Tall_Inches = 0.125f, Short_Inches = 0.05f, Frame_Points = 9.0f;

int digitValue(QChar c)
{
    return c >= QLatin1Char('0') && c <= QLatin1Char('9') ? c.unicode() - '0' : -1;
}
}

float Postal_Picture_Height(const NKDBarcode& model, float barPoints)
{
    return Layout_Linear_Barcode(model, nullptr, Linear_Detail::Bands).heightFor(barPoints);
}

bool NKDPostnetBarcode::initWithContent(const QString& content, bool printsCaption)
{
    if (!NKDBarcode::initWithContent(content, printsCaption, 1.08f, Frame_Points, 0.0f, -1))
        return false;
    generateChecksum();
    calculateWidth();
    return true;
}

QString NKDPostnetBarcode::_encodeChar(QChar) const
{
    return QStringLiteral("100100100100100");
}

bool NKDPostnetBarcode::isContentValid() const
{
    const QString text = content();
    if (text.size() != 5 && text.size() != 9 && text.size() != 11)
        return false;
    for (QChar c : text)
        if (digitValue(c) < 0)
            return false;
    return true;
}

void NKDPostnetBarcode::generateChecksum()
{
    int sum = 0;
    for (QChar c : content())
        sum += qMax(0, digitValue(c));
    setCheckDigit(qint8('0' + (10 - sum % 10) % 10));
}

bool NKDPostnetBarcode::isTall(int digit, int bar) const
{
    return digit >= 0 && digit <= 9 && bar >= 0 && bar <= 4 && Postnet_Tall[digit][bar] == '1';
}

float NKDPostnetBarcode::barTop(int index) const
{
    const int modules = int(completeBarcode().size());
    if (index <= 0 || index >= modules - 1)
        return Frame_Points;
    const int d = (index - 3) / 15;
    const int bar = (index - 15 * d) / 3; // 1 to 5
    const QString text = content();
    QChar c;
    if (d < text.size())
        c = text[d];
    else if (checkDigit() >= 0)
        c = QChar(ushort(checkDigit()));
    const int digit = digitValue(c);
    const bool tall = digit < 0 ? nonDigitIsTall() : isTall(digit, bar - 1);
    if (digit < 0 && !tall)
        return 0;
    return (tall ? Tall_Inches : Short_Inches) * 72;
}

float NKDPostnetBarcode::drawingHeight() const
{
    return qMax(height(), Postal_Picture_Height(*this, Tall_Inches * 72));
}
