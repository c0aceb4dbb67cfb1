// The reading half of the spreadsheet component, and its shared instance.
#include "data/SpreadsheetWriter.h"

#include "data/SSZipArchive.h"
#include "data/Sheet_Builder.h"
#include "data/XmlPullParser.h"
#include "model/Helpers.h"

#include <QDir>
#include <QUrl>

#include <algorithm>
#include <atomic>
#include <condition_variable>
#include <cstring>
#include <deque>
#include <exception>
#include <mutex>
#include <thread>
#include <charconv>
#include <sys/mman.h>
#include <system_error>

int Excel_Sheet_Number = 1;
int Excel_Sheet_Columns = 1;
SpreadsheetWriter* spreadsheet = nullptr;

namespace {
// Owns the shared instance, so its open package goes with the process.
std::unique_ptr<SpreadsheetWriter> g_shared;

// The widest and the longest sheet the format allows.
constexpr int Max_Columns = 16384;
constexpr int Max_Rows = 1048576;
// Limits that keep a hostile workbook from exhausting memory: the cells a
// row table may hold, and the shared strings a workbook may keep (how many,
// and their UTF-8 bytes). Parts are streamed, so their size costs only time:
// the small parts (workbook, relationships, styles) and the streamed ones
// (worksheets, shared strings) each have a ceiling on that.
constexpr qint64 Max_Cells = 5000000;
constexpr qint64 Max_Shared_Strings = Max_Cells;
constexpr qint64 Max_Shared_Bytes = qint64(256) * 1024 * 1024;
constexpr qint64 Max_Small_Part = qint64(64) * 1024 * 1024;
constexpr qint64 Max_Streamed_Part = qint64(1024) * 1024 * 1024;

void clearError(QString* error)
{
    if (error)
        *error = QString();
}

const QString& emptyText()
{
    static const QString empty = QStringLiteral("");
    return empty;
}

QString fromUtf8(std::string_view text)
{
    return QString::fromUtf8(text.data(), qsizetype(text.size()));
}

// The text of a stored string, its escapes ("_x000D_") decoded.
QString stringText(std::string_view stored)
{
    return stored.find("_x") == std::string_view::npos ? fromUtf8(stored) : xlsx::unescaped(fromUtf8(stored));
}

// A part of the open package, read through the pull parser.
struct Part {
    Part(SSZipPackage& package)
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

enum class Opened { Ok, Missing, Failed };

Opened openPart(SSZipPackage& package, const QString& name, qint64 maxSize, QString* reason, bool readAhead = true)
{
    if (!package.contains(name)) {
        *reason = QStringLiteral("missing part %1").arg(name);
        return Opened::Missing;
    }
    SSZipArchiveError error;
    if (!package.openEntry(name, maxSize, &error, readAhead)) {
        *reason = error.description;
        return Opened::Failed;
    }
    return Opened::Ok;
}

struct Relationship {
    QString id, type, target; // target: a part name inside the package
};

// The relationships of a part ("" for the package itself); false when the
// package has no relationship part for it. Targets are resolved against the
// part's folder; external ones and any that would leave the package are
// dropped.
bool readRelationships(SSZipPackage& package, const QString& part, QList<Relationship>& result, QString* reason)
{
    result.clear();
    const qsizetype slash = part.lastIndexOf(QLatin1Char('/'));
    const QString folder = slash < 0 ? QString() : part.left(slash);
    const QString relsPart = (folder.isEmpty() ? QString() : folder + QLatin1Char('/')) + QStringLiteral("_rels/")
                             + part.mid(slash + 1) + QStringLiteral(".rels");
    if (openPart(package, relsPart, Max_Small_Part, reason) != Opened::Ok)
        return false;
    Part rels(package);
    XmlPullParser::Token token;
    while (rels.next(token)) {
        if (token != XmlPullParser::StartElement || rels.xml.depth() != 2 || !rels.xml.nameIs("Relationship")
            || rels.xml.attribute("TargetMode") == "External")
            continue;
        QString target = fromUtf8(rels.xml.attribute("Target"));
        if (!package.contains(target) && target.contains(QLatin1Char('%')))
            target = QUrl::fromPercentEncoding(target.toUtf8());
        target = target.startsWith(QLatin1Char('/')) ? target.mid(1)
                                                     : (folder.isEmpty() ? target : folder + QLatin1Char('/') + target);
        target = QDir::cleanPath(target.replace(QLatin1Char('\\'), QLatin1Char('/')));
        if (target.isEmpty() || target == QStringLiteral("..") || target.startsWith(QStringLiteral("../"))
            || target.startsWith(QLatin1Char('/')))
            continue;
        result.append({fromUtf8(rels.xml.attribute("Id")), fromUtf8(rels.xml.attribute("Type")), target});
    }
    if (rels.invalid)
        *reason = rels.failure(relsPart);
    return !rels.invalid;
}

QString targetOfType(const QList<Relationship>& rels, const QString& typeEnd)
{
    for (const Relationship& rel : rels)
        if (rel.type.endsWith(typeEnd))
            return rel.target;
    return QString();
}

// A cell reference such as "AB12": its 0-based column and 1-based row.
// false for anything that is not one to three letters and a row number.
bool readReference(std::string_view ref, int& column, int& row)
{
    size_t i = 0;
    column = 0;
    for (; i < ref.size(); ++i) {
        const char c = char(ref[i] & ~0x20); // upper case
        if (c < 'A' || c > 'Z')
            break;
        if (i == 3)
            return false; // four letters or more name no column (and would overflow)
        column = column * 26 + (c - 'A' + 1);
    }
    if (i == 0 || i == ref.size() || ref[i] < '1' || ref[i] > '9')
        return false;
    long long number = 0;
    for (; i < ref.size(); ++i) {
        if (ref[i] < '0' || ref[i] > '9' || number > Max_Rows * 10LL)
            return false;
        number = number * 10 + (ref[i] - '0');
    }
    --column;
    row = int(std::min<long long>(number, Max_Rows * 10LL));
    return true;
}

bool isTrue(std::string_view value)
{
    return value == "1" || value == "true";
}

std::string_view trimmed(std::string_view text)
{
    while (!text.empty() && (text.front() == ' ' || text.front() == '\t' || text.front() == '\n' || text.front() == '\r'))
        text.remove_prefix(1);
    while (!text.empty() && (text.back() == ' ' || text.back() == '\t' || text.back() == '\n' || text.back() == '\r'))
        text.remove_suffix(1);
    return text;
}

struct MergedRange {
    int firstRow, lastRow, firstColumn, lastColumn;
};
}

// What one pass over a worksheet gives: its non-empty rows in sheet order,
// each with its own row number, the columns that hold values, and the
// dimension it declares.
struct SpreadsheetWriter::SheetRows {
    QList<QStringList> rows;
    std::vector<int> numbers;
    int width = 0;
    int dimensionColumns = 0;
    bool hasDimension = false;
};

struct SpreadsheetWriter::KeptSheet {
    QString part;
    SheetRows sheet;
    QString failure; // why the sheet cannot be read whole, already worded for the log
};

QString Get_Column_Char_Str(const QString& cellReference)
{
    for (qsizetype i = 0; i < cellReference.size(); ++i)
        if (cellReference[i] >= QLatin1Char('1') && cellReference[i] <= QLatin1Char('9'))
            return cellReference.left(i);
    return cellReference;
}

int Asc_Val(const QString& text)
{
    return text.isEmpty() ? 0 : text[0].unicode() & 0xff;
}

int Get_Col_index(const QString& letters, int base)
{
    if (letters.isEmpty() || letters.size() > 3)
        return -1;
    int number = 0;
    for (qsizetype i = 0; i < letters.size(); ++i) {
        const QChar c = letters[i].toUpper();
        if (c < QLatin1Char('A') || c > QLatin1Char('Z'))
            return -1;
        number = number * 26 + (Asc_Val(c) - 64);
    }
    return number + 64 - base;
}

SpreadsheetWriter::SpreadsheetWriter() = default;
SpreadsheetWriter::~SpreadsheetWriter() = default;

void SpreadsheetWriter::Release_Data()
{
    if (!spreadsheet)
        return;
    spreadsheet->_strings.reset();
    spreadsheet->_package.reset();
    spreadsheet->_sheets.clear();
    spreadsheet->_kept.reset();
}

// The shared strings of a workbook, read on a worker thread through a handle
// of their own on the package while a worksheet is read; a string can be
// used as soon as it has been read. They are kept compact (UTF-8, one after
// another) until cells use them, in blocks that are published whole, so the
// reading thread never moves what others may be reading. While a whole
// sheet is read, blocks whose strings the sheet has used and not used again
// for a while may be let go: sheets mostly take their strings in the order
// they were stored. A block let go and wanted again is Evicted, and the
// strings are read afresh.
class SpreadsheetWriter::SharedStrings {
public:
    enum Lookup { Found, Absent, Failed, Evicted };

    SharedStrings(std::unique_ptr<SSZipPackage> package, const QString& part)
        : _package(std::move(package))
        , _part(part)
        , _blocks(size_t(Max_Shared_Strings / Block_Size + 1))
        , _lastUse(_blocks.size())
    {
        try {
            _worker = std::thread([this] { run(); });
        } catch (const std::system_error&) {
            run(); // no thread to be had: read them now
        }
    }
    ~SharedStrings() { stop(); }
    // Stops reading and hands over the handle on the package, to read afresh
    // from the same file.
    std::unique_ptr<SSZipPackage> release()
    {
        stop();
        return std::move(_package);
    }
    // String i, waiting until it has been read: Absent past the end of the
    // table, Failed when the part could not be read that far.
    Lookup get(qsizetype i, QString& text)
    {
        if (i >= _published.load(std::memory_order_acquire)) {
            std::unique_lock<std::mutex> lock(_mutex);
            _changed.wait(lock, [&] { return _done || i < _published.load(std::memory_order_relaxed); });
            if (i >= _published.load(std::memory_order_relaxed))
                return _error.isEmpty() ? Absent : Failed;
        }
        const size_t b = size_t(i / Block_Size);
        if (!_blocks[b])
            return Evicted;
        _lastUse[b] = ++_lookups;
        if (_evicting && _lookups % Block_Size == 0)
            evictCold();
        const std::string_view item = _blocks[b]->item(size_t(i % Block_Size));
        text = item.empty() ? emptyText() : stringText(item);
        return Found;
    }
    // Waits for the end of the part: false, with the reason, when it could not be read.
    bool finish(QString* reason)
    {
        std::unique_lock<std::mutex> lock(_mutex);
        _changed.wait(lock, [&] { return _done; });
        if (!_error.isEmpty())
            *reason = _error;
        return _error.isEmpty();
    }
    qsizetype size() const { return _published.load(std::memory_order_acquire); }
    // Whether blocks may be let go while a sheet is read (this and the
    // lookups run on the reading thread); each read counts its own uses.
    void setEvicting(bool evicting)
    {
        _evicting = evicting;
        std::fill(_lastUse.begin(), _lastUse.end(), 0);
        _lookups = 0;
    }
    bool evictedAny() const { return _evictedAny; }

private:
    void stop()
    {
        _stop = true;
        if (_worker.joinable())
            _worker.join();
    }
    // Lets go of the whole blocks used before and not in the last Window lookups.
    void evictCold()
    {
        const size_t whole = size_t(size() / Block_Size);
        for (size_t b = 0; b < whole; ++b)
            if (_blocks[b] && _lastUse[b] > 0 && _lookups - _lastUse[b] > Window) {
                _blocks[b].reset();
                _evictedAny = true;
            }
    }

    static constexpr qsizetype Block_Size = 4096;
    static constexpr qint64 Window = 8 * Block_Size;
    // A block as it is filled, and as it is kept: the ends of its strings
    // and their text in pages of its own, so that letting it go gives the
    // memory back at once, whichever thread made it.
    struct Filling {
        std::string text;
        std::vector<quint32> ends; // of each string in text
    };
    class Block {
    public:
        explicit Block(const Filling& from)
        {
            _bytes = from.ends.size() * sizeof(quint32) + from.text.size();
            void* memory = ::mmap(nullptr, std::max<size_t>(_bytes, 1), PROT_READ | PROT_WRITE,
                                  MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
            if (memory == MAP_FAILED)
                throw std::bad_alloc();
            _memory = static_cast<char*>(memory);
            std::memcpy(_memory, from.ends.data(), from.ends.size() * sizeof(quint32));
            std::memcpy(_memory + from.ends.size() * sizeof(quint32), from.text.data(), from.text.size());
            _count = from.ends.size();
        }
        ~Block() { ::munmap(_memory, std::max<size_t>(_bytes, 1)); }
        Block(const Block&) = delete;
        Block& operator=(const Block&) = delete;
        std::string_view item(size_t k) const
        {
            const quint32* ends = reinterpret_cast<const quint32*>(_memory);
            const char* text = _memory + _count * sizeof(quint32);
            const size_t from = k == 0 ? 0 : ends[k - 1];
            return std::string_view(text + from, ends[k] - from);
        }

    private:
        char* _memory = nullptr;
        size_t _bytes = 0, _count = 0;
    };

    void run()
    {
        QString failure;
        std::unique_lock<std::mutex> lock(_mutex, std::defer_lock);
        try {
            failure = read();
            lock.lock();
            if (!_current.ends.empty())
                publish();
        } catch (const std::exception& e) {
            failure = QStringLiteral("the shared strings could not be kept: %1").arg(QString::fromUtf8(e.what()));
        }
        if (!lock.owns_lock())
            lock.lock();
        _error = failure;
        _done = true;
        _changed.notify_all();
    }
    void publish()
    {
        const qsizetype count = _published.load(std::memory_order_relaxed) + qsizetype(_current.ends.size());
        _blocks[size_t((count - 1) / Block_Size)] = std::make_unique<Block>(_current);
        _current.text.clear();
        _current.ends.clear();
        _published.store(count, std::memory_order_release);
        _changed.notify_all();
    }
    // Reads the part; the reason it could not be read, or nothing.
    QString read()
    {
        QString reason;
        if (!_package->isOpen())
            return QStringLiteral("the workbook could not be opened a second time for its shared strings");
        switch (openPart(*_package, _part, Max_Streamed_Part, &reason, false)) {
        case Opened::Missing: return QString(); // a workbook without text cells may have none
        case Opened::Failed: return reason;
        case Opened::Ok: break;
        }
        // The text of each item (si): its plain text and its rich-text runs
        // joined, phonetic runs left out; all text inside a t element counts.
        Part part(*_package);
        int textDepth = 0;   // depth of the t element being read, 0 outside one
        bool inRun = false;  // inside an r element of the item
        bool inItem = false; // inside an si element
        qint64 bytes = 0;
        XmlPullParser::Token token;
        for (part.xml.setTextWanted(false); !_stop && part.next(token); part.xml.setTextWanted(textDepth != 0)) {
            const int depth = part.xml.depth();
            if (token == XmlPullParser::StartElement) {
                if (depth == 2 && part.xml.nameIs("si")) {
                    inItem = true;
                } else if (textDepth == 0 && part.xml.nameIs("t") && (depth == 3 || (depth == 4 && inRun))) {
                    textDepth = depth;
                } else if (depth == 3) {
                    inRun = part.xml.nameIs("r");
                }
            } else if (token == XmlPullParser::Characters) {
                if (textDepth && inItem) {
                    _current.text += part.xml.text();
                    bytes += qint64(part.xml.text().size());
                }
            } else if (token == XmlPullParser::EndElement) {
                if (depth == textDepth - 1) {
                    textDepth = 0;
                } else if (depth == 2) {
                    inRun = false;
                } else if (depth == 1 && part.xml.nameIs("si") && inItem) {
                    inItem = false;
                    if (size() + qsizetype(_current.ends.size()) >= Max_Shared_Strings)
                        return QStringLiteral("the workbook has more than %1 shared strings").arg(Max_Shared_Strings);
                    if (bytes > Max_Shared_Bytes)
                        return QStringLiteral("the workbook's shared strings hold more than %1 bytes").arg(Max_Shared_Bytes);
                    _current.ends.push_back(quint32(_current.text.size()));
                    if (qsizetype(_current.ends.size()) == Block_Size) {
                        std::lock_guard<std::mutex> lock(_mutex);
                        publish();
                    }
                }
            }
        }
        return part.invalid ? part.failure(_part) : QString();
    }

    std::unique_ptr<SSZipPackage> _package;
    const QString _part;
    std::vector<std::unique_ptr<Block>> _blocks; // made whole up front: never moved
    Filling _current;                            // being filled by the worker
    std::vector<qint64> _lastUse;                // by block: the lookup that last used it
    qint64 _lookups = 0;
    bool _evicting = false, _evictedAny = false;
    std::atomic<qsizetype> _published{0};
    std::atomic<bool> _stop{false};
    std::mutex _mutex;
    std::condition_variable _changed;
    bool _done = false;
    QString _error;
    std::thread _worker;
};

QStringList SpreadsheetWriter::sharedStrings() const
{
    if (!_strings)
        return _sharedStrings;
    if (_strings->evictedAny())
        const_cast<SpreadsheetWriter*>(this)->startSharedStrings(_sharedPart);
    QString reason;
    _strings->finish(&reason);
    QStringList strings;
    for (qsizetype i = 0; i < _strings->size(); ++i) {
        QString text;
        _strings->get(i, text);
        strings.append(text);
    }
    return strings;
}

void SpreadsheetWriter::startSharedStrings(const QString& part)
{
    // Read afresh through the same handle, so a file replaced on disk since
    // it was opened is not mixed in.
    std::unique_ptr<SSZipPackage> package = _strings ? _strings->release() : nullptr;
    _strings.reset();
    _sharedPart = part;
    if (!package) {
        package = std::make_unique<SSZipPackage>();
        SSZipArchiveError error;
        package->open(_path, &error); // a failure fails the reads that need the strings
    }
    _strings = std::make_unique<SharedStrings>(std::move(package), part);
}

bool SpreadsheetWriter::open(const QString& path, QString* error)
{
    _strings.reset();
    _package.reset();
    _sheets.clear();
    _kept.reset();
    _cellFormats.clear();
    _epoch1904 = false;
    auto package = std::make_unique<SSZipPackage>();
    SSZipArchiveError zipError;
    if (!package->open(path, &zipError))
        return Log_Failure(error, QStringLiteral("Cannot open %1: %2").arg(path, zipError.description));
    _package = std::move(package);
    _path = path;
    if (!readSheetList(error)) {
        _strings.reset();
        _package.reset();
        _sheets.clear();
        return false;
    }
    return true;
}

bool SpreadsheetWriter::readSheetList(QString* error)
{
    SSZipPackage& package = *_package;
    QList<Relationship> rels;
    QString reason;
    readRelationships(package, QString(), rels, &reason);
    QString workbook = targetOfType(rels, QStringLiteral("/officeDocument"));
    if (workbook.isEmpty() || !package.contains(workbook))
        workbook = QStringLiteral("xl/workbook.xml");
    if (openPart(package, workbook, Max_Small_Part, &reason) != Opened::Ok)
        return Log_Failure(error, QStringLiteral("Not a workbook: %1").arg(reason));
    struct Listed {
        QString name, id;
    };
    QList<Listed> listed;
    {
        Part part(package);
        XmlPullParser::Token token;
        while (part.next(token)) {
            if (token != XmlPullParser::StartElement || part.xml.depth() > 3)
                continue;
            if (part.xml.depth() == 2 && part.xml.nameIs("workbookPr"))
                _epoch1904 = isTrue(part.xml.attribute("date1904"));
            else if (part.xml.depth() == 3 && part.xml.nameIs("sheet"))
                listed.append({fromUtf8(part.xml.attribute("name")), fromUtf8(part.xml.attribute("id"))});
        }
        if (part.invalid)
            return Log_Failure(error, QStringLiteral("Not a workbook: %1").arg(part.failure(workbook)));
    }
    if (!readRelationships(package, workbook, rels, &reason))
        return Log_Failure(error, QStringLiteral("The workbook's worksheets cannot be found: %1").arg(reason));
    for (const Listed& sheet : listed) {
        for (const Relationship& rel : rels) {
            // Only worksheets: chart and dialog sheets hold no cells.
            if (rel.id != sheet.id || !rel.type.endsWith(QStringLiteral("/worksheet")))
                continue;
            if (!package.contains(rel.target))
                return Log_Failure(error, QStringLiteral("The workbook is damaged: missing part %1 of worksheet %2")
                                           .arg(rel.target, sheet.name));
            _sheets.append({sheet.name, rel.target});
            break;
        }
    }
    if (!readStyles(targetOfType(rels, QStringLiteral("/styles")), error))
        return false;
    QString sharedPart = targetOfType(rels, QStringLiteral("/sharedStrings"));
    if (sharedPart.isEmpty())
        sharedPart = QStringLiteral("xl/sharedStrings.xml");
    startSharedStrings(sharedPart);
    return true;
}

// The number format of each cell style (cellXfs), from the custom formats
// (numFmts) and the built-in ones. A package without styles has none: every
// cell is General.
bool SpreadsheetWriter::readStyles(const QString& stylesPart, QString* error)
{
    QString reason;
    if (stylesPart.isEmpty())
        return true;
    switch (openPart(*_package, stylesPart, Max_Small_Part, &reason)) {
    case Opened::Missing: return true;
    case Opened::Failed: return Log_Failure(error, QStringLiteral("Error: %1").arg(reason));
    case Opened::Ok: break;
    }
    Part part(*_package);
    QHash<int, QString> custom;
    std::vector<int> formatIds;
    bool inCellXfs = false;
    XmlPullParser::Token token;
    while (part.next(token)) {
        const int depth = part.xml.depth();
        if (token == XmlPullParser::EndElement && depth == 1)
            inCellXfs = false;
        if (token != XmlPullParser::StartElement)
            continue;
        if (depth == 2)
            inCellXfs = part.xml.nameIs("cellXfs");
        int id = 0;
        const std::string_view idText = part.xml.attribute("numFmtId");
        std::from_chars(idText.data(), idText.data() + idText.size(), id);
        if (depth == 3 && part.xml.nameIs("numFmt"))
            custom.insert(id, fromUtf8(part.xml.attribute("formatCode")));
        else if (depth == 3 && inCellXfs && part.xml.nameIs("xf") && formatIds.size() < size_t(Max_Cells))
            formatIds.push_back(id);
    }
    if (part.invalid)
        return Log_Failure(error, QStringLiteral("Error: %1").arg(part.failure(stylesPart)));
    QHash<int, xlsx::NumberFormat> byId;
    _cellFormats.reserve(formatIds.size());
    for (const int id : formatIds) {
        auto it = byId.find(id);
        if (it == byId.end())
            it = byId.insert(id, custom.contains(id) ? xlsx::NumberFormat::fromCode(custom.value(id))
                                                     : xlsx::NumberFormat::builtin(id));
        _cellFormats.push_back(*it);
    }
    return true;
}

QString SpreadsheetWriter::sheetPart(int number, QString* error) const
{
    if (!_package) {
        Log_Failure(error, QStringLiteral("No workbook has been opened"));
        return QString();
    }
    if (number < 1 || number > _sheets.size()) {
        Log_Failure(error, QStringLiteral("The workbook has no worksheet %1").arg(number));
        return QString();
    }
    return _sheets[number - 1].part;
}

QStringList SpreadsheetWriter::Read_Sheet_Name()
{
    QStringList names;
    if (spreadsheet)
        for (const Sheet& sheet : spreadsheet->_sheets)
            names.append(sheet.name);
    return names;
}

bool SpreadsheetWriter::ReadSharedStrings(const QString& partPath, QString* error)
{
    clearError(error);
    if (!_package)
        return Log_Failure(error, QStringLiteral("No workbook has been opened"));
    startSharedStrings(partPath);
    QString reason;
    return _strings->finish(&reason) || Log_Failure(error, QStringLiteral("Error: %1").arg(reason));
}

// One streaming pass over a worksheet, in two halves that run side by side:
// a scanner turns the part's elements into events (a row begins, a cell with
// its stored text, the dimension, a merged range, the end of the sheet
// data, a failure), in batches whose cells' text lies in one buffer; the
// pass takes the events in order, reads each cell's value as the sheet shows
// it, and a row assembler places each cell by its own reference (a row or
// cell without one follows the previous one). Row elements that repeat a row
// number add to that row. Values hidden under a merged range are cleared,
// and rows left without any value are dropped.
//
// Reading titles gives the first row that holds a value, in the order of
// the part. It stops after that row when the sheet declares its dimension;
// else it goes on to the end for the width, and the whole table it makes on
// the way is kept for the read of all rows that follows.
namespace {
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

QString CellShower::operator()(char type, int style, std::string_view stored) const
{
    if (type == 'i' || type == 'f')
        return stringText(stored);
    if (stored.empty())
        return emptyText();
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

    Part _part;
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
    static const char* const names[3] = {"r", "t", "s"};
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

// The batches of a pass, handed on from stage to stage: a thread scans
// them, two show their cells (each a batch at a time), and the pass takes
// them in order. A few are made once and passed round. Where threads cannot
// be had, the pass does the stages left itself when it wants a batch.
class SheetFeed {
public:
    SheetFeed(SSZipPackage& package, const QString& partName, const CellShower& shower)
        : _scanner(package, partName)
        , _shower(shower)
    {
        for (int i = 0; i < Depth; ++i)
            _spare.push_back(std::make_unique<SheetBatch>());
        try {
            _scanning = std::thread([this] { scan(); });
            for (int i = 0; i < Showers; ++i)
                _showing.emplace_back([this] { show(); });
        } catch (const std::system_error&) {
        }
    }
    ~SheetFeed()
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
    // The next batch, null after the last; the one before goes back.
    SheetBatch* next()
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
            std::deque<std::unique_ptr<SheetBatch>>& from = _showing.empty() ? _scanned : _shown;
            std::deque<std::unique_ptr<SheetBatch>>::iterator it;
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

private:
    static constexpr int Depth = 6, Showers = 2;
    static std::unique_ptr<SheetBatch> take(std::deque<std::unique_ptr<SheetBatch>>& from)
    {
        std::unique_ptr<SheetBatch> batch = std::move(from.front());
        from.pop_front();
        return batch;
    }
    void scanInto(SheetBatch& batch)
    {
        batch.order = _scannedCount++;
        batch.last = !_scanner.fill(batch);
    }
    // A stage on its thread: batches from one queue, worked on, to the next.
    template <typename Work>
    void stage(std::deque<std::unique_ptr<SheetBatch>>& from, std::deque<std::unique_ptr<SheetBatch>>& to, Work work)
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
    void scan()
    {
        stage(_spare, _scanned, [this](SheetBatch& batch) { scanInto(batch); });
    }
    void show()
    {
        stage(_scanned, _shown, [this](SheetBatch& batch) { _shower.show(batch); });
    }

    SheetScanner _scanner;
    const CellShower& _shower;
    std::deque<std::unique_ptr<SheetBatch>> _spare, _scanned, _shown;
    std::unique_ptr<SheetBatch> _current;
    quint64 _scannedCount = 0, _taken = 0;
    bool _stop = false, _ended = false;
    std::mutex _mutex;
    std::condition_variable _changed;
    // Last: they start when all else is made.
    std::thread _scanning;
    std::vector<std::thread> _showing;
};
}

// The assembling half of the pass.
class SpreadsheetWriter::SheetPass {
public:
    SheetPass(SpreadsheetWriter& reader, bool titles, SheetRows& out)
        : _reader(reader)
        , _titles(titles)
        , _out(out)
    {
    }
    bool read(const QString& partName, QString* error);

private:
    // What an event leaves the pass to do.
    enum Next { Go, Stop, Fail };
    Next fail(const QString& reason)
    {
        _failure = reason;
        return Fail;
    }
    Next take(const SheetBatch& batch, size_t index);
    Next startRow(int row);
    void readDimension(const SheetEvent& event);
    Next endCell(const SheetEvent& event, const QString& shown);
    Next assemble(const QString& text);
    bool titleEnds(int row) const;
    void takeTitle();
    bool finish(QString* error);
    bool finishTitles(QString* error);
    void keepWhole();
    bool clearMerged(QList<QStringList>& rows, std::vector<int>& numbers) const;

    QString sharedString();

    SpreadsheetWriter& _reader;
    const bool _titles;
    SheetRows& _out;
    QString _partName;
    QString _failure;
    bool _stopped = false;
    // Reading titles: the first row, once another has begun; once the whole
    // table has failed (the reason), the rest is read for its width only.
    bool _titleTaken = false, _widthOnly = false;
    QStringList _titleRow;
    int _titleNumber = 0;
    QString _wholeFailure;
    int _width = 0; // of the cells read only for the width
    // What a saved design cannot hold never enters the table.
    Sheet_Builder _rows{QStringLiteral("the worksheet's cells")};
    std::vector<MergedRange> _merges;

    // The cell being read: its place and stored text.
    int _cellColumn = 0, _cellRow = 0;
    std::string_view _value;

    // Strings used again nearby share one copy.
    struct CachedString {
        qsizetype index = -1;
        QString text;
    };
    std::vector<CachedString> _recent = std::vector<CachedString>(4096);
    bool _stringsFailed = false;
};

bool SpreadsheetWriter::SheetPass::read(const QString& partName, QString* error)
{
    _reader._kept.reset();
    _partName = partName;
    QString reason;
    if (openPart(*_reader._package, partName, Max_Streamed_Part, &reason) != Opened::Ok)
        return Log_Failure(error, QStringLiteral("Error: %1").arg(reason));
    if (_reader._strings && _reader._strings->evictedAny())
        _reader.startSharedStrings(_reader._sharedPart); // a read before let some go
    if (_reader._strings)
        _reader._strings->setEvicting(true);

    Next next = Go;
    {
        const CellShower shower(_reader._cellFormats, _reader._epoch1904);
        SheetFeed feed(*_reader._package, partName, shower);
        while (next == Go) {
            const SheetBatch* batch = feed.next();
            if (!batch)
                break;
            for (size_t i = 0; i < batch->events.size() && next == Go; ++i)
                next = take(*batch, i);
        }
    }
    if (next == Fail)
        return Log_Failure(error, _failure);
    _stopped = next == Stop;
    return _titles ? finishTitles(error) : finish(error);
}

SpreadsheetWriter::SheetPass::Next SpreadsheetWriter::SheetPass::take(const SheetBatch& batch, size_t index)
{
    const SheetEvent& event = batch.events[index];
    switch (event.kind) {
    case SheetEvent::Row: return startRow(event.row);
    case SheetEvent::Cell:
        _value = std::string_view(batch.text).substr(event.from, event.to - event.from);
        return endCell(event, batch.shown[index]);
    case SheetEvent::Dimension: readDimension(event); return Go;
    case SheetEvent::DataEnd:
        // The merged ranges that follow play no part in the titles.
        return _titles && _out.hasDimension ? Stop : Go;
    case SheetEvent::Merge:
        if (_merges.size() < size_t(Max_Cells))
            _merges.push_back(batch.merges[event.from]);
        return Go;
    case SheetEvent::Failure: return fail(batch.failure);
    }
    return Go;
}

SpreadsheetWriter::SheetPass::Next SpreadsheetWriter::SheetPass::startRow(int row)
{
    if (titleEnds(row)) {
        if (_out.hasDimension)
            return Stop;
        takeTitle();
    }
    return Go;
}

void SpreadsheetWriter::SheetPass::readDimension(const SheetEvent& event)
{
    _out.hasDimension = true;
    if (event.column < 0)
        return;
    _out.dimensionColumns = event.column;
    if (!_titles)
        _rows.rows.reserve(event.row);
}

SpreadsheetWriter::SheetPass::Next SpreadsheetWriter::SheetPass::endCell(const SheetEvent& event, const QString& shown)
{
    _cellRow = event.row;
    _cellColumn = event.column;
    const QString text = _rows.kept(event.type == 's' ? sharedString() : shown);
    return text.isEmpty() ? Go : assemble(text);
}

// The row assembler: a cell with text into the row it names.
SpreadsheetWriter::SheetPass::Next SpreadsheetWriter::SheetPass::assemble(const QString& text)
{
    if (!_titleTaken && titleEnds(_cellRow)) {
        if (_out.hasDimension)
            return Stop;
        takeTitle();
    }
    if (_widthOnly) {
        _width = std::max(_width, _cellColumn + 1);
        return Go;
    }
    if (_rows.place(_cellRow, _cellColumn, text))
        return Go;
    const QString reason = QStringLiteral("Error: the worksheet is too large (%1)").arg(_rows.reason);
    if (!_titles)
        return fail(reason);
    _wholeFailure = reason;
    _widthOnly = true;
    _width = std::max(_width, _cellColumn + 1);
    return Go;
}

// Reading titles: whether a value in this row ends the title row.
bool SpreadsheetWriter::SheetPass::titleEnds(int row) const
{
    if (!_titles)
        return false;
    return _titleTaken ? row != _titleNumber : _rows.rowHasText() && row != _rows.rowNumber();
}

void SpreadsheetWriter::SheetPass::takeTitle()
{
    if (_titleTaken)
        return;
    _titleTaken = true;
    _titleRow = _rows.row();
    _titleNumber = _rows.rowNumber();
}

bool SpreadsheetWriter::SheetPass::finish(QString* error)
{
    _rows.closeRow();
    SharedStrings* strings = _reader._strings.get();
    if (strings)
        strings->setEvicting(false);
    QString stringsReason;
    if (_stringsFailed || (strings && !strings->finish(&stringsReason))) {
        strings->finish(&stringsReason);
        return Log_Failure(error, QStringLiteral("Error: %1").arg(stringsReason));
    }
    if (!_rows.inOrder())
        _rows.orderRows();
    if (!clearMerged(_rows.rows, _rows.numbers))
        return Log_Failure(error, QStringLiteral("Error: the worksheet's merged ranges overlap too much"));
    _out.rows = std::move(_rows.rows);
    _out.numbers = std::move(_rows.numbers);
    _out.width = std::max(_width, int(_rows.width()));
    return true;
}

bool SpreadsheetWriter::SheetPass::finishTitles(QString* error)
{
    if (_rows.rowHasText())
        takeTitle();
    _rows.closeRow();
    SharedStrings* strings = _reader._strings.get();
    if (strings)
        strings->setEvicting(false);
    QString stringsReason;
    if (_stringsFailed) {
        strings->finish(&stringsReason);
        return Log_Failure(error, QStringLiteral("Error: %1").arg(stringsReason));
    }
    if (_titleTaken) {
        _out.rows = {_titleRow};
        _out.numbers = {_titleNumber};
    }
    if (!clearMerged(_out.rows, _out.numbers))
        return Log_Failure(error, QStringLiteral("Error: the worksheet's merged ranges overlap too much"));
    _out.width = std::max(_width, int(_rows.width()));
    if (!_stopped)
        keepWhole();
    return true;
}

// Keeps the whole table that reading the titles made on its way through the
// sheet, or why it cannot be read whole.
void SpreadsheetWriter::SheetPass::keepWhole()
{
    auto kept = std::make_unique<KeptSheet>();
    kept->part = _partName;
    kept->failure = _wholeFailure;
    QString stringsReason;
    if (kept->failure.isNull() && _reader._strings && !_reader._strings->finish(&stringsReason))
        kept->failure = QStringLiteral("Error: %1").arg(stringsReason);
    if (kept->failure.isNull()) {
        if (!_rows.inOrder())
            _rows.orderRows();
        if (clearMerged(_rows.rows, _rows.numbers)) {
            kept->sheet.rows = std::move(_rows.rows);
            kept->sheet.numbers = std::move(_rows.numbers);
            kept->sheet.width = _out.width;
        } else {
            kept->failure = QStringLiteral("Error: the worksheet's merged ranges overlap too much");
        }
    }
    _reader._kept = std::move(kept);
}

// Clears the values hidden under merged ranges and drops the rows that holds
// none then; false when the ranges overlap past the cell limit.
bool SpreadsheetWriter::SheetPass::clearMerged(QList<QStringList>& rows, std::vector<int>& numbers) const
{
    if (_merges.empty())
        return true;
    qint64 work = 0;
    for (const MergedRange& range : _merges) {
        auto it = std::lower_bound(numbers.begin(), numbers.end(), range.firstRow);
        for (; it != numbers.end() && *it <= range.lastRow; ++it) {
            QStringList& row = rows[it - numbers.begin()];
            const int last = std::min<int>(range.lastColumn, int(row.size()) - 1);
            for (int c = range.firstColumn; c <= last; ++c)
                if (*it != range.firstRow || c != range.firstColumn)
                    row[c] = emptyText();
            work += std::max(0, last - range.firstColumn + 1);
            if (work > Max_Cells)
                return false;
        }
    }
    QList<QStringList> kept;
    std::vector<int> keptNumbers;
    for (qsizetype i = 0; i < rows.size(); ++i) {
        if (std::all_of(rows[i].cbegin(), rows[i].cend(), [](const QString& v) { return v.isEmpty(); }))
            continue;
        kept.append(std::move(rows[i]));
        keptNumbers.push_back(numbers[size_t(i)]);
    }
    rows = std::move(kept);
    numbers = std::move(keptNumbers);
    return true;
}

QString SpreadsheetWriter::SheetPass::sharedString()
{
    const std::string_view index = trimmed(_value);
    qsizetype n = -1;
    const auto result = std::from_chars(index.data(), index.data() + index.size(), n);
    if (result.ec != std::errc() || result.ptr != index.data() + index.size() || n < 0 || !_reader._strings)
        return emptyText();
    CachedString& cached = _recent[size_t(n) % _recent.size()];
    if (cached.index != n) {
        cached.index = -1;
        SharedStrings::Lookup found = _reader._strings->get(n, cached.text);
        if (found == SharedStrings::Evicted) {
            // Wanted again after all: read them afresh and keep them all.
            _reader.startSharedStrings(_reader._sharedPart);
            found = _reader._strings->get(n, cached.text);
        }
        switch (found) {
        case SharedStrings::Found: cached.index = n; break;
        case SharedStrings::Absent:
        case SharedStrings::Evicted: return emptyText();
        case SharedStrings::Failed: _stringsFailed = true; return emptyText();
        }
    }
    return cached.text;
}

bool SpreadsheetWriter::readSheet(const QString& part, bool firstRowOnly, SheetRows& rows, QString* error)
{
    return SheetPass(*this, firstRowOnly, rows).read(part, error);
}

QList<QStringList> SpreadsheetWriter::ReadWorkbook(const QString& path, bool only_col, QString* error)
{
    clearError(error);
    if (only_col) {
        Release_Data();
        Excel_Sheet_Columns = 1;
        if (!spreadsheet) {
            g_shared = std::make_unique<SpreadsheetWriter>();
            spreadsheet = g_shared.get();
        }
        spreadsheet->open(path, error);
        return spreadsheet->_data;
    }
    if (!spreadsheet) {
        Log_Failure(error, QStringLiteral("No workbook has been opened"));
        return {};
    }
    spreadsheet->_data = QList<QStringList>();
    const QString part = spreadsheet->sheetPart(Excel_Sheet_Number, error);
    if (!part.isEmpty())
        spreadsheet->ReadData(part, error);
    return spreadsheet->_data;
}

QList<QStringList> SpreadsheetWriter::ReadData_only_column(QString* error)
{
    clearError(error);
    if (!spreadsheet) {
        Log_Failure(error, QStringLiteral("No workbook has been opened"));
        return {};
    }
    spreadsheet->_data = QList<QStringList>();
    const QString part = spreadsheet->sheetPart(Excel_Sheet_Number, error);
    if (part.isEmpty())
        return {};
    SheetRows sheet;
    if (!spreadsheet->readSheet(part, true, sheet, error))
        return {};
    Excel_Sheet_Columns = std::max(sheet.dimensionColumns, sheet.width);
    if (!sheet.rows.isEmpty()) {
        QStringList titles;
        for (int i = 0; i < Excel_Sheet_Columns; ++i) {
            const QString value = i < sheet.rows[0].size() ? sheet.rows[0][i] : QString();
            titles.append(value.isEmpty() ? QStringLiteral("Untitled Column %1").arg(i + 1) : value);
        }
        spreadsheet->_data.append(titles);
    }
    return spreadsheet->_data;
}

bool SpreadsheetWriter::ReadData(const QString& partPath, QString* error)
{
    clearError(error);
    _data = QList<QStringList>();
    if (!_package)
        return Log_Failure(error, QStringLiteral("No workbook has been opened"));
    SheetRows sheet;
    std::unique_ptr<KeptSheet> kept = std::move(_kept);
    if (kept && kept->part == partPath) {
        if (!kept->failure.isNull())
            return Log_Failure(error, kept->failure);
        sheet = std::move(kept->sheet);
    } else if (!readSheet(partPath, false, sheet, error)) {
        return false;
    }
    Excel_Sheet_Columns = std::max(Excel_Sheet_Columns, sheet.width);
    // A dimension far wider than the cells must not pad the table out of memory.
    if (qint64(Excel_Sheet_Columns) * sheet.rows.size() > Max_Cells)
        return Log_Failure(error, QStringLiteral("Error: the worksheet is too large (%1 rows by %2 columns)")
                                   .arg(sheet.rows.size())
                                   .arg(Excel_Sheet_Columns));
    for (QStringList& row : sheet.rows)
        while (row.size() < Excel_Sheet_Columns)
            row.append(emptyText());
    _data = std::move(sheet.rows);
    return true;
}
