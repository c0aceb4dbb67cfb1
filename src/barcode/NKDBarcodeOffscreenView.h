#pragma once
// Draws one barcode picture in points: a 1-D model as bars with its caption,
// header and footer on the style's background, or a finished 2-D symbol image
// on white between a header and a footer. The geometry is computed with the
// origin at the bottom left, y up, and turned into the painter's y-down
// coordinates in one place. Uses only QPainter on the given device, so it
// runs on any thread.
#include "barcode/BarcodeStyle.h"
#include "model/BarcodeArt.h"

#include <QByteArray>
#include <QImage>
#include <QPicture>
#include <QRectF>

class NKDBarcode;
class QPainter;

class NKDBarcodeOffscreenView {
public:
    // 1-D mode. The model is not owned: keep it alive while the view lives.
    // Without a style record the view reads the model's, else the live style.
    static NKDBarcodeOffscreenView initWithBarcode(const NKDBarcode* barcode,
                                                   const BarcodeStyle* style = nullptr);
    // 2-D mode: the view keeps its own copy of the symbol image; the outer
    // size and the framing come from the style's 2-D fields.
    static NKDBarcodeOffscreenView initWithBarcodeImage(const QImage& image,
                                                        const BarcodeStyle* style = nullptr);

    QRectF frame() const { return _frame; }
    QRectF bounds() const { return QRectF(QPointF(0, 0), _frame.size()); }
    const NKDBarcode* barcode() const { return _barcode; }
    void setBarcode(const NKDBarcode* barcode) { _barcode = barcode; }
    void setBarcode_Image_2D(const QImage& image) { _image_2d = image; }
    bool fromImageOrBarcode() const { return _fromImageOrBarcode; }
    const BarcodeStyle& style() const { return Barcode_Style_Or_Live(_style); }

    // The picture as drawing data.
    Barcode_Art art() const;
    // Draws the whole picture, clipped to the bounds. The painter's user space
    // is the frame in points, y down, origin at the top left.
    void drawRect(QPainter& painter) const;
    // The picture as a vector image whose bounding rectangle is the frame.
    QPicture picture() const;
    // PDF data of the part of the picture inside a rectangle of the view
    // (y up); empty when nothing could be made. Made on the calling thread.
    QByteArray dataWithPDFInsideRect(const QRectF& rect) const;

private:
    NKDBarcodeOffscreenView() = default;

    const NKDBarcode* _barcode = nullptr;
    bool _fromImageOrBarcode = false;
    QImage _image_2d;
    const BarcodeStyle* _style = nullptr;
    QRectF _frame;
};

// A 2-D symbol framed by the style's 2-D fields (outer size, header and
// footer): modules drawn over area within a symbol box of symbolSize points,
// centred under the header. Any image serves as modules, scaled at paint time.
Barcode_Art Framed_2D_Art(const QImage& modules, const QRectF& area, const QSizeF& symbolSize,
                          const BarcodeStyle& style);

// The size of a bitmap in points, from its dots per metre (its pixels when it has none).
QSizeF Barcode_Image_Size_Points(const QImage& image);
