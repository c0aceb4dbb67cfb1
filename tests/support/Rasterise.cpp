#include "support/Rasterise.h"

#include <QPainter>
#include <cmath>

namespace {
QImage whiteBitmap(const QRect& box, qreal scale, int margin)
{
    QImage image(int(std::ceil(box.width() * scale)) + 2 * margin,
                 int(std::ceil(box.height() * scale)) + 2 * margin, QImage::Format_RGB32);
    image.fill(Qt::white);
    return image;
}
}

QImage Rasterise(const QPicture& picture, qreal scale, int margin)
{
    QImage image = whiteBitmap(picture.boundingRect(), scale, margin);
    QPainter painter(&image);
    painter.translate(margin, margin);
    painter.scale(scale, scale);
    painter.drawPicture(0, 0, picture);
    painter.end();
    return image;
}

QImage Rasterise(const Barcode_Art& art, qreal scale, int margin, QPointF offset)
{
    const QRect box = art.boundingRect();
    QImage image = whiteBitmap(offset.isNull() ? box : box.adjusted(0, 0, 1, 1), scale, margin);
    QPainter painter(&image);
    painter.translate(margin, margin);
    painter.scale(scale, scale);
    art.draw(painter, offset);
    painter.end();
    return image;
}

InkBox Ink_In(const QImage& image, const QRect& area)
{
    InkBox box;
    const QRect r = area.intersected(image.rect());
    for (int y = r.top(); y <= r.bottom(); ++y)
        for (int x = r.left(); x <= r.right(); ++x)
            if (qGray(image.pixel(x, y)) < 128) {
                if (box.top < 0 || y < box.top)
                    box.top = y;
                box.bottom = qMax(box.bottom, y);
                if (box.left < 0 || x < box.left)
                    box.left = x;
                box.right = qMax(box.right, x);
            }
    return box;
}
