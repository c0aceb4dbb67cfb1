#pragma once
// The values an import takes from a text, CSV or RTF file and from a folder
// of images. Pure logic: the import wizard shows the messages and writes.
#include "data/Series_Rules.h"

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>
#include <optional>

// Every "\", "{" and "}" removed, then trimmed (Trim_Str).
QString chk_and_insert_validation(const QString& value);

// The most bytes a text, CSV or RTF file may have to be imported; a larger
// one is refused before it is read.
constexpr qint64 Text_Import_Max_Bytes = 64LL * 1024 * 1024;
// The messages of a file refused for its size or its number of values.
QString Text_File_Too_Large_Message(qint64 bytes);
QString Too_Many_Values_Message();

// The text of a file by its extension: an RTF document's text for "rtf" (any
// case), else the bytes decoded (Decode_Text_File). Characters a design
// cannot hold (unpaired surrogates among them) are dropped. nullopt when an
// "rtf" file holds no RTF document.
std::optional<QString> Text_File_Text(const QByteArray& bytes, const QString& extension);

// The values of such a text: for "csv" every field, record by record, a
// title record too (RFC 4180: a field in double quotes may hold commas, line
// breaks and doubled quotes), else every line (lines end at CR, LF or CR
// LF); each cleaned by chk_and_insert_validation, empty ones left out. A
// value never holds a line break: one inside a quoted CSV field becomes a
// blank. nullopt as soon as there are more than most values.
std::optional<QStringList> Text_Values(const QString& text, const QString& extension,
                                       qsizetype most = Series_Value_Cap);

// The value a spreadsheet cell gives a data set: each line break (CR LF,
// CR or LF) made one blank, then trimmed (Trim_Str).
QString Cell_Value(const QString& cell);

// The full paths of the picture files (Picture_File_Extensions, in any case)
// directly inside folder, not in its sub-folders, sorted by name.
QStringList Image_Folder_Values(const QString& folder);
