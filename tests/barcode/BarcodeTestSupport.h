#pragma once
#include "support/Rasterise.h"
// Shared by the barcode tests: dressing a model as the designer does,
// rasterising pictures, and reading symbols back with outside decoders.
#include "barcode/BarcodeStyle.h"

#include <QImage>
#include <QPicture>
#include <QString>

class NKDBarcode;

// Texts, flags, a 20-mil bar, the style's font sizes and a height that
// leaves barPoints for the bars (the designer's own arithmetic).
void Dress_Model(NKDBarcode& model, const BarcodeStyle& style, float barPoints = 40,
                 bool caption = true, bool header = true, bool footer = true);


// The text an outside decoder reads from a PNG file. Fails the calling test
// (through the returned message) when the decoder is missing or reads nothing.
struct DecodeResult {
    bool ok = false;
    QByteArray text;    // the decoded bytes, without the final line end
    QString failure;    // why nothing was read
};
// ZXingReader restricted to one format ("Code39", "Code128").
DecodeResult Decode_With_ZXing(const QString& pngPath, const QString& format);
// zbarimg restricted to one symbology ("code39", "code128"); extra -S settings allowed.
DecodeResult Decode_With_Zbar(const QString& pngPath, const QString& symbology,
                              const QStringList& settings = {});

// Counts the rows (y down) and columns of the image whose pixels are darker than mid grey.
struct InkBox {
    int top = -1, bottom = -1, left = -1, right = -1;
    bool empty() const { return top < 0; }
};
InkBox Ink_In(const QImage& image, const QRect& area);
