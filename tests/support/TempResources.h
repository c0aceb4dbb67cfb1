#pragma once
// A fresh copy of the resource folder for one test; Resource_Path and
// Data_Folder_Path point at it while the object lives.
#include <QString>
#include <QTemporaryDir>

struct TempResources {
    TempResources();
    ~TempResources();
    QString path() const { return dir.path() + QStringLiteral("/resources"); }
    QTemporaryDir dir;

private:
    QString oldResource, oldData;
};

// Copies a folder tree; true when every file was copied.
bool copyTree(const QString& from, const QString& to);
