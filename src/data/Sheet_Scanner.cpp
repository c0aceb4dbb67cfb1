#include "data/Sheet_Scanner.h"

#include "data/Sheet_Builder.h"
#include "data/SpreadsheetFormats.h"

#include <algorithm>
#include <charconv>
#include <cstring>

namespace {
constexpr int Max_Columns = int(SpreadsheetFormats::Max_Columns);
constexpr int Max_Rows = int(SpreadsheetFormats::Max_Rows);
using xlsx::fromUtf8;
using xlsx::isTrue;
using xlsx::readReference;
using xlsx::stringText;
using xlsx::trimmed;
}



QString CellShower::operator()(char type, int style, std::string_view stored) const
{
    if (type == 'i' || type == 'f')
        return stringText(stored);
    if (stored.empty())
        return Sheet_Builder::blank();
    if (type == 'b') {
        const std::string_view value = trimmed(stored);
        return isTrue(value) ? QStringLiteral("TRUE") : value == "0" || value == "false" ? QStringLiteral("FALSE") : fromUtf8(stored);
    }
    if (type == 'e')
        return fromUtf8(stored);
    if (type == 'd')
        return isoText(style, stored);
    return numberText(style, stored);
}

QString CellShower::isoText(int style, std::string_view stored) const
{
    xlsx::IsoValue iso;
    if (!xlsx::readIso(trimmed(stored), _epoch1904, iso))
        return fromUtf8(stored);
    const xlsx::NumberFormat* shownAs = format(style);
    QString shown;
    if (shownAs && shownAs->isDate())
        shown = shownAs->dateText(iso.serial, _epoch1904);
    if (shown.isNull())
        shown = (iso.duration ? xlsx::NumberFormat::fromCode(u"[h]:mm:ss") : xlsx::NumberFormat::iso(iso.date, iso.time))
                    .dateText(iso.serial, _epoch1904);
    return shown.isNull() ? fromUtf8(stored) : shown;
}

QString CellShower::numberText(int style, std::string_view stored) const
{
    const xlsx::NumberFormat* shownAs = format(style);
    if (shownAs && shownAs->isDate()) {
        const std::string_view value = trimmed(stored);
        double serial = 0;
        const auto result = std::from_chars(value.data(), value.data() + value.size(), serial);
        if (result.ec == std::errc() && result.ptr == value.data() + value.size()) {
            const QString shown = shownAs->dateText(serial, _epoch1904);
            if (!shown.isNull())
                return shown;
        }
    }
    return xlsx::numberText(stored);
}

void CellShower::show(SheetBatch& batch) const
{
    batch.shown.resize(batch.events.size());
    for (size_t i = 0; i < batch.events.size(); ++i) {
        const SheetEvent& event = batch.events[i];
        if (event.kind == SheetEvent::Cell && event.type != 's')
            batch.shown[i] = (*this)(event.type, event.style,
                                     std::string_view(batch.text).substr(event.from, event.to - event.from));
    }
}


bool SheetScanner::fill(SheetBatch& batch)
{
    batch.clear();
    _batch = &batch;
    XmlPullParser::Token token;
    while (!batch.full()) {
        if (_inSheetData && !_inCell && _part.xml.depth() == 3) {
            const int quick = quickCells();
            if (quick < 0)
                return false;
            if (quick > 0)
                continue;
        }
        if (!_part.next(token))
            return _part.invalid ? failed(QStringLiteral("Error: %1").arg(_part.failure(_partName))) : false;
        if (token == XmlPullParser::Characters)
            onText();
        else if (token == XmlPullParser::StartElement && !onStart())
            return false;
        else if (token == XmlPullParser::EndElement)
            onEnd();
        _part.xml.setTextWanted(collectingText());
    }
    return true;
}

void SheetScanner::onText()
{
    if (_collecting == InValue)
        _value += _part.xml.text();
    else if (_collecting == InInlineText)
        _inlineText += _part.xml.text();
}

bool SheetScanner::onStart()
{
    const std::string_view name = _part.xml.name();
    const int depth = _part.xml.depth();
    if (_inCell)
        startInCell(name, depth);
    else if (_inSheetData && depth == 3 && XmlPullParser::same(name, "row"))
        return startRow();
    else if (_inSheetData && depth == 4 && XmlPullParser::same(name, "c"))
        return startCell();
    else if (depth == 2)
        startSheetChild(name);
    else if (_inMerges && depth == 3 && XmlPullParser::same(name, "mergeCell"))
        readMergeCell();
    return true;
}

void SheetScanner::onEnd()
{
    const int depth = _part.xml.depth();
    if (_collecting == InInlineText && depth == _inlineTextDepth - 1)
        _collecting = InInline;
    else if ((_collecting == InValue || _collecting == InInline) && depth == 4)
        _collecting = None;
    if (_inCell && depth == 3) {
        endCell();
    } else if (depth == 1) {
        _inSheetData = _inMerges = false;
        if (_part.xml.nameIs("sheetData"))
            add(SheetEvent::DataEnd);
    }
}

void SheetScanner::startSheetChild(std::string_view name)
{
    _inSheetData = XmlPullParser::same(name, "sheetData");
    _inMerges = XmlPullParser::same(name, "mergeCells");
    if (XmlPullParser::same(name, "dimension"))
        readDimension();
}

void SheetScanner::readDimension()
{
    std::string_view ref = _part.xml.attribute("ref");
    ref = trimmed(ref.substr(ref.rfind(':') == std::string_view::npos ? 0 : ref.rfind(':') + 1));
    int column = 0, row = 0;
    SheetEvent& event = add(SheetEvent::Dimension);
    event.column = -1;
    if (readReference(ref, column, row)) {
        event.column = std::min(column + 1, Max_Columns);
        event.row = std::min(row, Max_Rows);
    }
}

void SheetScanner::readMergeCell()
{
    const std::string_view ref = _part.xml.attribute("ref");
    const size_t colon = ref.find(':');
    MergedRange range{};
    if (colon != std::string_view::npos && readReference(ref.substr(0, colon), range.firstColumn, range.firstRow)
        && readReference(ref.substr(colon + 1), range.lastColumn, range.lastRow)) {
        if (range.firstRow > range.lastRow)
            std::swap(range.firstRow, range.lastRow);
        if (range.firstColumn > range.lastColumn)
            std::swap(range.firstColumn, range.lastColumn);
        add(SheetEvent::Merge).from = quint32(_batch->merges.size());
        _batch->merges.push_back(range);
    }
}

bool SheetScanner::startRow()
{
    if (++_rowElements > Max_Rows)
        return failed(QStringLiteral("Error: the worksheet is too large (more than %1 rows)").arg(Max_Rows));
    int r = 0;
    const std::string_view number = _part.xml.attribute("r");
    const auto result = std::from_chars(number.data(), number.data() + number.size(), r);
    _rowNumber = result.ec == std::errc() && r >= 1 && r <= Max_Rows ? r : _rowNumber + 1;
    _nextColumn = 0;
    add(SheetEvent::Row).row = _rowNumber;
    return true;
}

bool SheetScanner::startCell()
{
    _inCell = true;
    _collecting = None;
    _value.clear();
    _inlineText.clear();
    const XmlPullParser& xml = _part.xml;
    return placeCell(xml.attribute("t"), xml.attribute("s"), xml.attribute("r"));
}

// The type, style and place of a cell that begins.
bool SheetScanner::placeCell(std::string_view type, std::string_view style, std::string_view ref)
{
    _cellType = XmlPullParser::same(type, "s")           ? 's'
                : XmlPullParser::same(type, "inlineStr") ? 'i'
                : XmlPullParser::same(type, "str")       ? 'f'
                : XmlPullParser::same(type, "b")         ? 'b'
                : XmlPullParser::same(type, "e")         ? 'e'
                : XmlPullParser::same(type, "d")         ? 'd'
                                                         : 'n';
    _cellStyle = 0;
    std::from_chars(style.data(), style.data() + style.size(), _cellStyle);
    if (!readReference(ref, _cellColumn, _cellRow)) {
        _cellColumn = _nextColumn;
        _cellRow = std::max(_rowNumber, 1);
    }
    if (_cellColumn >= Max_Columns || _cellRow > Max_Rows)
        return failed(QStringLiteral("Error: cell reference out of range: %1").arg(fromUtf8(ref)));
    _nextColumn = _cellColumn + 1;
    return true;
}

namespace {
namespace quick {
// Plain markup, as most programs write a cell: element names without
// prefixes, no white space inside tags but between attributes, attribute
// values and text with nothing to decode. Anything else is left to the
// parser, which reads it to the same effect.
bool space(char c)
{
    return c == ' ' || c == '\t' || c == '\n' || c == '\r';
}
void skipSpace(const char*& p, const char* end)
{
    while (p < end && space(*p))
        ++p;
}
bool literal(const char*& p, const char* end, std::string_view text)
{
    if (size_t(end - p) < text.size() || std::memcmp(p, text.data(), text.size()) != 0)
        return false;
    p += text.size();
    return true;
}
// The attributes of a start tag, p just past its name, through its end
// ("/>" sets empty): the first values of r, t and s by their local names;
// false where they are not plain.
bool attributes(const char*& p, const char* end, std::string_view (&values)[3], bool& empty)
{
    static constexpr std::string_view names[3] = {"r", "t", "s"};
    for (;;) {
        skipSpace(p, end);
        if (p < end && *p == '>') {
            ++p;
            empty = false;
            return true;
        }
        if (end - p >= 2 && p[0] == '/' && p[1] == '>') {
            p += 2;
            empty = true;
            return true;
        }
        const char* name = p;
        const char* local = p;
        while (p < end && !space(*p) && *p != '/' && *p != '>' && *p != '=') {
            if (*p == ':')
                local = p + 1;
            ++p;
        }
        const std::string_view qualified(name, size_t(p - name));
        if (p == local || end - p < 2 || p[0] != '=' || (p[1] != '"' && p[1] != '\''))
            return false;
        const char quote = p[1];
        p += 2;
        const char* value = p;
        bool special = false;
        p = XmlPullParser::findAttributeEnd(p, end, quote, special);
        if (p == end || special)
            return false;
        const std::string_view localName(local, size_t(qualified.data() + qualified.size() - local));
        const bool declaration = qualified.substr(0, 5) == "xmlns" && (qualified.size() == 5 || qualified[5] == ':');
        for (int i = 0; i < 3 && !declaration; ++i)
            if (values[i].data() == nullptr && XmlPullParser::same(localName, names[i]))
                values[i] = std::string_view(value, size_t(p - value));
        ++p;
    }
}
// Text up to the next markup, with nothing to decode.
bool text(const char*& p, const char* end, std::string_view& out)
{
    const char* from = p;
    bool special = false;
    p = XmlPullParser::findTextEnd(p, end, special);
    out = std::string_view(from, size_t(p - from));
    return p < end && !special;
}
// One cell: its attributes (r, t, s) and the text it stores; false where it
// is not plain. An inline string counts for inline string cells only.
bool cell(const char*& p, const char* end, std::string_view (&values)[3], std::string_view& stored)
{
    skipSpace(p, end);
    if (end - p < 3 || p[0] != '<' || p[1] != 'c' || (p[2] != ' ' && p[2] != '>' && p[2] != '/'))
        return false;
    p += 2;
    bool empty = false;
    if (!attributes(p, end, values, empty))
        return false;
    stored = std::string_view();
    if (empty)
        return true;
    skipSpace(p, end);
    if (literal(p, end, "<v>")) {
        if (!text(p, end, stored) || !literal(p, end, "</v>"))
            return false;
    } else if (literal(p, end, "<is>")) {
        skipSpace(p, end);
        std::string_view ignored[3], inlineText;
        bool emptyText = false;
        if (!literal(p, end, "<t") || p == end || (*p != '>' && !space(*p)) || !attributes(p, end, ignored, emptyText)
            || emptyText || !text(p, end, inlineText) || !literal(p, end, "</t>"))
            return false;
        skipSpace(p, end);
        if (!literal(p, end, "</is>"))
            return false;
        if (XmlPullParser::same(values[1], "inlineStr"))
            stored = inlineText;
    }
    skipSpace(p, end);
    return literal(p, end, "</c>");
}
}
}

// Cells in their plainest form, straight from the parser's buffer, while
// they come: how many, -1 on a failure.
int SheetScanner::quickCells()
{
    constexpr qsizetype Window = 4096;
    int count = 0;
    while (!_batch->full()) {
        const std::string_view rest = _part.xml.unread(Window);
        const char* p = rest.data();
        std::string_view values[3], stored;
        if (rest.empty() || !quick::cell(p, rest.data() + rest.size(), values, stored))
            break;
        if (!placeCell(values[1], values[2], values[0]))
            return -1;
        addCell(stored);
        _part.xml.consume(p - rest.data());
        ++count;
    }
    return count;
}


// The value (v) or inline string (is) of the cell, and the text runs of the latter.
void SheetScanner::startInCell(std::string_view name, int depth)
{
    if (depth == 5 && XmlPullParser::same(name, "v"))
        _collecting = InValue;
    else if (depth == 5 && XmlPullParser::same(name, "is"))
        _collecting = InInline;
    else if (_collecting == InInline && depth == 6)
        _inlineRun = XmlPullParser::same(name, "r");
    if (_collecting == InInline && XmlPullParser::same(name, "t") && (depth == 6 || (depth == 7 && _inlineRun))) {
        _collecting = InInlineText;
        _inlineTextDepth = depth;
    }
}

void SheetScanner::endCell()
{
    _inCell = false;
    addCell(_cellType == 'i' && !(_collecting == None && _inlineText.empty()) ? _inlineText : _value);
}

void SheetScanner::addCell(std::string_view stored)
{
    SheetEvent& event = add(SheetEvent::Cell);
    event.type = _cellType;
    event.row = _cellRow;
    event.column = _cellColumn;
    event.style = _cellStyle;
    event.from = quint32(_batch->text.size());
    _batch->text += stored;
    event.to = quint32(_batch->text.size());
}

SheetFeed::SheetFeed(SSZipPackage& package, const QString& partName, const CellShower& shower)
    : _scanner(package, partName)
    , _shower(shower)
{
    for (int i = 0; i < Depth; ++i)
        _spare.push_back(std::make_unique<SheetBatch>());
    _showing.reserve(Showers); // so that once a thread runs, nothing but starting one can fail
    try {
        _scanning = std::thread([this] { stage(_spare, _scanned, [this](SheetBatch& batch) { scanInto(batch); }); });
        for (int i = 0; i < Showers; ++i)
            _showing.emplace_back([this] { stage(_scanned, _shown, [this](SheetBatch& batch) { _shower.show(batch); }); });
    } catch (const std::system_error&) {
    }
}

SheetFeed::~SheetFeed()
{
    {
        std::lock_guard<std::mutex> lock(_mutex);
        _stop = true;
    }
    _changed.notify_all();
    if (_scanning.joinable())
        _scanning.join();
    for (std::thread& worker : _showing)
        worker.join();
}

SheetBatch* SheetFeed::next()
{
    std::unique_lock<std::mutex> lock(_mutex);
    if (_current)
        _spare.push_back(std::move(_current));
    _changed.notify_all();
    if (_ended)
        return nullptr;
    if (!_scanning.joinable()) {
        _current = take(_spare);
        scanInto(*_current);
    } else {
        Queue& from = _showing.empty() ? _scanned : _shown;
        Queue::iterator it;
        _changed.wait(lock, [&] {
            it = std::find_if(from.begin(), from.end(), [&](const auto& batch) { return batch->order == _taken; });
            return it != from.end();
        });
        _current = std::move(*it);
        from.erase(it);
    }
    if (_showing.empty())
        _shower.show(*_current);
    ++_taken;
    _ended = _current->last;
    if (_current->thrown)
        std::rethrow_exception(_current->thrown); // as if the stage had run here
    return _current.get();
}

std::unique_ptr<SheetBatch> SheetFeed::take(Queue& from)
{
    std::unique_ptr<SheetBatch> batch = std::move(from.front());
    from.pop_front();
    return batch;
}

void SheetFeed::scanInto(SheetBatch& batch)
{
    batch.order = _scannedCount++;
    batch.last = !_scanner.fill(batch);
}

// A stage on its thread: batches from one queue, worked on, to the next.
template <typename Work>
void SheetFeed::stage(Queue& from, Queue& to, Work work)
{
    for (;;) {
        std::unique_ptr<SheetBatch> batch;
        {
            std::unique_lock<std::mutex> lock(_mutex);
            _changed.wait(lock, [&] { return _stop || !from.empty(); });
            if (_stop)
                return;
            batch = take(from);
        }
        try {
            if (!batch->thrown)
                work(*batch);
        } catch (...) {
            batch->thrown = std::current_exception();
            batch->last = true;
        }
        const bool last = batch->last;
        {
            std::lock_guard<std::mutex> lock(_mutex);
            to.push_back(std::move(batch));
        }
        _changed.notify_all();
        if (last)
            return;
    }
}
