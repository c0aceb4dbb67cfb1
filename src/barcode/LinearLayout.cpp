#include "barcode/LinearLayout.h"

#include "barcode/BarcodeDispatch.h"
#include "barcode/NKDBarcode.h"

#include <algorithm>

namespace {
const QChar Tab = QLatin1Char('\t');

// Boxes are placed in the picture's own coordinates (origin at the bottom
// left, y up) and turned into y-down ones here, in one place.
struct Placer {
    Linear_Layout& layout;
    qreal viewHeight;

    // A text whose box has its bottom-left corner at (x, y).
    void textAt(BarcodeTextBlock block, qreal x, qreal y, const QColor& color)
    {
        const QPointF topLeft(x, viewHeight - y - block.height);
        if (topLeft.x() < 0 || topLeft.y() < 0 || topLeft.x() + block.width > layout.size.width() ||
            topLeft.y() + block.height > layout.size.height())
            layout.overflows = true;
        layout.texts.append({std::move(block), topLeft, color});
    }
    // A text aligned across the full picture width, its box's bottom at y.
    void textInRect(BarcodeTextBlock block, qreal y, const QString& alignment, const QColor& color)
    {
        qreal x = 0; // the default paragraph alignment: left
        if (alignment == QLatin1String("Center"))
            x = (layout.size.width() - block.width) / 2.0;
        else if (alignment == QLatin1String("Right"))
            x = layout.size.width() - block.width;
        textAt(std::move(block), x, y, color);
    }
};
}

Linear_Layout Layout_Linear_Barcode(const NKDBarcode& m, const BarcodeStyle* style, Linear_Detail detail)
{
    const BarcodeStyle& s = style ? *style : m.style();
    Linear_Layout layout;
    const double Ch = m.printsCaption() ? double(m.captionHeight()) * 72.0 : 0;
    const double Hh = m.printsHeader() ? double(m.headerHeight()) * 72.0 : 0;
    const double Fh = m.printsFooter() ? double(m.footerHeight()) * 72.0 : 0;
    double bands = 2.0 * s.TB_margin;
    if (m.printsCaption())
        bands += Ch + s.value_margin;
    if (m.printsHeader())
        bands += Hh + s.header_margin;
    if (m.printsFooter())
        bands += Fh + s.footer_margin;
    layout.bands = float(bands);
    if (detail == Linear_Detail::Bands)
        return layout;

    float frameWidth = m.width();
    if (m.printsHeader())
        frameWidth = qMax(frameWidth, m.headerWidth());
    if (m.printsFooter())
        frameWidth = qMax(frameWidth, m.footerWidth());
    layout.size = QSizeF(frameWidth, m.drawingHeight());
    const qreal Wv = layout.size.width(), Hv = layout.size.height();
    Placer place{layout, Hv};
    layout.texts.reserve(4); // caption pieces, header and footer

    const QString& modules = m.completeBarcode();
    const qsizetype n = modules.size();
    const qreal w = m.barWidth(), W = m.width();
    const qreal mV = s.value_margin, mF = s.footer_margin, mLR = s.LR_margin, mTB = s.TB_margin;
    const bool valueOnTop = s.show_val_on_top != 0;

    // Bars, centred in the picture.
    layout.modulesLeft = (Wv - n * w) / 2.0;
    qreal x = layout.modulesLeft;
    const qreal yb = mTB + Fh + mF + (valueOnTop ? 0 : Ch + mV);
    qreal hLast = 0;
    int run = 0;
    const bool ownBottoms = m.barsHaveOwnBottoms(), ownTops = m.barsHaveOwnTops();
    const qreal commonTop = ownTops ? 0 : m.barTop(0);
    // At most one bar for every two modules, written in place.
    layout.bars.resize(n / 2 + 1);
    layout.runs.resize(n / 2 + 1);
    QRectF* bar = layout.bars.data();
    Barcode_Art_Run* modulesOf = layout.runs.data();
    const QChar* module = modules.constData();
    for (qsizetype i = 0; i < n; ++i) {
        const bool dark = module[i] == QLatin1Char('1');
        if (dark) {
            ++run;
            if (i != n - 1)
                continue;
        } else if (run == 0) {
            x += w; // w * (run + 1), as after a bar
            continue;
        }
        // The bar of the run that ends here.
        const qsizetype last = dark ? i : i - 1;
        hLast = ownTops ? m.barTop(int(last)) : commonTop;
        const qreal bottom = ownBottoms ? m.barBottom(int(last)) : 0;
        const qreal h = hLast - bottom;
        *bar++ = QRectF(x, Hv - (yb + bottom) - h, run * w, h);
        *modulesOf++ = {int(last) + 1 - run, run};
        if (!dark) {
            x += w * (run + 1);
            run = 0;
        }
    }
    layout.bars.resize(bar - layout.bars.constData());
    layout.runs.resize(modulesOf - layout.runs.constData());

    if (m.printsCaption()) {
        const QFont& font = s.value_font_val;
        const QColor& color = s.barcode_val_clr_val;
        const qreal yc = mTB + Fh + mF + (valueOnTop ? hLast + mV : 0);
        const QString left = m.leftCaption(), middle = m.caption(), right = m.rightCaption();
        if (!left.isEmpty())
            place.textAt(Barcode_Text_Block(left, font), m.firstBar() * 0.25 + mLR, yc + 3.0, color);
        if (!middle.isEmpty()) {
            const qsizetype N = middle.count(Tab) + 1;
            if (left.isEmpty() && N == 1) {
                const qreal t = Barcode_Text_Width(middle, font);
                const qreal kern = s.kerning_value_state == 1 ? (W - t) / middle.size() : 2.0;
                place.textInRect(Barcode_Text_Block(middle, font, kern), yc, QStringLiteral("Center"), color);
            } else {
                const qreal I = m.initiator().size(), first = m.firstBar();
                const qreal P = N == 1 ? W / N - 2 * I * w - 2 * first : W / N - I * w - first;
                qsizetype i = 0;
                for (QStringView piece : QStringView(middle).tokenize(Tab)) {
                    if (!piece.isEmpty()) {
                        const qreal t = Barcode_Text_Width(piece, font);
                        const qreal k = (P - t) / (2.0 * piece.size());
                        place.textAt(Barcode_Text_Block(piece, font, 1.3 * k),
                                     3.0 * k + first + (i + 1) * I * w + i * P + mLR, yc, color);
                    }
                    ++i;
                }
            }
        }
        if (!right.isEmpty()) {
            // One module right of the last bar, and never past the picture's edge.
            BarcodeTextBlock block = Barcode_Text_Block(right, font);
            const qreal barsEnd = (Wv + n * w) / 2.0;
            const qreal xr = std::max(0.0, std::min(barsEnd + w, Wv - block.width - 1.0));
            place.textAt(std::move(block), xr, yc + 3.0, color);
        }
    }
    if (m.printsHeader())
        place.textInRect(Barcode_Text_Block(m.header(), s.header_font_val, 2.0), Hv - Hh - mTB,
                         s.align_hdr_text(), s.barcode_hdr_clr_val);
    if (m.printsFooter())
        place.textInRect(Barcode_Text_Block(m.footer(), s.footer_font_val, 2.0), mTB, s.align_ftr_text(),
                         s.barcode_ftr_clr_val);
    return layout;
}

Barcode_Art Linear_Barcode_Art(const NKDBarcode& model, const BarcodeStyle* style)
{
    const BarcodeStyle& s = style ? *style : model.style();
    Linear_Layout layout = Layout_Linear_Barcode(model, &s);
    Barcode_Art_Data art;
    art.size = layout.size;
    art.background = s.barcode_back_clr_val;
    art.bars = std::move(layout.bars);
    art.runs = std::move(layout.runs);
    art.moduleLeft = layout.modulesLeft;
    art.moduleWidth = model.barWidth();
    art.moduleCount = int(model.completeBarcode().size());
    art.barColor = s.barcode_clr_val;
    art.type = Barcode_Type_Title(s.barcode_font_index);
    art.value = model.content();
    art.clip = layout.overflows;
    art.texts.reserve(layout.texts.size());
    for (Linear_Text_Box& box : layout.texts) {
        Barcode_Art_Text text;
        text.color = box.color;
        text.glyphs = std::move(box.block.glyphs);
        for (Barcode_Art_Glyph& glyph : text.glyphs)
            glyph.at += box.topLeft;
        art.texts.append(std::move(text));
    }
    for (const QRectF& bar : std::as_const(art.bars))
        if (bar.left() < 0 || bar.top() < 0 || bar.right() > art.size.width() || bar.bottom() > art.size.height())
            art.clip = true;
    return Barcode_Art(std::move(art));
}
