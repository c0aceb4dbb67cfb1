#pragma once
// The zip-archive layer under the spreadsheet reader and writer: unpacks a
// whole archive into a folder, and packs files and folders into a new archive
// (each stored under names relative to its own parent folder). The container
// itself is minizip over zlib.
#include <QDateTime>
#include <QHash>
#include <QString>
#include <QStringList>
#include <memory>
#include <zip.h>
#include <unzip.h>

class Part_File;

// An error of unpacking or packing: a domain, a code and a description.
struct SSZipArchiveError {
    QString domain;
    int code = 0;
    QString description;
};

class SSZipArchive {
public:
    // Error codes in the domain "SSZipArchiveErrorDomain".
    enum {
        Error_Open_Archive = -1,   // "failed to open zip file"
        Error_First_Entry = -2,    // "failed to open first file in zip file"
        Error_Open_Entry = -3,     // an entry could not be opened or described
        Error_Unsafe_Entry = -4,   // an entry would land outside the destination
        Error_Too_Large = -5,      // too many entries, or too many bytes unpacked
        Error_Read_Entry = -6,     // bad data: CRC mismatch, truncated or corrupt stream
        Error_Write_File = -7,     // an unpacked file or folder could not be written
    };
    // Limits of unpacking: a package past either is refused, so a zip bomb
    // fails instead of filling the disk.
    static constexpr qint64 Max_Entry_Count = 10000;
    static constexpr qint64 Max_Unpacked_Size = qint64(512) * 1024 * 1024;

    // Unpacks every entry into the destination folder. Entries whose names
    // would land outside it (absolute names, drive letters, "..", symbolic
    // links) are refused before anything is written. With overwrite off an
    // existing file stays untouched. Any failure gives false and, when error
    // is given, its description.
    static bool unzipFileAtPath(const QString& path, const QString& toDestination, bool overwrite,
                                const QString& password, SSZipArchiveError* error);
    static bool unzipFileAtPath(const QString& path, const QString& toDestination);

    // Creates a new archive holding the listed files and folders, each under
    // its own last path component. The archive is written beside its final
    // name and moved into place only when every path was packed; otherwise
    // false, and any file already at the path is left as it was.
    static bool createZipFileAtPath(const QString& path, const QStringList& withFilesAtPaths);
    static bool createZipFileAtPath(const QString& path, const QString& withFilesAtPath);

    // 1 January 1980, 00:00 local time: the origin of the MS-DOS date.
    static QDateTime _dateFor1980();

    // A writer bound to one archive file: open, any number of writes, close.
    explicit SSZipArchive(const QString& path);
    ~SSZipArchive();
    SSZipArchive(const SSZipArchive&) = delete;
    SSZipArchive& operator=(const SSZipArchive&) = delete;

    bool open();
    // Adds the file or folder at basePath + relative, stored under relative.
    bool writeFile(const QString& relative, const QString& basePath);
    // Adds one entry from bytes in memory, dated now; compressed false stores
    // it as it is (packages whose first entry names their type need that).
    bool writeData(const QByteArray& data, const QString& filename, bool compressed = true);
    // Fills the broken-down date of the record from the date.
    static void zipInfo(zip_fileinfo* zipInfo, const QDateTime& setDate);
    // Writes the central directory and moves the archive into place; false
    // when anything written since open failed.
    bool close();

private:
    QString _path;
    std::unique_ptr<Part_File> _part; // the archive being written, beside _path
    zipFile _zip = nullptr;
    bool _failed = false;
};

// Reads single entries of an archive in place, one at a time, without
// unpacking anything to disk. Names are matched without regard to case, and
// backslashes in stored names count as slashes, as packages written by some
// Windows programs have them.
class SSZipPackage {
public:
    SSZipPackage();
    ~SSZipPackage();
    SSZipPackage(const SSZipPackage&) = delete;
    SSZipPackage& operator=(const SSZipPackage&) = delete;

    // Opens the archive and reads its directory; the file stays open until
    // close, so a file replaced meanwhile on disk is still read as it was.
    bool open(const QString& path, SSZipArchiveError* error);
    void close();
    bool isOpen() const { return _zip != nullptr; }
    bool contains(const QString& name) const;

    // Starts reading an entry (any entry being read is ended). Entries
    // declaring more than maxSize bytes are refused. With readAhead, a large
    // entry is inflated ahead on a worker thread while its bytes are consumed.
    bool openEntry(const QString& name, qint64 maxSize, SSZipArchiveError* error, bool readAhead = true);
    // The next bytes of the entry: how many were read, 0 at its end, -1 when
    // the data is damaged (bad CRC, shorter or longer than declared).
    qint64 read(char* buffer, qint64 size);
    // The reason of the last failure of read.
    QString readError() const { return _readError; }

private:
    struct Entry {
        unz64_file_pos position;
        quint64 size;
        bool encrypted;
    };
    struct ReadAhead;
    void endEntry();
    void startReadAhead();
    qint64 readDirect(char* buffer, qint64 size);
    std::unique_ptr<ReadAhead> _ahead;
    unzFile _zip = nullptr;
    QHash<QString, Entry> _entries; // by lower-case name with slashes
    bool _reading = false;
    quint64 _left = 0;              // bytes still declared for the entry being read
    QString _entryName, _readError;
};
