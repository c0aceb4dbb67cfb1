#pragma once
// Data sets: named lists of text values, one text file each in the data-set
// folder ("<name>.txt"), one value per line. Gleamcard writes UTF-8 and reads
// what people make by hand as well (see Decode_Text_File in Text_Decoding.h).
#include <QString>
#include <QStringList>
#include <optional>

// A name that stays inside the data-set folder: not empty, no "/" or "\",
// not "." or "..". Names are compared exactly.
bool Is_Valid_Data_Set_Name(const QString& name);
// The message shown when a typed name is refused.
extern const QString Invalid_Data_Set_Name_Message;

// The file of a data set; empty for a name that would leave the folder.
QString Data_Set_File_Path(const QString& name);

// Names of the plain files of the folder (hidden ones too), each without its
// last extension, sorted by name so positions stay stable.
QStringList Data_Set_Listing(const QString& folder);

// The first line of the file, unchanged ("" when there is no file).
QString Data_Set_First_Value(const QString& name);

// The values a batch uses: the whole text trimmed, then split at line feeds;
// inner empty lines stay as empty values. nullopt when there is no file.
std::optional<QStringList> Data_Set_Batch_Values(const QString& name);

// The values lists show: those a batch uses, each trimmed; an empty value
// stays an empty row, so row n of a list is batch row n.
std::optional<QStringList> Data_Set_Shown_Values(const QString& name);

// Writes (or, with append, extends) a data set. The file is written whole to
// a temporary file and renamed over the old one, so a failure leaves it as
// it was. Each value is followed by a line feed.
bool Write_Data_Set(const QString& name, const QStringList& values, bool append, QString* error = nullptr);

// The same for any text file: every value as UTF-8 followed by a line feed,
// written whole or not at all. Appending to a file whose last line has no
// line feed starts a new line first. Failures are logged and set error.
bool Write_Text_Lines(const QString& path, const QStringList& values, bool append, QString* error = nullptr);
