#include "model/BarcodeArt.h"

#include <QPainter>
#include <cmath>

Barcode_Art::Barcode_Art(Barcode_Art_Data data)
    : d(std::make_shared<const Barcode_Art_Data>(std::move(data)))
{
}

bool Barcode_Art::isDrawable() const
{
    const auto fits = [](qreal v) { return v >= 0 && v <= Max_Size; }; // false for NaN
    return d && fits(d->size.width()) && fits(d->size.height());
}

QRect Barcode_Art::boundingRect() const
{
    if (!isDrawable())
        return QRect();
    return QRect(0, 0, int(std::ceil(d->size.width())), int(std::ceil(d->size.height())));
}

void Barcode_Art::draw(QPainter& painter, const QPointF& topLeft) const
{
    if (!isDrawable())
        return;
    const Barcode_Art_Data& a = *d;
    const QRectF whole(QPointF(0, 0), a.size);
    painter.save();
    painter.translate(topLeft);
    if (a.clip)
        painter.setClipRect(whole, Qt::IntersectClip);
    painter.setPen(Qt::NoPen);
    painter.setRenderHint(QPainter::Antialiasing, false);
    if (a.background.isValid() && a.background.alpha() > 0)
        painter.fillRect(whole, a.background);
    if (!a.bars.isEmpty()) {
        painter.setBrush(a.barColor);
        painter.drawRects(a.bars);
    }
    if (!a.grid.isNull()) {
        // A two-colour grid goes into a PDF as a 1-bit mask painted in the
        // pen's colour; nothing is ever compressed with losses.
        painter.setPen(Qt::black);
        painter.setRenderHint(QPainter::SmoothPixmapTransform, false);
        painter.setRenderHint(QPainter::LosslessImageRendering, true);
        painter.drawImage(a.gridArea, a.grid);
        painter.setPen(Qt::NoPen);
    }
    if (!a.texts.isEmpty()) {
        painter.setRenderHint(QPainter::Antialiasing, true);
        const QTransform base = painter.transform();
        for (const Barcode_Art_Text& text : a.texts) {
            painter.setBrush(text.color);
            for (const Barcode_Art_Glyph& glyph : text.glyphs) {
                painter.setTransform(QTransform::fromTranslate(glyph.at.x(), glyph.at.y()) * base);
                painter.drawPath(glyph.outline);
            }
        }
        painter.setTransform(base);
    }
    painter.restore();
}

QPicture Barcode_Art::picture() const
{
    if (!d)
        return QPicture();
    QPicture picture;
    {
        QPainter painter(&picture);
        draw(painter);
    }
    picture.setBoundingRect(boundingRect());
    return picture;
}
