#include "wizards/Template_Files.h"

#include "model/Globals.h"
#include "model/Helpers.h"
#include "model/Work_Files.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QScopeGuard>

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

// Moves a file over another in one step.
bool moveOver(const QString& from, const QString& to)
{
    if (std::rename(native(from).constData(), native(to).constData()) == 0)
        return true;
    Show_NSLog_Message(QStringLiteral("Cannot move %1 to %2: %3").arg(from, to, qt_error_string(errno)));
    return false;
}

// The hidden name under which a saved template's file waits, locked, until
// the whole template is ready: ".<name>.ready".
QString readyPath(const QString& target)
{
    const QFileInfo info(target);
    return inFolder(info, QLatin1Char('.') + info.fileName() + QStringLiteral(".ready"));
}

// The file a ready file waits to become; empty for any other name.
QString readyTarget(const QFileInfo& entry)
{
    const QString name = entry.fileName();
    const QString tail = QStringLiteral(".ready");
    if (name.size() <= tail.size() + 1 || !name.startsWith(QLatin1Char('.')) || !name.endsWith(tail))
        return {};
    return inFolder(entry, name.mid(1, name.size() - tail.size() - 1));
}

const QString Copy_Failed = QStringLiteral("The template could not be copied.");
const QString Save_Failed = QStringLiteral("The template could not be saved.");
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
    // A design log left alone would keep the name taken and never go; a
    // preview left alone is not listed and goes at start-up.
    const QString log = Template_Design_Log_Path(preview);
    Delete_File(log);
    if (QFileInfo::exists(log) || QFileInfo(log).isSymLink())
        return false;
    step(1);
    Delete_File(preview);
    return true;
}

bool Save_Template_Files(const QString& name, const Template_File_Writer& write_preview,
                         const Template_File_Writer& write_log, QString* error)
{
    auto fail = [&](const QString& why) {
        if (error)
            *error = why;
        return false;
    };
    if (const QString problem = Template_Name_Problem(name); !problem.isEmpty())
        return fail(problem);
    if (!QDir().mkpath(User_Templates_Folder()))
        return fail(Save_Failed);
    const QString preview = User_Templates_Folder() + QLatin1Char('/') + name + QStringLiteral(".png");
    const QString log = Template_Design_Log_Path(preview);
    const QString previewWork = Work_File_Path(preview), logWork = Work_File_Path(log);
    int previewLock = -1, logLock = -1;
    const auto cleanUp = qScopeGuard([&] {
        QFile::remove(previewWork);
        QFile::remove(logWork);
        for (int fd : {previewLock, logLock})
            if (fd >= 0)
                ::close(fd);
    });
    // Both files are made whole under work names first (a run killed here
    // leaves part files, which go at start-up) ...
    if (!write_preview(previewWork))
        return false;
    step(1);
    if (!write_log(logWork))
        return false;
    step(2);
    // ... and held, so that start-up leaves them to this program, while they
    // get ready: the preview, then the design log. From then on the new
    // template is the one start-up finishes; before, the old one stays. Then
    // each takes its place, the design log last.
    previewLock = Lock_Work_File(previewWork);
    logLock = Lock_Work_File(logWork);
    if (previewLock < 0 || logLock < 0 || !moveOver(previewWork, readyPath(preview)))
        return fail(Save_Failed);
    step(3);
    if (!moveOver(logWork, readyPath(log))) {
        QFile::remove(readyPath(preview));
        return fail(Save_Failed);
    }
    step(4);
    if (!moveOver(readyPath(preview), preview))
        return fail(Save_Failed);
    step(5);
    if (!moveOver(readyPath(log), log))
        return fail(Save_Failed);
    return true;
}

namespace {
// A save killed after its design log got ready is finished: its preview
// (unless already in place) and its design log take their places. Ready
// files of a save that never got that far are removed. Only files no
// running program holds are touched.
int finishReadyTemplates(const QDir& dir)
{
    int finished = 0;
    const QFileInfoList entries = dir.entryInfoList(QDir::Files | QDir::Hidden | QDir::System, QDir::Name);
    for (const QFileInfo& entry : entries) {
        const QString log = readyTarget(entry);
        if (log.isEmpty() || QFileInfo(log).suffix() != design_file_EXT)
            continue;
        const int lock = Lock_Work_File(entry.absoluteFilePath());
        if (lock < 0)
            continue;
        const QString preview = readyPath(inFolder(entry, QFileInfo(log).completeBaseName() + QStringLiteral(".png")));
        const int previewLock = Lock_Work_File(preview);
        if (previewLock >= 0) {
            finished += moveOver(preview, readyTarget(QFileInfo(preview))) ? 1 : 0;
            ::close(previewLock);
        }
        finished += moveOver(entry.absoluteFilePath(), log) ? 1 : 0;
        ::close(lock);
    }
    for (const QFileInfo& entry : dir.entryInfoList(QDir::Files | QDir::Hidden | QDir::System)) {
        const QString target = readyTarget(entry);
        if (target.isEmpty() || QFileInfo(target).suffix() == design_file_EXT)
            continue;
        const int lock = Lock_Work_File(entry.absoluteFilePath());
        if (lock >= 0 && ::unlink(native(entry.absoluteFilePath()).constData()) == 0)
            ++finished;
        if (lock >= 0)
            ::close(lock);
    }
    return finished;
}
}

int Remove_Unfinished_Templates()
{
    const QDir dir(User_Templates_Folder());
    int removed = finishReadyTemplates(dir);
    for (const QFileInfo& entry : dir.entryInfoList(QDir::Files | QDir::Hidden | QDir::System)) {
        const QString name = entry.fileName();
        const bool halfTemplate = isPreviewName(name) && !QFileInfo::exists(Template_Design_Log_Path(entry.absoluteFilePath()));
        if ((halfTemplate || Is_Part_File_Name(name)) && Remove_Settled_Leftover(entry.absoluteFilePath()))
            ++removed;
    }
    if (removed > 0)
        Show_NSLog_Message(QStringLiteral("Removed or finished %1 files of unfinished templates").arg(removed));
    return removed;
}
