#pragma once
// Draws a face over its card base: on screen, into images for export and
// mail, and for printing. Safe on worker threads (QImage and QPainter only).
#include "model/Codes.h"
#include "model/SKTDocument.h"

#include <QImage>
#include <QSizeF>

class QPainter;

class SKTRenderingView {
public:
    // Printed cards are rendered at 300 dpi.
    static constexpr qreal Print_Pixels_Per_Point = ::Print_Pixels_Per_Point;

    // The graphics over the card base of side Card_Front_Or_Back, the card's
    // size in points: one pixel per point, or 300 dpi for printing (the
    // image's device pixel ratio carries the scale). A null image when there
    // is nothing to draw on.
    static QImage image_From_Card_Graphics(const Face& graphics, bool print_box);
    // The same at pixels_per_point pixels to the point.
    static QImage image_From_Card_Graphics(const Face& graphics, qreal pixels_per_point);
    // The graphics over the base of a card of the given side, shape
    // (Card_Shape_Code) and size in points, at pixels_per_point pixels to
    // the point; reads no shared state. The two above call it with
    // Card_Front_Or_Back, Card_Shape and cardSize().
    static QImage image_From_Card_Graphics(const Face& graphics, Card_Side side, int shape, const QSizeF& size,
                                           qreal pixels_per_point);

    // The card base and the visible graphics, last to index 0, in card
    // points; without shape and size, those of Card_Shape and cardSize().
    static void drawFace(QPainter& painter, const Face& graphics, int side);
    static void drawFace(QPainter& painter, const Face& graphics, int side, int shape, const QSizeF& size);
    static void drawCardBase(QPainter& painter, const QRectF& card, int shape);

    // The card size in points (the front canvas's size), set by the main window.
    static QSizeF cardSize();
    static void setCardSize(const QSizeF& size);
};
