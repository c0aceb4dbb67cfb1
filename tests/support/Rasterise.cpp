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

QImage Rasterise(const Barcode_Art& art, qreal scale, int margin)
{
    QImage image = whiteBitmap(art.boundingRect(), scale, margin);
    QPainter painter(&image);
    painter.translate(margin, margin);
    painter.scale(scale, scale);
    art.draw(painter);
    painter.end();
    return image;
}
