#pragma once
// The scanning stages of a pass over an xlsx worksheet, which run on threads
// of their own while SpreadsheetWriter assembles the rows: a scanner turns
// the part's elements into events (a row begins, a cell with its stored
// text, the dimension, a merged range, the end of the sheet data, a
// failure), in batches whose cells' text lies in one buffer; a shower gives
// each cell that takes no shared string the text the sheet shows; a feed
// hands the batches on from stage to stage and to the pass, in order.
#include "data/SSZipArchive.h"
#include "data/XlsxCells.h"
#include "data/XmlPullParser.h"

#include <QString>

#include <condition_variable>
#include <deque>
#include <exception>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

// A part of the open package, read through the pull parser.
struct Package_Part {
    explicit Package_Part(SSZipPackage& package)
        : package(package)
        , xml([&package](char* buffer, qint64 size) { return package.read(buffer, size); })
    {
    }
    SSZipPackage& package;
    XmlPullParser xml;
    bool invalid = false;
    // The next token: false at the end of the part, or where it is not well
    // formed (then invalid is set).
    bool next(XmlPullParser::Token& token)
    {
        token = xml.next();
        invalid = token == XmlPullParser::Invalid;
        return token != XmlPullParser::EndDocument && !invalid;
    }
    // The parser's failure, or the package's when the bytes were damaged.
    QString failure(const QString& part) const
    {
        const QString reason = package.readError().isEmpty() ? xml.errorString() : package.readError();
        return QStringLiteral("%1 in %2").arg(reason, part);
    }
};

// A merged range of cells, its bounds inclusive (rows 1-based, columns 0-based).
struct MergedRange {
    int firstRow, lastRow, firstColumn, lastColumn;
};

// One thing the scanner met, in the order of the part.
struct SheetEvent {
    enum Kind : quint8 { Row, Cell, Dimension, DataEnd, Merge, Failure };
    Kind kind;
    // Cell: 's' shared string, 'i' inline string, 'f' formula string,
    // 'b' boolean, 'e' error, 'd' ISO date, 'n' number.
    char type = 'n';
    int row = 0;    // Row, Cell: the row number; Dimension: the last row
    int column = 0; // Cell: the column; Dimension: the column count, -1 unread
    int style = 0;  // Cell: the cell style
    quint32 from = 0, to = 0; // Cell: its text in the batch; Merge: the range
};

// Events as the stages hand them on.
struct SheetBatch {
    // A batch ends after this many events, or once its text is this long.
    static constexpr size_t Events = 8192, Text = 1024 * 1024;
    bool full() const { return events.size() >= Events || text.size() >= Text; }
    std::vector<SheetEvent> events;
    std::string text;
    std::vector<MergedRange> merges;
    QString failure;
    // By event: the shown text of each cell but shared-string ones, once shown.
    std::vector<QString> shown;
    quint64 order = 0; // of the batch in the part
    bool last = false; // nothing follows
    std::exception_ptr thrown; // by a stage on its thread, for the pass to throw
    void clear()
    {
        events.clear();
        text.clear();
        merges.clear();
        shown.clear();
        last = false;
        thrown = nullptr;
    }
};

// The shown text of cells that do not take a shared string, by their type,
// style and stored text: numbers in their shortest form or under a date
// format, booleans as TRUE and FALSE, ISO dates under their format or in ISO
// form, strings with their escapes decoded.
class CellShower {
public:
    CellShower(const std::vector<xlsx::NumberFormat>& formats, bool epoch1904)
        : _formats(formats)
        , _epoch1904(epoch1904)
    {
    }
    QString operator()(char type, int style, std::string_view stored) const;
    // Every cell of a batch but the shared-string ones.
    void show(SheetBatch& batch) const;

private:
    const xlsx::NumberFormat* format(int style) const
    {
        return style >= 0 && size_t(style) < _formats.size() ? &_formats[size_t(style)] : nullptr;
    }
    QString isoText(int style, std::string_view stored) const;
    QString numberText(int style, std::string_view stored) const;

    const std::vector<xlsx::NumberFormat>& _formats;
    const bool _epoch1904;
};

// The scanning half: the part's elements as events.
class SheetScanner {
public:
    SheetScanner(SSZipPackage& package, const QString& partName)
        : _part(package)
        , _partName(partName)
    {
        _part.xml.setTextWanted(false);
    }
    // The next events, up to a batch; false when the part has ended (or failed).
    bool fill(SheetBatch& batch);

private:
    bool failed(const QString& reason)
    {
        _batch->failure = reason;
        add(SheetEvent::Failure);
        return false;
    }
    SheetEvent& add(SheetEvent::Kind kind)
    {
        _batch->events.push_back({kind});
        return _batch->events.back();
    }
    bool collectingText() const { return _collecting == InValue || _collecting == InInlineText; }
    void onText();
    bool onStart();
    void onEnd();
    void startSheetChild(std::string_view name);
    void readDimension();
    void readMergeCell();
    bool startRow();
    bool startCell();
    void startInCell(std::string_view name, int depth);
    void endCell();
    bool placeCell(std::string_view type, std::string_view style, std::string_view ref);
    void addCell(std::string_view stored);
    int quickCells();

    Package_Part _part;
    const QString _partName;
    SheetBatch* _batch = nullptr;
    bool _inSheetData = false, _inMerges = false;
    qint64 _rowElements = 0;
    int _rowNumber = 0;  // of the current row element
    int _nextColumn = 0; // where a cell without a reference goes
    // The cell being read.
    bool _inCell = false;
    int _cellColumn = 0, _cellRow = 0, _cellStyle = 0;
    char _cellType = 'n';
    std::string _value, _inlineText;
    enum { None, InValue, InInline, InInlineText } _collecting = None;
    int _inlineTextDepth = 0;
    bool _inlineRun = false;
};

// The batches of a pass, handed on from stage to stage: a thread scans
// them, two show their cells (each a batch at a time), and the pass takes
// them in order. A few are made once and passed round. Where threads cannot
// be had, the pass does the stages left itself when it wants a batch.
class SheetFeed {
public:
    SheetFeed(SSZipPackage& package, const QString& partName, const CellShower& shower);
    ~SheetFeed();
    SheetFeed(const SheetFeed&) = delete;
    SheetFeed& operator=(const SheetFeed&) = delete;
    // The next batch, null after the last; the one before goes back. What a
    // stage threw on its thread is thrown here.
    SheetBatch* next();

private:
    using Queue = std::deque<std::unique_ptr<SheetBatch>>;
    static constexpr int Depth = 6, Showers = 2;
    static std::unique_ptr<SheetBatch> take(Queue& from);
    void scanInto(SheetBatch& batch);
    template <typename Work>
    void stage(Queue& from, Queue& to, Work work);

    SheetScanner _scanner;
    const CellShower& _shower;
    Queue _spare, _scanned, _shown;
    std::unique_ptr<SheetBatch> _current;
    quint64 _scannedCount = 0, _taken = 0;
    bool _stop = false, _ended = false;
    std::mutex _mutex;
    std::condition_variable _changed;
    // Last: they start when all else is made.
    std::thread _scanning;
    std::vector<std::thread> _showing;
};
