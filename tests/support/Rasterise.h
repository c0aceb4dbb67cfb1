#pragma once
#include <QImage>
#include <QPicture>

#include "model/BarcodeArt.h"

// A vector picture drawn into a white bitmap at scale pixels per point, with
// a white margin of margin pixels on every side (decoders want a quiet zone).
QImage Rasterise(const QPicture& picture, qreal scale, int margin = 0);
// The same for a symbol drawn straight onto the bitmap's painter.
QImage Rasterise(const Barcode_Art& art, qreal scale, int margin = 0);
