// The reading half of the spreadsheet component, and its shared instance.
#include "data/SpreadsheetWriter.h"

#include "data/SSZipArchive.h"
#include "model/Helpers.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include <cstdlib>
#include <cstring>
#include <pugixml.hpp>
#include <string>

int Excel_Sheet_Number = 1;
int Excel_Sheet_Columns = 1;
SpreadsheetWriter* spreadsheet = nullptr;

namespace {
// Owns the shared instance, so its temporary folder goes with the process.
std::unique_ptr<SpreadsheetWriter> g_shared;

// The widest sheet the format allows (column XFD).
constexpr int Max_Columns = 16384;
// The most cells one read puts in the row table.
// Limits that keep a hostile workbook from exhausting memory: the cells a
// table may hold, and the size of one XML part (its parsed tree takes many
// times its size).
constexpr qint64 Max_Cells = 5000000;
constexpr qint64 Max_Part_Size = qint64(64) * 1024 * 1024;

bool failWith(QString* error, const QString& reason)
{
    Show_NSLog_Message(reason);
    if (error)
        *error = reason;
    return false;
}

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

// Parts may put any prefix on the SpreadsheetML names: compare local names.
const char* localName(const pugi::xml_node& node)
{
    const char* name = node.name();
    const char* colon = std::strrchr(name, ':');
    return colon ? colon + 1 : name;
}

bool isNamed(const pugi::xml_node& node, const char* name)
{
    return node.type() == pugi::node_element && std::strcmp(localName(node), name) == 0;
}

pugi::xml_node childNamed(const pugi::xml_node& node, const char* name)
{
    for (pugi::xml_node child = node.first_child(); child; child = child.next_sibling())
        if (isNamed(child, name))
            return child;
    return {};
}

// All descendant text of a node, in document order. Walked without
// recursion, so however deep a hostile part nests, the stack stays flat.
void appendText(const pugi::xml_node& root, std::string& out)
{
    pugi::xml_node node = root.first_child();
    while (node) {
        if (node.type() == pugi::node_pcdata || node.type() == pugi::node_cdata) {
            out += node.value();
        } else if (node.type() == pugi::node_element && node.first_child()) {
            node = node.first_child();
            continue;
        }
        while (!node.next_sibling()) {
            node = node.parent();
            if (!node || node == root)
                return;
        }
        node = node.next_sibling();
    }
}

QString allText(const pugi::xml_node& node)
{
    const pugi::xml_node only = node.first_child();
    if (!only)
        return emptyText();
    if (!only.next_sibling() && only.type() == pugi::node_pcdata)
        return QString::fromUtf8(only.value());
    std::string out;
    appendText(node, out);
    return QString::fromUtf8(out.data(), qsizetype(out.size()));
}

// The text of a string item (si) or inline string (is): its plain text and
// its rich-text runs joined; phonetic runs are left out.
QString itemText(const pugi::xml_node& item)
{
    std::string out;
    for (pugi::xml_node child = item.first_child(); child; child = child.next_sibling()) {
        if (isNamed(child, "t")) {
            appendText(child, out);
        } else if (isNamed(child, "r")) {
            for (pugi::xml_node run = child.first_child(); run; run = run.next_sibling())
                if (isNamed(run, "t"))
                    appendText(run, out);
        }
    }
    return QString::fromUtf8(out.data(), qsizetype(out.size()));
}

enum class Loaded { Ok, Missing, Failed };

Loaded loadPart(pugi::xml_document& doc, const QString& path, QString* reason)
{
    if (!QFileInfo(path).isFile()) {
        *reason = QStringLiteral("missing part %1").arg(QFileInfo(path).fileName());
        return QFileInfo::exists(path) ? Loaded::Failed : Loaded::Missing;
    }
    if (QFileInfo(path).size() > Max_Part_Size) {
        *reason = QStringLiteral("%1 is too large").arg(QFileInfo(path).fileName());
        return Loaded::Failed;
    }
    const pugi::xml_parse_result result =
        doc.load_file(QFile::encodeName(path).constData(), pugi::parse_default | pugi::parse_ws_pcdata_single);
    if (result)
        return Loaded::Ok;
    *reason = QStringLiteral("%1 at offset %2 of %3")
                  .arg(QString::fromUtf8(result.description()))
                  .arg(result.offset)
                  .arg(QFileInfo(path).fileName());
    return Loaded::Failed;
}

// The reader's queries, compiled once each. Local names only, so that any
// prefix on the SpreadsheetML names matches.
enum { Relationships_Query, Rows_Query, Dimension_Query, Sheets_Query, Strings_Query };
#define LOCAL(name) "*[local-name()='" name "']"
const pugi::xpath_query& query(int which)
{
    static const pugi::xpath_query queries[] = {
        pugi::xpath_query("/" LOCAL("Relationships") "[1]/" LOCAL("Relationship")),
        pugi::xpath_query("/" LOCAL("worksheet") "[1]/" LOCAL("sheetData") "[1]/" LOCAL("row")),
        pugi::xpath_query("/" LOCAL("worksheet") "[1]/" LOCAL("dimension") "[1]"),
        pugi::xpath_query("/" LOCAL("workbook") "[1]/" LOCAL("sheets") "[1]/" LOCAL("sheet")),
        pugi::xpath_query("/" LOCAL("sst") "[1]/" LOCAL("si")),
    };
    return queries[which];
}
#undef LOCAL

struct Relationship {
    QString id, type, target; // target: a path inside the package
};

// The relationships of a part ("" for the package itself). Targets are
// resolved against the part's folder; external ones and any that would leave
// the package are dropped.
QList<Relationship> readRelationships(const QString& root, const QString& part)
{
    const QString folder = part.contains(QLatin1Char('/')) ? part.left(part.lastIndexOf(QLatin1Char('/'))) : QString();
    const QString name = part.mid(part.lastIndexOf(QLatin1Char('/')) + 1);
    const QString relsPath = (folder.isEmpty() ? QString() : folder + QLatin1Char('/')) + QStringLiteral("_rels/")
                             + name + QStringLiteral(".rels");
    pugi::xml_document doc;
    QString reason;
    if (loadPart(doc, root + QLatin1Char('/') + relsPath, &reason) != Loaded::Ok)
        return {};
    QList<Relationship> result;
    for (const pugi::xpath_node& node : doc.select_nodes(query(Relationships_Query))) {
        const pugi::xml_node rel = node.node();
        if (std::strcmp(rel.attribute("TargetMode").value(), "External") == 0)
            continue;
        QString target = QString::fromUtf8(rel.attribute("Target").value());
        target = target.startsWith(QLatin1Char('/')) ? target.mid(1)
                                                     : (folder.isEmpty() ? target : folder + QLatin1Char('/') + target);
        target = QDir::cleanPath(target);
        if (target.isEmpty() || target == QStringLiteral("..") || target.startsWith(QStringLiteral("../"))
            || target.startsWith(QLatin1Char('/')))
            continue;
        result.append({QString::fromUtf8(rel.attribute("Id").value()), QString::fromUtf8(rel.attribute("Type").value()),
                       target});
    }
    return result;
}

QString targetOfType(const QList<Relationship>& rels, const QString& typeEnd)
{
    for (const Relationship& rel : rels)
        if (rel.type.endsWith(typeEnd))
            return rel.target;
    return QString();
}

// The leading integer of a text: blanks, a sign, the digits; 0 when there is none.
long long leadingInteger(const char* text)
{
    return std::strtoll(text, nullptr, 10);
}

// The text a cell yields: a shared string, an inline string, or the stored
// (for a formula, the cached) value.
QString cellValue(const pugi::xml_node& cell, const QStringList& shared)
{
    const char* type = cell.attribute("t").value();
    if (std::strcmp(type, "s") == 0) {
        const long long index = leadingInteger(childNamed(cell, "v").child_value());
        return index >= 0 && index < shared.size() ? shared[qsizetype(index)] : emptyText();
    }
    if (std::strcmp(type, "inlineStr") == 0)
        return itemText(childNamed(cell, "is"));
    return allText(childNamed(cell, "v"));
}

// The 0-based column of a cell reference such as "AB12": one to three letters
// before a row number; -1 for anything else.
int referenceColumn(const char* reference)
{
    int number = 0, letters = 0;
    for (; *reference; ++reference) {
        const char c = char(*reference & ~0x20); // upper case
        if (c < 'A' || c > 'Z')
            break;
        if (++letters > 3)
            return -1;
        number = number * 26 + (c - 'A' + 1);
    }
    return letters > 0 && *reference >= '1' && *reference <= '9' ? number - 1 : -1;
}

// Reads the rows of a parsed worksheet. A cell without a usable reference
// takes the position after the previous cell. width becomes the number of
// columns that hold values in any row. With firstOnly, only the first row is
// kept (every row is still measured).
bool readRows(const pugi::xml_document& doc, const QStringList& shared, bool firstOnly, QList<QStringList>& rows,
              int& width, QString* reason)
{
    width = 0;
    const pugi::xpath_node_set rowNodes = doc.select_nodes(query(Rows_Query));
    rows.reserve(firstOnly ? 1 : qsizetype(std::min<size_t>(rowNodes.size(), 1000000)));
    qint64 cells = 0;
    for (const pugi::xpath_node& rowNode : rowNodes) {
        const bool keep = !firstOnly || rows.isEmpty();
        QStringList row;
        int next = 0;
        for (pugi::xml_node cell = rowNode.node().first_child(); cell; cell = cell.next_sibling()) {
            if (!isNamed(cell, "c"))
                continue;
            const char* reference = cell.attribute("r").value();
            int position = referenceColumn(reference);
            if (position < 0)
                position = next;
            if (position >= Max_Columns) {
                *reason = QStringLiteral("cell reference out of range: %1").arg(QString::fromUtf8(reference));
                return false;
            }
            next = position + 1;
            const QString value = cellValue(cell, shared);
            if (value.isEmpty())
                continue;
            width = std::max(width, position + 1);
            if (!keep)
                continue;
            while (row.size() <= position)
                row.append(emptyText());
            row[position] = value;
        }
        if (keep) {
            cells += row.size();
            if (cells > Max_Cells) {
                *reason = QStringLiteral("the worksheet is too large (more than %1 cells)").arg(Max_Cells);
                return false;
            }
            rows.append(row);
        }
    }
    return true;
}

// The column count a worksheet's dimension gives ("A10:C20" and "C20" give 3); 0 when unreadable.
int dimensionColumns(const pugi::xml_document& doc)
{
    const pugi::xpath_node dimension = doc.select_node(query(Dimension_Query));
    QString ref = QString::fromUtf8(dimension.node().attribute("ref").value());
    ref = Trim_Str(ref.mid(ref.lastIndexOf(QLatin1Char(':')) + 1));
    return std::max(Get_Col_index(Get_Column_Char_Str(ref), 64), 0);
}
}

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

QString SpreadsheetWriter::tmpDir() const
{
    return _tmp ? _tmp->path() : QString();
}

void SpreadsheetWriter::Release_Data()
{
    if (!spreadsheet)
        return;
    spreadsheet->_tmp.reset();
    spreadsheet->_sheets.clear();
}

bool SpreadsheetWriter::unpack(const QString& path, QString* error)
{
    _tmp.reset();
    _sheets.clear();
    _sharedStrings.clear();
    auto folder = std::make_unique<QTemporaryDir>(QDir::tempPath() + QStringLiteral("/gleamcard-ziptmp-XXXXXX"));
    if (!folder->isValid())
        return failWith(error, QStringLiteral("Cannot create a temporary folder: %1").arg(folder->errorString()));
    Show_NSLog_Message(QStringLiteral("Temp. directory initialized:\n %1").arg(folder->path()));
    SSZipArchiveError zipError;
    if (!SSZipArchive::unzipFileAtPath(path, folder->path(), true, QString(), &zipError))
        return failWith(error, QStringLiteral("Cannot unpack %1: %2").arg(path, zipError.description));
    _tmp = std::move(folder);
    if (!readSheetList(error)) {
        _tmp.reset();
        return false;
    }
    return true;
}

bool SpreadsheetWriter::readSheetList(QString* error)
{
    const QString root = _tmp->path();
    QString workbook = targetOfType(readRelationships(root, QString()), QStringLiteral("/officeDocument"));
    if (workbook.isEmpty())
        workbook = QStringLiteral("xl/workbook.xml");
    pugi::xml_document doc;
    QString reason;
    if (loadPart(doc, root + QLatin1Char('/') + workbook, &reason) != Loaded::Ok)
        return failWith(error, QStringLiteral("Not a workbook: %1").arg(reason));
    const QList<Relationship> rels = readRelationships(root, workbook);
    for (const pugi::xpath_node& node : doc.select_nodes(query(Sheets_Query))) {
        const pugi::xml_node sheet = node.node();
        QString id;
        for (const pugi::xml_attribute& attribute : sheet.attributes()) {
            const char* colon = std::strchr(attribute.name(), ':');
            if (colon && std::strcmp(colon + 1, "id") == 0)
                id = QString::fromUtf8(attribute.value());
        }
        for (const Relationship& rel : rels) {
            // Only worksheets: chart and dialog sheets hold no cells.
            if (rel.id == id && rel.type.endsWith(QStringLiteral("/worksheet"))) {
                _sheets.append({QString::fromUtf8(sheet.attribute("name").value()), rel.target});
                break;
            }
        }
    }
    QString sharedPart = targetOfType(rels, QStringLiteral("/sharedStrings"));
    if (sharedPart.isEmpty())
        sharedPart = QStringLiteral("xl/sharedStrings.xml");
    return ReadSharedStrings(root + QLatin1Char('/') + sharedPart, error);
}

QString SpreadsheetWriter::sheetPart(int number, QString* error) const
{
    if (!_tmp) {
        failWith(error, QStringLiteral("No workbook has been unpacked"));
        return QString();
    }
    if (number < 1 || number > _sheets.size()) {
        failWith(error, QStringLiteral("The workbook has no worksheet %1").arg(number));
        return QString();
    }
    return _tmp->path() + QLatin1Char('/') + _sheets[number - 1].part;
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
    _sharedStrings = QStringList();
    pugi::xml_document doc;
    QString reason;
    switch (loadPart(doc, partPath, &reason)) {
    case Loaded::Missing:
        return true; // a workbook without text cells may have none
    case Loaded::Failed:
        return failWith(error, QStringLiteral("Error: %1").arg(reason));
    case Loaded::Ok:
        break;
    }
    const pugi::xpath_node_set items = doc.select_nodes(query(Strings_Query));
    _sharedStrings.reserve(qsizetype(items.size()));
    for (const pugi::xpath_node& item : items)
        _sharedStrings.append(itemText(item.node()));
    return true;
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
        spreadsheet->unpack(path, error);
        return spreadsheet->_data;
    }
    if (!spreadsheet) {
        failWith(error, QStringLiteral("No workbook has been unpacked"));
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
        failWith(error, QStringLiteral("No workbook has been unpacked"));
        return {};
    }
    spreadsheet->_data = QList<QStringList>();
    const QString part = spreadsheet->sheetPart(Excel_Sheet_Number, error);
    if (part.isEmpty())
        return {};
    pugi::xml_document doc;
    QString reason;
    if (loadPart(doc, part, &reason) != Loaded::Ok) {
        failWith(error, QStringLiteral("Error: %1").arg(reason));
        return {};
    }
    QList<QStringList> rows;
    int seen = 0;
    if (!readRows(doc, spreadsheet->_sharedStrings, true, rows, seen, &reason)) {
        failWith(error, QStringLiteral("Error: %1").arg(reason));
        return {};
    }
    Excel_Sheet_Columns = std::max(dimensionColumns(doc), seen);
    if (!rows.isEmpty()) {
        QStringList titles;
        for (int i = 0; i < Excel_Sheet_Columns; ++i) {
            const QString value = i < rows[0].size() ? rows[0][i] : QString();
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
    pugi::xml_document doc;
    QString reason;
    if (loadPart(doc, partPath, &reason) != Loaded::Ok)
        return failWith(error, QStringLiteral("Error: %1").arg(reason));
    QList<QStringList> rows;
    int seen = 0;
    if (!readRows(doc, _sharedStrings, false, rows, seen, &reason))
        return failWith(error, QStringLiteral("Error: %1").arg(reason));
    Excel_Sheet_Columns = std::max(Excel_Sheet_Columns, seen);
    // A dimension far wider than the cells must not pad the table out of memory.
    if (qint64(Excel_Sheet_Columns) * rows.size() > Max_Cells)
        return failWith(error, QStringLiteral("Error: the worksheet is too large (%1 rows by %2 columns)")
                                   .arg(rows.size())
                                   .arg(Excel_Sheet_Columns));
    for (QStringList& row : rows)
        while (row.size() < Excel_Sheet_Columns)
            row.append(emptyText());
    _data = std::move(rows);
    return true;
}
