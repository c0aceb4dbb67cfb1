#include "BarcodeTestSupport.h"

#include "barcode/NKDBarcode.h"

#include <QPainter>
#include <cmath>

void Dress_Model(NKDBarcode& model, const BarcodeStyle& style, float barPoints, bool caption,
                 bool header, bool footer)
{
    model.setHeader(style.header_val);
    model.setFooter(style.footer_val);
    model.setPrintsCaption(caption);
    model.setPrintsHeader(header);
    model.setPrintsFooter(footer);
    model.setBarWidth(20.0f / 1000.0f * 72.0f);
    model.setCaptionFontSize(float(style.value_font_val.pointSizeF()));
    model.setHeaderFontSize(float(style.header_font_val.pointSizeF()));
    model.setFooterFontSize(float(style.footer_font_val.pointSizeF()));
    float height = barPoints;
    if (caption)
        height += model.captionHeight() * 72 + style.value_margin;
    if (header)
        height += model.headerHeight() * 72 + style.header_margin;
    if (footer)
        height += model.footerHeight() * 72 + style.footer_margin;
    model.setHeight(height + 2 * style.TB_margin);
    model.calculateWidth();
}

InkBox Ink_In(const QImage& image, const QRect& area)
{
    InkBox box;
    const QRect r = area.intersected(image.rect());
    for (int y = r.top(); y <= r.bottom(); ++y)
        for (int x = r.left(); x <= r.right(); ++x)
            if (qGray(image.pixel(x, y)) < 128) {
                if (box.top < 0 || y < box.top)
                    box.top = y;
                box.bottom = qMax(box.bottom, y);
                if (box.left < 0 || x < box.left)
                    box.left = x;
                box.right = qMax(box.right, x);
            }
    return box;
}
