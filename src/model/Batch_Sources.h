#pragma once
// What a batch (export, printing, mail) makes sure of in the sources its
// bound graphics take their values from, and the texts that tell the user:
// a source that is missing, sources of different lengths, and rows whose
// bound barcode was left out for want of a value or could not be made.
#include <QList>
#include <QMap>
#include <QString>
#include <QStringList>

struct Batch_Source {
    QString name; // as the user knows it: Batch Processing Series "Guests"
    int rows = 0;
};

// Names a bound data set and a bound spreadsheet column for the user.
QString Data_Set_Source_Name(const QString& set);
QString Spreadsheet_Column_Source_Name(int column);
// Names the design's spreadsheet table by the file it was read from.
QString Spreadsheet_Source_Name(const QString& path);

// Said when a design that uses missing sources is opened, one per line.
QString Missing_Sources_On_Open_Message(const QStringList& missing);
// Said instead of starting a batch over a design that uses missing sources.
QString Missing_Sources_Batch_Message(const QStringList& missing);

// The rows a batch over these sources makes: the longest source's.
int Batch_Rows_Of(const QList<Batch_Source>& sources);
// The question asked before a batch over sources of different lengths: each
// source with its length, the number of cards and how many of them get
// empty fields. Empty when the sources all have one length.
QString Different_Lengths_Question(const QList<Batch_Source>& sources);

// The rows (counted from 1) whose cards a batch made without a bound
// barcode: those for which a source had no value (past its end, or an empty
// value), by the source's name, and those whose value the symbology refused.
struct Cards_Without_Barcode {
    QMap<QString, QList<int>> no_value;
    QList<int> refused;
    bool isEmpty() const { return no_value.isEmpty() && refused.isEmpty(); }
    Cards_Without_Barcode& operator+=(const Cards_Without_Barcode& other);
};

// The note a batch's finish text carries on those cards, a line for each
// source without values and one for the refused values; empty for none.
// cards names them as the batch made them ("Cards written", "Labels
// printed", ...).
QString Rows_Without_Barcode_Note(const Cards_Without_Barcode& rows, const QString& cards);
