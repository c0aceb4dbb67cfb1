#include "model/Card_Property.h"

#include "model/Codes.h"
#include "model/Helpers.h"

#include <algorithm>
#include <array>
#include <utility>

float MM_to_Points(float mm)
{
    return mm * float(Points_Per_MM);
}

float Points_to_MM(float points)
{
    return points / float(Points_Per_MM);
}

QSizeF Card_Preset_Size_MM(const QString& category, const QString& orientation, int row)
{
    // Rows in inches, width by height.
    static constexpr std::array<std::pair<float, float>, 7> pvc = {{
        {3.37f, 2.13f}, {3.31f, 2.06f}, {3.62f, 2.38f}, {3.88f, 2.62f}, {3.5f, 1.75f}, {3.25f, 2.34f}, {2.88f, 2.12f}}};
    static constexpr std::array<std::pair<float, float>, 8> badge = {{
        {2.36f, 1.58f}, {2.95f, 1.58f}, {2.95f, 1.58f}, {3.54f, 2.13f}, {3.54f, 2.36f}, {2.36f, 3.54f},
        {3.94f, 4.09f}, {5.91f, 4.96f}}};
    float w = 30, h = 30;
    const bool isPvc = category == QLatin1String("PVC Card");
    const size_t count = isPvc ? pvc.size() : badge.size();
    if (row >= 0 && size_t(row) < count) {
        const auto& inches = isPvc ? pvc[size_t(row)] : badge[size_t(row)];
        w = inches.first * float(MM_Per_Inch);
        h = inches.second * float(MM_Per_Inch);
    }
    if (orientation == QLatin1String("V"))
        std::swap(w, h);
    return QSizeF(w, h);
}

Card_Property Default_Card_Property()
{
    Card_Property p;
    const QSizeF mm = Card_Preset_Size_MM(p.category, p.orientation, 0);
    p.width_mm = mm.width();
    p.height_mm = mm.height();
    p.Card_Size = QSizeF(MM_to_Points(float(mm.width())), MM_to_Points(float(mm.height())));
    return p;
}

QVariantMap Card_Property::toMap() const
{
    return {{"width_mm", width_mm}, {"height_mm", height_mm}, {"size_w", Card_Size.width()},
            {"size_h", Card_Size.height()}, {"loc_x", Card_Location.x()}, {"loc_y", Card_Location.y()},
            {"shape", shape}, {"category", category}, {"orientation", orientation}, {"preset_index", preset_index}};
}

Card_Property Card_Property::fromMap(const QVariantMap& m)
{
    Card_Property p = Default_Card_Property();
    // Sizes within the card panel's range of 10 to 1000 millimetres, so a
    // file cannot ask for a canvas no int or image can hold.
    constexpr double Min_MM = 10, Max_MM = 1000, Max_Points = Max_MM * Points_Per_MM;
    p.width_mm = Bounded_Number(m.value("width_mm"), p.width_mm, Min_MM, Max_MM);
    p.height_mm = Bounded_Number(m.value("height_mm"), p.height_mm, Min_MM, Max_MM);
    p.Card_Size = QSizeF(Bounded_Number(m.value("size_w"), p.Card_Size.width(), 0, Max_Points),
                         Bounded_Number(m.value("size_h"), p.Card_Size.height(), 0, Max_Points));
    p.Card_Location = QPointF(Bounded_Number(m.value("loc_x"), 0, -Max_Points, Max_Points),
                              Bounded_Number(m.value("loc_y"), 0, -Max_Points, Max_Points));
    p.shape = std::clamp(m.value("shape", 0).toInt(), 0, 2);
    p.category = m.value("category", p.category).toString();
    p.orientation = m.value("orientation", p.orientation).toString();
    p.preset_index = m.value("preset_index", 0).toInt();
    return p;
}

QRectF Fit_Picture_In_Box(const QRectF& box, const QSizeF& picture)
{
    if (picture.isEmpty() || box.isEmpty())
        return box;
    const QSizeF fitted = picture.scaled(box.size(), Qt::KeepAspectRatio);
    return QRectF(box.center().x() - fitted.width() / 2, box.center().y() - fitted.height() / 2, fitted.width(),
                  fitted.height());
}

QRectF Keep_Inside_Card(const QRectF& item, const QSizeF& card)
{
    if (item.isEmpty() || card.isEmpty())
        return item;
    QRectF placed = item;
    if (item.width() > card.width() || item.height() > card.height())
        placed.setSize(item.size().scaled(card, Qt::KeepAspectRatio));
    placed.moveLeft(std::clamp(placed.left(), 0.0, card.width() - placed.width()));
    placed.moveTop(std::clamp(placed.top(), 0.0, card.height() - placed.height()));
    return placed;
}
