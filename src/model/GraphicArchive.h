#pragma once
// A graphic stored as a keyed binary property list of its fields under their
// own names, with its kind. Design logs carry graphics in this form. A
// barcode's symbol is not stored: it is made again from the stored settings
// and value by whoever opens the graphic. Numbers read back are kept finite
// and within what drawing needs (coordinates, line widths, font sizes).
#include "model/SKTGraphic.h"

#include <QByteArray>
#include <QVariantMap>

// The graphic's fields as a dictionary (the archive before serialising).
QVariantMap Graphic_To_Map(const SKTGraphic& graphic);
// A graphic from such a dictionary; nullptr when the kind is unknown.
GraphicPtr Graphic_From_Map(const QVariantMap& map, QString* error = nullptr);

// Empty, with the reason, when a field cannot be stored (a string holding U+0000).
QByteArray Archive_Graphic(const SKTGraphic& graphic, QString* error = nullptr);
GraphicPtr Unarchive_Graphic(const QByteArray& archive, QString* error = nullptr);
// Whether an archive would unarchive (a dictionary of a known kind), without
// making the graphic (so no picture file is read).
bool Is_Readable_Graphic_Archive(const QByteArray& archive, QString* error = nullptr);
