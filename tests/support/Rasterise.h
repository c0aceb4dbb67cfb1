#pragma once
#include <QImage>
#include <QPicture>

// A vector picture drawn into a white bitmap at scale pixels per point, with
// a white margin of margin pixels on every side (decoders want a quiet zone).
QImage Rasterise(const QPicture& picture, qreal scale, int margin = 0);
