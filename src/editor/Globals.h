#pragma once
// Globals shared by the whole application, defined with the main window.
#include <QString>

// The resource folder: fixed files the app reads, and the data sets, user
// templates and settings it writes.
extern QString Resource_Path;
// The data-set folder ("DataSet" inside the resource folder).
extern QString Data_Folder_Path;

// Points both folder globals at resourceFolder.
void Set_Resource_Folder(const QString& resourceFolder);
