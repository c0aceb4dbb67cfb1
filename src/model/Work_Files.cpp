#include "model/Work_Files.h"

#include "model/Globals.h"
#include "model/Helpers.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>
#include <QRegularExpression>

#include <cerrno>
#include <cstdio>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {
// Made, or last written, less than this long ago: possibly still being set up.
constexpr qint64 Settling_Seconds = 60;

QString lastError() { return qt_error_string(errno); }

QByteArray native(const QString& path) { return QFile::encodeName(path); }

QString recordFolder()
{
    return Resource_Path.isEmpty() ? QString() : Resource_Path + QStringLiteral("/.unfinished");
}

QString randomHex(int digits)
{
    QString hex;
    while (hex.size() < digits)
        hex += QStringLiteral("%1").arg(QRandomGenerator::global()->generate(), 8, 16, QLatin1Char('0'));
    return hex.left(digits);
}

// A fresh part-file name beside the target: ".<name>.<8 hex digits>.part".
QString partPathFor(const QFileInfo& target)
{
    return target.absolutePath() + QStringLiteral("/.") + target.fileName() + QLatin1Char('.') + randomHex(8)
           + QStringLiteral(".part");
}

// A new file of its own (never an existing one), locked; -1 when it cannot be made.
int createLocked(const QString& path)
{
    const int fd = ::open(native(path).constData(), O_RDWR | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0666);
    if (fd >= 0 && ::flock(fd, LOCK_EX | LOCK_NB) != 0) {
        ::close(fd);
        ::unlink(native(path).constData());
        return -1;
    }
    return fd;
}

// Opens an existing entry without following a link or waiting on a FIFO and
// takes its lock; -1 when it is gone or some process holds the lock.
int lockIfFree(const QString& path, int flags = 0)
{
    const int fd = ::open(native(path).constData(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC | flags);
    if (fd < 0)
        return -1;
    if (::flock(fd, LOCK_EX | LOCK_NB) != 0) {
        ::close(fd);
        return -1;
    }
    return fd;
}

bool ownedAndSettled(const struct stat& st)
{
    const qint64 now = QDateTime::currentSecsSinceEpoch();
    return st.st_uid == ::getuid() && now - qint64(st.st_mtime) >= Settling_Seconds;
}

void syncFolder(const QString& folder)
{
    const int fd = ::open(native(folder).constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd >= 0) {
        ::fsync(fd);
        ::close(fd);
    }
}

// The part file a record names, removed when it is ours and unused.
bool removeRecordedPart(const QString& part)
{
    const int fd = Is_Part_File_Name(QFileInfo(part).fileName()) ? Lock_Work_File(part) : -1;
    if (fd < 0)
        return false;
    const bool removed = ::unlink(native(part).constData()) == 0;
    ::close(fd);
    return removed;
}
}

// ---------------------------------------------------------------- part files

Part_File::Part_File(const QString& target)
{
    // A link keeps pointing at the file it named: the file it names is replaced.
    const QFileInfo info(target);
    _target = info.isSymLink() && info.exists() ? info.canonicalFilePath() : info.absoluteFilePath();
}

Part_File::~Part_File()
{
    discard();
}

bool Part_File::open(QString* error)
{
    discard();
    const QFileInfo target(_target);
    // The record is made under a passing name and locked, and appears under
    // its final name only once it names the part file: a starting program
    // never takes a live write for a leftover.
    QString pending;
    const QString folder = recordFolder();
    if (!folder.isEmpty() && QDir().mkpath(folder)) {
        const QString base = folder + QLatin1Char('/') + randomHex(16);
        _recordFd = createLocked(base + QStringLiteral(".new"));
        if (_recordFd >= 0) {
            pending = base + QStringLiteral(".new");
            _record = base + QStringLiteral(".rec");
        }
    }
    for (int attempt = 0; attempt < 100 && _fd < 0; ++attempt) {
        const QString candidate = partPathFor(target);
        _fd = createLocked(candidate);
        if (_fd >= 0)
            _path = candidate;
        else if (errno != EEXIST)
            break;
    }
    if (_fd < 0) {
        const QString why = QStringLiteral("cannot create a file in %1: %2").arg(target.absolutePath(), lastError());
        discard();
        if (error)
            *error = why;
        return false;
    }
    if (_recordFd >= 0) {
        const QByteArray text = native(_path);
        const bool recorded = ::write(_recordFd, text.constData(), size_t(text.size())) == text.size()
                              && std::rename(native(pending).constData(), native(_record).constData()) == 0;
        if (!recorded) {
            // The write goes on without a record; only the clean-up loses track of it.
            Show_NSLog_Message(QStringLiteral("Cannot record the unfinished write %1: %2").arg(_path, lastError()));
            ::unlink(native(pending).constData());
            ::close(_recordFd);
            _recordFd = -1;
            _record.clear();
        }
    }
    return true;
}

bool Part_File::commit(QString* error)
{
    auto fail = [&](const QString& why) {
        if (error)
            *error = QStringLiteral("cannot write %1: %2").arg(_target, why);
        discard();
        return false;
    };
    if (_fd < 0)
        return fail(QStringLiteral("nothing was written"));
    struct stat old;
    if (::stat(native(_target).constData(), &old) == 0 && S_ISREG(old.st_mode))
        ::fchmod(_fd, old.st_mode & 07777);
    if (::fsync(_fd) != 0)
        return fail(lastError());
    if (std::rename(native(_path).constData(), native(_target).constData()) != 0)
        return fail(lastError());
    syncFolder(QFileInfo(_target).absolutePath());
    _path.clear(); // nothing of ours is left to remove
    discard();
    return true;
}

void Part_File::discard()
{
    if (!_path.isEmpty())
        ::unlink(native(_path).constData());
    _path.clear();
    if (_fd >= 0)
        ::close(_fd);
    _fd = -1;
    if (!_record.isEmpty()) {
        ::unlink(native(_record).constData());
        ::unlink(native(_record.left(_record.size() - 4) + QStringLiteral(".new")).constData());
    }
    _record.clear();
    if (_recordFd >= 0)
        ::close(_recordFd);
    _recordFd = -1;
}

bool Part_File::write(const QByteArray& bytes, QString* error)
{
    auto fail = [&](const QString& why) {
        if (error)
            *error = QStringLiteral("cannot write %1: %2").arg(_target, why);
        return false;
    };
    if (_fd < 0)
        return fail(QStringLiteral("the part file is not open"));
    const off_t start = ::lseek(_fd, 0, SEEK_END);
    for (qsizetype done = 0; done < bytes.size();) {
        const ssize_t n = ::write(_fd, bytes.constData() + done, size_t(bytes.size() - done));
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            return fail(lastError());
        done += n;
    }
    if (::fsync(_fd) != 0)
        return fail(lastError());
    QFile readBack(_path);
    if (!readBack.open(QIODevice::ReadOnly) || !readBack.seek(start))
        return fail(QStringLiteral("the written file cannot be read back: %1").arg(readBack.errorString()));
    if (readBack.readAll() != bytes)
        return fail(QStringLiteral("the written file does not read back as it was written"));
    return true;
}

bool Write_File_Checked(const QString& path, const QByteArray& bytes, const Read_Back_Check& check, QString* error)
{
    Part_File part(path);
    if (!part.open(error) || !part.write(bytes, error))
        return false;
    QString why;
    if (check && !check(bytes, &why)) {
        if (error)
            *error = QStringLiteral("cannot write %1: the written file would not open again: %2").arg(path, why);
        return false;
    }
    return part.commit(error);
}

// ---------------------------------------------------------------- private folders

Private_Temp_Folder::Private_Temp_Folder()
    : _dir(QDir::tempPath() + QStringLiteral("/gleamcard-ziptmp-XXXXXX"))
{
    if (_dir.isValid())
        _lock = lockIfFree(_dir.path(), O_DIRECTORY);
}

Private_Temp_Folder::~Private_Temp_Folder()
{
    if (_lock >= 0)
        ::close(_lock);
}

// ---------------------------------------------------------------- start-up

int Remove_Leftover_Work_Files()
{
    int removed = 0;
    const QString folder = recordFolder();
    if (!folder.isEmpty()) {
        const QFileInfoList records =
            QDir(folder).entryInfoList({QStringLiteral("*.rec"), QStringLiteral("*.new")}, QDir::Files | QDir::Hidden);
        for (const QFileInfo& record : records) {
            const QString path = record.absoluteFilePath();
            struct stat st;
            if (::lstat(native(path).constData(), &st) != 0 || !S_ISREG(st.st_mode) || st.st_uid != ::getuid())
                continue;
            const bool published = record.suffix() == QLatin1String("rec");
            // A record still being set up has no part file yet; it goes once settled.
            if (!published && !ownedAndSettled(st))
                continue;
            const int fd = lockIfFree(path);
            if (fd < 0)
                continue; // its writer is still at work
            if (published) {
                QFile file;
                QByteArray part;
                if (file.open(fd, QIODevice::ReadOnly, QFileDevice::DontCloseHandle))
                    part = file.read(4096);
                if (removeRecordedPart(QFile::decodeName(part)))
                    ++removed;
            }
            ::unlink(native(path).constData());
            ::close(fd);
        }
    }

    const QFileInfoList folders = QDir(QDir::tempPath())
                                      .entryInfoList({QStringLiteral("gleamcard-ziptmp-*")},
                                                     QDir::Dirs | QDir::Hidden | QDir::NoDotAndDotDot);
    for (const QFileInfo& info : folders) {
        const QString path = info.absoluteFilePath();
        struct stat st;
        if (::lstat(native(path).constData(), &st) != 0 || !S_ISDIR(st.st_mode) || !ownedAndSettled(st))
            continue;
        const int fd = lockIfFree(path, O_DIRECTORY);
        if (fd < 0)
            continue;
        if (QDir(path).removeRecursively())
            ++removed;
        ::close(fd);
    }
    if (removed > 0)
        Show_NSLog_Message(QStringLiteral("Removed %1 files and folders left by an interrupted run").arg(removed));
    return removed;
}

bool Remove_Settled_Leftover(const QString& path)
{
    struct stat st;
    if (::lstat(native(path).constData(), &st) != 0 || !S_ISREG(st.st_mode) || !ownedAndSettled(st))
        return false;
    const int fd = lockIfFree(path);
    if (fd < 0)
        return false;
    const bool removed = ::unlink(native(path).constData()) == 0;
    ::close(fd);
    return removed;
}

bool Is_Part_File_Name(const QString& fileName)
{
    static const QRegularExpression pattern(QStringLiteral("^\\..+\\.[0-9a-f]{8}\\.part$"));
    return pattern.match(fileName).hasMatch();
}

QString Work_File_Path(const QString& target)
{
    const QFileInfo info(target);
    QString path;
    do
        path = partPathFor(info);
    while (QFileInfo::exists(path) || QFileInfo(path).isSymLink());
    return path;
}

int Lock_Work_File(const QString& path)
{
    struct stat st;
    if (::lstat(native(path).constData(), &st) != 0 || !S_ISREG(st.st_mode) || st.st_uid != ::getuid())
        return -1;
    return lockIfFree(path);
}

bool Is_Regular_File(const QString& path)
{
    struct stat st;
    return !path.isEmpty() && ::stat(native(path).constData(), &st) == 0 && S_ISREG(st.st_mode);
}
