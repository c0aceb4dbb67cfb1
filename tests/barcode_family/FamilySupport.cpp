#include "FamilySupport.h"

#include "barcode/BarcodeImage.h"
#include "barcode/NKDBarcode.h"

#include <QPainter>
#include <cmath>

QImage Render_Model(NKDBarcode& model, const BarcodeStyle& style, qreal scale, int margin, float barPoints)
{
    model.setStyle(&style);
    model.setPrintsCaption(true);
    model.setPrintsHeader(false);
    model.setPrintsFooter(false);
    model.setBarWidth(20.0f / 1000.0f * 72.0f);
    model.setCaptionFontSize(float(style.value_font_val.pointSizeF()));
    model.setHeight(barPoints + model.captionHeight() * 72 + style.value_margin + 2 * style.TB_margin);
    model.calculateWidth();

    return Rasterise(imageFromBarcode(&model), scale, margin);
}

QPair<int, int> Dark_Span(const QImage& image, int column)
{
    int top = -1, bottom = -1;
    for (int y = 0; y < image.height(); ++y)
        if (qGray(image.pixel(column, y)) < 128) {
            if (top < 0)
                top = y;
            bottom = y;
        }
    return {top, bottom};
}
