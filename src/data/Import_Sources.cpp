#include "data/Import_Sources.h"

#include "data/Rtf_Reader.h"
#include "data/Text_Decoding.h"
#include "model/Helpers.h"

#include <QDir>
#include <QFileInfo>
#include <utility>

QString chk_and_insert_validation(const QString& value)
{
    QString cleaned = value;
    cleaned.remove(QLatin1Char('\\')).remove(QLatin1Char('{')).remove(QLatin1Char('}'));
    return Trim_Str(cleaned);
}

QString Text_File_Too_Large_Message(qint64 bytes)
{
    return QStringLiteral("The file is too large to import (%1 MB). A text, CSV or RTF file can hold at most %2 MB.")
        .arg((bytes + 1024 * 1024 - 1) / (1024 * 1024))
        .arg(Text_Import_Max_Bytes / (1024 * 1024));
}

QString Too_Many_Values_Message()
{
    return QStringLiteral("The file holds more than %1 values. A Batch Processing Series can hold at most %1 values.")
        .arg(Series_Value_Cap);
}

namespace {
bool isBreak(QChar c) { return c == QLatin1Char('\r') || c == QLatin1Char('\n'); }

// Hands each field of a CSV text to take(field), record after record; stops
// when take answers false.
template <typename Take>
void forEachCsvField(const QString& text, Take take)
{
    QString field;
    bool quoted = false;  // inside a quoted field
    bool started = false; // the record has begun
    const qsizetype n = text.size();
    for (qsizetype i = 0; i < n; ++i) {
        const QChar c = text[i];
        if (quoted) {
            if (c != QLatin1Char('"'))
                field += c;
            else if (i + 1 < n && text[i + 1] == QLatin1Char('"'))
                field += text[++i];
            else
                quoted = false;
            continue;
        }
        started = true;
        if (c == QLatin1Char('"') && field.isEmpty()) {
            quoted = true;
        } else if (c == QLatin1Char(',') || isBreak(c)) {
            if (c == QLatin1Char('\r') && i + 1 < n && text[i + 1] == QLatin1Char('\n'))
                ++i;
            if (!take(std::exchange(field, QString())))
                return;
            started = !isBreak(c);
        } else {
            field += c;
        }
    }
    if (started || quoted || !field.isEmpty())
        take(std::move(field));
}

// Hands each line of a text to take(line); stops when take answers false.
template <typename Take>
void forEachLine(const QString& text, Take take)
{
    const qsizetype n = text.size();
    for (qsizetype start = 0; start <= n;) {
        qsizetype end = start;
        while (end < n && !isBreak(text[end]))
            ++end;
        if (!take(text.mid(start, end - start)))
            return;
        if (end + 1 < n && text[end] == QLatin1Char('\r') && text[end + 1] == QLatin1Char('\n'))
            ++end;
        start = end + 1;
    }
}

// The text with each line break (CR LF, CR or LF) made one blank.
QString Lines_Joined(const QString& text)
{
    if (!text.contains(QLatin1Char('\n')) && !text.contains(QLatin1Char('\r')))
        return text;
    QStringList lines;
    forEachLine(text, [&](QString line) {
        lines << std::move(line);
        return true;
    });
    return lines.join(QLatin1Char(' '));
}
}

std::optional<QString> Text_File_Text(const QByteArray& bytes, const QString& extension)
{
    const std::optional<QString> text = extension.compare(QLatin1String("rtf"), Qt::CaseInsensitive) == 0
                                            ? Rtf_Document_Text(bytes)
                                            : std::optional<QString>(Decode_Text_File(bytes));
    if (!text)
        return text;
    return Xml_Text_Filter(QStringLiteral("the imported file"))(*text);
}

std::optional<QStringList> Text_Values(const QString& text, const QString& extension, qsizetype most)
{
    QStringList values;
    bool over = false;
    const auto take = [&](const QString& piece) {
        const QString value = Lines_Joined(chk_and_insert_validation(piece));
        if (value.isEmpty())
            return true;
        over = values.size() >= most;
        if (!over)
            values << value;
        return !over;
    };
    if (extension.compare(QLatin1String("csv"), Qt::CaseInsensitive) == 0)
        forEachCsvField(text, take);
    else
        forEachLine(text, take);
    if (over)
        return std::nullopt;
    return values;
}

QString Cell_Value(const QString& cell)
{
    return Trim_Str(Lines_Joined(cell));
}

QStringList Image_Folder_Values(const QString& folder)
{
    QStringList paths;
    const QFileInfoList entries =
        QDir(folder).entryInfoList(QDir::Files | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot, QDir::Name);
    for (const QFileInfo& entry : entries)
        if (Picture_File_Extensions.contains(entry.suffix().toLower()) && !entry.isDir())
            paths << entry.filePath(); // QDir::filePath takes a name starting with ":" for a resource
    return paths;
}
