#include "barcode/NKDCodabarBarcode.h"

#include <cstring>

namespace {
// Seven elements per character, bar first: n narrow, w wide.
const char Codabar_Chars[] = "0123456789-$:/.+ABCD";
const char* const Codabar_Elements[] = {
    "nnnnnww", "nnnnwwn", "nnnwnnw", "wwnnnnn", "nnwnnwn", "wnnnnwn", "nwnnnnw",
    "nwnnwnn", "nwwnnnn", "wnnwnnn", "nnnwwnn", "nnwwnnn", "wnnnwnw", "wnwnnnw",
    "wnwnwnn", "nnwnwnw", "nnwwnwn", "nwnwnnw", "nnnwnww", "nnnwwwn"};
}

QString NKDCodabarBarcode::_encodeChar(QChar c) const
{
    if (c.unicode() == 0 || c.unicode() >= 128)
        return QString();
    const char* at = strchr(Codabar_Chars, char(c.unicode()));
    if (!at)
        return QString();
    const char* elements = Codabar_Elements[at - Codabar_Chars];
    QString modules;
    for (int i = 0; i < 7; ++i) {
        const QChar module = i % 2 == 0 ? QLatin1Char('1') : QLatin1Char('0');
        modules += module;
        if (elements[i] == 'w')
            modules += module;
    }
    return modules;
}

QString NKDCodabarBarcode::barcode() const
{
    QString modules;
    for (QChar c : content()) {
        const QString pattern = _encodeChar(c);
        if (pattern.isEmpty())
            continue;
        if (!modules.isEmpty())
            modules += QLatin1Char('0');
        modules += pattern;
    }
    return modules;
}
