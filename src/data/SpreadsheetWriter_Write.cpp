// The writing half of the spreadsheet component: one worksheet of text and
// number cells, put into a copy of the template package.
#include "data/SpreadsheetWriter.h"

#include "data/SSZipArchive.h"
#include "data/SpreadsheetFormats.h"
#include "model/Globals.h"
#include "model/Helpers.h"
#include "model/Work_Files.h"

#include <QApplication>
#include <QDir>
#include <QFileInfo>
#include <QSaveFile>

namespace {
const char* const Main_Namespace = "http://schemas.openxmlformats.org/spreadsheetml/2006/main";
const char* const Relationships_Namespace = "http://schemas.openxmlformats.org/officeDocument/2006/relationships";
const char* const Compatibility_Namespace = "http://schemas.openxmlformats.org/markup-compatibility/2006";
const char* const X14ac_Namespace = "http://schemas.microsoft.com/office/spreadsheetml/2009/9/ac";
const char* const Mac_Excel_Namespace = "http://schemas.microsoft.com/office/mac/excel/2008/main";

// Text for element content or attribute values: markup characters escaped,
// a carriage return kept as a reference (parsers turn a bare one into a line
// feed), and characters that XML cannot hold at all (most control
// characters, unpaired surrogates, U+FFFE, U+FFFF) dropped.
QString escaped(const QString& text)
{
    QString out;
    out.reserve(text.size());
    for (qsizetype i = 0; i < text.size(); ++i) {
        const char16_t c = text[i].unicode();
        switch (c) {
        case u'&': out += QLatin1String("&amp;"); continue;
        case u'<': out += QLatin1String("&lt;"); continue;
        case u'>': out += QLatin1String("&gt;"); continue;
        case u'"': out += QLatin1String("&quot;"); continue;
        case u'\r': out += QLatin1String("&#13;"); continue;
        case u'\t':
        case u'\n': out += QChar(c); continue;
        default: break;
        }
        if (c < 0x20 || c == 0xFFFE || c == 0xFFFF)
            continue;
        if (QChar::isHighSurrogate(c)) {
            if (i + 1 < text.size() && text[i + 1].isLowSurrogate()) {
                out += QChar(c);
                out += text[++i];
            }
            continue;
        }
        if (QChar::isLowSurrogate(c))
            continue;
        out += QChar(c);
    }
    return out;
}

void beep()
{
    if (qobject_cast<QApplication*>(QCoreApplication::instance()))
        QApplication::beep();
}

// A part written whole to a temporary file and moved into place on commit.
class Part_Writer {
public:
    explicit Part_Writer(const QString& path)
        : _file(path)
    {
        _ok = _file.open(QIODevice::WriteOnly);
    }
    Part_Writer& operator<<(const char* text)
    {
        _buffer += text;
        return flushIfFull();
    }
    Part_Writer& operator<<(const QString& text)
    {
        _buffer += text.toUtf8();
        return flushIfFull();
    }
    Part_Writer& operator<<(int number)
    {
        _buffer += QByteArray::number(number);
        return flushIfFull();
    }
    Part_Writer& operator<<(qsizetype number)
    {
        _buffer += QByteArray::number(number);
        return flushIfFull();
    }
    bool commit()
    {
        flush();
        if (_ok)
            _ok = _file.commit();
        else
            _file.cancelWriting();
        if (!_ok) {
            beep();
            Show_NSLog_Message(QStringLiteral("Error when writing file %1").arg(_file.fileName()));
        }
        return _ok;
    }

private:
    Part_Writer& flushIfFull()
    {
        if (_buffer.size() >= 1 << 20)
            flush();
        return *this;
    }
    void flush()
    {
        if (_ok && !_buffer.isEmpty())
            _ok = _file.write(_buffer) == _buffer.size();
        _buffer.clear();
    }
    QSaveFile _file;
    QByteArray _buffer;
    bool _ok = false;
};

const char* const Declaration = "<?xml version=\"1.0\" encoding=\"UTF-8\" standalone=\"yes\"?>\n";
}

QString SpreadsheetWriter::ColumnNumber_To_Name(int column)
{
    QString name;
    for (; column > 0; column = (column - 1) / 26)
        name.prepend(QChar(u'A' + (column - 1) % 26));
    return name;
}

bool SpreadsheetWriter::WriteWorkbook(const QString& path, const QList<QStringList>& withData, bool hasTitleRow,
                                      QString* error)
{
    Q_UNUSED(hasTitleRow);
    if (error)
        *error = QString();
    if (withData.isEmpty())
        return Log_Failure(error, QStringLiteral("Nothing to write to %1").arg(path));
    const QString templatePath = Resource_Path + QStringLiteral("/Template.xlsx");
    if (!QFileInfo(templatePath).isFile())
        return Log_Failure(error, QStringLiteral("The spreadsheet template %1 is missing").arg(templatePath));

    // A private folder of our own for this write; removed on return.
    Private_Temp_Folder folder;
    if (!folder.isValid())
        return Log_Failure(error, QStringLiteral("Cannot create a temporary folder: %1").arg(folder.errorString()));
    SSZipArchiveError zipError;
    if (!SSZipArchive::unzipFileAtPath(templatePath, folder.path(), true, QString(), &zipError))
        return Log_Failure(error, QStringLiteral("Cannot unpack the spreadsheet template: %1").arg(zipError.description));
    const QString xl = folder.path() + QStringLiteral("/xl");
    if (!QDir().mkpath(xl + QStringLiteral("/worksheets")))
        return Log_Failure(error, QStringLiteral("Cannot create %1/worksheets").arg(xl));

    SpreadsheetWriter writer;
    writer._data = withData;
    if (!writer.WriteWorksheetData(xl + QStringLiteral("/worksheets/sheet1.xml"))
        || !writer.WriteSharedStringsXML(xl + QStringLiteral("/sharedStrings.xml")))
        return Log_Failure(error, QStringLiteral("Cannot write the parts of %1").arg(path));

    QStringList entries = QDir(folder.path()).entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot);
    std::sort(entries.begin(), entries.end());
    for (QString& entry : entries)
        entry = folder.path() + QLatin1Char('/') + entry;
    if (!SSZipArchive::createZipFileAtPath(path, entries))
        return Log_Failure(error, QStringLiteral("Cannot write %1").arg(path));
    return true;
}

bool SpreadsheetWriter::WriteWorksheetData(const QString& partPath)
{
    int columns = 1;
    for (const QStringList& row : std::as_const(_data))
        columns = std::max(columns, int(row.size()));
    QStringList letters;
    for (int c = 1; c <= columns; ++c)
        letters.append(ColumnIndexToName(c));
    _sharedStrings = QStringList();

    const QString lastCell = letters.last() + QString::number(std::max<qsizetype>(_data.size(), 1));
    const QByteArray spans = "1:" + QByteArray::number(columns);
    Part_Writer out(partPath);
    out << Declaration << "<worksheet xmlns=\"" << Main_Namespace << "\" xmlns:r=\"" << Relationships_Namespace
        << "\" xmlns:mc=\"" << Compatibility_Namespace << "\" xmlns:x14ac=\"" << X14ac_Namespace
        << "\" mc:Ignorable=\"x14ac\">\n";
    out << "  <dimension ref=\"A1:" << lastCell << "\"/>\n"
        << "  <sheetViews>\n    <sheetView tabSelected=\"1\" workbookViewId=\"0\">\n"
        << "      <selection activeCell=\"" << lastCell << "\" sqref=\"" << lastCell << "\"/>\n"
        << "    </sheetView>\n  </sheetViews>\n"
        << "  <sheetFormatPr baseColWidth=\"10\" defaultRowHeight=\"15\" x14ac:dyDescent=\"0\"/>\n"
        << "  <sheetData>\n";
    for (qsizetype r = 0; r < _data.size(); ++r) {
        const QStringList& row = _data[r];
        const QString number = QString::number(r + 1);
        out << "    <row r=\"" << number << "\" spans=\"" << spans.constData() << (row.isEmpty() ? "\"/>\n" : "\">\n");
        if (row.isEmpty())
            continue;
        for (qsizetype c = 0; c < row.size(); ++c) {
            out << "      <c r=\"" << letters[c] << number;
            if (xlsx::isCanonicalNumber(row[c])) {
                out << "\"><v>" << row[c] << "</v></c>\n";
            } else {
                _sharedStrings.append(row[c]);
                out << "\" t=\"s\"><v>" << (_sharedStrings.size() - 1) << "</v></c>\n";
            }
        }
        out << "    </row>\n";
    }
    out << "  </sheetData>\n"
        << "  <pageMargins left=\"0.75\" right=\"0.75\" top=\"1\" bottom=\"0.5\" header=\"0.5\" footer=\"0.5\"/>\n"
        << "  <extLst>\n    <ext xmlns:mx=\"" << Mac_Excel_Namespace
        << "\" uri=\"{64002731-A6B0-56B0-2670-7721B7C09600}\">\n"
        << "      <mx:PLV Mode=\"0\" OnePage=\"0\" WScale=\"0\"/>\n    </ext>\n  </extLst>\n"
        << "</worksheet>\n";
    return out.commit();
}

bool SpreadsheetWriter::WriteSharedStringsXML(const QString& partPath)
{
    Part_Writer out(partPath);
    out << Declaration << "<sst xmlns=\"" << Main_Namespace << "\"";
    if (_sharedStrings.isEmpty()) {
        out << "/>\n";
        return out.commit();
    }
    out << " count=\"" << _sharedStrings.size() << "\" uniqueCount=\"" << _sharedStrings.size() << "\">\n";
    for (const QString& text : std::as_const(_sharedStrings))
        out << "  <si>\n    <t>" << escaped(text) << "</t>\n  </si>\n";
    out << "</sst>\n";
    return out.commit();
}

bool SpreadsheetWriter::WriteWorkbookXML(const QString& partPath, const QString& withSheetName)
{
    Part_Writer out(partPath);
    out << "<?xml version=\"1.0\" standalone=\"yes\"?>\n<workbook xml:space=\"preserve\" xmlns=\"" << Main_Namespace
        << "\" xmlns:r=\"" << Relationships_Namespace << "\">\n  <sheets>\n    <sheet name=\"" << escaped(withSheetName)
        << "\"/>\n  </sheets>\n</workbook>\n";
    return out.commit();
}
