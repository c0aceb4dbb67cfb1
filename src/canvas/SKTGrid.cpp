#include "canvas/SKTGrid.h"

#include <QPainter>
#include <QRectF>
#include <cmath>

QPointF SKTGrid::constrainedPoint(const QPointF& point) const
{
    if (!isConstraining || spacing <= 0)
        return point;
    return QPointF(std::round(point.x() / spacing) * spacing, std::round(point.y() / spacing) * spacing);
}

void SKTGrid::draw(QPainter& painter, const QRectF& area) const
{
    if (!isShown || spacing < 1)
        return;
    painter.save();
    painter.setPen(QPen(color, 0));
    for (double x = area.left(); x <= area.right(); x += spacing)
        painter.drawLine(QPointF(x, area.top()), QPointF(x, area.bottom()));
    for (double y = area.top(); y <= area.bottom(); y += spacing)
        painter.drawLine(QPointF(area.left(), y), QPointF(area.right(), y));
    painter.restore();
}
