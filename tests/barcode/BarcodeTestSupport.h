#pragma once
#include "support/Rasterise.h"
// Shared by the barcode tests: dressing a model as the designer does,
// rasterising pictures and finding the ink in them.
#include "barcode/BarcodeStyle.h"

#include <QImage>
#include <QPicture>
#include <QString>

class NKDBarcode;

// Texts, flags, a 20-mil bar, the style's font sizes and a height that
// leaves barPoints for the bars (the designer's own arithmetic).
void Dress_Model(NKDBarcode& model, const BarcodeStyle& style, float barPoints = 40,
                 bool caption = true, bool header = true, bool footer = true);

// Counts the rows (y down) and columns of the image whose pixels are darker than mid grey.
struct InkBox {
    int top = -1, bottom = -1, left = -1, right = -1;
    bool empty() const { return top < 0; }
};
InkBox Ink_In(const QImage& image, const QRect& area);
