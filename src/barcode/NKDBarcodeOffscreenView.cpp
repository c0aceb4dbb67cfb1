#include "barcode/NKDBarcodeOffscreenView.h"

#include "barcode/BarcodeText.h"
#include "barcode/NKDBarcode.h"

#include <QBuffer>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>
#include <algorithm>
#include <cmath>

namespace {
// The one conversion between the picture's coordinates (origin at the bottom
// left, y up, points) and the painter's (origin at the top left, y down).
struct UpCanvas {
    QPainter& painter;
    qreal viewHeight;

    QRectF toPainter(qreal x, qreal y, qreal w, qreal h) const
    {
        return QRectF(x, viewHeight - y - h, w, h);
    }
    void fill(qreal x, qreal y, qreal w, qreal h, const QColor& color)
    {
        painter.fillRect(toPainter(x, y, w, h), color);
    }
    // Many rectangles of one colour in one drawing call.
    void fillAll(const QList<QRectF>& rects, const QColor& color)
    {
        if (rects.isEmpty())
            return;
        QList<QRectF> converted;
        converted.reserve(rects.size());
        for (const QRectF& r : rects)
            converted.append(toPainter(r.x(), r.y(), r.width(), r.height()));
        painter.save();
        painter.setPen(Qt::NoPen);
        painter.setBrush(color);
        painter.drawRects(converted);
        painter.restore();
    }
    // A text whose box has its bottom-left corner at (x, y). Glyphs are drawn
    // upright: only the box moves, the outlines are never flipped.
    void textAt(const BarcodeTextBlock& block, qreal x, qreal y, const QColor& color)
    {
        const QRectF box = toPainter(x, y, block.width, block.height);
        painter.save();
        painter.setRenderHint(QPainter::Antialiasing, true);
        painter.fillPath(block.outline.translated(box.topLeft()), color);
        painter.restore();
    }
    // A text laid out across the full view width in a rectangle at y.
    void textInRect(const BarcodeTextBlock& block, qreal y, qreal viewWidth, const QString& alignment,
                    const QColor& color)
    {
        qreal x = 0; // the default paragraph alignment: left
        if (alignment == QLatin1String("Center"))
            x = (viewWidth - block.width) / 2.0;
        else if (alignment == QLatin1String("Right"))
            x = viewWidth - block.width;
        textAt(block, x, y, color);
    }
    void image(const QImage& image, qreal x, qreal y, const QSizeF& size)
    {
        painter.drawImage(toPainter(x, y, size.width(), size.height()), image);
    }
};

const QChar Tab = QLatin1Char('\t');
}

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

void NKDBarcodeOffscreenView::drawRect(QPainter& painter) const
{
    painter.save();
    painter.setClipRect(bounds(), Qt::IntersectClip);
    painter.setRenderHint(QPainter::Antialiasing, false);
    painter.setRenderHint(QPainter::SmoothPixmapTransform, false);
    if (_fromImageOrBarcode)
        draw2D(painter);
    else
        draw1D(painter);
    painter.restore();
}

void NKDBarcodeOffscreenView::draw1D(QPainter& painter) const
{
    const BarcodeStyle& s = style();
    const qreal Wv = _frame.width(), Hv = _frame.height();
    UpCanvas canvas{painter, Hv};
    canvas.fill(0, 0, Wv, Hv, s.barcode_back_clr_val);
    if (!_barcode)
        return;
    const NKDBarcode& m = *_barcode;

    const QString modules = m.completeBarcode();
    const qsizetype n = modules.size();
    const qreal w = m.barWidth(), W = m.width();
    const qreal Ch = m.printsCaption() ? m.captionHeight() * 72.0 : 0;
    const qreal Hh = m.printsHeader() ? m.headerHeight() * 72.0 : 0;
    const qreal Fh = m.printsFooter() ? m.footerHeight() * 72.0 : 0;
    const qreal mV = s.value_margin, mF = s.footer_margin, mLR = s.LR_margin, mTB = s.TB_margin;
    const bool valueOnTop = s.show_val_on_top != 0;

    // Bars, centred in the view.
    qreal x = (Wv - n * w) / 2.0;
    const qreal yb = mTB + Fh + mF + (valueOnTop ? 0 : Ch + mV);
    qreal hLast = 0;
    int run = 0;
    QList<QRectF> bars; // y up
    const bool ownBottoms = m.barsHaveOwnBottoms();
    // The bar of the run that ends at a module index.
    auto addBar = [&](qsizetype last) {
        hLast = m.barTop(int(last));
        const qreal bottom = ownBottoms ? m.barBottom(int(last)) : 0;
        bars.append(QRectF(x, yb + bottom, run * w, hLast - bottom));
    };
    for (qsizetype i = 0; i < n; ++i) {
        if (modules[i] == QLatin1Char('1')) {
            ++run;
            if (i == n - 1)
                addBar(i);
            continue;
        }
        if (run > 0)
            addBar(i - 1);
        x += w * (run + 1);
        run = 0;
    }
    canvas.fillAll(bars, s.barcode_clr_val);

    if (m.printsCaption()) {
        const QFont& font = s.value_font_val;
        const QColor& color = s.barcode_val_clr_val;
        const qreal yc = mTB + Fh + mF + (valueOnTop ? hLast + mV : 0);
        const QString left = m.leftCaption(), middle = m.caption(), right = m.rightCaption();
        if (!left.isEmpty())
            canvas.textAt(Barcode_Text_Block(left, font), m.firstBar() * 0.25 + mLR, yc + 3.0, color);
        if (!middle.isEmpty()) {
            const QStringList pieces = middle.split(Tab);
            const qsizetype N = pieces.size();
            if (left.isEmpty() && N == 1) {
                const qreal t = Barcode_Text_Width(middle, font);
                const qreal kern = s.kerning_value_state == 1 ? (W - t) / middle.size() : 2.0;
                canvas.textInRect(Barcode_Text_Block(middle, font, kern), yc, Wv,
                                  QStringLiteral("Center"), color);
            } else {
                const qreal I = m.initiator().size(), first = m.firstBar();
                const qreal P = N == 1 ? W / N - 2 * I * w - 2 * first : W / N - I * w - first;
                for (qsizetype i = 0; i < N; ++i) {
                    const QString& piece = pieces[i];
                    if (piece.isEmpty())
                        continue;
                    const qreal t = Barcode_Text_Width(piece, font);
                    const qreal k = (P - t) / (2.0 * piece.size());
                    canvas.textAt(Barcode_Text_Block(piece, font, 1.3 * k),
                                  3.0 * k + first + (i + 1) * I * w + i * P + mLR, yc, color);
                }
            }
        }
        if (!right.isEmpty()) {
            // One module right of the last bar, and never past the picture's edge.
            const BarcodeTextBlock block = Barcode_Text_Block(right, font);
            const qreal barsEnd = (Wv + n * w) / 2.0;
            const qreal xr = std::max(0.0, std::min(barsEnd + w, Wv - block.width - 1.0));
            canvas.textAt(block, xr, yc + 3.0, color);
        }
    }
    if (m.printsHeader())
        canvas.textInRect(Barcode_Text_Block(m.header(), s.header_font_val, 2.0), Hv - Hh - mTB, Wv,
                          s.align_hdr_text(), s.barcode_hdr_clr_val);
    if (m.printsFooter())
        canvas.textInRect(Barcode_Text_Block(m.footer(), s.footer_font_val, 2.0), mTB, Wv,
                          s.align_ftr_text(), s.barcode_ftr_clr_val);
}

void NKDBarcodeOffscreenView::draw2D(QPainter& painter) const
{
    const BarcodeStyle& s = style();
    const qreal Wv = _frame.width(), Hv = _frame.height();
    UpCanvas canvas{painter, Hv};
    canvas.fill(0, 0, Wv, Hv, Qt::white);
    const QSizeF size = Barcode_Image_Size_Points(_image_2d);
    qreal top = Hv - s.TB_margin;
    if (s.printsHeader) {
        const qreal Hh = s.headerHeight * 72.0;
        top = Hv - Hh - s.TB_margin;
        canvas.textInRect(Barcode_Text_Block(s.header, s.header_font_val, 2.0), top, Wv,
                          s.align_hdr_text(), s.barcode_hdr_clr_val);
    }
    if (!_image_2d.isNull())
        canvas.image(_image_2d, (s.width - size.width()) / 2.0, top - s.header_margin - size.height(),
                     size);
    if (s.printsFooter)
        canvas.textInRect(Barcode_Text_Block(s.footer, s.footer_font_val, 2.0), s.TB_margin, Wv,
                          s.align_ftr_text(), s.barcode_ftr_clr_val);
}

QPicture NKDBarcodeOffscreenView::picture() const
{
    QPicture picture;
    QPainter painter(&picture);
    drawRect(painter);
    painter.end();
    picture.setBoundingRect(QRect(0, 0, int(std::ceil(_frame.width())), int(std::ceil(_frame.height()))));
    return picture;
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
