#include "wizards/Template_Files.h"

#include "model/Globals.h"
#include "model/Helpers.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

QString Builtin_Templates_Folder() { return Resource_Path + QStringLiteral("/Templates"); }
QString User_Templates_Folder() { return Builtin_Templates_Folder() + QStringLiteral("/User"); }

QStringList List_Template_Previews(const QString& folder)
{
    Show_NSLog_Message(folder);
    QStringList previews;
    const QDir dir(folder);
    if (!QFileInfo(folder).isDir())
        return previews;
    for (const QFileInfo& entry : dir.entryInfoList(QDir::Files, QDir::Name)) {
        const QString ext = entry.suffix().toLower();
        if (ext == QLatin1String("png") || ext == QLatin1String("jpg"))
            previews << entry.filePath();
    }
    return previews;
}

QString Template_Design_Log_Path(const QString& preview)
{
    const QFileInfo info(preview);
    return info.dir().filePath(info.completeBaseName() + '.' + design_file_EXT);
}

bool Is_User_Template(const QString& path)
{
    const QFileInfo info(path);
    return info.isFile() && info.dir().canonicalPath() == QDir(User_Templates_Folder()).canonicalPath();
}

QString Create_New_File_Path(const QString& preview)
{
    const QFileInfo info(preview);
    for (int n = 1;; ++n) {
        const QString name = QStringLiteral("%1 (copy %2).%3").arg(info.completeBaseName()).arg(n).arg(info.suffix());
        // Only the last component changes, even when the folder's name holds the file's.
        const QString candidate = info.dir().filePath(name);
        if (!QFileInfo::exists(candidate) && !QFileInfo::exists(Template_Design_Log_Path(candidate)))
            return candidate;
    }
}

namespace {
// A copy that can be trusted: the new file exists and is as long as the old.
bool copyChecked(const QString& from, const QString& to)
{
    return QFile::copy(from, to) && QFileInfo(to).size() == QFileInfo(from).size();
}
}

QString Copy_Template_Files(const QString& preview, const QString& new_preview)
{
    const QString log = Template_Design_Log_Path(preview);
    const QString new_log = Template_Design_Log_Path(new_preview);
    if (QFileInfo::exists(new_preview) || QFileInfo::exists(new_log))
        return QStringLiteral("Template with this name already exists.");
    const bool hasLog = QFileInfo::exists(log);
    if (!copyChecked(preview, new_preview) || (hasLog && !copyChecked(log, new_log))) {
        QFile::remove(new_preview);
        QFile::remove(new_log);
        return QStringLiteral("The template could not be copied.");
    }
    return {};
}

QString Rename_Template_Files(const QString& preview, const QString& new_name)
{
    const QString name = Trim_Str(new_name);
    if (name.isEmpty() || name.contains('/') || name.contains('\\') || name == QLatin1String(".") ||
        name == QLatin1String(".."))
        return QStringLiteral("A template name cannot contain \"/\" or \"\\\".");
    const QFileInfo info(preview);
    // The preview keeps its own kind of picture.
    const QString new_preview = info.dir().filePath(name + '.' + info.suffix());
    if (new_preview == info.filePath())
        return {};
    if (const QString failed = Copy_Template_Files(preview, new_preview); !failed.isEmpty())
        return failed;
    Delete_File(preview);
    Delete_File(Template_Design_Log_Path(preview));
    return {};
}

bool Delete_Template_Files(const QString& preview)
{
    Delete_File(preview);
    Delete_File(Template_Design_Log_Path(preview));
    return !QFileInfo::exists(preview);
}
