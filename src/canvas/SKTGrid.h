#pragma once
#include <QColor>
#include <QPointF>

class QPainter;
class QRectF;

// The one grid shared by the three canvases.
class SKTGrid {
public:
    QColor color = QColor(180, 180, 180);
    float spacing = 9.0f;
    bool isShown = false;
    bool isConstraining = false;

    // The point rounded to the spacing when the grid constrains; unchanged otherwise.
    QPointF constrainedPoint(const QPointF& point) const;
    void draw(QPainter& painter, const QRectF& area) const;
};
