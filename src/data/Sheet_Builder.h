#pragma once
// The rows of a sheet as its reader makes them, for every spreadsheet format
// we read. Characters a saved design cannot hold are dropped from the cells'
// text, and content past the limits of SpreadsheetFormats fails: reason
// tells why, and nothing more is added. Every cell's text counts, as often
// as the cell shows, so a sheet holds no more than textLimit characters.
//
// Two ways to fill it:
// - in reading order (OpenDocument, XML 2003): cells follow one another,
//   empty cells and rows are held back as counts and written out only when
//   content follows them, so repeated or skipped-over empty ranges cost
//   nothing;
// - placed (xlsx): each cell names its row number and column; a cell goes
//   over what its column held, and rows are kept with their numbers, only
//   when they hold text. Placed rows are padded with empty (not null) text.
#include "model/Helpers.h"

#include <QList>
#include <QString>
#include <QStringList>

#include <vector>

class Sheet_Builder {
public:
    explicit Sheet_Builder(const QString& from = QStringLiteral("the sheet's cells"))
        : _xmlText(from)
    {
    }

    // ---- in reading order
    qsizetype column() const { return _row.size() + _pendingCells; }
    void skipToColumn(qsizetype index);
    void skipToRow(qsizetype index);
    // The cell's text, repeat times, at column().
    void cell(const QString& given, qsizetype repeat);
    // Ends the row; repeat rows like it.
    void endRow(qsizetype repeat);

    // ---- placed
    // The text of a cell as the table keeps it.
    QString kept(const QString& given) { return _xmlText(given); }
    // Puts kept, non-empty text in row and column (below Max_Columns); a
    // row number other than the current one ends the current row first.
    // false past the limits.
    bool place(int row, qsizetype column, const QString& text);
    // Ends the current row: kept under its number when it holds text.
    void closeRow();
    // The row being placed, and its number.
    const QStringList& row() const { return _row; }
    bool rowHasText() const { return !_row.isEmpty(); }
    int rowNumber() const { return _rowNumber; }
    // One past the last column placed.
    qsizetype width() const { return _width; }
    // Whether the rows closed so far came in rising row numbers.
    bool inOrder() const { return _inOrder; }
    // Rows in row order, one per number; where a number came more than
    // once, the later cell wins.
    void orderRows();
    // An empty text that is not null, as placed rows hold.
    static const QString& blank();

    bool failed() const { return !reason.isNull(); }

    // The most characters of text a sheet may hold in all, cells repeated
    // as often as they show: SpreadsheetFormats::Max_Sheet_Text, lowered by
    // tests that cannot spend the memory.
    static qsizetype textLimit;
    // Text the reader holds for the sheet besides its cells (an xlsx
    // workbook's shared strings), in characters: it counts against the limit.
    void setTextHeldElsewhere(qsizetype characters) { _elsewhere = characters; }

    QList<QStringList> rows;
    std::vector<int> numbers; // placed: the number of each row
    QString reason;

private:
    bool count(qsizetype cells);
    bool countText(qsizetype characters);
    void fail(const QString& why);

    Xml_Text_Filter _xmlText;
    QStringList _row;
    qsizetype _pendingCells = 0, _pendingRows = 0, _cells = 0, _width = 0;
    qsizetype _text = 0, _rowText = 0, _elsewhere = 0; // characters: the cells', the current row's, held elsewhere
    int _rowNumber = 0;
    bool _inOrder = true;
};
