#include "data/Series_Rules.h"

#include "model/Helpers.h"

#include <QRandomGenerator>
#include <algorithm>
#include <limits>

QString PadZero(const QString& text, int width)
{
    if (text.size() >= width)
        return text;
    const qsizetype sign = text.startsWith(QLatin1Char('-')) || text.startsWith(QLatin1Char('+')) ? 1 : 0;
    return QString(text).insert(sign, QString(width - text.size(), QLatin1Char('0')));
}

bool Is_Series_Number(const QString& text)
{
    const QString t = text.trimmed();
    const qsizetype sign = t.startsWith(QLatin1Char('-')) || t.startsWith(QLatin1Char('+')) ? 1 : 0;
    if (t.size() <= sign)
        return false;
    for (qsizetype i = sign; i < t.size(); ++i)
        if (t[i] < QLatin1Char('0') || t[i] > QLatin1Char('9'))
            return false;
    return true;
}

quint32 getRandomNumberBetweenMin(quint32 min, quint32 max)
{
    if (max <= min)
        return min;
    return quint32(QRandomGenerator::global()->bounded(quint64(min), quint64(max) + 1));
}

quint64 Sequential_Count(const QString& from, const QString& to)
{
    const qint64 a = Int64_Value(from), b = Int64_Value(to);
    if (a >= b)
        return 0;
    // b - a is below 2^64 and is computed without overflow in unsigned arithmetic.
    const quint64 span = quint64(b) - quint64(a);
    return span == std::numeric_limits<quint64>::max() ? span : span + 1;
}

QStringList Sequential_Series(const QString& prefix, const QString& from, const QString& to, const QString& suffix,
                              bool pad)
{
    const qint64 a = Int64_Value(from);
    const quint64 n = Sequential_Count(from, to);
    const int width = int(std::max(from.size(), to.size()));
    QStringList values;
    values.reserve(qsizetype(std::min<quint64>(n, quint64(Series_Value_Cap))));
    for (quint64 i = 0; i < n; ++i) {
        const QString number = QString::number(qint64(quint64(a) + i));
        values << prefix + (pad ? PadZero(number, width) : number) + suffix;
    }
    return values;
}

QStringList Constant_Series(const QString& value, qint64 count)
{
    QStringList values;
    for (qint64 i = 0; i < count; ++i)
        values << value;
    return values;
}

QStringList Random_Series(const QString& prefix, const QString& length, qint64 count, const QString& suffix)
{
    const QString digits = Trim_Str(length);
    const int L = digits.size() == 1 && digits[0] >= QLatin1Char('1') && digits[0] <= QLatin1Char('9')
                      ? digits[0].unicode() - '0'
                      : 0;
    // L digits: from 10^(L-1) (1 for one digit) to 10^L - 1.
    quint32 lowest = 1;
    for (int i = 1; i < L; ++i)
        lowest *= 10;
    const quint32 highest = lowest * 10 - 1;
    QStringList values;
    for (qint64 i = 0; i < count; ++i)
        values << prefix + QString::number(L > 0 ? getRandomNumberBetweenMin(lowest, highest) : 0) + suffix;
    return values;
}
