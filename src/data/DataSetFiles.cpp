#include "data/DataSetFiles.h"

#include "data/Text_Decoding.h"
#include "model/Globals.h"
#include "model/Helpers.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

const QString Invalid_Data_Set_Name_Message =
    QStringLiteral("Please enter a valid Batch Processing Series name: it cannot contain \"/\" or \"\\\" and cannot be \".\" or \"..\".");

bool Is_Valid_Data_Set_Name(const QString& name)
{
    return !name.isEmpty() && !name.contains('/') && !name.contains('\\') && name != QLatin1String(".")
           && name != QLatin1String("..");
}

QString Data_Set_File_Path(const QString& name)
{
    if (!Is_Valid_Data_Set_Name(name))
        return {};
    return Data_Folder_Path + '/' + name + '.' + batch_file_EXT;
}

QStringList Data_Set_Listing(const QString& folder)
{
    QStringList names;
    if (!QFileInfo(folder).isDir())
        return names;
    const QFileInfoList entries =
        QDir(folder).entryInfoList(QDir::Files | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot, QDir::Name);
    for (const QFileInfo& info : entries) {
        const QString file = info.fileName();
        const qsizetype dot = file.lastIndexOf('.');
        names << (dot > 0 ? file.left(dot) : file);
    }
    return names;
}

namespace {
// The file's text; nullopt when there is no file or it cannot be read.
std::optional<QString> readText(const QString& name)
{
    const QString path = Data_Set_File_Path(name);
    if (path.isEmpty() || !QFileInfo(path).isFile())
        return std::nullopt;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return std::nullopt;
    return Xml_Text_Filter(QStringLiteral("Batch Processing Series \"%1\"").arg(name))(Decode_Text_File(file.readAll()));
}
}

QString Data_Set_First_Value(const QString& name)
{
    const auto text = readText(name);
    if (!text)
        return QStringLiteral("");
    const qsizetype end = text->indexOf('\n');
    return end < 0 ? *text : text->left(end);
}

std::optional<QStringList> Data_Set_Batch_Values(const QString& name)
{
    const auto text = readText(name);
    if (!text)
        return std::nullopt;
    const QString trimmed = Trim_Str(*text);
    if (trimmed.isEmpty())
        return QStringList();
    return trimmed.split('\n');
}

std::optional<QStringList> Data_Set_Shown_Values(const QString& name)
{
    auto values = Data_Set_Batch_Values(name);
    if (values)
        for (QString& v : *values)
            v = Trim_Str(v);
    return values;
}

bool Write_Data_Set(const QString& name, const QStringList& values, bool append, QString* error)
{
    const QString path = Data_Set_File_Path(name);
    if (path.isEmpty()) {
        if (error)
            *error = Invalid_Data_Set_Name_Message;
        Show_NSLog_Message(Invalid_Data_Set_Name_Message);
        return false;
    }
    return Write_Text_Lines(path, values, append, error);
}

bool Write_Text_Lines(const QString& path, const QStringList& values, bool append, QString* error)
{
    auto fail = [&](const QString& why) {
        if (error)
            *error = why;
        Show_NSLog_Message(why);
        return false;
    };
    QByteArray bytes;
    if (append && QFileInfo::exists(path)) {
        QFile old(path);
        if (!old.open(QIODevice::ReadOnly))
            return fail(QStringLiteral("Cannot read %1: %2").arg(path, old.errorString()));
        // Kept as text and written back as UTF-8, so a file made in another
        // encoding does not end up in two.
        bytes = Decode_Text_File(old.readAll()).toUtf8();
        if (!bytes.isEmpty() && !bytes.endsWith('\n'))
            bytes += '\n';
    }
    for (const QString& v : values)
        bytes += v.toUtf8() + '\n';
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size() || !file.commit())
        return fail(QStringLiteral("Cannot write %1: %2").arg(path, file.errorString()));
    return true;
}
