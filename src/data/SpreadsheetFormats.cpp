// OpenDocument and XML Spreadsheet 2003: readers in one streaming pass,
// writers straight to a file that replaces the old one only when complete.
#include "data/SpreadsheetFormats.h"

#include "data/SSZipArchive.h"
#include "data/Sheet_Builder.h"
#include "data/Sheet_Scanner.h"
#include "data/XmlPullParser.h"
#include "model/Globals.h"
#include "model/Helpers.h"
#include "model/Work_Files.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QXmlStreamReader>
#include <QXmlStreamWriter>

namespace {
const char* const Ods_Mimetype = "application/vnd.oasis.opendocument.spreadsheet";
const char* const Spreadsheet_NS = "urn:schemas-microsoft-com:office:spreadsheet";

QList<QStringList> noRows(QString* error, const QString& reason)
{
    Log_Failure(error, reason);
    return {};
}


// The first attribute of the element with this local name, whatever its prefix.
QStringView attribute(const QXmlStreamReader& r, QLatin1String name)
{
    for (const QXmlStreamAttribute& a : r.attributes())
        if (a.name() == name)
            return a.value();
    return {};
}

// A repeat count: the attribute's integer value, 1 when it is absent.
qsizetype repeatCount(QStringView value)
{
    return value.isNull() ? 1 : Int_Value(value.toString());
}

// Reads up to the next start element of the document; false at its end or
// on an error. A document type declaration is an error: nothing we read
// needs one, and refusing it means no entity is ever expanded.
bool nextStart(QXmlStreamReader& r)
{
    while (!r.atEnd()) {
        r.readNext();
        if (r.tokenType() == QXmlStreamReader::DTD)
            r.raiseError(QStringLiteral("a document type declaration is not allowed"));
        else if (r.isStartElement())
            return true;
    }
    return false;
}

void appendCapped(QString& text, QStringView more)
{
    text += more.left(std::max<qsizetype>(0, SpreadsheetFormats::Max_Cell_Text - text.size()));
}

QString nestingTooDeep()
{
    return QStringLiteral("elements nested more than %1 deep").arg(SpreadsheetFormats::Max_Nesting);
}

// ---- OpenDocument content, read as it is inflated from the package

// One pass over the content part: a token at a time from the package, so no
// more than one tag or run of text is ever held. A run longer than any cell
// may hold, a document type declaration or elements nested past
// Max_Nesting end the pass.
class Ods_Content {
public:
    explicit Ods_Content(SSZipPackage& package)
        : _package(package)
        , _xml([&package](char* buffer, qint64 size) { return package.read(buffer, size); }, Max_Ods_Token)
    {
        _xml.setDocumentTypeRefused(true);
    }
    bool read(Sheet_Builder& sheet, QString& reason);
    // The name of the table read.
    QString tableName;

private:
    // Room for a cell of Max_Cell_Text characters of up to four bytes each.
    static constexpr qsizetype Max_Ods_Token = 4 * SpreadsheetFormats::Max_Cell_Text + 4096;
    using Token = XmlPullParser::Token;

    // The next token; false at the document's end or where it fails.
    bool next(Token& token)
    {
        token = _xml.next();
        if (token == XmlPullParser::StartElement && _xml.depth() > SpreadsheetFormats::Max_Nesting && _reason.isNull())
            _reason = nestingTooDeep();
        return token != XmlPullParser::EndDocument && token != XmlPullParser::Invalid && _reason.isNull();
    }
    bool named(std::string_view name) const { return _xml.nameIs(name); }
    // The attribute's value; a null string when the element has none.
    QString attributeText(std::string_view name) const
    {
        bool found = false;
        const std::string_view value = _xml.attribute(name, &found);
        return found ? QString::fromUtf8(value.data(), qsizetype(value.size())) : QString();
    }
    qsizetype repeat(std::string_view name) const { return repeatCount(attributeText(name)); }
    // Passes over the element just started, whatever it holds.
    void skip()
    {
        const int depth = _xml.depth();
        Token token;
        while (next(token))
            if (token == XmlPullParser::EndElement && _xml.depth() < depth)
                return;
    }
    void readParagraph(QString& text);
    QString readCell();
    void readRow(Sheet_Builder& sheet);

    SSZipPackage& _package;
    XmlPullParser _xml;
    QString _reason;
};

// The text of one paragraph, the parser on its start; spaces, tabs and line
// breaks given as elements read as the characters they stand for; notes and
// annotations are not part of what the cell shows.
void Ods_Content::readParagraph(QString& text)
{
    const int depth = _xml.depth();
    _xml.setTextWanted(true);
    Token token;
    while (next(token)) {
        if (token == XmlPullParser::Characters) {
            const std::string_view run = _xml.text();
            if (text.size() < SpreadsheetFormats::Max_Cell_Text)
                appendCapped(text, QString::fromUtf8(run.data(), qsizetype(run.size())));
        } else if (token == XmlPullParser::EndElement) {
            if (_xml.depth() < depth)
                break;
        } else if (named("s")) {
            const qsizetype room = SpreadsheetFormats::Max_Cell_Text - text.size();
            text += QString(std::clamp<qsizetype>(repeat("c"), 0, room), u' ');
            skip();
        } else if (named("tab")) {
            appendCapped(text, u"\t");
            skip();
        } else if (named("line-break")) {
            appendCapped(text, u"\n");
            skip();
        } else if (named("annotation") || named("note")) {
            skip();
        } // spans, links and the like: their text is the paragraph's
    }
    _xml.setTextWanted(false);
}

// The text a cell shows, the parser on its start: its paragraphs, one line
// each; a cell without paragraphs shows its value.
QString Ods_Content::readCell()
{
    QString value;
    for (const char* name : {"string-value", "value", "date-value", "time-value", "boolean-value"})
        if (value.isNull())
            value = attributeText(name);
    value.truncate(SpreadsheetFormats::Max_Cell_Text);
    QString text;
    bool paragraphs = false;
    const int depth = _xml.depth();
    Token token;
    while (next(token)) {
        if (token == XmlPullParser::EndElement && _xml.depth() < depth)
            break;
        if (token != XmlPullParser::StartElement)
            continue;
        if (named("p") || named("h")) {
            if (paragraphs)
                appendCapped(text, u"\n");
            paragraphs = true;
            readParagraph(text);
        } else {
            skip();
        }
    }
    return paragraphs ? text : value;
}

void Ods_Content::readRow(Sheet_Builder& sheet)
{
    const qsizetype rows = repeat("number-rows-repeated");
    const int depth = _xml.depth();
    Token token;
    while (!sheet.failed() && next(token)) {
        if (token == XmlPullParser::EndElement && _xml.depth() < depth)
            break;
        if (token != XmlPullParser::StartElement)
            continue;
        const bool covered = named("covered-table-cell");
        if (!covered && !named("table-cell")) {
            skip();
            continue;
        }
        const qsizetype across = repeat("number-columns-repeated");
        QString text;
        if (covered)
            skip(); // hidden under the merged cell before it
        else
            text = readCell();
        sheet.cell(text, across);
    }
    sheet.endRow(rows);
}

// The rows of the first table of the content part.
bool Ods_Content::read(Sheet_Builder& sheet, QString& reason)
{
    _xml.setTextWanted(false);
    Token token;
    bool table = false;
    while (!table && next(token))
        table = token == XmlPullParser::StartElement && named("table");
    if (table)
        tableName = attributeText("name");
    // Rows may sit inside header-row and row-group elements; other children
    // (columns, named ranges, shapes) hold no cells.
    const int depth = _xml.depth();
    while (table && !sheet.failed() && next(token)) {
        if (token == XmlPullParser::EndElement && _xml.depth() < depth)
            break;
        if (token != XmlPullParser::StartElement)
            continue;
        if (named("table-row"))
            readRow(sheet);
        else if (!named("table-header-rows") && !named("table-rows") && !named("table-row-group"))
            skip();
    }
    if (_reason.isNull() && token == XmlPullParser::Invalid)
        _reason = _package.readError().isEmpty() ? _xml.errorString() : _package.readError();
    if (_reason.isNull() && !table)
        _reason = QStringLiteral("the document holds no table");
    if (_reason.isNull() && sheet.failed())
        _reason = QStringLiteral("the table has %1").arg(sheet.reason);
    reason = _reason;
    return reason.isNull();
}

// ---- XML Spreadsheet 2003: the workbook's head

// What comes before the first worksheet's table: the styles, with which a
// cell shows its Data as stored for strings and numbers, dates and booleans
// as the xlsx reader shows them, under the number format of the cell's
// style; and the first worksheet's name.
class Xml_Workbook_Head {
public:
    // Reads up to the first worksheet and leaves the device at its start again.
    explicit Xml_Workbook_Head(QIODevice& device);
    QString sheetName;
    // The text of a Data element of the given type in a cell of the given style.
    QString operator()(QStringView type, const QString& styleId, const QString& stored) const
    {
        const char kind = type == u"Boolean" ? 'b' : type == u"DateTime" ? 'd' : type == u"Number" ? 'n' : 0;
        if (kind == 0)
            return stored;
        const int style = int(_styles.value(styleId.isEmpty() ? QStringLiteral("Default") : styleId, -1));
        return CellShower(_formats, false)(kind, style, stored.trimmed().toStdString());
    }

private:
    // A style's ss:Format: the named formats, else a format code.
    static xlsx::NumberFormat formatOf(const QString& format);

    std::vector<xlsx::NumberFormat> _formats; // by style index
    QHash<QString, qsizetype> _styles;        // style id to index
};

xlsx::NumberFormat Xml_Workbook_Head::formatOf(const QString& format)
{
    static const QHash<QString, xlsx::NumberFormat> named = {
        {QStringLiteral("General Date"), xlsx::NumberFormat::builtin(22)},
        {QStringLiteral("Short Date"), xlsx::NumberFormat::builtin(14)},
        {QStringLiteral("Medium Date"), xlsx::NumberFormat::fromCode(u"dd-mmm-yy")},
        {QStringLiteral("Long Date"), xlsx::NumberFormat::fromCode(u"dddd, mmmm dd, yyyy")},
        {QStringLiteral("Short Time"), xlsx::NumberFormat::builtin(20)},
        {QStringLiteral("Medium Time"), xlsx::NumberFormat::builtin(18)},
        {QStringLiteral("Long Time"), xlsx::NumberFormat::builtin(19)},
    };
    // Named number formats: no dates, whatever letters their names hold.
    static const QStringList numbers = {"General",  "General Number", "Currency", "Euro Currency", "Fixed",
                                        "Standard", "Percent",        "Scientific", "Yes/No",      "True/False",
                                        "On/Off"};
    if (named.contains(format))
        return named.value(format);
    if (numbers.contains(format))
        return {};
    return xlsx::NumberFormat::fromCode(format);
}

Xml_Workbook_Head::Xml_Workbook_Head(QIODevice& device)
{
    QXmlStreamReader r(&device);
    // A style names its parent; one without a format of its own takes the parent's.
    QHash<QString, QString> parents, formats;
    if (nextStart(r) && r.name() == QLatin1String("Workbook")) {
        while (r.readNextStartElement()) {
            if (r.name() == QLatin1String("Worksheet")) {
                sheetName = attribute(r, QLatin1String("Name")).toString();
                break;
            }
            if (r.name() != QLatin1String("Styles")) {
                r.skipCurrentElement();
                continue;
            }
            while (r.readNextStartElement()) {
                if (r.name() == QLatin1String("Style")) {
                    const QString id = attribute(r, QLatin1String("ID")).toString();
                    parents.insert(id, attribute(r, QLatin1String("Parent")).toString());
                    while (r.readNextStartElement()) {
                        if (r.name() == QLatin1String("NumberFormat"))
                            formats.insert(id, attribute(r, QLatin1String("Format")).toString());
                        r.skipCurrentElement();
                    }
                } else {
                    r.skipCurrentElement();
                }
            }
        }
    }
    for (auto it = parents.cbegin(); it != parents.cend(); ++it) {
        QString id = it.key();
        for (int hops = 0; !formats.contains(id) && parents.contains(id) && hops < 16; ++hops)
            id = parents.value(id);
        _styles.insert(it.key(), qsizetype(_formats.size()));
        _formats.push_back(formatOf(formats.value(id)));
    }
    device.seek(0);
}

// ---- XML Spreadsheet 2003

// Depths in an XML 2003 document of the elements the reader takes: the
// workbook is 1, its worksheets 2 and so on down to a cell's data.
enum { Worksheet_Depth = 2, Table_Depth = 3, Row_Depth = 4, Cell_Depth = 5, Data_Depth = 6 };

// The text of an element and of every element inside it, the reader on its
// start, collected in one loop; elements nested past Max_Nesting inside it
// are an error of the reader.
QString readNestedText(QXmlStreamReader& r)
{
    QString text;
    for (int depth = Data_Depth; depth >= Data_Depth && !r.atEnd();) {
        r.readNext();
        if (r.isCharacters()) {
            appendCapped(text, r.text());
        } else if (r.isEndElement()) {
            --depth;
        } else if (r.isStartElement() && ++depth > SpreadsheetFormats::Max_Nesting) {
            r.raiseError(nestingTooDeep());
        }
    }
    return text;
}

// Passes over the element just started at depth and all inside it; nesting
// past Max_Nesting is an error of the reader. In the table (inTable), a Row
// or Cell element is an error too: rows stand only in the table and cells
// only in rows, and cells read nowhere else would be lost without a word.
void skipElement(QXmlStreamReader& r, int depth, bool inTable = false)
{
    const auto misplaced = [&] {
        return inTable && (r.name() == QLatin1String("Row") || r.name() == QLatin1String("Cell"));
    };
    if (misplaced())
        r.raiseError(QStringLiteral("a %1 element stands where the table cannot hold it").arg(r.name()));
    for (int at = depth; at >= depth && !r.atEnd();) {
        r.readNext();
        if (r.isEndElement()) {
            --at;
        } else if (!r.isStartElement()) {
            continue;
        } else if (++at > SpreadsheetFormats::Max_Nesting) {
            r.raiseError(nestingTooDeep());
        } else if (misplaced()) {
            r.raiseError(QStringLiteral("a %1 element stands where the table cannot hold it").arg(r.name()));
        }
    }
}

// Whether the rest of the document, the reader inside an element at depth,
// nests past Max_Nesting. It is read for that alone: a fault in it takes
// nothing from a table read before it.
bool nestsTooDeepAfter(QXmlStreamReader& r, int depth)
{
    while (!r.atEnd()) {
        r.readNext();
        if (r.isEndElement())
            --depth;
        else if (r.isStartElement() && ++depth > SpreadsheetFormats::Max_Nesting)
            return true;
    }
    return false;
}

bool readXmlSheet(QIODevice& device, Sheet_Builder& sheet, QString& reason)
{
    const Xml_Workbook_Head shown(device);
    QXmlStreamReader r(&device);
    const auto done = [&](const QString& why) {
        reason = r.hasError() ? r.errorString() : why;
        return reason.isNull();
    };
    // The rest of the document, the reader inside an element at depth.
    const auto rest = [&](int depth) {
        if (r.hasError())
            return done(QString());
        reason = nestsTooDeepAfter(r, depth) ? nestingTooDeep() : QString();
        return reason.isNull();
    };
    if (!nextStart(r) || r.name() != QLatin1String("Workbook"))
        return done(QStringLiteral("not an XML spreadsheet"));
    while (r.readNextStartElement() && r.name() != QLatin1String("Worksheet"))
        skipElement(r, Worksheet_Depth);
    if (r.name() != QLatin1String("Worksheet") || !r.isStartElement())
        return done(QString());
    while (r.readNextStartElement() && r.name() != QLatin1String("Table"))
        skipElement(r, Table_Depth);
    if (r.name() != QLatin1String("Table") || !r.isStartElement())
        return rest(Worksheet_Depth - 1);
    while (!sheet.failed() && r.readNextStartElement()) {
        if (r.name() != QLatin1String("Row")) {
            skipElement(r, Row_Depth, true);
            continue;
        }
        // Index attributes (1-based) place a row or cell further on; the
        // places skipped over are empty, like those a merged cell covers.
        if (const QStringView index = attribute(r, QLatin1String("Index")); !index.isNull())
            sheet.skipToRow(Int_Value(index.toString()) - 1);
        while (!sheet.failed() && r.readNextStartElement()) {
            if (r.name() != QLatin1String("Cell")) {
                skipElement(r, Cell_Depth, true);
                continue;
            }
            if (const QStringView index = attribute(r, QLatin1String("Index")); !index.isNull())
                sheet.skipToColumn(Int_Value(index.toString()) - 1);
            const qsizetype across = Int_Value(attribute(r, QLatin1String("MergeAcross")).toString());
            const QString style = attribute(r, QLatin1String("StyleID")).toString();
            QString text;
            bool data = false;
            while (r.readNextStartElement()) {
                if (!data && r.name() == QLatin1String("Data")) {
                    const QString type = attribute(r, QLatin1String("Type")).toString();
                    text = shown(type, style, readNestedText(r));
                    data = true;
                } else {
                    skipElement(r, Data_Depth, true); // comments and named ranges are not what the cell shows
                }
            }
            sheet.cell(text, 1);
            sheet.skipToColumn(sheet.column() + std::max<qsizetype>(0, across));
        }
        sheet.endRow(1);
    }
    if (sheet.failed())
        return done(QStringLiteral("the worksheet has %1").arg(sheet.reason));
    return rest(Worksheet_Depth);
}

// Text that XML can hold: characters it cannot (most control characters,
// unpaired surrogates, U+FFFE, U+FFFF) are dropped.
QString xmlText(const QString& text)
{
    QString out;
    out.reserve(text.size());
    for (qsizetype i = 0; i < text.size(); ++i) {
        const char16_t c = text[i].unicode();
        if ((c < 0x20 && c != u'\t' && c != u'\n' && c != u'\r') || c == 0xFFFE || c == 0xFFFF)
            continue;
        if (QChar::isHighSurrogate(c)) {
            if (i + 1 < text.size() && text[i + 1].isLowSurrogate()) {
                out += QChar(c);
                out += text[++i];
            }
            continue;
        }
        if (!QChar::isLowSurrogate(c))
            out += QChar(c);
    }
    return out;
}

qsizetype columnCount(const QList<QStringList>& rows)
{
    qsizetype columns = 0;
    for (const QStringList& row : rows)
        columns = std::max(columns, row.size());
    return columns;
}

// An XML file written whole beside its final name and moved into place.
class Xml_File {
public:
    explicit Xml_File(const QString& path)
        : file(path)
        , xml(&file)
    {
        open = file.open(QIODevice::WriteOnly);
        xml.setAutoFormatting(true);
        xml.setAutoFormattingIndent(2);
        xml.writeStartDocument(QStringLiteral("1.0"), true);
    }
    bool commit()
    {
        xml.writeEndDocument();
        const bool ok = open && !xml.hasError() && file.commit();
        if (!ok) {
            if (qobject_cast<QApplication*>(QCoreApplication::instance()))
                QApplication::beep();
            Show_NSLog_Message(QStringLiteral("Error when writing file %1").arg(file.fileName()));
        }
        return ok;
    }
    QSaveFile file;
    QXmlStreamWriter xml;
    bool open = false;
};

// One paragraph of an ods cell: a run of spaces that a reader would fold
// (at either end, or more than one) goes as a space element, tabs as tab
// elements, so the cell reads back exactly.
void writeOdsParagraph(QXmlStreamWriter& xml, const QString& line)
{
    xml.writeStartElement(QStringLiteral("text:p"));
    QString run;
    for (qsizetype i = 0; i < line.size();) {
        if (line[i] == u'\t') {
            xml.writeCharacters(run), run.clear();
            xml.writeEmptyElement(QStringLiteral("text:tab"));
            ++i;
            continue;
        }
        if (line[i] != u' ') {
            run += line[i++];
            continue;
        }
        qsizetype end = i;
        while (end < line.size() && line[end] == u' ')
            ++end;
        qsizetype spaces = end - i;
        if (i > 0 && end < line.size() && line[end] != u'\t') {
            run += u' '; // one space between words is kept as it is
            --spaces;
        }
        if (spaces > 0) {
            xml.writeCharacters(run), run.clear();
            xml.writeEmptyElement(QStringLiteral("text:s"));
            if (spaces > 1)
                xml.writeAttribute(QStringLiteral("text:c"), QString::number(spaces));
        }
        i = end;
    }
    xml.writeCharacters(run);
    xml.writeEndElement();
}
}

bool isCanonicalNumber(const QString& s)
{
    const auto digit = [&](qsizetype i) { return i < s.size() && s[i] >= QLatin1Char('0') && s[i] <= QLatin1Char('9'); };
    qsizetype i = 0;
    const bool negative = i < s.size() && s[i] == QLatin1Char('-');
    if (negative)
        ++i;
    if (!digit(i))
        return false;
    int significant = 0;
    const bool zeroInteger = s[i] == QLatin1Char('0');
    if (zeroInteger) {
        ++i;
        if (digit(i))
            return false; // leading zero
    } else {
        for (; digit(i); ++i)
            ++significant;
    }
    bool fraction = false;
    if (i < s.size() && s[i] == QLatin1Char('.')) {
        const qsizetype start = ++i;
        for (; digit(i); ++i)
            if (significant > 0 || s[i] != QLatin1Char('0'))
                ++significant; // leading zeros of 0.00x do not count
        if (i == start || s[i - 1] == QLatin1Char('0'))
            return false;
        fraction = true;
    }
    if (i != s.size())
        return false;
    if (negative && zeroInteger && !fraction)
        return false; // "-0"
    return significant <= 15;
}

// ---------------------------------------------------------------- OpenDocument

QList<QStringList> SpreadsheetFormats::ReadODS(const QString& path, QString* error, QString* sheetName)
{
    if (error)
        *error = QString();
    // The content part is read as it is inflated: nothing reaches the disk,
    // and memory stays within the sheet's limits whatever the package holds.
    SSZipPackage package;
    SSZipArchiveError zipError;
    if (!package.open(path, &zipError))
        return noRows(error, QStringLiteral("Error: %1").arg(zipError.description));
    if (!package.contains(QStringLiteral("content.xml")))
        return noRows(error, QStringLiteral("Error: %1 has no readable content part").arg(path));
    if (!package.openEntry(QStringLiteral("content.xml"), SSZipArchive::Max_Unpacked_Size, &zipError))
        return noRows(error, QStringLiteral("Error: %1: %2").arg(path, zipError.description));
    Sheet_Builder sheet;
    QString reason;
    Ods_Content content(package);
    if (!content.read(sheet, reason))
        return noRows(error, QStringLiteral("Error: %1: %2").arg(path, reason));
    if (sheetName)
        *sheetName = content.tableName;
    return sheet.rows;
}

bool SpreadsheetFormats::WriteODS(const QString& path, const QList<QStringList>& withData, bool hasTitleRow,
                                  QString* error)
{
    Q_UNUSED(hasTitleRow);
    if (error)
        *error = QString();
    if (withData.isEmpty())
        return Log_Failure(error, QStringLiteral("Nothing to write to %1").arg(path));
    const QString templatePath = Resource_Path + QStringLiteral("/Template.ods");
    Private_Temp_Folder folder;
    if (!folder.isValid())
        return Log_Failure(error, QStringLiteral("Cannot create a temporary folder: %1").arg(folder.errorString()));
    SSZipArchiveError zipError;
    if (!SSZipArchive::unzipFileAtPath(templatePath, folder.path(), true, QString(), &zipError))
        return Log_Failure(error, QStringLiteral("Cannot unpack the spreadsheet template %1: %2")
                                   .arg(templatePath, zipError.description));
    if (!WriteODSData(folder.filePath(QStringLiteral("content.xml")), withData))
        return Log_Failure(error, QStringLiteral("Cannot write the content of %1").arg(path));

    // The package's type comes first and uncompressed, so that it can be
    // recognised from its first bytes.
    QStringList entries = QDir(folder.path()).entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot);
    std::sort(entries.begin(), entries.end());
    entries.removeAll(QStringLiteral("mimetype"));
    SSZipArchive archive(path);
    bool ok = archive.open() && archive.writeData(QByteArray(Ods_Mimetype), QStringLiteral("mimetype"), false);
    for (const QString& entry : std::as_const(entries))
        ok = ok && archive.writeFile(entry, folder.path() + QLatin1Char('/'));
    if (!(archive.close() && ok))
        return Log_Failure(error, QStringLiteral("Cannot write %1").arg(path));
    return true;
}

bool SpreadsheetFormats::WriteODSData(const QString& partPath, const QList<QStringList>& data)
{
    static const char* const namespaces[][2] = {
        {"office", "urn:oasis:names:tc:opendocument:xmlns:office:1.0"},
        {"style", "urn:oasis:names:tc:opendocument:xmlns:style:1.0"},
        {"text", "urn:oasis:names:tc:opendocument:xmlns:text:1.0"},
        {"table", "urn:oasis:names:tc:opendocument:xmlns:table:1.0"},
        {"draw", "urn:oasis:names:tc:opendocument:xmlns:drawing:1.0"},
        {"fo", "urn:oasis:names:tc:opendocument:xmlns:xsl-fo-compatible:1.0"},
        {"xlink", "http://www.w3.org/1999/xlink"},
        {"dc", "http://purl.org/dc/elements/1.1/"},
        {"meta", "urn:oasis:names:tc:opendocument:xmlns:meta:1.0"},
        {"number", "urn:oasis:names:tc:opendocument:xmlns:datastyle:1.0"},
        {"presentation", "urn:oasis:names:tc:opendocument:xmlns:presentation:1.0"},
        {"svg", "urn:oasis:names:tc:opendocument:xmlns:svg-compatible:1.0"},
        {"chart", "urn:oasis:names:tc:opendocument:xmlns:chart:1.0"},
        {"dr3d", "urn:oasis:names:tc:opendocument:xmlns:dr3d:1.0"},
        {"math", "http://www.w3.org/1998/Math/MathML"},
        {"form", "urn:oasis:names:tc:opendocument:xmlns:form:1.0"},
        {"script", "urn:oasis:names:tc:opendocument:xmlns:script:1.0"},
        {"ooo", "http://openoffice.org/2004/office"},
        {"ooow", "http://openoffice.org/2004/writer"},
        {"oooc", "http://openoffice.org/2004/calc"},
        {"dom", "http://www.w3.org/2001/xml-events"},
        {"xforms", "http://www.w3.org/2002/xforms"},
        {"xsd", "http://www.w3.org/2001/XMLSchema"},
        {"xsi", "http://www.w3.org/2001/XMLSchema-instance"},
        {"rpt", "http://openoffice.org/2005/report"},
        {"of", "urn:oasis:names:tc:opendocument:xmlns:of:1.2"},
        {"html", "http://www.w3.org/1999/xhtml"},
        {"grddl", "http://www.w3.org/2003/g/data-view#"},
        {"tableooo", "http://openoffice.org/2009/table"},
        {"field", "urn:openoffice:names:experimental:ooo-ms-interop:xmlns:field:1.0"},
        {"formx", "urn:openoffice:names:experimental:ooxml-odf-interop:xmlns:form:1.0"},
        {"css3t", "http://www.w3.org/TR/css3-text/"},
    };
    Xml_File out(partPath);
    QXmlStreamWriter& xml = out.xml;
    const auto start = [&](const char* name, std::initializer_list<std::pair<const char*, QString>> attributes) {
        xml.writeStartElement(QLatin1String(name));
        for (const auto& [key, value] : attributes)
            xml.writeAttribute(QLatin1String(key), value);
    };
    const auto empty = [&](const char* name, std::initializer_list<std::pair<const char*, QString>> attributes) {
        start(name, attributes);
        xml.writeEndElement();
    };
    xml.writeStartElement(QStringLiteral("office:document-content"));
    for (const auto& ns : namespaces)
        xml.writeAttribute(QStringLiteral("xmlns:") + QLatin1String(ns[0]), QLatin1String(ns[1]));
    xml.writeAttribute(QStringLiteral("office:version"), QStringLiteral("1.2"));
    empty("office:scripts", {});
    start("office:font-face-decls", {});
    static const char* const faces[][2] = {{"Arial", "swiss"}, {"Arial Unicode MS", "system"}, {"Tahoma", "system"}};
    for (const auto& face : faces)
        empty("style:font-face", {{"style:name", QLatin1String(face[0])},
                                  {"svg:font-family", QLatin1String(face[0])},
                                  {"style:font-family-generic", QLatin1String(face[1])},
                                  {"style:font-pitch", QStringLiteral("variable")}});
    xml.writeEndElement();
    start("office:automatic-styles", {});
    start("style:style", {{"style:name", QStringLiteral("co1")}, {"style:family", QStringLiteral("table-column")}});
    empty("style:table-column-properties",
          {{"fo:break-before", QStringLiteral("auto")}, {"style:column-width", QStringLiteral("2.258cm")}});
    xml.writeEndElement();
    start("style:style", {{"style:name", QStringLiteral("ro1")}, {"style:family", QStringLiteral("table-row")}});
    empty("style:table-row-properties", {{"style:row-height", QStringLiteral("0.427cm")},
                                         {"fo:break-before", QStringLiteral("auto")},
                                         {"style:use-optimal-row-height", QStringLiteral("true")}});
    xml.writeEndElement();
    start("style:style", {{"style:name", QStringLiteral("ta1")},
                          {"style:family", QStringLiteral("table")},
                          {"style:master-page-name", QStringLiteral("Default")}});
    empty("style:table-properties", {{"table:display", QStringLiteral("true")}, {"style:writing-mode", QStringLiteral("lr-tb")}});
    xml.writeEndElement();
    xml.writeEndElement();
    start("office:body", {});
    start("office:spreadsheet", {});
    start("table:table", {{"table:name", QStringLiteral("Sheet1")}, {"table:style-name", QStringLiteral("ta1")}});
    // Every column of the widest row gets its column, not only row 0's.
    empty("table:table-column", {{"table:style-name", QStringLiteral("co1")},
                                 {"table:number-columns-repeated", QString::number(std::max<qsizetype>(1, columnCount(data)))},
                                 {"table:default-cell-style-name", QStringLiteral("Default")}});
    for (const QStringList& row : data) {
        start("table:table-row", {{"table:style-name", QStringLiteral("ro1")}});
        if (row.isEmpty())
            empty("table:table-cell", {});
        for (const QString& value : row) {
            start("table:table-cell", {{"office:value-type", QStringLiteral("string")}});
            QString text = xmlText(value);
            text.replace(QStringLiteral("\r\n"), QStringLiteral("\n")).replace(u'\r', u'\n');
            if (!text.isEmpty())
                for (const QString& line : text.split(u'\n'))
                    writeOdsParagraph(xml, line);
            xml.writeEndElement();
        }
        xml.writeEndElement();
        if (xml.hasError())
            break;
    }
    xml.writeEndElement(); // table
    xml.writeEndElement(); // spreadsheet
    xml.writeEndElement(); // body
    xml.writeEndElement(); // document-content
    return out.commit();
}

// ---------------------------------------------------------------- XML Spreadsheet 2003

QList<QStringList> SpreadsheetFormats::ReadWorksheetXML2004(const QString& path, QString* error, QString* sheetName)
{
    if (error)
        *error = QString();
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return noRows(error, QStringLiteral("Cannot open %1: %2").arg(path, file.errorString()));
    Sheet_Builder sheet;
    QString reason;
    if (!readXmlSheet(file, sheet, reason))
        return noRows(error, QStringLiteral("%1: %2").arg(path, reason));
    if (sheetName && file.seek(0))
        *sheetName = Xml_Workbook_Head(file).sheetName;
    return sheet.rows;
}

bool SpreadsheetFormats::WriteWorksheetXML2004(const QString& path, const QList<QStringList>& withData, QString* error)
{
    if (error)
        *error = QString();
    if (withData.isEmpty())
        return Log_Failure(error, QStringLiteral("Nothing to write to %1").arg(path));
    Xml_File out(path);
    QXmlStreamWriter& xml = out.xml;
    xml.writeStartElement(QStringLiteral("Workbook"));
    xml.writeAttribute(QStringLiteral("xmlns"), QLatin1String(Spreadsheet_NS));
    xml.writeAttribute(QStringLiteral("xmlns:o"), QStringLiteral("urn:schemas-microsoft-com:office:office"));
    xml.writeAttribute(QStringLiteral("xmlns:x"), QStringLiteral("urn:schemas-microsoft-com:office:excel"));
    xml.writeAttribute(QStringLiteral("xmlns:ss"), QLatin1String(Spreadsheet_NS));
    xml.writeAttribute(QStringLiteral("xmlns:html"), QStringLiteral("http://www.w3.org/TR/REC-html40"));
    xml.writeStartElement(QStringLiteral("Worksheet"));
    xml.writeAttribute(QStringLiteral("ss:Name"), QStringLiteral("Notes"));
    xml.writeStartElement(QStringLiteral("Table"));
    // Spreadsheet programs refuse a table wider than it says, so the count is
    // that of the widest row.
    xml.writeAttribute(QStringLiteral("ss:ExpandedColumnCount"), QString::number(std::max<qsizetype>(1, columnCount(withData))));
    xml.writeAttribute(QStringLiteral("ss:ExpandedRowCount"), QString::number(withData.size()));
    for (const QStringList& row : withData) {
        xml.writeStartElement(QStringLiteral("Row"));
        for (const QString& value : row) {
            xml.writeStartElement(QStringLiteral("Cell"));
            xml.writeStartElement(QStringLiteral("Data"));
            xml.writeAttribute(QStringLiteral("ss:Type"), isCanonicalNumber(value) ? QStringLiteral("Number") : QStringLiteral("String"));
            xml.writeCharacters(xmlText(value));
            xml.writeEndElement();
            xml.writeEndElement();
        }
        xml.writeEndElement();
        if (xml.hasError())
            break;
    }
    xml.writeEndElement();
    xml.writeEndElement();
    xml.writeEndElement();
    if (!out.commit())
        return Log_Failure(error, QStringLiteral("Cannot write %1").arg(path));
    return true;
}

// ---------------------------------------------------------------- by file type

bool SpreadsheetFormats::Handles(const QString& path)
{
    const QString suffix = QFileInfo(path).suffix().toLower();
    return suffix == QLatin1String("ods") || suffix == QLatin1String("xml");
}

QList<QStringList> SpreadsheetFormats::Read(const QString& path, QString* error, QString* sheetName)
{
    if (QFileInfo(path).suffix().compare(QLatin1String("ods"), Qt::CaseInsensitive) == 0)
        return ReadODS(path, error, sheetName);
    return ReadWorksheetXML2004(path, error, sheetName);
}
