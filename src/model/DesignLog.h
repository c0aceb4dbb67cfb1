#pragma once
// The design log: the project file, an XML property list whose root is a
// flat array with the magic first item. The order of its items is fixed here
// and nowhere else.
#include "model/BarcodeArt.h"
#include "model/Card_Property.h"
#include "model/ImageProcesser.h"
#include "model/SKTDocument.h"

#include <QByteArray>
#include <QList>
#include <QStringList>
#include <QVariantList>
#include <QVariantMap>
#include <optional>

struct Design_Log_Content {
    Card_Property front = Default_Card_Property();
    Card_Property back = Default_Card_Property();
    QString cardSides;                 // CARD_SIDE_STR
    int cardShape = 0;                 // Card_Shape
    QList<QByteArray> frontGraphics;   // graphic archives, index 0 frontmost
    QList<QByteArray> backGraphics;
    bool excelBindingUse = false;
    QString excelSourcePath;
    QStringList columnTitles;          // all table columns, row-number column first
    QList<QVariantMap> rows;           // the table's rows
    QString photoPath;                 // Invite_Frame_Pic_IMG
    QByteArray mainPhotoPng;           // the main photo as shown
    Photo_Filter_Settings filters;
};

extern const QString Design_Log_Magic;

QVariantList Design_Log_To_Plist(const Design_Log_Content& content);
// Reads the items back; nullopt with a reason when the root is not a design log.
std::optional<Design_Log_Content> Design_Log_From_Plist(const QVariant& root, QString* error = nullptr);

// Writes the design log whole: the written file is read back, and only when
// it would open again as the same design does it replace the old one;
// otherwise the old file stays and error says why.
bool Write_Design_Log(const QString& path, const Design_Log_Content& content, QString* error = nullptr);
// Reads a design log (a regular file only); numbers are kept within the
// ranges the windows allow.
std::optional<Design_Log_Content> Read_Design_Log(const QString& path, QString* error = nullptr);
// The graphics of a face from their archives, index 0 frontmost. Each
// barcode's symbol is made again from its stored settings and value; no
// picture data from the file is ever drawn: symbol_of makes it (the barcode
// designer's maker, handed in by the caller). nullopt with the reason when an
// archive cannot be read.
using Barcode_Symbol_Maker = Barcode_Art (*)(const SKTGraphic& graphic);
std::optional<Face> Design_Log_Face(const QList<QByteArray>& archives, Barcode_Symbol_Maker symbol_of,
                                    QString* error = nullptr);
// Image graphics of a face whose picture cannot be read show the missing-
// picture placeholder instead of nothing (the main photo's graphic shows the
// photo kept in the design log and is left alone). Returns the picture files
// that cannot be read, each once, in face order.
QStringList Show_Missing_Pictures(const Face& face);
