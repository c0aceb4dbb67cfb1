#pragma once
// Barcode images for the rest of the application: vector pictures (QPicture,
// sized in points) of a 1-D model or of a 2-D symbol framed with header and
// footer, and the PDF data of a 1-D picture. Everything is made on the
// calling thread; a failure is logged and gives a null picture.
#include "barcode/BarcodeStyle.h"

#include <QByteArray>
#include <QImage>
#include <QPicture>

class NKDBarcode;

// The whole picture of a 1-D model; without a style record the model's own (or the live style).
QPicture imageFromBarcode(const NKDBarcode* barcode, const BarcodeStyle* style = nullptr);
// A 2-D symbol image framed by the style's 2-D fields; null for a null image.
QPicture imageFromBarcodeImage(const QImage& image, const BarcodeStyle* style = nullptr);
// The PDF data of a 1-D model's whole picture; empty when none could be made.
QByteArray pdfFromBarcode(const NKDBarcode* barcode, const BarcodeStyle* style = nullptr);
