#pragma once
// The three rules of the series generator, free of its window.
#include <QString>
#include <QStringList>

// The most values one series may hold.
constexpr qint64 Series_Value_Cap = 1000000;

// "0" put in front of the digits of text (after its sign, if it has one)
// until it is width long.
QString PadZero(const QString& text, int width);

// Whether a typed From or To text is a whole number: an optional sign and
// digits, with nothing else but white space around them.
bool Is_Series_Number(const QString& text);

// A uniformly drawn number from min to max, both included.
quint32 getRandomNumberBetweenMin(quint32 min, quint32 max);

// How many values the sequential rule makes from the typed From and To
// texts (their leading integers, counted in 64 bits); 0 unless From < To.
quint64 Sequential_Count(const QString& from, const QString& to);

// prefix, the number and suffix joined, for every number from From to To;
// with pad the numbers are padded with zeros to the longer of the two texts
// as typed. The caller has checked the count against Series_Value_Cap.
QStringList Sequential_Series(const QString& prefix, const QString& from, const QString& to, const QString& suffix,
                              bool pad);

// value, count times.
QStringList Constant_Series(const QString& value, qint64 count);

// count values of prefix, a random number of length digits and suffix; a
// length other than 1 to 9 makes every number 0.
QStringList Random_Series(const QString& prefix, const QString& length, qint64 count, const QString& suffix);
