#include "barcode/JapanPostBarcode.h"

#include "barcode/NKDPostnetBarcode.h"

namespace {
constexpr int Encoded_Length = 20;
constexpr float Mm_Per_Point = 0.3527777777777777f;
// The characters in check-value order: digits 0-9, "-", then CC1 to CC8.
const char Japan_Post_Chars[] = "0123456789-:;<=>?./";
// Their bars: F long, A upper half, D lower half, T timing.
const char* const Japan_Post_Bars[] = {"FTT", "FFT", "FDA", "DFA", "FAD", "FTF", "DAF",
                                       "AFD", "ADF", "TFF", "TFT", "DAT", "DTA", "ADT",
                                       "TDA", "ATD", "TAD", "TTF", "FFF"};
const char Start_Bars[] = "FD", Stop_Bars[] = "DF";
const QChar Fill = QLatin1Char('='); // CC4

int groupOf(char bar)
{
    switch (bar) {
    case 'F': return 3;
    case 'A': return 2;
    case 'D': return 1;
    default: return 0;
    }
}

int checkValueOf(QChar c)
{
    for (int i = 0; Japan_Post_Chars[i]; ++i)
        if (c == QLatin1Char(Japan_Post_Chars[i]))
            return i;
    return -1;
}
}

int JapanPostBarcode::descriptorOf(QChar c)
{
    const int value = checkValueOf(c);
    if (value < 0)
        return -1;
    int descriptor = 0;
    for (int bar = 0; bar < 3; ++bar)
        descriptor = (descriptor << 4) | groupOf(Japan_Post_Bars[value][bar]);
    return descriptor;
}

bool JapanPostBarcode::initWithContent(const QString& content, bool, float, float andHeight, float, qint8)
{
    if (content.isNull())
        return false;
    setContent(content);
    setHeight(andHeight >= 8.0f && andHeight <= 11.5f ? andHeight : 10.0f);
    return true;
}

void JapanPostBarcode::setContent(const QString& text)
{
    QString encoded, readable = QStringLiteral(""); // "" when nothing is kept, never absent
    for (QChar c : text.toUpper()) {
        const ushort code = c.unicode();
        if (code >= 'A' && code <= 'J')
            encoded += QLatin1Char(':') + QChar(ushort('0' + code - 'A'));
        else if (code >= 'K' && code <= 'T')
            encoded += QLatin1Char(';') + QChar(ushort('0' + code - 'K'));
        else if (code >= 'U' && code <= 'Z')
            encoded += QLatin1Char('<') + QChar(ushort('0' + code - 'U'));
        else if ((code >= '0' && code <= '9') || code == '-')
            encoded += c;
        else
            continue;
        readable += c;
    }
    if (encoded.size() > Encoded_Length) {
        encoded.truncate(Encoded_Length);
        // A letter whose digit no longer fits leaves its control character
        // last; the fill character takes its place.
        const QChar last = encoded.back();
        if (last == QLatin1Char(':') || last == QLatin1Char(';') || last == QLatin1Char('<'))
            encoded.back() = Fill;
        int kept = 0;
        for (QChar c : encoded)
            if ((c >= QLatin1Char('0') && c <= QLatin1Char('9')) || c == QLatin1Char('-'))
                ++kept;
        readable.truncate(kept);
    }
    while (encoded.size() < Encoded_Length)
        encoded += Fill;
    _japanpostContents = encoded;
    NKDBarcode::setContent(readable);
    generateChecksum();
}

void JapanPostBarcode::setHeight(float height)
{
    const float size = qBound(8.5f, height, 11.5f);
    NKDBarcode::setHeight(size);
    NKDBarcode::setBarWidth(size / 6.0f);
    calculateWidth();
}

void JapanPostBarcode::setBarWidth(float barWidth)
{
    const float width = qBound(1.3333333f, barWidth, 1.9166667f);
    NKDBarcode::setBarWidth(width);
    NKDBarcode::setHeight(6.0f * width);
    calculateWidth();
}

QString JapanPostBarcode::_encodeChar(QChar) const
{
    return QStringLiteral("101010");
}

QString JapanPostBarcode::barcode() const
{
    QString modules;
    for (QChar c : _japanpostContents)
        modules += _encodeChar(c);
    return modules + _encodeChar(QChar(ushort(qMax<qint8>(0, checkDigit()))));
}

bool JapanPostBarcode::isContentValid() const
{
    const QString text = content();
    if (text.size() < 7)
        return false;
    for (int i = 0; i < 7; ++i)
        if (text[i] < QLatin1Char('0') || text[i] > QLatin1Char('9'))
            return false;
    return true;
}

void JapanPostBarcode::generateChecksum()
{
    int sum = 0;
    for (QChar c : _japanpostContents)
        sum += qMax(0, checkValueOf(c));
    setCheckDigit(qint8(Japan_Post_Chars[(19 - sum % 19) % 19]));
}

int JapanPostBarcode::_barDescriptor(int index) const
{
    constexpr int n = Encoded_Length;
    if (index < 4)
        return groupOf(Start_Bars[qBound(0, index, 3) / 2]);
    if (index < 4 + (n + 1) * 6) {
        const int character = (index - 4) / 6, bar = ((index - 4) % 6) / 2;
        QChar c;
        if (character < _japanpostContents.size())
            c = _japanpostContents[character];
        else if (character == n && checkDigit() >= 0)
            c = QChar(ushort(checkDigit()));
        const int descriptor = descriptorOf(c);
        return descriptor < 0 ? 0 : (descriptor >> (4 * (2 - bar))) & 3;
    }
    return groupOf(Stop_Bars[qMin(1, ((index - 4 - (n + 1) * 6) % 3) / 2)]);
}

float JapanPostBarcode::barTop(int index) const
{
    const float scale = height() / 10.0f / Mm_Per_Point;
    return ((_barDescriptor(index) & 2) ? 3.6f : 2.4f) * scale;
}

float JapanPostBarcode::barBottom(int index) const
{
    const float scale = height() / 10.0f / Mm_Per_Point;
    return ((_barDescriptor(index) & 1) ? 0.0f : 1.2f) * scale;
}

float JapanPostBarcode::drawingHeight() const
{
    return qMax(height(), Postal_Picture_Height(*this, 3.6f * height() / 10.0f / Mm_Per_Point));
}
