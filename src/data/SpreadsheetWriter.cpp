// The reading half of the spreadsheet component, and its shared instance.
#include "data/SpreadsheetWriter.h"

#include "data/SSZipArchive.h"
#include "data/Sheet_Builder.h"
#include "data/Sheet_Scanner.h"
#include "data/XmlPullParser.h"
#include "model/Helpers.h"

#include <QDir>
#include <QUrl>

#include <algorithm>
#include <atomic>
#include <condition_variable>
#include <cstring>
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

using xlsx::fromUtf8;
using xlsx::isTrue;
using xlsx::readReference;
using xlsx::stringText;
using xlsx::trimmed;



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
    Package_Part rels(package);
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
        text = item.empty() ? Sheet_Builder::blank() : stringText(item);
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
    // The bytes the table holds now: its blocks and the one being filled.
    qint64 heldBytes() const { return _blockBytes.load(std::memory_order_relaxed) + _filling.load(std::memory_order_relaxed); }

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
                _blockBytes -= qint64(_blocks[b]->bytes());
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
        size_t bytes() const { return _bytes; }
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
        auto& block = _blocks[size_t((count - 1) / Block_Size)];
        block = std::make_unique<Block>(_current);
        _blockBytes += qint64(block->bytes());
        // Emptied with their room: a string cleared (or given an empty one)
        // would keep its room for the next block.
        std::string().swap(_current.text);
        std::vector<quint32>().swap(_current.ends);
        _filling = 0;
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
        Package_Part part(*_package);
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
                    _filling = qint64(_current.text.capacity() + _current.ends.capacity() * sizeof(quint32));
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
    std::atomic<qint64> _blockBytes{0}, _filling{0};
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
        Package_Part part(package);
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
    Package_Part part(*_package);
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

// One streaming pass over a worksheet. The stages of Sheet_Scanner scan the
// part into events and show the cells' text on threads of their own; the
// pass takes the events in order, looks up the shared strings, and a row
// assembler places each cell by its own reference (a row or cell without
// one follows the previous one). Row elements that repeat a row number add
// to that row. Values hidden under a merged range are cleared, and rows left
// without any value are dropped.
//
// Reading titles gives the first row that holds a value, in the order of
// the part. It stops after that row when the sheet declares its dimension;
// else it goes on to the end for the width, and the whole table it makes on
// the way is kept for the read of all rows that follows.
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
    // The shared strings held count against the sheet's text as they are
    // held: a byte of theirs as half a character of the cells'.
    if (_reader._strings)
        _rows.setTextHeldElsewhere(_reader._strings->heldBytes() / 2);
    if (_rows.place(_cellRow, _cellColumn, text))
        return Go;
    const QString reason = QStringLiteral("Error: the worksheet is too large (%1)").arg(_rows.reason);
    if (!_titles)
        return fail(reason);
    _wholeFailure = reason;
    _widthOnly = true;
    // The rows made so far are of no more use, nor are the strings kept
    // for the rows to share.
    _rows.rows.clear();
    _rows.numbers.clear();
    std::fill(_recent.begin(), _recent.end(), CachedString());
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
                    row[c] = Sheet_Builder::blank();
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
        return Sheet_Builder::blank();
    // Reading for the width only, a string is not kept: no row shares it.
    CachedString once;
    CachedString& cached = _widthOnly ? once : _recent[size_t(n) % _recent.size()];
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
        case SharedStrings::Evicted: return Sheet_Builder::blank();
        case SharedStrings::Failed: _stringsFailed = true; return Sheet_Builder::blank();
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
            row.append(Sheet_Builder::blank());
    _data = std::move(sheet.rows);
    return true;
}
