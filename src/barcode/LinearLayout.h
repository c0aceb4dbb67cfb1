#pragma once
// The one layout of a linear symbol: from a dressed model and its style to
// the picture's size, its bar rectangles and its text boxes. The drawing, the
// model's bar tops, Set_Barcode_Height and the postal picture heights all
// take their numbers from here.
#include "barcode/BarcodeStyle.h"
#include "barcode/BarcodeText.h"
#include "model/BarcodeArt.h"

#include <QList>
#include <QRectF>

class NKDBarcode;

struct Linear_Text_Box {
    BarcodeTextBlock block;
    QPointF topLeft; // of the block's box, y down
    QColor color;
};

struct Linear_Layout {
    // The shown text bands with their margins, and the top and bottom
    // margins: what a picture needs besides its bars, in points.
    float bands = 0;
    QSizeF size;              // the whole picture, points
    QList<QRectF> bars;       // y down, from the picture's top-left corner
    QList<Barcode_Art_Run> runs; // each bar's modules
    qreal modulesLeft = 0;    // the first module's left edge, points
    QList<Linear_Text_Box> texts;
    bool overflows = false;   // a text reaches past the picture
    // The picture height that gives bars of the given height.
    float heightFor(float barPoints) const { return barPoints + bands; }
};

// Bands only (cheap: no bars, no texts), or everything.
enum class Linear_Detail { Bands, Full };
// Without a style record the model's own (or the live style) is used.
Linear_Layout Layout_Linear_Barcode(const NKDBarcode& model, const BarcodeStyle* style = nullptr,
                                    Linear_Detail detail = Linear_Detail::Full);
// The layout as drawing data: background, bars and caption, header and footer glyphs.
Barcode_Art Linear_Barcode_Art(const NKDBarcode& model, const BarcodeStyle* style = nullptr);
