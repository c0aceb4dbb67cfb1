#include "barcode/NKDCode39Barcode.h"

#include <array>
#include <cstring>

namespace {
// The characters in value order (0-9 are 0-9, A-Z 10-35, then - . space $ / + %),
// with "*" last, and their nine elements bar first: n narrow, w wide.
const char Code39_Chars[] = "0123456789ABCDEFGHIJKLMNOPQRSTUVWXYZ-. $/+%*";
const char* const Code39_Elements[] = {
    "nnnwwnwnn", "wnnwnnnnw", "nnwwnnnnw", "wnwwnnnnn", "nnnwwnnnw", "wnnwwnnnn", "nnwwwnnnn",
    "nnnwnnwnw", "wnnwnnwnn", "nnwwnnwnn", "wnnnnwnnw", "nnwnnwnnw", "wnwnnwnnn", "nnnnwwnnw",
    "wnnnwwnnn", "nnwnwwnnn", "nnnnnwwnw", "wnnnnwwnn", "nnwnnwwnn", "nnnnwwwnn", "wnnnnnnww",
    "nnwnnnnww", "wnwnnnnwn", "nnnnwnnww", "wnnnwnnwn", "nnwnwnnwn", "nnnnnnwww", "wnnnnnwwn",
    "nnwnnnwwn", "nnnnwnwwn", "wwnnnnnnw", "nwwnnnnnw", "wwwnnnnnn", "nwnnwnnnw", "wwnnwnnnn",
    "nwwnwnnnn", "nwnnnnwnw", "wwnnnnwnn", "nwwnnnwnn", "nwnwnwnnn", "nwnwnnnwn", "nwnnnwnwn",
    "nnnwnwnwn", "nwnnwnwnn"};
constexpr int Code39_Count = sizeof(Code39_Chars) - 1;

int indexOf(QChar c)
{
    if (c.unicode() >= 128 || c.unicode() == 0)
        return -1;
    const char* at = strchr(Code39_Chars, char(c.unicode()));
    return at ? int(at - Code39_Chars) : -1;
}
}

const QString& NKDCode39Barcode::patternOf(QChar c)
{
    static const QString none;
    // Every character's modules, made once (three of nine elements are wide:
    // 13 modules). The strings only point at them, so a copy of one has no
    // shared count to step up and down.
    static const std::array<std::array<char16_t, 13>, Code39_Count> modules = [] {
        std::array<std::array<char16_t, 13>, Code39_Count> table{};
        for (int c = 0; c < Code39_Count; ++c) {
            size_t k = 0;
            for (int i = 0; i < 9; ++i) {
                const char16_t module = i % 2 == 0 ? u'1' : u'0';
                table[size_t(c)][k++] = module;
                if (Code39_Elements[c][i] == 'w')
                    table[size_t(c)][k++] = module;
            }
            table[size_t(c)][k] = u'0';
        }
        return table;
    }();
    static const QList<QString> patterns = [] {
        QList<QString> list;
        for (const auto& pattern : modules)
            list.append(QString::fromRawData(reinterpret_cast<const QChar*>(pattern.data()), qsizetype(pattern.size())));
        return list;
    }();
    const int index = indexOf(c);
    return index < 0 ? none : patterns[index];
}

int NKDCode39Barcode::valueOf(QChar c)
{
    const int index = indexOf(c);
    return index >= 0 && index < Code39_Count - 1 ? index : -1;
}

bool NKDCode39Barcode::initWithContent(const QString& content, bool printsCaption)
{
    return NKDBarcode::initWithContent(content.isNull() ? content : content.toUpper(), printsCaption);
}

QString NKDCode39Barcode::_encodeChar(QChar c) const
{
    // "*" is the start and stop character: inside a value a reader would end
    // the symbol there, so it is no data character.
    if (c == QLatin1Char('*'))
        return QString();
    return patternOf(c);
}

QString NKDCode39Barcode::initiator() const
{
    return patternOf(QLatin1Char('*'));
}

QString NKDCode39Barcode::terminator() const
{
    return patternOf(QLatin1Char('*'));
}

bool NKDCode39Barcode::isContentValid() const
{
    const QString text = content();
    for (QChar c : text)
        if (_encodeChar(c).isEmpty())
            return false;
    return true;
}

QString NKDCode39Barcode::barcode() const
{
    QString modules;
    modules.reserve((content().size() + 1) * 13);
    for (QChar c : content())
        modules += _encodeChar(c);
    if (checkDigit() != -1)
        modules += patternOf(QChar(uchar(checkDigit())));
    return modules;
}

void NKDCode39Barcode::generateChecksum()
{
    int sum = 0;
    for (QChar c : code39Text())
        sum += qMax(0, valueOf(c));
    setCheckDigit(qint8(Code39_Chars[sum % 43]));
    calculateWidth();
}

bool NKDExtendedCode39Barcode::initWithContent(const QString& content, bool printsCaption)
{
    if (!NKDCode39Barcode::initWithContent(content, printsCaption))
        return false;
    setContent(content);
    calculateWidth();
    return true;
}

QString NKDExtendedCode39Barcode::code39CharsOf(QChar c)
{
    const ushort code = c.unicode();
    if (code >= 128)
        return QString();
    // "/" and "*" take pairs too, so that a reader never meets an inner stop character.
    if ((code >= '0' && code <= '9') || (code >= 'A' && code <= 'Z') || code == ' ' || code == '-'
        || code == '.')
        return QString(c);
    if (code >= 'a' && code <= 'z')
        return QStringLiteral("+") + QChar(code - 'a' + 'A');
    switch (code) {
    case '!': return QStringLiteral("/A");
    case '"': return QStringLiteral("/B");
    case '#': return QStringLiteral("/C");
    case '$': return QStringLiteral("/D");
    case '%': return QStringLiteral("/E");
    case '&': return QStringLiteral("/F");
    case '\'': return QStringLiteral("/G");
    case '(': return QStringLiteral("/H");
    case ')': return QStringLiteral("/I");
    case '*': return QStringLiteral("/J");
    case '+': return QStringLiteral("/K");
    case ',': return QStringLiteral("/L");
    case '/': return QStringLiteral("/O");
    case ':': return QStringLiteral("/Z");
    case ';': return QStringLiteral("%F");
    case '<': return QStringLiteral("%G");
    case '=': return QStringLiteral("%H");
    case '>': return QStringLiteral("%I");
    case '?': return QStringLiteral("%J");
    case '@': return QStringLiteral("%V");
    case '[': return QStringLiteral("%K");
    case '\\': return QStringLiteral("%L");
    case ']': return QStringLiteral("%M");
    case '^': return QStringLiteral("%N");
    case '_': return QStringLiteral("%O");
    case '`': return QStringLiteral("%W");
    case '{': return QStringLiteral("%P");
    case '|': return QStringLiteral("%Q");
    case '}': return QStringLiteral("%R");
    case '~': return QStringLiteral("%S");
    case '\t': return QStringLiteral("$I");
    case '\n': return QStringLiteral("$J");
    default: return QString();
    }
}

QString NKDExtendedCode39Barcode::code39Text() const
{
    QString text;
    for (QChar c : content())
        text += code39CharsOf(c);
    return text;
}

QString NKDExtendedCode39Barcode::_encodeChar(QChar c) const
{
    QString modules;
    for (QChar part : code39CharsOf(c))
        modules += patternOf(part);
    return modules;
}
