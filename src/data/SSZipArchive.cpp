#include "data/SSZipArchive.h"

#include "model/Helpers.h"
#include "model/Work_Files.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStringDecoder>

#include <cerrno>
#include <condition_variable>
#include <cstring>
#include <deque>
#include <mutex>
#include <system_error>
#include <thread>
#include <vector>
#include <cstdio>
#include <fcntl.h>
#include <stdexcept>
#include <sys/stat.h>
#include <unistd.h>
#include <unzip.h>
#include <zip.h>

namespace {
const QString Error_Domain = QStringLiteral("SSZipArchiveErrorDomain");

bool fail(SSZipArchiveError* error, int code, const QString& description)
{
    Show_NSLog_Message(QStringLiteral("Unzip: %1").arg(description));
    if (error)
        *error = {Error_Domain, code, description};
    return false;
}

// An entry name (backslashes already turned into slashes) that stays below
// the destination folder.
bool isSafeName(const QString& name)
{
    if (name.isEmpty() || name.contains(QChar(0)) || name.startsWith(QLatin1Char('/')))
        return false;
    if (name.size() >= 2 && name[1] == QLatin1Char(':') && name[0].isLetter())
        return false; // a drive letter
    for (const QStringView part : QStringView(name).split(QLatin1Char('/')))
        if (part == u"..")
            return false;
    return true;
}

// Unix-made entries keep the file mode in the high half of the external attributes.
bool isSymLink(const unz_file_info& info)
{
    const int madeBy = int(info.version >> 8) & 0xff;
    if (madeBy != 3 && madeBy != 19) // Unix, OS X
        return false;
    return ((info.external_fa >> 16) & S_IFMT) == S_IFLNK;
}

// The current entry's information and its name, decoded as UTF-8; false when
// the information cannot be read or the name is not valid UTF-8.
bool currentEntry(unzFile zip, unz_file_info& info, QByteArray& rawName, QString& name)
{
    info = {};
    if (unzGetCurrentFileInfo(zip, &info, nullptr, 0, nullptr, 0, nullptr, 0) != UNZ_OK)
        return false;
    rawName = QByteArray(qsizetype(info.size_filename) + 1, '\0');
    if (unzGetCurrentFileInfo(zip, &info, rawName.data(), uLong(rawName.size()), nullptr, 0, nullptr, 0) != UNZ_OK)
        return false;
    rawName.truncate(qsizetype(info.size_filename));
    QStringDecoder decode(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    name = decode(rawName);
    return !decode.hasError();
}

// The entry's MS-DOS date and time, as local time.
QDateTime dosDateTime(uLong dosDate)
{
    const int years = int(dosDate >> 25) & 0x7f;
    const QDate date(SSZipArchive::_dateFor1980().date().year() + years, int(dosDate >> 21) & 0x0f,
                     int(dosDate >> 16) & 0x1f);
    const QTime time(int(dosDate >> 11) & 0x1f, int(dosDate >> 5) & 0x3f, int(dosDate & 0x1f) * 2);
    return QDateTime(date, time, Qt::LocalTime);
}

bool writeAll(int fd, const char* data, qint64 size)
{
    while (size > 0) {
        const ssize_t n = ::write(fd, data, size_t(size));
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            return false;
        data += n;
        size -= n;
    }
    return true;
}

// Walks the central directory before anything is written: refuses unsafe
// names, symbolic links and packages past the limits.
bool checkEntries(unzFile zip, SSZipArchiveError* error)
{
    qint64 count = 0, declared = 0;
    for (int rc = unzGoToFirstFile(zip); rc != UNZ_END_OF_LIST_OF_FILE; rc = unzGoToNextFile(zip)) {
        if (rc != UNZ_OK)
            return fail(error, SSZipArchive::Error_Read_Entry, QStringLiteral("damaged zip file directory"));
        unz_file_info info;
        QByteArray raw;
        QString name;
        if (!currentEntry(zip, info, raw, name))
            return fail(error, SSZipArchive::Error_Unsafe_Entry, QStringLiteral("unreadable entry name in zip file"));
        name.replace(QLatin1Char('\\'), QLatin1Char('/'));
        if (!isSafeName(name) || isSymLink(info))
            return fail(error, SSZipArchive::Error_Unsafe_Entry,
                        QStringLiteral("unsafe entry in zip file: %1").arg(QString::fromUtf8(raw)));
        declared += qint64(info.uncompressed_size);
        if (++count > SSZipArchive::Max_Entry_Count || declared > SSZipArchive::Max_Unpacked_Size)
            return fail(error, SSZipArchive::Error_Too_Large, QStringLiteral("zip file too large to unpack"));
    }
    return true;
}

struct UnzHandle {
    unzFile zip;
    ~UnzHandle()
    {
        if (zip)
            unzClose(zip);
    }
};
}

QDateTime SSZipArchive::_dateFor1980()
{
    return QDateTime(QDate(1980, 1, 1), QTime(0, 0), Qt::LocalTime);
}

bool SSZipArchive::unzipFileAtPath(const QString& path, const QString& toDestination)
{
    return unzipFileAtPath(path, toDestination, true, QString(), nullptr);
}

bool SSZipArchive::unzipFileAtPath(const QString& path, const QString& toDestination, bool overwrite,
                                   const QString& password, SSZipArchiveError* error)
{
    UnzHandle handle{unzOpen(QFile::encodeName(path).constData())};
    unzFile zip = handle.zip;
    if (!zip)
        return fail(error, Error_Open_Archive, QStringLiteral("failed to open zip file"));
    unz_global_info global = {};
    unzGetGlobalInfo(zip, &global);
    if (unzGoToFirstFile(zip) != UNZ_OK)
        return fail(error, Error_First_Entry, QStringLiteral("failed to open first file in zip file"));
    if (!checkEntries(zip, error))
        return false;

    const QString destination = QDir::cleanPath(toDestination);
    const QByteArray passwordBytes = password.toLatin1();
    qint64 unpacked = 0;
    char buffer[4096];
    for (int rc = unzGoToFirstFile(zip); rc != UNZ_END_OF_LIST_OF_FILE; rc = unzGoToNextFile(zip)) {
        if (rc != UNZ_OK)
            return fail(error, Error_Read_Entry, QStringLiteral("damaged zip file directory"));
        const int opened = passwordBytes.isEmpty() ? unzOpenCurrentFile(zip)
                                                   : unzOpenCurrentFilePassword(zip, passwordBytes.constData());
        if (opened != UNZ_OK)
            return fail(error, Error_Open_Entry, QStringLiteral("failed to open file in zip file"));
        unz_file_info info;
        QByteArray raw;
        QString name;
        if (!currentEntry(zip, info, raw, name)) {
            unzCloseCurrentFile(zip);
            return fail(error, Error_Open_Entry, QStringLiteral("failed to read file information in zip file"));
        }
        const bool isFolder = name.endsWith(QLatin1Char('/')) || name.endsWith(QLatin1Char('\\'));
        name.replace(QLatin1Char('\\'), QLatin1Char('/'));
        const QString fullPath = destination + QLatin1Char('/') + name;
        const QString folder = isFolder ? fullPath : QFileInfo(fullPath).path();
        if (!QDir().mkpath(folder)) {
            unzCloseCurrentFile(zip);
            return fail(error, Error_Write_File, QStringLiteral("failed to create folder %1").arg(folder));
        }
        const QFileInfo existing(fullPath);
        if (isFolder || (!overwrite && (existing.exists() || existing.isSymLink()))) {
            unzCloseCurrentFile(zip);
            continue;
        }
        // Never write through a symbolic link already at the destination.
        const int fd = ::open(QFile::encodeName(fullPath).constData(),
                              O_WRONLY | O_CREAT | O_TRUNC | O_NOFOLLOW | O_CLOEXEC, 0666);
        if (fd < 0) {
            unzCloseCurrentFile(zip);
            return fail(error, Error_Write_File, QStringLiteral("failed to write %1").arg(fullPath));
        }
        int readError = 0;
        qint64 entrySize = 0;
        bool written = true, tooLarge = false;
        for (;;) {
            const int n = unzReadCurrentFile(zip, buffer, sizeof buffer);
            if (n <= 0) {
                readError = n;
                break;
            }
            unpacked += n;
            entrySize += n;
            if (unpacked > Max_Unpacked_Size) {
                tooLarge = true;
                break;
            }
            if (!writeAll(fd, buffer, n)) {
                written = false;
                break;
            }
        }
        written = (::close(fd) == 0) && written;
        const int closed = unzCloseCurrentFile(zip);
        // A stream that ends early passes no CRC check of its own: compare sizes.
        const bool complete = readError == 0 && closed == UNZ_OK && entrySize == qint64(info.uncompressed_size);
        if (tooLarge || !written || !complete) {
            QFile::remove(fullPath);
            if (tooLarge)
                return fail(error, Error_Too_Large, QStringLiteral("zip file too large to unpack"));
            if (!written)
                return fail(error, Error_Write_File, QStringLiteral("failed to write %1").arg(fullPath));
            return fail(error, Error_Read_Entry,
                        QStringLiteral("damaged data in zip file entry %1").arg(name));
        }
        if (info.dosDate != 0) {
            const qint64 secs = dosDateTime(info.dosDate).toSecsSinceEpoch();
            const timespec times[2] = {{0, UTIME_OMIT}, {time_t(secs), 0}};
            ::utimensat(AT_FDCWD, QFile::encodeName(fullPath).constData(), times, 0);
        }
    }
    return true;
}

bool SSZipArchive::createZipFileAtPath(const QString& path, const QString& withFilesAtPath)
{
    return createZipFileAtPath(path, QStringList{withFilesAtPath});
}

bool SSZipArchive::createZipFileAtPath(const QString& path, const QStringList& withFilesAtPaths)
{
    SSZipArchive archive(path);
    if (!archive.open()) {
        Show_NSLog_Message(QStringLiteral("Zip: cannot create %1").arg(path));
        return false;
    }
    for (QString item : withFilesAtPaths) {
        if (item.endsWith(QLatin1Char('/')))
            item.chop(1);
        const qsizetype cut = item.lastIndexOf(QLatin1Char('/')) + 1;
        if (!archive.writeFile(item.mid(cut), item.left(cut))) {
            Show_NSLog_Message(QStringLiteral("Zip: cannot add %1 to %2").arg(item, path));
            return false; // the unfinished archive is dropped with the writer
        }
    }
    if (!archive.close()) {
        Show_NSLog_Message(QStringLiteral("Zip: cannot write %1").arg(path));
        return false;
    }
    return true;
}

SSZipArchive::SSZipArchive(const QString& path)
    : _path(path)
{
}

SSZipArchive::~SSZipArchive()
{
    // A writer released without close leaves no archive behind (the part file goes with _part).
    if (_zip)
        zipClose(_zip, nullptr);
}

bool SSZipArchive::open()
{
    if (_zip)
        throw std::logic_error("Attempting open an archive which is already open");
    _failed = false;
    _part = std::make_unique<Part_File>(_path);
    QString error;
    if (!_part->open(&error)) {
        Show_NSLog_Message(QStringLiteral("Zip: %1").arg(error));
        _part.reset();
        return false;
    }
    _zip = zipOpen(QFile::encodeName(_part->path()).constData(), APPEND_STATUS_CREATE);
    if (!_zip)
        _part.reset();
    return _zip != nullptr;
}

bool SSZipArchive::writeFile(const QString& relative, const QString& basePath)
{
    if (!_zip)
        throw std::logic_error("Attempting to write to an archive which was never opened");
    const QString fullPath = basePath + relative;
    const QFileInfo info(fullPath);
    if (info.isDir()) {
        QStringList entries = QDir(fullPath).entryList(
            QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot, QDir::NoSort);
        std::sort(entries.begin(), entries.end()); // the listing order is arbitrary; keep archives stable
        for (const QString& entry : entries)
            if (!writeFile(relative + QLatin1Char('/') + entry, basePath))
                return false;
        if (!entries.isEmpty())
            return true;
        const QByteArray name = (relative + QLatin1Char('/')).toUtf8();
        const bool ok = zipOpenNewFileInZip(_zip, name.constData(), nullptr, nullptr, 0, nullptr, 0, nullptr,
                                            Z_DEFLATED, Z_DEFAULT_COMPRESSION) == ZIP_OK
                        && zipWriteInFileInZip(_zip, "", 0) == ZIP_OK && zipCloseFileInZip(_zip) == ZIP_OK;
        _failed |= !ok;
        return ok;
    }
    QFile file(fullPath);
    if (!file.open(QIODevice::ReadOnly))
        return false;
    const QByteArray name = relative.toUtf8();
    if (zipOpenNewFileInZip(_zip, name.constData(), nullptr, nullptr, 0, nullptr, 0, nullptr, Z_DEFLATED,
                            Z_DEFAULT_COMPRESSION) != ZIP_OK) {
        _failed = true;
        return false;
    }
    char buffer[16384];
    bool ok = true;
    for (;;) {
        const qint64 n = file.read(buffer, sizeof buffer);
        if (n == 0)
            break;
        if (n < 0 || zipWriteInFileInZip(_zip, buffer, unsigned(n)) != ZIP_OK) {
            ok = false;
            break;
        }
    }
    ok = (zipCloseFileInZip(_zip) == ZIP_OK) && ok;
    _failed |= !ok;
    return ok;
}

bool SSZipArchive::writeData(const QByteArray& data, const QString& filename, bool compressed)
{
    if (!_zip || data.isNull())
        return false;
    zip_fileinfo info = {};
    zipInfo(&info, QDateTime::currentDateTime());
    const QByteArray name = filename.toUtf8();
    const bool ok = zipOpenNewFileInZip(_zip, name.constData(), &info, nullptr, 0, nullptr, 0, nullptr,
                                        compressed ? Z_DEFLATED : 0, compressed ? Z_DEFAULT_COMPRESSION : 0) == ZIP_OK
                    && zipWriteInFileInZip(_zip, data.constData(), unsigned(data.size())) == ZIP_OK
                    && zipCloseFileInZip(_zip) == ZIP_OK;
    _failed |= !ok;
    return ok;
}

void SSZipArchive::zipInfo(zip_fileinfo* zipInfo, const QDateTime& setDate)
{
    const QDateTime local = setDate.toLocalTime();
    zipInfo->tmz_date.tm_sec = uInt(local.time().second());
    zipInfo->tmz_date.tm_min = uInt(local.time().minute());
    zipInfo->tmz_date.tm_hour = uInt(local.time().hour());
    zipInfo->tmz_date.tm_mday = uInt(local.date().day());
    zipInfo->tmz_date.tm_mon = uInt(local.date().month() - 1);
    zipInfo->tmz_date.tm_year = uInt(local.date().year());
}

bool SSZipArchive::close()
{
    if (!_zip)
        throw std::logic_error("Attempting to close an archive which was never opened");
    const bool closed = zipClose(_zip, nullptr) == ZIP_OK;
    _zip = nullptr;
    QString error;
    const bool committed = closed && !_failed && _part->commit(&error);
    if (!error.isEmpty())
        Show_NSLog_Message(QStringLiteral("Zip: %1").arg(error));
    _part.reset();
    return committed;
}

// Inflates an entry on a worker thread into a few chunks ahead of the
// reader. The chunks are made here and passed back and forth, so the worker
// allocates nothing.
struct SSZipPackage::ReadAhead {
    static constexpr qint64 Chunk = 64 * 1024;
    static constexpr int Depth = 8;
    struct Filled {
        int buffer;
        qint64 size;
    };
    ReadAhead()
    {
        for (int i = 0; i < Depth; ++i) {
            buffers.emplace_back(size_t(Chunk));
            spare.push_back(i);
        }
    }
    std::vector<std::vector<char>> buffers;
    std::deque<int> spare;
    std::deque<Filled> filled;
    std::thread worker;
    std::mutex mutex;
    std::condition_variable changed;
    bool finished = false, failed = false, stop = false;
    int current = -1;
    qint64 offset = 0, size = 0;
};

namespace {
QString packageKey(QString name)
{
    name.replace(QLatin1Char('\\'), QLatin1Char('/'));
    return name.toLower();
}
}

SSZipPackage::SSZipPackage() = default;

SSZipPackage::~SSZipPackage()
{
    close();
}

void SSZipPackage::close()
{
    endEntry();
    if (_zip)
        unzClose(_zip);
    _zip = nullptr;
    _entries.clear();
}

bool SSZipPackage::open(const QString& path, SSZipArchiveError* error)
{
    close();
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return fail(error, SSZipArchive::Error_Open_Archive, QStringLiteral("cannot open %1: %2").arg(path, file.errorString()));
    // An encrypted workbook, or one of the old binary kind, is a compound file.
    if (file.read(8) == QByteArray("\xD0\xCF\x11\xE0\xA1\xB1\x1A\xE1", 8))
        return fail(error, SSZipArchive::Error_Open_Archive,
                    QStringLiteral("the file is password-protected or an old-style .xls workbook, not a zip package"));
    file.close();
    _zip = unzOpen64(QFile::encodeName(path).constData());
    if (!_zip)
        return fail(error, SSZipArchive::Error_Open_Archive, QStringLiteral("failed to open zip file"));
    int rc = unzGoToFirstFile(_zip);
    if (rc != UNZ_OK) {
        close();
        return fail(error, SSZipArchive::Error_First_Entry, QStringLiteral("the zip file holds no entries"));
    }
    for (; rc != UNZ_END_OF_LIST_OF_FILE; rc = unzGoToNextFile(_zip)) {
        unz_file_info64 info{};
        QByteArray name(1024, '\0');
        Entry entry{};
        if (rc != UNZ_OK || _entries.size() >= SSZipArchive::Max_Entry_Count
            || unzGetCurrentFileInfo64(_zip, &info, name.data(), uLong(name.size()), nullptr, 0, nullptr, 0) != UNZ_OK
            || unzGetFilePos64(_zip, &entry.position) != UNZ_OK) {
            close();
            return fail(error, SSZipArchive::Error_Read_Entry,
                        rc == UNZ_OK && _entries.size() >= SSZipArchive::Max_Entry_Count
                            ? QStringLiteral("zip file has too many entries")
                            : QStringLiteral("damaged zip file directory"));
        }
        name.truncate(qsizetype(std::min<uLong>(info.size_filename, uLong(name.size()))));
        entry.size = info.uncompressed_size;
        entry.encrypted = info.flag & 1;
        _entries.insert(packageKey(QString::fromUtf8(name)), entry);
    }
    return true;
}

bool SSZipPackage::contains(const QString& name) const
{
    return _entries.contains(packageKey(name));
}

void SSZipPackage::endEntry()
{
    if (_ahead) {
        {
            std::lock_guard<std::mutex> lock(_ahead->mutex);
            _ahead->stop = true;
        }
        _ahead->changed.notify_all();
        _ahead->worker.join();
        _ahead.reset();
    }
    if (_reading)
        unzCloseCurrentFile(_zip);
    _reading = false;
}

bool SSZipPackage::openEntry(const QString& name, qint64 maxSize, SSZipArchiveError* error, bool readAhead)
{
    endEntry();
    _readError.clear();
    const auto it = _entries.constFind(packageKey(name));
    if (!_zip || it == _entries.cend())
        return fail(error, SSZipArchive::Error_Open_Entry, QStringLiteral("missing part %1").arg(name));
    if (it->encrypted)
        return fail(error, SSZipArchive::Error_Open_Entry, QStringLiteral("part %1 is encrypted").arg(name));
    if (it->size > quint64(maxSize))
        return fail(error, SSZipArchive::Error_Too_Large, QStringLiteral("part %1 is too large").arg(name));
    unz64_file_pos position = it->position;
    if (unzGoToFilePos64(_zip, &position) != UNZ_OK || unzOpenCurrentFile(_zip) != UNZ_OK)
        return fail(error, SSZipArchive::Error_Open_Entry, QStringLiteral("failed to open %1 in zip file").arg(name));
    _reading = true;
    _left = it->size;
    _entryName = name;
    if (readAhead && _left > quint64(ReadAhead::Chunk) * ReadAhead::Depth)
        startReadAhead();
    return true;
}

void SSZipPackage::startReadAhead()
{
    _ahead = std::make_unique<ReadAhead>();
    try {
        _ahead->worker = std::thread([this, ahead = _ahead.get()] {
            for (;;) {
                int buffer;
                {
                    std::unique_lock<std::mutex> lock(ahead->mutex);
                    ahead->changed.wait(lock, [&] { return ahead->stop || !ahead->spare.empty(); });
                    if (ahead->stop)
                        return;
                    buffer = ahead->spare.front();
                    ahead->spare.pop_front();
                }
                const qint64 n = readDirect(ahead->buffers[size_t(buffer)].data(), ReadAhead::Chunk);
                std::lock_guard<std::mutex> lock(ahead->mutex);
                if (n > 0)
                    ahead->filled.push_back({buffer, n});
                else
                    ahead->finished = true, ahead->failed = n < 0;
                ahead->changed.notify_all();
                if (n <= 0)
                    return;
            }
        });
    } catch (const std::system_error&) {
        _ahead.reset(); // no thread to be had: inflate as the bytes are read
    }
}

qint64 SSZipPackage::read(char* buffer, qint64 size)
{
    if (!_ahead)
        return readDirect(buffer, size);
    ReadAhead& ahead = *_ahead;
    if (ahead.offset == ahead.size) {
        std::unique_lock<std::mutex> lock(ahead.mutex);
        if (ahead.current >= 0)
            ahead.spare.push_back(std::exchange(ahead.current, -1));
        ahead.changed.notify_all();
        ahead.changed.wait(lock, [&] { return !ahead.filled.empty() || ahead.finished; });
        if (ahead.filled.empty())
            return ahead.failed ? -1 : 0;
        ahead.current = ahead.filled.front().buffer;
        ahead.size = ahead.filled.front().size;
        ahead.offset = 0;
        ahead.filled.pop_front();
    }
    const qint64 n = std::min(size, ahead.size - ahead.offset);
    std::memcpy(buffer, ahead.buffers[size_t(ahead.current)].data() + ahead.offset, size_t(n));
    ahead.offset += n;
    return n;
}

qint64 SSZipPackage::readDirect(char* buffer, qint64 size)
{
    if (!_reading)
        return -1;
    const int n = unzReadCurrentFile(_zip, buffer, unsigned(std::min<qint64>(size, 1 << 30)));
    if (n > 0 && quint64(n) <= _left) {
        _left -= quint64(n);
        return n;
    }
    // The end, or damage: a stream that ends early passes no CRC check of its own.
    const bool complete = n == 0 && _left == 0;
    _reading = false;
    if (unzCloseCurrentFile(_zip) == UNZ_OK && complete)
        return 0;
    _readError = QStringLiteral("damaged data in zip file entry %1").arg(_entryName);
    Show_NSLog_Message(QStringLiteral("Unzip: %1").arg(_readError));
    return -1;
}
