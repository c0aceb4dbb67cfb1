#include "data/Import_Sources.h"

#include "data/Rtf_Reader.h"
#include "data/Text_Decoding.h"
#include "model/Helpers.h"

#include <QDir>
#include <QFileInfo>
#include <QRegularExpression>

QString chk_and_insert_validation(const QString& value)
{
    QString cleaned = value;
    cleaned.remove(QLatin1Char('\\')).remove(QLatin1Char('{')).remove(QLatin1Char('}'));
    return Trim_Str(cleaned);
}

QList<QStringList> Csv_Records(const QString& text)
{
    QList<QStringList> records;
    QStringList fields;
    QString field;
    bool quoted = false;   // inside a quoted field
    bool started = false;  // the record has begun
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
        } else if (c == QLatin1Char(',')) {
            fields << field;
            field.clear();
        } else if (c == QLatin1Char('\r') || c == QLatin1Char('\n')) {
            if (c == QLatin1Char('\r') && i + 1 < n && text[i + 1] == QLatin1Char('\n'))
                ++i;
            fields << field;
            records << fields;
            fields.clear();
            field.clear();
            started = false;
        } else {
            field += c;
        }
    }
    if (started || quoted || !field.isEmpty()) {
        fields << field;
        records << fields;
    }
    return records;
}

std::optional<QString> Text_File_Text(const QByteArray& bytes, const QString& extension)
{
    if (extension.compare(QLatin1String("rtf"), Qt::CaseInsensitive) == 0)
        return Rtf_Document_Text(bytes);
    return Decode_Text_File(bytes);
}

QStringList Text_Values(const QString& text, const QString& extension)
{
    static const QRegularExpression lineBreaks(QStringLiteral("\\r\\n|\\r|\\n"));
    QStringList pieces;
    if (extension.compare(QLatin1String("csv"), Qt::CaseInsensitive) == 0) {
        for (const QStringList& record : Csv_Records(text))
            pieces << record;
    } else {
        pieces = text.split(lineBreaks);
    }
    QStringList values;
    for (const QString& piece : std::as_const(pieces)) {
        QString value = chk_and_insert_validation(piece);
        value.replace(lineBreaks, QStringLiteral(" "));
        if (!value.isEmpty())
            values << value;
    }
    return values;
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
