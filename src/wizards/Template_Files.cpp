#include "wizards/Template_Files.h"

#include "model/Globals.h"
#include "model/Helpers.h"
#include "model/Work_Files.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <cerrno>
#include <cstdio>
#include <fcntl.h>
#include <unistd.h>

namespace {
Template_Step_Hook g_stepHook;

void step(int k)
{
    if (g_stepHook)
        g_stepHook(k);
}

// A file name joined to its folder as it is: QDir::filePath would take a
// name starting with ":" for a resource path and drop the folder.
QString inFolder(const QFileInfo& file, const QString& name)
{
    return file.absolutePath() + QLatin1Char('/') + name;
}

bool isPreviewName(const QString& name)
{
    const QString ext = QFileInfo(name).suffix().toLower();
    return ext == QLatin1String("png") || ext == QLatin1String("jpg");
}

// The whole file, read only when it is a regular file (a FIFO would block).
bool readWhole(const QString& path, QByteArray& bytes)
{
    QFile file(path);
    if (!Is_Regular_File(path) || !file.open(QIODevice::ReadOnly))
        return false;
    bytes = file.readAll();
    return file.error() == QFileDevice::NoError;
}

QByteArray native(const QString& path) { return QFile::encodeName(path); }

// Moves a file to a new name in the same folder, never over an existing one.
bool moveWithoutReplacing(const QString& from, const QString& to)
{
    if (::renameat2(AT_FDCWD, native(from).constData(), AT_FDCWD, native(to).constData(), RENAME_NOREPLACE) == 0)
        return true;
    if (errno != EINVAL && errno != ENOSYS)
        return false;
    // A file system without the exclusive rename: a second link, then the old name goes.
    if (::link(native(from).constData(), native(to).constData()) != 0)
        return false;
    ::unlink(native(from).constData());
    return true;
}

const QString Copy_Failed = QStringLiteral("The template could not be copied.");
const QString Name_Taken = QStringLiteral("Template with this name already exists.");
}

void Set_Template_Step_Hook(Template_Step_Hook hook) { g_stepHook = std::move(hook); }

QString Builtin_Templates_Folder() { return Resource_Path + QStringLiteral("/Templates"); }
QString User_Templates_Folder() { return Builtin_Templates_Folder() + QStringLiteral("/User"); }

QString Template_Name_Problem(const QString& name)
{
    // A leading "." would hide the template (and our unfinished copies are
    // hidden files); control characters and path separators are no part of
    // a file name anyone can type back.
    const bool control = std::any_of(name.cbegin(), name.cend(), [](QChar c) { return c.category() == QChar::Other_Control; });
    if (name.isEmpty() || name.contains(QLatin1Char('/')) || name.contains(QLatin1Char('\\'))
        || name.startsWith(QLatin1Char('.')) || control)
        return QStringLiteral("A template name cannot contain \"/\" or \"\\\".");
    return {};
}

QStringList List_Template_Previews(const QString& folder)
{
    Show_NSLog_Message(folder);
    QStringList previews;
    const QDir dir(folder);
    if (!QFileInfo(folder).isDir())
        return previews;
    // A template is listed only when both of its files are there: a preview
    // alone is what an interrupted copy leaves, until start-up removes it.
    for (const QFileInfo& entry : dir.entryInfoList(QDir::Files, QDir::Name))
        if (isPreviewName(entry.fileName()) && Is_Regular_File(Template_Design_Log_Path(entry.absoluteFilePath())))
            previews << entry.filePath();
    return previews;
}

QString Template_Design_Log_Path(const QString& preview)
{
    const QFileInfo info(preview);
    return inFolder(info, info.completeBaseName() + QLatin1Char('.') + design_file_EXT);
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
        const QString candidate = inFolder(info, name);
        if (!QFileInfo::exists(candidate) && !QFileInfo::exists(Template_Design_Log_Path(candidate)))
            return candidate;
    }
}

QString Copy_Template_Files(const QString& preview, const QString& new_preview)
{
    const QString log = Template_Design_Log_Path(preview);
    const QString new_log = Template_Design_Log_Path(new_preview);
    if (QFileInfo::exists(new_preview) || QFileInfo::exists(new_log))
        return Name_Taken;
    QByteArray previewBytes, logBytes;
    if (!readWhole(preview, previewBytes) || !readWhole(log, logBytes))
        return Copy_Failed;
    // Both files are written under temporary names first; the design log is
    // published last, so the copy is listed only once it is whole. What a
    // killed copy leaves (part files, a preview alone) goes at start-up.
    Part_File previewPart(new_preview), logPart(new_log);
    QString why;
    const bool written = previewPart.open(&why) && previewPart.write(previewBytes, &why);
    step(1);
    if (!written || !logPart.open(&why) || !logPart.write(logBytes, &why)) {
        Show_NSLog_Message(why);
        return Copy_Failed;
    }
    step(2);
    if (!previewPart.commit(&why)) {
        Show_NSLog_Message(why);
        return Copy_Failed;
    }
    step(3);
    if (!logPart.commit(&why)) {
        Show_NSLog_Message(why);
        QFile::remove(new_preview);
        return Copy_Failed;
    }
    return {};
}

QString Rename_Template_Files(const QString& preview, const QString& new_name)
{
    const QString name = Trim_Str(new_name);
    if (const QString problem = Template_Name_Problem(name); !problem.isEmpty())
        return problem;
    const QFileInfo info(preview);
    // The preview keeps its own kind of picture.
    const QString new_preview = inFolder(info, name + QLatin1Char('.') + info.suffix());
    if (new_preview == info.absoluteFilePath())
        return {};
    const QString log = Template_Design_Log_Path(preview);
    const QString new_log = Template_Design_Log_Path(new_preview);
    // A preview alone under the new name is a leftover; only a design log takes the name.
    if (QFileInfo::exists(new_log) || QFileInfo(new_log).isSymLink())
        return Name_Taken;
    QByteArray previewBytes;
    if (!readWhole(preview, previewBytes) || !Is_Regular_File(log))
        return Copy_Failed;
    // The new preview first (alone it is not listed), then the design log
    // moves to its new name in one step, then the old preview goes: killed
    // anywhere, the old or the new template is whole, and the preview left
    // alone goes at start-up.
    Part_File previewPart(new_preview);
    QString why;
    const bool written = previewPart.open(&why) && previewPart.write(previewBytes, &why);
    step(1);
    if (!written || !previewPart.commit(&why)) {
        Show_NSLog_Message(why);
        return Copy_Failed;
    }
    step(2);
    if (!moveWithoutReplacing(log, new_log)) {
        Show_NSLog_Message(QStringLiteral("Cannot rename %1: %2").arg(log, qt_error_string(errno)));
        QFile::remove(new_preview);
        return Copy_Failed;
    }
    step(3);
    Delete_File(preview);
    return {};
}

bool Delete_Template_Files(const QString& preview)
{
    Delete_File(preview);
    Delete_File(Template_Design_Log_Path(preview));
    return !QFileInfo::exists(preview);
}

int Remove_Unfinished_Templates()
{
    const QDir dir(User_Templates_Folder());
    int removed = 0;
    for (const QFileInfo& entry : dir.entryInfoList(QDir::Files | QDir::Hidden | QDir::System)) {
        const QString name = entry.fileName();
        const bool halfTemplate = isPreviewName(name) && !QFileInfo::exists(Template_Design_Log_Path(entry.absoluteFilePath()));
        if ((halfTemplate || Is_Part_File_Name(name)) && Remove_Settled_Leftover(entry.absoluteFilePath()))
            ++removed;
    }
    if (removed > 0)
        Show_NSLog_Message(QStringLiteral("Removed %1 files of unfinished templates").arg(removed));
    return removed;
}
