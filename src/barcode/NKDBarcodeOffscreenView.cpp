#include "barcode/NKDBarcodeOffscreenView.h"

#include "barcode/BarcodeDispatch.h"
#include "barcode/BarcodeText.h"
#include "barcode/LinearLayout.h"
#include "barcode/NKDBarcode.h"

#include <QBuffer>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>
#include <algorithm>
#include <cmath>

QSizeF Barcode_Image_Size_Points(const QImage& image)
{
    if (image.isNull())
        return QSizeF(0, 0);
    const qreal dpmX = image.dotsPerMeterX(), dpmY = image.dotsPerMeterY();
    if (dpmX <= 0 || dpmY <= 0)
        return QSizeF(image.size());
    return QSizeF(image.width() * 72.0 / (dpmX * 0.0254), image.height() * 72.0 / (dpmY * 0.0254));
}

NKDBarcodeOffscreenView NKDBarcodeOffscreenView::initWithBarcode(const NKDBarcode* barcode,
                                                                 const BarcodeStyle* style)
{
    NKDBarcodeOffscreenView view;
    view.setBarcode(barcode);
    view._style = style ? style : (barcode ? barcode->styleRecord() : nullptr);
    if (barcode) {
        float width = barcode->width();
        if (barcode->printsHeader())
            width = qMax(width, barcode->headerWidth());
        if (barcode->printsFooter())
            width = qMax(width, barcode->footerWidth());
        view._frame = QRectF(0, 0, width, barcode->drawingHeight());
    }
    return view;
}

NKDBarcodeOffscreenView NKDBarcodeOffscreenView::initWithBarcodeImage(const QImage& image,
                                                                      const BarcodeStyle* style)
{
    NKDBarcodeOffscreenView view;
    view._fromImageOrBarcode = true;
    view._style = style;
    const BarcodeStyle& s = view.style();
    view._frame = QRectF(0, 0, s.width, s.height);
    view.setBarcode_Image_2D(image);
    return view;
}

Barcode_Art NKDBarcodeOffscreenView::art() const
{
    const BarcodeStyle& s = style();
    if (_fromImageOrBarcode) {
        const QSizeF size = Barcode_Image_Size_Points(_image_2d);
        return Framed_2D_Art(_image_2d, QRectF(QPointF(0, 0), size), size, s);
    }
    if (_barcode)
        return Linear_Barcode_Art(*_barcode, &s);
    Barcode_Art_Data empty;
    empty.size = _frame.size();
    empty.background = s.barcode_back_clr_val;
    return Barcode_Art(std::move(empty));
}

void NKDBarcodeOffscreenView::drawRect(QPainter& painter) const
{
    painter.save();
    painter.setClipRect(bounds(), Qt::IntersectClip);
    art().draw(painter);
    painter.restore();
}

QPicture NKDBarcodeOffscreenView::picture() const
{
    return art().picture();
}

Barcode_Art Framed_2D_Art(const QImage& modules, const QRectF& area, const QSizeF& symbolSize,
                          const BarcodeStyle& s)
{
    Barcode_Art_Data art;
    art.size = QSizeF(s.width, s.height);
    art.background = Qt::white;
    const qreal Wv = art.size.width(), Hv = art.size.height();
    // Placed from the bottom left, y up, and turned into y-down boxes here.
    auto textAt = [&](const QString& text, const QFont& font, const QString& alignment, qreal y,
                      const QColor& color) {
        BarcodeTextBlock block = Barcode_Text_Block(text, font, 2.0);
        qreal x = 0;
        if (alignment == QLatin1String("Center"))
            x = (Wv - block.width) / 2.0;
        else if (alignment == QLatin1String("Right"))
            x = Wv - block.width;
        const QPointF topLeft(x, Hv - y - block.height);
        if (x < 0 || topLeft.y() < 0 || x + block.width > Wv || topLeft.y() + block.height > Hv)
            art.clip = true;
        Barcode_Art_Text drawn;
        drawn.color = color;
        drawn.glyphs = std::move(block.glyphs);
        for (Barcode_Art_Glyph& glyph : drawn.glyphs)
            glyph.at += topLeft;
        art.texts.append(std::move(drawn));
    };
    qreal top = Hv - s.TB_margin;
    if (s.printsHeader) {
        top = Hv - s.headerHeight * 72.0 - s.TB_margin;
        textAt(s.header, s.header_font_val, s.align_hdr_text(), top, s.barcode_hdr_clr_val);
    }
    if (!modules.isNull()) {
        // The symbol's box, centred, its top header_margin below the header band.
        const QPointF box((s.width - symbolSize.width()) / 2.0,
                          Hv - (top - s.header_margin - symbolSize.height()) - symbolSize.height());
        art.grid = modules;
        art.gridArea = area.translated(box);
        // Laid out in whole pixels, the symbol may take the picture's width
        // and the height between header and footer.
        const qreal roomTop = s.printsHeader ? s.TB_margin + s.headerHeight * 72.0 : 0;
        const qreal roomBottom = s.printsFooter ? Hv - s.TB_margin - s.footerHeight * 72.0 : Hv;
        art.gridRoom = QRectF(0, roomTop, Wv, roomBottom - roomTop);
        art.type = Barcode_Type_Title(s.barcode_font_index);
        art.value = s.content;
        if (box.x() < 0 || box.y() < 0 || box.x() + symbolSize.width() > Wv || box.y() + symbolSize.height() > Hv)
            art.clip = true;
    }
    if (s.printsFooter)
        textAt(s.footer, s.footer_font_val, s.align_ftr_text(), s.TB_margin, s.barcode_ftr_clr_val);
    return Barcode_Art(std::move(art));
}

QByteArray NKDBarcodeOffscreenView::dataWithPDFInsideRect(const QRectF& rect) const
{
    if (rect.width() <= 0 || rect.height() <= 0)
        return QByteArray();
    QByteArray data;
    QBuffer buffer(&data);
    buffer.open(QIODevice::WriteOnly);
    {
        QPdfWriter writer(&buffer);
        // PDF pages here are whole points: round up so nothing is cut off.
        const QSizeF page(std::ceil(rect.width()), std::ceil(rect.height()));
        writer.setPageSize(QPageSize(page, QPageSize::Point, QString(), QPageSize::ExactMatch));
        writer.setPageMargins(QMarginsF(0, 0, 0, 0), QPageLayout::Point);
        QPainter painter;
        if (!painter.begin(&writer))
            return QByteArray();
        painter.scale(writer.resolution() / 72.0, writer.resolution() / 72.0);
        // The rectangle is in the view's coordinates (y up).
        painter.translate(-rect.x(), -(_frame.height() - rect.y() - rect.height()));
        drawRect(painter);
        painter.end();
    }
    buffer.close();
    return data;
}
