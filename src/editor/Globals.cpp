#include "editor/Globals.h"

#include <QDir>

QString Resource_Path;
QString Data_Folder_Path;

void Set_Resource_Folder(const QString& resourceFolder)
{
    Resource_Path = QDir::cleanPath(resourceFolder);
    Data_Folder_Path = Resource_Path + QStringLiteral("/DataSet");
}
