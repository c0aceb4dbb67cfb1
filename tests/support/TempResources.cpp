#include "support/TempResources.h"

#include "model/Globals.h"
#include "model/Helpers.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>

bool copyTree(const QString& from, const QString& to)
{
    QDir().mkpath(to);
    bool ok = true;
    QDirIterator it(from, QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString src = it.next();
        const QString dst = to + '/' + QDir(from).relativeFilePath(src);
        if (it.fileInfo().isDir())
            ok &= QDir().mkpath(dst);
        else
            ok &= QFile::copy(src, dst);
    }
    return ok;
}

TempResources::TempResources()
    : oldResource(Resource_Path), oldData(Data_Folder_Path)
{
    copyTree(QStringLiteral(GLEAMCARD_SOURCE_DIR "/resources"), path());
    Set_Resource_Folder(path());
    // The folders the app makes for itself when it starts.
    Check_Path_And_Create_Files();
}

TempResources::~TempResources()
{
    Resource_Path = oldResource;
    Data_Folder_Path = oldData;
}
