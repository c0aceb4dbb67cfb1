#include "support/Rasterise.h"

#include <QPainter>
#include <cmath>

QImage Rasterise(const QPicture& picture, qreal scale, int margin)
{
    const QRect box = picture.boundingRect();
    QImage image(int(std::ceil(box.width() * scale)) + 2 * margin,
                 int(std::ceil(box.height() * scale)) + 2 * margin, QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter painter(&image);
    painter.translate(margin, margin);
    painter.scale(scale, scale);
    painter.drawPicture(0, 0, picture);
    painter.end();
    return image;
}
