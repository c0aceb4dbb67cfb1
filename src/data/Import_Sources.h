#pragma once
// The values an import takes from a text, CSV or RTF file and from a folder
// of images. Pure logic: the import wizard shows the messages and writes.
#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>
#include <optional>

// Every "\", "{" and "}" removed, then trimmed (Trim_Str).
QString chk_and_insert_validation(const QString& value);

// The records of a CSV text (RFC 4180): a record ends at CR, LF or CR LF; a
// field in double quotes may hold commas, line breaks and doubled quotes
// (one quote each); a record without a comma is one field.
QList<QStringList> Csv_Records(const QString& text);

// The text of a file by its extension: an RTF document's text for "rtf" (any
// case), else the bytes decoded (Decode_Text_File). nullopt when an "rtf"
// file holds no RTF document.
std::optional<QString> Text_File_Text(const QByteArray& bytes, const QString& extension);

// The values of such a text: for "csv" every field, else every line (lines
// end at CR, LF or CR LF), each cleaned by chk_and_insert_validation; empty
// ones are left out. A value never holds a line break: one inside a quoted
// CSV field becomes a blank.
QStringList Text_Values(const QString& text, const QString& extension);

// The full paths of the picture files (Picture_File_Extensions, in any case)
// directly inside folder, not in its sub-folders, sorted by name.
QStringList Image_Folder_Values(const QString& folder);
