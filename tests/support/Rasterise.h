#pragma once
#include <QImage>
#include <QPicture>

#include "model/BarcodeArt.h"

// A vector picture drawn into a white bitmap at scale pixels per point, with
// a white margin of margin pixels on every side (decoders want a quiet zone).
QImage Rasterise(const QPicture& picture, qreal scale, int margin = 0);
// The same for a symbol drawn straight onto the bitmap's painter, its
// corner offset points right and down (the bitmap one point larger then).
QImage Rasterise(const Barcode_Art& art, qreal scale, int margin = 0, QPointF offset = {});

// The rows (y down) and columns of an area whose pixels are darker than mid grey.
struct InkBox {
    int top = -1, bottom = -1, left = -1, right = -1;
    bool empty() const { return top < 0; }
};
InkBox Ink_In(const QImage& image, const QRect& area);
