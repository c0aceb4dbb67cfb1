#pragma once
// How the cells of a worksheet read as the sheet shows them, where the
// meaning is plain: numbers in their shortest exact decimal form, dates and
// times under their number formats, escaped characters in strings decoded.
#include <QString>
#include <QStringView>

#include <string_view>
#include <vector>

namespace xlsx {

// True for a number that every spreadsheet reads back as the same text: an
// optional minus, no leading zeros, a C-locale point, no trailing zeros after
// it, no exponent, at most 15 significant digits ("007", "1.50", "1e5", "-0"
// and long identifiers are not). Such a text is already the shortest form of
// its number.
bool isCanonicalNumber(std::string_view text);
bool isCanonicalNumber(QStringView text);

// The shortest decimal text that reads back to the same double ("10.2" for
// the stored "10.199999999999999"): a canonical number as stored, others in
// fixed notation from 1e-7 up to 1e16 and in exponent notation beyond. Text
// that is no number comes back as stored.
QString numberText(std::string_view stored);

// A cell reference such as "AB12": its 0-based column and 1-based row.
// false for anything that is not one to three letters and a row number.
bool readReference(std::string_view ref, int& column, int& row);
// Text without the white space at its ends.
std::string_view trimmed(std::string_view text);
// "1" or "true", as booleans are stored.
bool isTrue(std::string_view value);
// UTF-8 as a QString.
QString fromUtf8(std::string_view text);
// The text of a stored string, its escapes decoded (see unescaped).
QString stringText(std::string_view stored);

// Strings decoded of their "_xHHHH_" escapes: "_x000D_" is a carriage
// return, "_x005F_" a literal underscore (so "_x005F_x000D_" reads "_x000D_").
QString unescaped(const QString& text);

// A cell number format, as far as dates and times go.
class NumberFormat {
public:
    // General: numbers stay numbers.
    NumberFormat() = default;
    // A custom format code (its first section is used).
    static NumberFormat fromCode(QStringView code);
    // A built-in format id: 14-22, 27-36, 45-47 and 50-58 are dates or times
    // (14 and 22 as the United States shows them, 27-36 and 50-58 in ISO form).
    static NumberFormat builtin(int id);
    // The shown form of ISO dates: with a date, a time, or both.
    static NumberFormat iso(bool date, bool time, bool seconds = true);

    bool isDate() const { return !_tokens.empty(); }
    // The text of a date serial (days since the workbook's epoch, the time
    // of day as the fraction). A null string for serials the format cannot
    // show as a date (negative, or past the year 9999).
    QString dateText(double serial, bool epoch1904) const;

    enum Kind {
        Literal, Year2, Year4, Month, Month2, MonthAbbr, MonthName, MonthLetter, Day, Day2, WeekdayAbbr,
        WeekdayName, Hour, Hour2, Minute, Minute2, Second, Second2, Fraction, AmPm, AP, ElapsedHours,
        ElapsedMinutes, ElapsedSeconds
    };
    struct Token {
        Kind kind;
        QString text = QString(); // Literal: the text; AmPm/AP: the case as written ("AM/PM", "a/p")
        int width = 0; // Fraction: digits; elapsed: the least digits
    };

private:
    std::vector<Token> _tokens; // empty: not a date format
    bool _twelveHour = false;
    int _fractionDigits = 0;
};

// The serial of an ISO 8601 text as date cells store them ("2021-01-01",
// "2021-01-01T10:10:10", "10:10:10", "PT1H30M"), and what it holds; false
// for text that is none of these.
struct IsoValue {
    double serial = 0;
    bool date = false, time = false, duration = false;
};
bool readIso(std::string_view text, bool epoch1904, IsoValue& value);

}
