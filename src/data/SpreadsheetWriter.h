#pragma once
// The spreadsheet component: reads the cell text of one worksheet of an xlsx
// workbook, and writes new xlsx workbooks of one worksheet from the template
// package "Template.xlsx" of the resource folder.
//
// Order of use when importing:
//   1. ReadWorkbook(path, true): opens the workbook and reads its list of
//      worksheets, its shared strings and its number formats;
//   2. Read_Sheet_Name(): the worksheet names in the workbook's order; the
//      caller sets Excel_Sheet_Number to the 1-based position of the choice;
//   3. ReadData_only_column(): the first row, for column titles;
//   4. ReadWorkbook(path, false): every row of that worksheet.
// Release_Data() closes the workbook (opening the next one does too).
//
// Parts are read straight from the package, each worksheet in one streaming
// pass, and nothing is unpacked to disk. Cells read as the sheet shows them
// where the meaning is plain: each cell sits where its own reference puts
// it, a cell hidden under a merged range reads empty, dates and times read
// under their number formats, booleans as TRUE and FALSE, numbers in their
// shortest exact form, and rows whose cells are all empty are left out.
// Characters a saved design cannot hold are dropped from the cells' text.
// A worksheet past the limits of SpreadsheetFormats is refused; its text
// counts the shared strings held while it is read, a byte as half a
// character, so a workbook takes about 512 MiB at most.
//
// Every operation that can fail takes an optional error out-parameter: a null
// string on success, else the reason (already logged). Callers show
// "Error in file accessing." when it is set.
#include <QList>
#include <QString>
#include <QStringList>
#include <memory>
#include <vector>

#include "data/XlsxCells.h"

class SSZipPackage;

// 1-based position, in the workbook's own order of worksheets, of the
// worksheet that the reader reads next. Set by the column dialogs.
extern int Excel_Sheet_Number;
// Column count of that worksheet: the larger of its dimension and the columns
// that actually hold values; 1 right after a workbook is unpacked.
extern int Excel_Sheet_Columns;

class SpreadsheetWriter;
// The shared instance, made on first use by ReadWorkbook(path, true).
extern SpreadsheetWriter* spreadsheet;

// The column letters of a cell reference ("AB12" gives "AB").
QString Get_Column_Char_Str(const QString& cellReference);
// The column number of column letters: base 64 gives the 1-based number
// (A = 1, AA = 27, XFD = 16384), base 65 the 0-based position. -1 for text
// that is not one to three letters.
int Get_Col_index(const QString& letters, int base);
// The low 8 bits of the code of the first character (0 for the empty text).
int Asc_Val(const QString& text);

class SpreadsheetWriter {
public:
    SpreadsheetWriter();
    ~SpreadsheetWriter();
    SpreadsheetWriter(const SpreadsheetWriter&) = delete;
    SpreadsheetWriter& operator=(const SpreadsheetWriter&) = delete;

    // ---- reading
    // only_col true: open the workbook and read its worksheet list, shared
    // strings and number formats; returns the row table of the previous read
    // unchanged. only_col false: read every row of worksheet
    // Excel_Sheet_Number of the open workbook (path is not used).
    static QList<QStringList> ReadWorkbook(const QString& path, bool only_col, QString* error = nullptr);
    // The first row of worksheet Excel_Sheet_Number (no row for a sheet
    // without rows); positions without a value read "Untitled Column %d".
    // Sets Excel_Sheet_Columns. Reading stops after that row when the sheet
    // declares its dimension; without one the rest is read for its width,
    // and kept for ReadWorkbook(path, false) on the same worksheet.
    static QList<QStringList> ReadData_only_column(QString* error = nullptr);
    // The names of the open workbook's worksheets, in the workbook's order.
    static QStringList Read_Sheet_Name();
    // Closes the open workbook and forgets its worksheets.
    static void Release_Data();
    // Fills data with every row of the worksheet part of the open package
    // named partPath (such as "xl/worksheets/sheet1.xml").
    bool ReadData(const QString& partPath, QString* error = nullptr);
    // Fills sharedStrings from the shared-string part of the open package
    // named partPath (a missing part gives an empty table; an unreadable one
    // an error). Opening a workbook starts this on a worker thread, and
    // cells take each string as soon as it has been read.
    bool ReadSharedStrings(const QString& partPath, QString* error = nullptr);

    // ---- writing
    // Writes rows (row 0 first) as the one worksheet of a new workbook at
    // path. Canonical numbers become number cells, everything else text.
    // hasTitleRow is not used: a title row is written like any other row.
    static bool WriteWorkbook(const QString& path, const QList<QStringList>& withData, bool hasTitleRow,
                              QString* error = nullptr);
    // Writes the worksheet part from data and fills sharedStrings.
    bool WriteWorksheetData(const QString& partPath);
    // Writes the shared-string part from sharedStrings.
    bool WriteSharedStringsXML(const QString& partPath);
    // A minimal workbook part naming one sheet.
    bool WriteWorkbookXML(const QString& partPath, const QString& withSheetName);
    QString ColumnIndexToName(int column) const { return ColumnNumber_To_Name(column); }
    // The column letters of a 1-based column number (27 gives AA).
    static QString ColumnNumber_To_Name(int column);

    // ---- fields
    QList<QStringList> data() const { return _data; }
    void setData(const QList<QStringList>& data) { _data = data; }
    // The shared strings: those written last, or those of the open workbook.
    QStringList sharedStrings() const;
    void setSharedStrings(const QStringList& strings) { _sharedStrings = strings; }

private:
    struct Sheet {
        QString name;
        QString part; // name of the worksheet part inside the package
    };
    struct SheetRows;
    class SheetPass;
    bool open(const QString& path, QString* error);
    bool readSheetList(QString* error);
    bool readStyles(const QString& part, QString* error);
    QString sheetPart(int number, QString* error) const;
    bool readSheet(const QString& part, bool firstRowOnly, SheetRows& rows, QString* error);

    std::unique_ptr<SSZipPackage> _package;
    QList<Sheet> _sheets;
    // The whole table of the worksheet whose titles were read last, when
    // that read went through all of it (the sheet declares no dimension):
    // reading all its rows next takes it instead of reading the sheet again.
    struct KeptSheet;
    std::unique_ptr<KeptSheet> _kept;
    class SharedStrings;
    void startSharedStrings(const QString& part);

    QString _path, _sharedPart;
    QList<QStringList> _data;
    QStringList _sharedStrings; // written
    std::unique_ptr<SharedStrings> _strings; // read
    std::vector<xlsx::NumberFormat> _cellFormats; // by cell style index
    bool _epoch1904 = false;
};
