#pragma once
// A graphic stored as a keyed binary property list of its fields under their
// own names, with its kind. Design logs carry graphics in this form.
#include "model/SKTGraphic.h"

#include <QByteArray>
#include <QVariantMap>

// The graphic's fields as a dictionary (the archive before serialising).
QVariantMap Graphic_To_Map(const SKTGraphic& graphic);
// A graphic from such a dictionary; nullptr when the kind is unknown.
GraphicPtr Graphic_From_Map(const QVariantMap& map, QString* error = nullptr);

QByteArray Archive_Graphic(const SKTGraphic& graphic);
GraphicPtr Unarchive_Graphic(const QByteArray& archive, QString* error = nullptr);
