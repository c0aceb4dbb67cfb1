#include "data/Sheet_Builder.h"

#include "data/SpreadsheetFormats.h"

#include <algorithm>
#include <numeric>

qsizetype Sheet_Builder::textLimit = SpreadsheetFormats::Max_Sheet_Text;

void Sheet_Builder::skipToColumn(qsizetype index)
{
    if (index > column())
        _pendingCells += index - column();
}

void Sheet_Builder::skipToRow(qsizetype index)
{
    const qsizetype at = rows.size() + _pendingRows;
    if (index > at)
        _pendingRows += index - at;
}

void Sheet_Builder::cell(const QString& given, qsizetype repeat)
{
    if (repeat <= 0 || failed())
        return;
    const QString text = _xmlText(given);
    if (text.isEmpty()) {
        _pendingCells += repeat;
        return;
    }
    if (column() + repeat > SpreadsheetFormats::Max_Columns)
        return fail(QStringLiteral("more than %1 columns").arg(SpreadsheetFormats::Max_Columns));
    if (!count(_pendingCells + repeat) || !countText(text.size() * repeat))
        return;
    _rowText += text.size() * repeat;
    for (; _pendingCells > 0; --_pendingCells)
        _row.append(QString());
    for (qsizetype i = 0; i < repeat; ++i)
        _row.append(text);
}

void Sheet_Builder::endRow(qsizetype repeat)
{
    _pendingCells = 0;
    if (repeat > 0 && !failed()) {
        if (_row.isEmpty()) {
            _pendingRows += repeat;
        } else if (rows.size() + _pendingRows + repeat > SpreadsheetFormats::Max_Rows) {
            fail(QStringLiteral("more than %1 rows").arg(SpreadsheetFormats::Max_Rows));
        } else if (count(_row.size() * (repeat - 1)) && countText(_rowText * (repeat - 1))) {
            for (; _pendingRows > 0; --_pendingRows)
                rows.append(QStringList());
            for (qsizetype i = 0; i < repeat; ++i)
                rows.append(_row);
        }
    }
    _row.clear();
    _rowText = 0;
}

const QString& Sheet_Builder::blank()
{
    static const QString empty = QStringLiteral("");
    return empty;
}

bool Sheet_Builder::place(int row, qsizetype column, const QString& text)
{
    if (row != _rowNumber) {
        closeRow();
        _rowNumber = row;
    }
    if (!countText(text.size()))
        return false;
    if (column < _row.size()) {
        _row[column] = text;
        return true;
    }
    if (!count(column + 1 - _row.size()))
        return false;
    if (_row.isEmpty())
        _row.reserve(std::max(_width, column + 1));
    while (_row.size() < column)
        _row.append(blank());
    _row.append(text);
    _width = std::max(_width, column + 1);
    return true;
}

void Sheet_Builder::closeRow()
{
    if (_row.isEmpty())
        return;
    if (!numbers.empty() && _rowNumber <= numbers.back())
        _inOrder = false;
    rows.append(std::move(_row));
    numbers.push_back(_rowNumber);
    _row = QStringList();
}

void Sheet_Builder::orderRows()
{
    std::vector<size_t> order(numbers.size());
    std::iota(order.begin(), order.end(), 0);
    std::stable_sort(order.begin(), order.end(), [&](size_t a, size_t b) { return numbers[a] < numbers[b]; });
    QList<QStringList> ordered;
    std::vector<int> orderedNumbers;
    for (const size_t i : order) {
        QStringList& row = rows[qsizetype(i)];
        if (orderedNumbers.empty() || orderedNumbers.back() != numbers[i]) {
            ordered.append(std::move(row));
            orderedNumbers.push_back(numbers[i]);
            continue;
        }
        QStringList& into = ordered.last();
        for (qsizetype c = 0; c < row.size(); ++c) {
            if (row[c].isEmpty())
                continue;
            while (into.size() <= c)
                into.append(blank());
            into[c] = row[c];
        }
    }
    rows = std::move(ordered);
    numbers = std::move(orderedNumbers);
    _inOrder = true;
}

bool Sheet_Builder::count(qsizetype cells)
{
    _cells += cells;
    if (_cells <= SpreadsheetFormats::Max_Cells)
        return true;
    fail(QStringLiteral("more than %1 cells").arg(SpreadsheetFormats::Max_Cells));
    return false;
}

bool Sheet_Builder::countText(qsizetype characters)
{
    _text += characters;
    if (_text + _elsewhere <= textLimit)
        return true;
    fail(_elsewhere > 0 ? QStringLiteral("more than %1 characters of text, its shared strings counted").arg(textLimit)
                        : QStringLiteral("more than %1 characters of text").arg(textLimit));
    return false;
}

void Sheet_Builder::fail(const QString& why)
{
    if (reason.isNull())
        reason = why;
}
