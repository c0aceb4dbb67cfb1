#include "barcode/NKDCode128Barcode.h"

#include "model/Helpers.h"

#include <algorithm>

namespace {
// Bar and space widths of the symbol values 0 to 105, bar first.
const char* const Code128_Widths[] = {
    "212222", "222122", "222221", "121223", "121322", "131222", "122213", "122312", "132212",
    "221213", "221312", "231212", "112232", "122132", "122231", "113222", "123122", "123221",
    "223211", "221132", "221231", "213212", "223112", "312131", "311222", "321122", "321221",
    "312212", "322112", "322211", "212123", "212321", "232121", "111323", "131123", "131321",
    "112313", "132113", "132311", "211313", "231113", "231311", "112133", "112331", "132131",
    "113123", "113321", "133121", "313121", "211331", "231131", "213113", "213311", "213131",
    "311123", "311321", "331121", "312113", "312311", "332111", "314111", "221411", "431111",
    "111224", "111422", "121124", "121421", "141122", "141221", "112214", "112412", "122114",
    "122411", "142112", "142211", "241211", "221114", "413111", "241112", "134111", "111242",
    "121142", "121241", "114212", "124112", "124211", "411212", "421112", "421211", "212141",
    "214121", "412121", "111143", "111341", "131141", "114113", "114311", "411113", "411311",
    "113141", "114131", "311141", "411131", "211412", "211214", "211232"};
const QString Stop_Pattern = QStringLiteral("1100011101011");
constexpr int Shift = 98, Code_B = 100, Code_A = 101;
constexpr int Start_A = 103;

QString widthsToModules(const char* widths)
{
    QString modules;
    for (int i = 0; widths[i]; ++i)
        modules += QString(widths[i] - '0', i % 2 == 0 ? QLatin1Char('1') : QLatin1Char('0'));
    return modules;
}

bool isDigit(QChar c)
{
    return c >= QLatin1Char('0') && c <= QLatin1Char('9');
}

// The module patterns of the symbol values, made once.
const QList<QString>& patterns()
{
    static const QList<QString> list = [] {
        QList<QString> made;
        for (const char* widths : Code128_Widths)
            made.append(widthsToModules(widths));
        return made;
    }();
    return list;
}
}

QString NKDCode128Barcode::patternOf(int value)
{
    return value >= 0 && value < patterns().size() ? patterns()[value] : QString();
}

std::unique_ptr<NKDCode128Barcode> NKDCode128Barcode::withCodeSet(int codeSet, const QString& content,
                                                                  bool printsCaption,
                                                                  const BarcodeStyle* style)
{
    auto model = std::make_unique<NKDCode128Barcode>();
    model->setStyle(style);
    model->setCodeSet(codeSet);
    if (!model->initWithContent(content, printsCaption))
        return nullptr;
    return model;
}

std::unique_ptr<NKDBarcode> NKDCode128Barcode::newOfSameClass() const
{
    auto model = std::make_unique<NKDCode128Barcode>();
    model->setCodeSet(_codeSet);
    return model;
}

bool NKDCode128Barcode::initWithContent(const QString& content, bool printsCaption)
{
    if (content.isNull())
        return false;
    // The set and the check value are settled first, so that the modules are
    // made and measured once, never with the automatic set.
    setContent(content);
    if (_codeSet == SetAuto)
        setCodeSet(_bestCodeSetForContent());
    generateChecksum();
    return NKDBarcode::initWithContent(content, printsCaption, Default_Bar_Width, Default_Height,
                                       Default_Font_Size, checkDigit());
}

int NKDCode128Barcode::_bestCodeSetForContent() const
{
    int digits = 0, controls = 0, lower = 0;
    const QString text = content();
    for (QChar c : text) {
        const int code = c.unicode();
        if (isDigit(c))
            ++digits;
        else if (code < 32 || code == 127)
            ++controls;
        else if (code >= 'a' && code <= 'z')
            ++lower;
    }
    if (digits == text.size())
        return SetC;
    return controls > lower ? SetA : SetB;
}

QString NKDCode128Barcode::initiator() const
{
    if (_codeSet < SetA || _codeSet > SetC) {
        Show_NSLog_Message(QStringLiteral("Invalid codeSet value: %1").arg(_codeSet));
        return QString();
    }
    return patternOf(Start_A + _codeSet);
}

QString NKDCode128Barcode::terminator() const
{
    return Stop_Pattern;
}

QList<int> NKDCode128Barcode::dataValues() const
{
    const Values values = symbolValues();
    return QList<int>(values.cbegin(), values.cend());
}

NKDCode128Barcode::Values NKDCode128Barcode::symbolValues() const
{
    Values values;
    if (_codeSet < SetA || _codeSet > SetC)
        return values;
    const QString& text = content();
    int set = _codeSet;
    for (qsizetype i = 0; i < text.size();) {
        const QChar c = text[i];
        if (set == SetC) {
            if (isDigit(c) && i + 1 < text.size() && isDigit(text[i + 1])) {
                values.append((c.unicode() - '0') * 10 + text[i + 1].unicode() - '0');
                i += 2;
                continue;
            }
            // A lone digit or any other character leaves set C.
            set = valueIn(c, SetB) < 0 && valueIn(c, SetA) >= 0 ? SetA : SetB;
            values.append(set == SetA ? Code_A : Code_B);
            continue;
        }
        const int value = valueIn(c, set);
        if (value >= 0) {
            values.append(value);
            ++i;
            continue;
        }
        const int other = set == SetA ? SetB : SetA;
        const int otherValue = valueIn(c, other);
        if (otherValue < 0) { // outside ASCII: nothing can write it
            ++i;
            continue;
        }
        const bool nextNeedsOther = i + 1 < text.size() && valueIn(text[i + 1], set) < 0
                                    && valueIn(text[i + 1], other) >= 0;
        if (nextNeedsOther) {
            values.append(other == SetA ? Code_A : Code_B);
            set = other;
        } else {
            values.append(Shift);
            values.append(otherValue);
            ++i;
        }
    }
    return values;
}

QString NKDCode128Barcode::barcode() const
{
    Values values = symbolValues();
    if (checkDigit() >= 0 && checkDigit() <= 102)
        values.append(checkDigit());
    const QList<QString>& pattern = patterns();
    // Every pattern has 11 modules: the string is sized once and filled in place.
    QString modules(values.size() * 11, Qt::Uninitialized);
    QChar* out = modules.data();
    for (int value : values)
        if (value >= 0 && value < pattern.size())
            out = std::copy(pattern[value].cbegin(), pattern[value].cend(), out);
    modules.truncate(out - modules.constData());
    return modules;
}

void NKDCode128Barcode::generateChecksum()
{
    if (_codeSet < SetA || _codeSet > SetC) {
        setCheckDigit(-1);
        return;
    }
    int sum = Start_A + _codeSet;
    int weight = 1;
    for (int value : symbolValues())
        sum += weight++ * value;
    setCheckDigit(qint8(sum % 103));
}

bool NKDCode128Barcode::isContentValid() const
{
    for (QChar c : content())
        if (c.unicode() > 127)
            return false;
    return true;
}

QString NKDCode128Barcode::_encodeChar(QChar c, int withSet) const
{
    if (withSet == SetC) // a single character reads as in set A, printable part only
        return c.unicode() >= 32 ? patternOf(valueIn(c, SetA)) : QString();
    return patternOf(valueIn(c, withSet));
}

QString NKDCode128Barcode::_encodeChar(QChar c) const
{
    return _encodeChar(c, _codeSet);
}

QString NKDCode128Barcode::_encodeNumberPair(const QString& pair) const
{
    int value = 0;
    for (QChar c : pair) {
        if (!isDigit(c))
            break;
        value = value * 10 + (c.unicode() - '0');
        if (value > 102)
            return QString();
    }
    return patternOf(value);
}
