#include "barcode/NKDModifiedPlesseyBarcode.h"

QString NKDModifiedPlesseyBarcode::bitsOf(int value)
{
    QString modules;
    for (int bit = 0; bit < 4; ++bit)
        modules += (value >> bit) & 1 ? QStringLiteral("1110") : QStringLiteral("1000");
    return modules;
}

bool NKDModifiedPlesseyBarcode::initWithContent(const QString& content, bool printsCaption)
{
    if (!NKDBarcode::initWithContent(content.isNull() ? content : content.toUpper(), printsCaption))
        return false;
    generateChecksum();
    calculateWidth();
    return true;
}

int NKDModifiedPlesseyBarcode::valueOf(QChar c) const
{
    return c >= QLatin1Char('0') && c <= QLatin1Char('9') ? c.unicode() - '0' : -1;
}

int NKDModifiedPlesseyHexBarcode::valueOf(QChar c) const
{
    if (c >= QLatin1Char('A') && c <= QLatin1Char('F'))
        return c.unicode() - 'A' + 10;
    return NKDModifiedPlesseyBarcode::valueOf(c);
}

QString NKDModifiedPlesseyBarcode::_encodeChar(QChar c) const
{
    const int value = valueOf(c);
    return value < 0 ? QString() : bitsOf(value);
}

QString NKDModifiedPlesseyBarcode::initiator() const
{
    return QStringLiteral("1110111010001110");
}

QString NKDModifiedPlesseyBarcode::terminator() const
{
    return QStringLiteral("111") + QStringLiteral("1000100011101110");
}

void NKDModifiedPlesseyBarcode::generateChecksum()
{
    const QString text = content();
    int total = 0;
    bool doubled = true;
    for (qsizetype i = text.size() - 1; i >= 0; --i, doubled = !doubled) {
        const int value = qMax(0, valueOf(text[i]));
        if (doubled)
            for (int twice = 2 * value; twice > 0; twice /= 10)
                total += twice % 10;
        else
            total += value;
    }
    setCheckDigit(qint8('0' + (10 - total % 10) % 10));
}
