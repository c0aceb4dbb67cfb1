#include "data/XlsxCells.h"

#include <charconv>
#include <cmath>
#include <cstdint>

namespace xlsx {
namespace {
bool isDigit(char c)
{
    return c >= '0' && c <= '9';
}

template<typename Text>
bool canonical(const Text& s)
{
    const auto digit = [&](size_t i) { return i < size_t(s.size()) && s[i] >= '0' && s[i] <= '9'; };
    size_t i = 0;
    const bool negative = s.size() > 0 && s[0] == '-';
    if (negative)
        ++i;
    if (!digit(i))
        return false;
    int significant = 0;
    const bool zeroInteger = s[i] == '0';
    if (zeroInteger) {
        if (digit(++i))
            return false; // a leading zero
    } else {
        for (; digit(i); ++i)
            ++significant;
    }
    bool fraction = false;
    if (i < size_t(s.size()) && s[i] == '.') {
        const size_t start = ++i;
        for (; digit(i); ++i)
            if (significant > 0 || s[i] != '0')
                ++significant; // the leading zeros of 0.00x do not count
        if (i == start || s[i - 1] == '0')
            return false;
        fraction = true;
    }
    if (i != size_t(s.size()))
        return false;
    if (negative && zeroInteger && !fraction)
        return false; // "-0"
    return significant <= 15;
}

QString shortest(double value)
{
    if (value == 0)
        return QStringLiteral("0");
    char buffer[64];
    const auto result = std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::scientific);
    const std::string_view text(buffer, size_t(result.ptr - buffer));
    const size_t e = text.find('e');
    int exponent = 0;
    std::from_chars(text.data() + e + (text[e + 1] == '+' ? 2 : 1), text.data() + text.size(), exponent);
    if (exponent < -7 || exponent >= 16)
        return QString::fromLatin1(text.data(), qsizetype(text.size()));
    const bool negative = text[0] == '-';
    std::string digits;
    for (const char c : text.substr(0, e))
        if (isDigit(c))
            digits += c;
    std::string out = negative ? "-" : "";
    if (exponent < 0) {
        out += "0.";
        out.append(size_t(-exponent - 1), '0');
        out += digits;
    } else if (size_t(exponent) + 1 >= digits.size()) {
        out += digits;
        out.append(size_t(exponent) + 1 - digits.size(), '0');
    } else {
        out += digits.substr(0, size_t(exponent) + 1);
        out += '.';
        out += digits.substr(size_t(exponent) + 1);
    }
    return QString::fromLatin1(out.data(), qsizetype(out.size()));
}

const char* const Month_Names[] = {"January", "February", "March",     "April",   "May",      "June",
                                   "July",    "August",   "September", "October", "November", "December"};
const char* const Weekday_Names[] = {"Sunday", "Monday", "Tuesday", "Wednesday", "Thursday", "Friday", "Saturday"};

// The civil date of a count of days since 1970-01-01.
void civilDate(std::int64_t days, int& year, int& month, int& day)
{
    days += 719468;
    const std::int64_t era = (days >= 0 ? days : days - 146096) / 146097;
    const std::int64_t dayOfEra = days - era * 146097;
    const std::int64_t yearOfEra = (dayOfEra - dayOfEra / 1460 + dayOfEra / 36524 - dayOfEra / 146096) / 365;
    const std::int64_t dayOfYear = dayOfEra - (365 * yearOfEra + yearOfEra / 4 - yearOfEra / 100);
    const std::int64_t mp = (5 * dayOfYear + 2) / 153;
    day = int(dayOfYear - (153 * mp + 2) / 5 + 1);
    month = int(mp < 10 ? mp + 3 : mp - 9);
    year = int(yearOfEra + era * 400 + (month <= 2 ? 1 : 0));
}

// Days since 1970-01-01 of a civil date.
std::int64_t daysFromCivil(int year, int month, int day)
{
    year -= month <= 2 ? 1 : 0;
    const std::int64_t era = (year >= 0 ? year : year - 399) / 400;
    const std::int64_t yearOfEra = year - era * 400;
    const std::int64_t dayOfYear = (153 * (month > 2 ? month - 3 : month + 9) + 2) / 5 + day - 1;
    const std::int64_t dayOfEra = yearOfEra * 365 + yearOfEra / 4 - yearOfEra / 100 + dayOfYear;
    return era * 146097 + dayOfEra - 719468;
}

// Days from 1970-01-01 to the day before serial 1 of each epoch.
constexpr std::int64_t Epoch_1900 = -25568; // 1899-12-31
constexpr std::int64_t Epoch_1904 = -24107; // 1904-01-01 is serial 0
constexpr double Last_Serial_1900 = 2958466; // 10000-01-01
constexpr double Last_Serial_1904 = 2957004;

using Kind = NumberFormat::Kind;
using Token = NumberFormat::Token;

void addLiteral(std::vector<Token>& tokens, const QString& text)
{
    if (!tokens.empty() && tokens.back().kind == NumberFormat::Literal)
        tokens.back().text += text;
    else
        tokens.push_back({NumberFormat::Literal, text});
}

}

bool isCanonicalNumber(std::string_view text)
{
    return canonical(text);
}

bool isCanonicalNumber(QStringView text)
{
    return canonical(text);
}

QString numberText(std::string_view stored)
{
    while (!stored.empty() && (stored.front() == ' ' || stored.front() == '\t' || stored.front() == '\n'))
        stored.remove_prefix(1);
    while (!stored.empty() && (stored.back() == ' ' || stored.back() == '\t' || stored.back() == '\n'))
        stored.remove_suffix(1);
    if (canonical(stored))
        return QString::fromLatin1(stored.data(), qsizetype(stored.size()));
    std::string_view digits = stored.size() > 1 && stored[0] == '+' ? stored.substr(1) : stored;
    double value = 0;
    const auto result = std::from_chars(digits.data(), digits.data() + digits.size(), value);
    if (result.ec != std::errc() || result.ptr != digits.data() + digits.size() || !std::isfinite(value))
        return QString::fromUtf8(stored.data(), qsizetype(stored.size()));
    return shortest(value);
}

bool readReference(std::string_view ref, int& column, int& row)
{
    constexpr long long Max_Rows = 1048576;
    size_t i = 0;
    column = 0;
    for (; i < ref.size(); ++i) {
        const char c = char(ref[i] & ~0x20); // upper case
        if (c < 'A' || c > 'Z')
            break;
        if (i == 3)
            return false; // four letters or more name no column (and would overflow)
        column = column * 26 + (c - 'A' + 1);
    }
    if (i == 0 || i == ref.size() || ref[i] < '1' || ref[i] > '9')
        return false;
    long long number = 0;
    for (; i < ref.size(); ++i) {
        if (ref[i] < '0' || ref[i] > '9' || number > Max_Rows * 10)
            return false;
        number = number * 10 + (ref[i] - '0');
    }
    --column;
    row = int(std::min(number, Max_Rows * 10));
    return true;
}

std::string_view trimmed(std::string_view text)
{
    while (!text.empty() && (text.front() == ' ' || text.front() == '\t' || text.front() == '\n' || text.front() == '\r'))
        text.remove_prefix(1);
    while (!text.empty() && (text.back() == ' ' || text.back() == '\t' || text.back() == '\n' || text.back() == '\r'))
        text.remove_suffix(1);
    return text;
}

bool isTrue(std::string_view value)
{
    return value == "1" || value == "true";
}

QString fromUtf8(std::string_view text)
{
    return QString::fromUtf8(text.data(), qsizetype(text.size()));
}

QString stringText(std::string_view stored)
{
    return stored.find("_x") == std::string_view::npos ? fromUtf8(stored) : unescaped(fromUtf8(stored));
}

QString unescaped(const QString& text)
{
    if (!text.contains(QLatin1String("_x")))
        return text;
    QString out;
    out.reserve(text.size());
    const qsizetype n = text.size();
    for (qsizetype i = 0; i < n; ++i) {
        if (text[i] == QLatin1Char('_') && i + 6 < n && text[i + 1] == QLatin1Char('x') && text[i + 6] == QLatin1Char('_')) {
            ushort code = 0;
            qsizetype k = i + 2;
            for (; k < i + 6; ++k) {
                const char16_t ch = text[k].unicode();
                const int digit = ch >= '0' && ch <= '9'   ? ch - '0'
                                  : ch >= 'a' && ch <= 'f' ? ch - 'a' + 10
                                  : ch >= 'A' && ch <= 'F' ? ch - 'A' + 10
                                                           : -1;
                if (digit < 0)
                    break;
                code = ushort(code * 16 + digit);
            }
            if (k == i + 6) {
                out += QChar(code);
                i += 6;
                continue;
            }
        }
        out += text[i];
    }
    return out;
}

NumberFormat NumberFormat::builtin(int id)
{
    // The short date (14) and date with time (22) follow the system's
    // settings: they read as a sheet shows them in the United States. The
    // East Asian built-ins (27-36, 50-58) read as ISO dates.
    if ((id >= 27 && id <= 36) || (id >= 50 && id <= 58))
        return iso(true, false);
    switch (id) {
    case 14: return fromCode(u"m/d/yyyy");
    case 15: return fromCode(u"d-mmm-yy");
    case 16: return fromCode(u"d-mmm");
    case 17: return fromCode(u"mmm-yy");
    case 18: return fromCode(u"h:mm AM/PM");
    case 19: return fromCode(u"h:mm:ss AM/PM");
    case 20: return fromCode(u"h:mm");
    case 21: return fromCode(u"h:mm:ss");
    case 22: return fromCode(u"m/d/yyyy h:mm");
    case 45: return fromCode(u"mm:ss");
    case 46: return fromCode(u"[h]:mm:ss");
    case 47: return fromCode(u"mm:ss.0");
    default: return {};
    }
}

NumberFormat NumberFormat::iso(bool date, bool time, bool seconds)
{
    QString code;
    if (date)
        code += QStringLiteral("yyyy-mm-dd");
    if (date && time)
        code += QLatin1Char(' ');
    if (time)
        code += seconds ? QStringLiteral("hh:mm:ss") : QStringLiteral("hh:mm");
    return fromCode(code);
}

NumberFormat NumberFormat::fromCode(QStringView code)
{
    NumberFormat format;
    std::vector<Token>& tokens = format._tokens;
    bool digits = false, general = false, plain = true, hasDate = false, hasTime = false, hasSeconds = false;
    const qsizetype n = code.size();
    const auto lower = [&](qsizetype i) { return i < n ? code[i].toLower().unicode() : char16_t(0); };
    for (qsizetype i = 0; i < n; ++i) {
        const QChar c = code[i];
        const char16_t l = lower(i);
        if (c == QLatin1Char(';'))
            break; // only the first section
        if (c == QLatin1Char('"')) {
            const qsizetype close = code.indexOf(QLatin1Char('"'), i + 1);
            const qsizetype stop = close < 0 ? n : close;
            addLiteral(tokens, code.mid(i + 1, stop - i - 1).toString());
            i = stop;
        } else if (c == QLatin1Char('\\')) {
            if (i + 1 < n)
                addLiteral(tokens, QString(code[++i]));
        } else if (c == QLatin1Char('_')) {
            ++i;
            addLiteral(tokens, QStringLiteral(" "));
        } else if (c == QLatin1Char('*')) {
            ++i; // a fill character takes no room of its own here
        } else if (c == QLatin1Char('[')) {
            const qsizetype close = code.indexOf(QLatin1Char(']'), i + 1);
            const qsizetype stop = close < 0 ? n : close;
            const QString inside = code.mid(i + 1, stop - i - 1).toString().toLower();
            i = stop;
            const QChar first = inside.isEmpty() ? QChar() : inside[0];
            if (!inside.isEmpty() && (first == u'h' || first == u'm' || first == u's')
                && inside.count(first) == inside.size()) {
                tokens.push_back({first == u'h' ? ElapsedHours : first == u'm' ? ElapsedMinutes : ElapsedSeconds,
                                  QString(), int(inside.size())});
                hasTime = true;
                hasSeconds |= first == u's';
            } else if (inside.startsWith(QLatin1String("$-f800")) || inside.startsWith(QLatin1String("$-f400"))) {
                plain = false; // the system's own long date or time
            } else if (inside.startsWith(QLatin1Char('$'))) {
                const QString symbol = code.mid(i - inside.size() + 1, inside.size() - 1).toString();
                addLiteral(tokens, symbol.left(symbol.indexOf(QLatin1Char('-')) < 0 ? symbol.size()
                                                                                   : symbol.indexOf(QLatin1Char('-'))));
            } else if (inside.startsWith(QLatin1String("dbnum")) || inside.startsWith(QLatin1String("natnum"))) {
                plain = false;
            } // colours and conditions show nothing
        } else if (l == u'a' && code.mid(i, 5).compare(QLatin1String("am/pm"), Qt::CaseInsensitive) == 0) {
            tokens.push_back({AmPm, code.mid(i, 5).toString()});
            format._twelveHour = true;
            i += 4;
        } else if (l == u'a' && code.mid(i, 3).compare(QLatin1String("a/p"), Qt::CaseInsensitive) == 0) {
            tokens.push_back({AP, code.mid(i, 3).toString()});
            format._twelveHour = true;
            i += 2;
        } else if (l == u'g' && code.mid(i, 7).compare(QLatin1String("general"), Qt::CaseInsensitive) == 0) {
            general = true;
            i += 6;
        } else if (l == u'e' && i + 1 < n && (code[i + 1] == QLatin1Char('+') || code[i + 1] == QLatin1Char('-'))) {
            digits = true; // scientific
            ++i;
        } else if (l == u'y' || l == u'm' || l == u'd' || l == u'h' || l == u's' || l == u'e' || l == u'g'
                   || l == u'b') {
            qsizetype run = 1;
            while (lower(i + run) == l)
                ++run;
            i += run - 1;
            switch (l) {
            case u'y':
                tokens.push_back({run <= 2 ? Year2 : Year4});
                hasDate = true;
                break;
            case u'm':
                tokens.push_back({run == 1 ? Month : run == 2 ? Month2 : run == 3 ? MonthAbbr : run == 5 ? MonthLetter : MonthName});
                break;
            case u'd':
                tokens.push_back({run == 1 ? Day : run == 2 ? Day2 : run == 3 ? WeekdayAbbr : WeekdayName});
                hasDate = true;
                break;
            case u'h':
                tokens.push_back({run == 1 ? Hour : Hour2});
                hasTime = true;
                break;
            case u's':
                tokens.push_back({run == 1 ? Second : Second2});
                hasTime = hasSeconds = true;
                break;
            default: // eras and other calendars' years
                plain = false;
                hasDate = true;
                break;
            }
        } else if (c == QLatin1Char('.') && i + 1 < n && code[i + 1] == QLatin1Char('0') && !tokens.empty()
                   && (tokens.back().kind == Second || tokens.back().kind == Second2
                       || tokens.back().kind == ElapsedSeconds)) {
            qsizetype run = 0;
            while (i + 1 + run < n && code[i + 1 + run] == QLatin1Char('0'))
                ++run;
            tokens.push_back({Fraction, QString(), int(std::min<qsizetype>(run, 3))});
            format._fractionDigits = int(std::min<qsizetype>(run, 3));
            i += run;
        } else if (c == QLatin1Char('0') || c == QLatin1Char('#') || c == QLatin1Char('?') || c == QLatin1Char('@')) {
            digits = true;
        } else {
            addLiteral(tokens, QString(c));
        }
    }
    // m and mm next to hours or seconds are minutes.
    for (size_t t = 0; t < tokens.size(); ++t) {
        if (tokens[t].kind != Month && tokens[t].kind != Month2)
            continue;
        size_t before = t, after = t + 1;
        while (before > 0 && tokens[before - 1].kind == Literal)
            --before;
        while (after < tokens.size() && tokens[after].kind == Literal)
            ++after;
        const bool afterHours = before > 0
                                && (tokens[before - 1].kind == Hour || tokens[before - 1].kind == Hour2
                                    || tokens[before - 1].kind == ElapsedHours);
        const bool beforeSeconds = after < tokens.size()
                                   && (tokens[after].kind == Second || tokens[after].kind == Second2
                                       || tokens[after].kind == ElapsedSeconds);
        if (afterHours || beforeSeconds) {
            tokens[t].kind = tokens[t].kind == Month ? Minute : Minute2;
            hasTime = true;
        } else {
            hasDate = true;
        }
    }
    for (const Token& t : tokens)
        hasDate |= t.kind >= MonthAbbr && t.kind <= MonthLetter;
    if (digits || general || (!hasDate && !hasTime))
        return {};
    if (!plain)
        return iso(hasDate, hasTime, hasSeconds);
    return format;
}

QString NumberFormat::dateText(double serial, bool epoch1904) const
{
    if (_tokens.empty() || !std::isfinite(serial) || serial < 0
        || serial >= (epoch1904 ? Last_Serial_1904 : Last_Serial_1900))
        return QString();
    std::int64_t scale = 1;
    for (int i = 0; i < _fractionDigits; ++i)
        scale *= 10;
    const std::int64_t perDay = 86400 * scale;
    const std::int64_t units = std::llround(serial * double(perDay));
    const std::int64_t days = units / perDay;
    const std::int64_t unitsOfDay = units % perDay;
    const std::int64_t secondsOfDay = unitsOfDay / scale;
    const std::int64_t fraction = unitsOfDay % scale;
    int year = 0, month = 0, day = 0;
    if (!epoch1904 && days == 60) {
        year = 1900, month = 2, day = 29; // the day the 1900 system counts though it never was
    } else {
        civilDate((epoch1904 ? Epoch_1904 : Epoch_1900 - (days > 60 ? 1 : 0)) + days, year, month, day);
    }
    const std::int64_t weekday = (((epoch1904 ? Epoch_1904 : Epoch_1900 - 1) + days) % 7 + 11) % 7;
    const int hour = int(secondsOfDay / 3600), minute = int(secondsOfDay / 60 % 60), second = int(secondsOfDay % 60);
    const std::int64_t totalSeconds = units / scale;
    const auto padded = [](std::int64_t value, int width) {
        return QStringLiteral("%1").arg(value, width, 10, QLatin1Char('0'));
    };
    QString out;
    for (const Token& t : _tokens) {
        switch (t.kind) {
        case Literal: out += t.text; break;
        case Year2: out += padded(year % 100, 2); break;
        case Year4: out += padded(year, 4); break;
        case Month: out += QString::number(month); break;
        case Month2: out += padded(month, 2); break;
        case MonthAbbr: out += QLatin1String(Month_Names[month - 1], 3); break;
        case MonthName: out += QLatin1String(Month_Names[month - 1]); break;
        case MonthLetter: out += QLatin1Char(Month_Names[month - 1][0]); break;
        case Day: out += QString::number(day); break;
        case Day2: out += padded(day, 2); break;
        case WeekdayAbbr: out += QLatin1String(Weekday_Names[weekday], 3); break;
        case WeekdayName: out += QLatin1String(Weekday_Names[weekday]); break;
        case Hour:
        case Hour2: {
            const int shown = _twelveHour ? (hour % 12 == 0 ? 12 : hour % 12) : hour;
            out += t.kind == Hour ? QString::number(shown) : padded(shown, 2);
            break;
        }
        case Minute: out += QString::number(minute); break;
        case Minute2: out += padded(minute, 2); break;
        case Second: out += QString::number(second); break;
        case Second2: out += padded(second, 2); break;
        case Fraction: out += QLatin1Char('.') + padded(fraction, t.width); break;
        case AmPm: {
            const bool upper = t.text[0].isUpper();
            out += hour < 12 ? (upper ? QLatin1String("AM") : QLatin1String("am")) : (upper ? QLatin1String("PM") : QLatin1String("pm"));
            break;
        }
        case AP: out += QChar((hour < 12 ? u'A' : u'P') + (t.text[0].isUpper() ? 0 : 32)); break;
        case ElapsedHours: out += padded(totalSeconds / 3600, t.width); break;
        case ElapsedMinutes: out += padded(totalSeconds / 60, t.width); break;
        case ElapsedSeconds: out += padded(totalSeconds, t.width); break;
        }
    }
    return out;
}

bool readIso(std::string_view text, bool epoch1904, IsoValue& value)
{
    value = {};
    size_t i = 0;
    const auto number = [&](size_t digits, int& out) {
        if (i + digits > text.size())
            return false;
        out = 0;
        for (size_t k = 0; k < digits; ++k) {
            if (!isDigit(text[i + k]))
                return false;
            out = out * 10 + (text[i + k] - '0');
        }
        i += digits;
        return true;
    };
    const auto expect = [&](char c) { return i < text.size() && text[i] == c ? (++i, true) : false; };
    if (!text.empty() && (text[0] == 'P' || text.substr(0, 2) == "-P")) {
        // A duration: PnDTnHnMnS, each part optional.
        const bool negative = text[0] == '-';
        i = negative ? 2 : 1;
        double seconds = 0;
        bool inTime = false, any = false;
        while (i < text.size()) {
            if (text[i] == 'T') {
                inTime = true;
                ++i;
                continue;
            }
            double amount = 0;
            const auto result = std::from_chars(text.data() + i, text.data() + text.size(), amount);
            if (result.ec != std::errc() || result.ptr == text.data() + text.size())
                return false;
            i = size_t(result.ptr - text.data());
            const char unit = text[i++];
            if (unit == 'D' && !inTime)
                seconds += amount * 86400;
            else if (unit == 'H' && inTime)
                seconds += amount * 3600;
            else if (unit == 'M' && inTime)
                seconds += amount * 60;
            else if (unit == 'S' && inTime)
                seconds += amount;
            else
                return false;
            any = true;
        }
        value.serial = (negative ? -seconds : seconds) / 86400;
        value.time = value.duration = any;
        return any;
    }
    int year = 0, month = 1, day = 1, hour = 0, minute = 0, second = 0;
    double fraction = 0;
    const bool hasDate = text.size() >= 10 && text[4] == '-';
    if (hasDate) {
        if (!number(4, year) || !expect('-') || !number(2, month) || !expect('-') || !number(2, day) || month < 1
            || month > 12 || day < 1 || day > 31)
            return false;
        if (i < text.size() && !expect('T') && !expect(' '))
            return false;
    }
    const bool hasTime = i < text.size();
    if (hasTime) {
        if (!number(2, hour) || !expect(':') || !number(2, minute))
            return false;
        if (expect(':') && !number(2, second))
            return false;
        if (i < text.size() && text[i] == '.') {
            const size_t from = i;
            ++i;
            while (i < text.size() && isDigit(text[i]))
                ++i;
            std::from_chars(text.data() + from, text.data() + i, fraction);
            if (i == from + 1)
                return false;
        }
        // A zone (Z, +hh:mm) is left as written: the sheet shows the local time.
        if (i < text.size() && text[i] != 'Z' && text[i] != '+' && text[i] != '-')
            return false;
        if (hour > 24 || minute > 59 || second > 60)
            return false;
    }
    if (!hasDate && !hasTime)
        return false;
    double serial = (hour * 3600 + minute * 60 + second + fraction) / 86400;
    if (hasDate) {
        const std::int64_t days = daysFromCivil(year, month, day);
        std::int64_t count = days - (epoch1904 ? Epoch_1904 : Epoch_1900);
        if (!epoch1904 && count >= 60)
            ++count; // past the day the 1900 system counts though it never was
        serial += double(count);
    }
    value.serial = serial;
    value.date = hasDate;
    value.time = hasTime;
    return true;
}

}
