#pragma once
// Files on their way to the disk and private temporary folders, and the
// start-up clean-up of what a killed or crashed run left of them.
//
// A file that holds a user's work and is written by path (a zip archive, a
// design log that is read back before it replaces the old one) is written as
// a hidden part file ".<name>.<8 hex digits>.part" beside its target and
// renamed over the target when complete. While it is written the process
// holds a lock on it and keeps a record of it in the resource folder, so the
// next start-up can find it and remove it once no running program uses it.
#include <QByteArray>
#include <QString>
#include <QTemporaryDir>
#include <functional>

class Part_File {
public:
    explicit Part_File(const QString& target);
    // An uncommitted part file is removed with its record.
    ~Part_File();
    Part_File(const Part_File&) = delete;
    Part_File& operator=(const Part_File&) = delete;

    // Creates the part file beside the target (locked and recorded); false
    // with the reason when the folder cannot take it.
    bool open(QString* error = nullptr);
    // The part file's path, and its descriptor (open for reading and writing).
    QString path() const { return _path; }
    int handle() const { return _fd; }
    // Writes bytes at the part file's end, makes them reach the disk and
    // reads the whole part back: false with the reason when what is on disk
    // is not what was written.
    bool write(const QByteArray& bytes, QString* error = nullptr);
    // Moves the part over the target: its bytes reach the disk, it takes the
    // old file's permissions, and after the rename the folder is synced, so
    // the new file survives a power cut. False with the reason otherwise;
    // the old file then stays as it was.
    bool commit(QString* error = nullptr);

private:
    void discard();
    QString _target;
    QString _path;
    QString _record;
    int _fd = -1;
    int _recordFd = -1;
};

// Writes bytes whole over path through a part file. Before the rename the
// part file is read back and compared with the bytes, and check (when given)
// says whether what was read back would open again. Any failure keeps the
// old file and gives the reason.
using Read_Back_Check = std::function<bool(const QByteArray& readBack, QString* why)>;
bool Write_File_Checked(const QString& path, const QByteArray& bytes, const Read_Back_Check& check = {},
                        QString* error = nullptr);

// A private folder "gleamcard-ziptmp-XXXXXX" in the system's temporary folder,
// locked while this object lives and removed with it.
class Private_Temp_Folder {
public:
    Private_Temp_Folder();
    ~Private_Temp_Folder();
    Private_Temp_Folder(const Private_Temp_Folder&) = delete;
    Private_Temp_Folder& operator=(const Private_Temp_Folder&) = delete;
    bool isValid() const { return _dir.isValid(); }
    QString path() const { return _dir.path(); }
    QString filePath(const QString& name) const { return _dir.filePath(name); }
    QString errorString() const { return _dir.errorString(); }

private:
    QTemporaryDir _dir;
    int _lock = -1;
};

// Start-up: removes the part files of writes that never finished (found
// through their records) and the private temporary folders that no running
// program holds. Only this user's files of our own naming are touched; one
// in use, or made in the last minute, stays. Returns how many were removed.
int Remove_Leftover_Work_Files();

// Removes a file of this user that a killed run left: a regular file (a
// link is never followed), not in use by any program and not written in the
// last minute. False when it stays.
bool Remove_Settled_Leftover(const QString& path);
// The hidden part-file names of Part_File.
bool Is_Part_File_Name(const QString& fileName);
// A free path of that naming beside target, for a file another writer
// makes before it is published: what a run killed while writing it leaves
// goes at start-up like any part file.
QString Work_File_Path(const QString& target);
// Opens a regular file of this user (a link is never followed) and takes
// the lock that a program at work on it holds, without waiting: -1 when the
// file is gone or some running program holds it. Closing the descriptor
// lets it go.
int Lock_Work_File(const QString& path);

// Whether path names a regular file (a link to one counts); devices,
// FIFOs, sockets and folders do not.
bool Is_Regular_File(const QString& path);
