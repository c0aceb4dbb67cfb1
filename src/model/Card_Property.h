#pragma once
// The base settings of one card side.
#include <QPointF>
#include <QRectF>
#include <QSizeF>
#include <QString>
#include <QVariantMap>

struct Card_Property {
    QSizeF Card_Size;              // points
    QPointF Card_Location;         // the card's corner in canvas coordinates
    double width_mm = 0;
    double height_mm = 0;
    int shape = 0;                 // 0 rectangle, 1 rounded rectangle, 2 ellipse
    QString category = QStringLiteral("PVC Card");
    QString orientation = QStringLiteral("H"); // "V" swaps width and height
    int preset_index = 0;

    QVariantMap toMap() const;
    static Card_Property fromMap(const QVariantMap& map);
    bool operator==(const Card_Property&) const = default;
};

// Millimetres to points, in single precision.
float MM_to_Points(float mm);
// Points to millimetres, the other way of the same conversion.
float Points_to_MM(float points);
// The preset size in millimetres of a row of the PVC table (category "PVC
// Card") or of the badge table (any other category); "V" swaps width and
// height; a row outside the table gives 30 by 30 millimetres.
QSizeF Card_Preset_Size_MM(const QString& category, const QString& orientation, int row);
// The default card: the first PVC preset (CR80), landscape.
Card_Property Default_Card_Property();

// The largest rectangle of the picture's proportions that fits in box,
// centred in it; box itself when the size is empty.
QRectF Fit_Picture_In_Box(const QRectF& box, const QSizeF& picture);
// Where a graphic covering item lies inside a card of the given size (points,
// from the origin): moved in as little as needed, and first scaled down,
// proportions kept, when it is larger than the card.
QRectF Keep_Inside_Card(const QRectF& item, const QSizeF& card);
