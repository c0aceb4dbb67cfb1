#include "canvas/SKTRenderingView.h"

#include "model/Globals.h"
#include "model/Helpers.h"

#include "platform/Guarded.h"
#include <QPainter>
#include <QtMath>
#include <QPainterPath>
#include <exception>

namespace {
// A CR80 card (3.37 by 2.13 inches) until the main window sets the size.
Guarded<QSizeF> g_cardSize(QSizeF(3.37 * 72.0, 2.13 * 72.0));
}

QSizeF SKTRenderingView::cardSize() { return g_cardSize.get(); }
void SKTRenderingView::setCardSize(const QSizeF& size) { g_cardSize.set(size); }

void SKTRenderingView::drawCardBase(QPainter& painter, const QRectF& card, int shape_code)
{
    QPainterPath shape;
    switch (shape_code) {
    case Shape_Rounded_Rectangle: {
        const qreal radius = std::min(card.width(), card.height()) * 0.08;
        shape.addRoundedRect(card, radius, radius);
        break;
    }
    case Shape_Ellipse: shape.addEllipse(card); break;
    default: shape.addRect(card); break;
    }
    painter.fillPath(shape, Qt::white);
}

void SKTRenderingView::drawFace(QPainter& painter, const Face& graphics, int side)
{
    drawFace(painter, graphics, side, Card_Shape.load(), cardSize());
}

void SKTRenderingView::drawFace(QPainter& painter, const Face& graphics, int /*side*/, int shape, const QSizeF& size)
{
    drawCardBase(painter, QRectF(QPointF(0, 0), size), shape);
    for (qsizetype i = graphics.size() - 1; i >= 0; --i) {
        const GraphicPtr& g = graphics[i];
        if (g && g->ctrl_is_visible)
            g->draw(painter);
    }
}

QImage SKTRenderingView::image_From_Card_Graphics(const Face& graphics, bool print_box)
{
    // One pixel per point on screen and in exported files; printed cards are
    // drawn at 300 dpi so fine bars and small text stay sharp.
    return image_From_Card_Graphics(graphics, print_box ? Print_Pixels_Per_Point : 1.0);
}

QImage SKTRenderingView::image_From_Card_Graphics(const Face& graphics, qreal scale)
{
    return image_From_Card_Graphics(graphics, Card_Side(Card_Front_Or_Back.load()), Card_Shape.load(), cardSize(),
                                    scale);
}

QImage SKTRenderingView::image_From_Card_Graphics(const Face& graphics, Card_Side side, int shape,
                                                  const QSizeF& size, qreal scale)
{
    try {
        // Whatever the scale, the image's size in points is the card's size.
        // Rounded up, with a little room for the error of the multiplication.
        const QSize pixels = scale != 1.0 ? QSize(qCeil(size.width() * scale - 1e-6), qCeil(size.height() * scale - 1e-6))
                                          : size.toSize();
        if (pixels.isEmpty())
            return {};
        QImage image(pixels, QImage::Format_ARGB32_Premultiplied);
        image.setDevicePixelRatio(scale);
        image.fill(Qt::transparent);
        QPainter painter(&image);
        painter.setRenderHints(QPainter::Antialiasing | QPainter::TextAntialiasing | QPainter::SmoothPixmapTransform);
        drawFace(painter, graphics, side, shape, size);
        return image;
    } catch (const std::exception& e) {
        Show_NSLog_Message(QString::fromUtf8(e.what()));
        return {};
    }
}
