#pragma once
#include "support/Rasterise.h"
// Rendering family symbols to images (read back with support/Decode.h) and
// measuring their ink.
#include "barcode/BarcodeStyle.h"

#include <QImage>
#include <QPicture>
#include <QString>

class NKDBarcode;

// Dresses a model as the designer does (caption on, header and footer off,
// a 20-mil bar, bars barPoints high) and draws it at scale pixels per point
// on white with a white margin of margin pixels.
QImage Render_Model(NKDBarcode& model, const BarcodeStyle& style, qreal scale = 3, int margin = 60,
                    float barPoints = 40);

// The topmost and bottommost dark pixel rows of one column; (-1, -1) when none.
QPair<int, int> Dark_Span(const QImage& image, int column);
