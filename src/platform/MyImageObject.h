#pragma once
#include <QString>

// An item of an image browser: the picture at a path, a caption and a unique
// identifier (the browser's cache key).
struct MyImageObject {
    MyImageObject() = default;
    MyImageObject(const QString& path, const QString& name, const QString& uid)
        : image_Path(path), image_Name(name), image_UID(uid) {}
    void setPath(const QString& path) { image_Path = path; }

    QString image_Path;
    QString image_Name;
    QString image_UID;
};
