#include "barcode/NKDRoyalMailBarcode.h"

#include "barcode/NKDPostnetBarcode.h"

namespace {
// Characters in table order: row r (1-6) and column c (1-6) hold the
// character at (r - 1) * 6 + (c - 1).
const char Royal_Mail_Chars[] = "0123456789ABCDEFGHIJKLMNOPQRSTUVWXYZ";
// The four bars' ascenders of a row and descenders of a column (first bar most
// significant): two of the four bars each.
const int Two_Of_Four[] = {0b0011, 0b0101, 0b0110, 0b1001, 0b1010, 0b1100};
constexpr float Points_Per_Mm = 0.03937007874015748f * 72;

int indexOf(QChar c)
{
    for (int i = 0; i < 36; ++i)
        if (c == QLatin1Char(Royal_Mail_Chars[i]))
            return i;
    return -1;
}
}

int NKDRoyalMailBarcode::descriptorOf(QChar c)
{
    const int index = indexOf(c);
    if (index < 0)
        return 0;
    const int ascenders = Two_Of_Four[index / 6], descenders = Two_Of_Four[index % 6];
    int descriptor = 0;
    for (int bar = 0; bar < 4; ++bar) {
        const int bit = 3 - bar;
        const int group = ((ascenders >> bit) & 1) * 2 + ((descenders >> bit) & 1);
        descriptor = (descriptor << 4) | group;
    }
    return descriptor;
}

bool NKDRoyalMailBarcode::initWithContent(const QString& content, bool)
{
    if (!NKDBarcode::initWithContent(content, false, 0.5f * Points_Per_Mm, 5.05f * Points_Per_Mm, 0.0f, -1))
        return false;
    generateChecksum();
    calculateWidth();
    return true;
}

QString NKDRoyalMailBarcode::_encodeChar(QChar) const
{
    return QStringLiteral("10101010");
}

bool NKDRoyalMailBarcode::isContentValid() const
{
    for (QChar c : content())
        if (indexOf(c) < 0)
            return false;
    return true;
}

void NKDRoyalMailBarcode::generateChecksum()
{
    int rows = 0, columns = 0;
    for (QChar c : content()) {
        const int descriptor = descriptorOf(c);
        int ascenders = 0, descenders = 0;
        for (int bar = 0; bar < 4; ++bar) {
            const int group = (descriptor >> (4 * (3 - bar))) & 3;
            ascenders = (ascenders << 1) | (group >> 1);
            descenders = (descenders << 1) | (group & 1);
        }
        rows = (rows + (ascenders >> 1)) % 6;
        columns = (columns + (descenders >> 1)) % 6;
    }
    const int row = rows - 1 < 0 ? 5 : rows - 1, column = columns - 1 < 0 ? 5 : columns - 1;
    setCheckDigit(qint8(Royal_Mail_Chars[row * 6 + column]));
}

int NKDRoyalMailBarcode::_barDescriptor(int index) const
{
    const int n = int(content().size());
    if (index <= 0)
        return 2;
    if (index >= (n + 1) * 8 + 2)
        return 3;
    const int k = index - 2;
    const int character = k / 8, bar = (k % 8) / 2;
    QChar c;
    if (character < n)
        c = content()[character];
    else if (checkDigit() >= 0)
        c = QChar(ushort(checkDigit()));
    return (descriptorOf(c) >> (4 * (3 - bar))) & 3;
}

float NKDRoyalMailBarcode::barTop(int index) const
{
    return ((_barDescriptor(index) & 2) ? 5.05f : 3.15f) * Points_Per_Mm;
}

float NKDRoyalMailBarcode::barBottom(int index) const
{
    return ((_barDescriptor(index) & 1) ? 0.0f : 1.9f) * Points_Per_Mm;
}

float NKDRoyalMailBarcode::drawingHeight() const
{
    return qMax(height(), Postal_Picture_Height(*this, 5.05f * Points_Per_Mm));
}
