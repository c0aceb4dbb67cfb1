#include "barcode/BarcodeImage.h"

#include "barcode/NKDBarcodeOffscreenView.h"
#include "model/Helpers.h"

#include <exception>

QPicture imageFromBarcode(const NKDBarcode* barcode, const BarcodeStyle* style)
{
    if (!barcode)
        return QPicture();
    try {
        return NKDBarcodeOffscreenView::initWithBarcode(barcode, style).picture();
    } catch (const std::exception& e) {
        Show_NSLog_Message(QString::fromUtf8(e.what()));
        return QPicture();
    }
}

QPicture imageFromBarcodeImage(const QImage& image, const BarcodeStyle* style)
{
    if (image.isNull())
        return QPicture();
    try {
        return NKDBarcodeOffscreenView::initWithBarcodeImage(image, style).picture();
    } catch (const std::exception& e) {
        Show_NSLog_Message(QString::fromUtf8(e.what()));
        return QPicture();
    }
}

QByteArray pdfFromBarcode(const NKDBarcode* barcode, const BarcodeStyle* style)
{
    if (!barcode)
        return QByteArray();
    const auto view = NKDBarcodeOffscreenView::initWithBarcode(barcode, style);
    return view.dataWithPDFInsideRect(view.bounds());
}
