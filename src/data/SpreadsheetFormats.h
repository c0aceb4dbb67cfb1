#pragma once
// The spreadsheet formats besides xlsx: OpenDocument spreadsheets (ods, a zip
// package whose "content.xml" holds the tables) and the single-file XML
// Spreadsheet 2003 format. Like the xlsx reader and writer they carry cell
// text only: rows of strings, row 0 first, each row as long as it is.
//
// Readers take the first table (ods) or first worksheet (XML 2003) and read
// each cell as the sheet shows it: repeated cells and rows are expanded up to
// the last cell with content (empty cells and rows after it are left out),
// cells hidden under a merged cell read empty, and text spread over several
// paragraphs reads with line breaks between them. A document type
// declaration is refused, so no entity is ever expanded. A sheet past
// Max_Rows rows, Max_Columns columns, Max_Cells cells or Max_Sheet_Text
// characters of text in all (the xlsx reader's limits too), or whose
// elements nest more than Max_Nesting deep (in an XML 2003 file anywhere, in
// an ods content part up to the end of its first table), is refused instead
// of filling memory or the stack; so is an XML 2003 table with a row or cell
// anywhere but in the table or in a row. A cell's text is cut at
// Max_Cell_Text characters.
//
// The ods reader reads the content part straight from the package as it is
// inflated: nothing is unpacked to disk. The ods writer works in a private
// temporary folder of its own. Every operation takes an optional error
// out-parameter: a null string on success, else the reason (already logged).
// A reader that fails returns no rows; a writer that fails leaves any file
// already at the path as it was.
#include <QList>
#include <QString>
#include <QStringList>

// True for a number that every spreadsheet reads back as the same text: an
// optional minus, no leading zeros, a C-locale point, no trailing zeros after
// it, no exponent, at most 15 significant digits. "007", "1.50", "1e5" and
// long identifiers stay text.
bool isCanonicalNumber(const QString& s);

class SpreadsheetFormats {
public:
    static constexpr qsizetype Max_Rows = 1048576;
    static constexpr qsizetype Max_Columns = 16384;
    static constexpr qsizetype Max_Cells = 5000000;
    static constexpr qsizetype Max_Cell_Text = 1048576;
    // Text is held as UTF-16: a sheet at this limit takes 512 MiB.
    static constexpr qsizetype Max_Sheet_Text = qsizetype(256) * 1024 * 1024;
    // Formatted text nests a few elements deep; nothing we read needs more.
    static constexpr int Max_Nesting = 256;

    // Readers that are given sheetName set it to the name of the sheet they
    // read ("" when it has none).

    // ---- OpenDocument
    // The rows of the package's first table.
    static QList<QStringList> ReadODS(const QString& path, QString* error = nullptr, QString* sheetName = nullptr);
    // Writes rows as the one table "Sheet1" of a new package made from the
    // resource folder's "Template.ods"; every cell is a string cell.
    // hasTitleRow is not used: a title row is written like any other row.
    static bool WriteODS(const QString& path, const QList<QStringList>& withData, bool hasTitleRow,
                         QString* error = nullptr);
    // Writes the content part at partPath from data.
    static bool WriteODSData(const QString& partPath, const QList<QStringList>& data);

    // ---- XML Spreadsheet 2003
    // The rows of the first worksheet's table; numbers, dates and booleans
    // read as the sheet shows them (under their style's number format).
    static QList<QStringList> ReadWorksheetXML2004(const QString& path, QString* error = nullptr,
                                                   QString* sheetName = nullptr);
    // Writes rows as the one worksheet "Notes"; canonical numbers become
    // Number cells, everything else String cells.
    static bool WriteWorksheetXML2004(const QString& path, const QList<QStringList>& withData,
                                      QString* error = nullptr);

    // ---- by file type
    // True for the extensions of the formats here ("ods", "xml", any case).
    static bool Handles(const QString& path);
    // ReadODS or ReadWorksheetXML2004 by the path's extension.
    static QList<QStringList> Read(const QString& path, QString* error = nullptr, QString* sheetName = nullptr);
};
