#include "barcode/LinearLayout.h"

#include "barcode/BarcodeDispatch.h"
#include "barcode/NKDBarcode.h"

#include <QVarLengthArray>
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

// One piece of the caption: its text block, where its box starts (x) and
// how far its ink reaches (the block's advance without the kern after its
// last character).
struct Caption_Piece {
    BarcodeTextBlock block;
    qreal x = 0;
    qreal ink = 0;
    qreal raise = 0; // the left and right pieces stand a little higher
};
// A caption has a few pieces: they are kept where they are made.
using Caption_Pieces = QVarLengthArray<Caption_Piece, 8>;

Caption_Piece captionPiece(QStringView text, const QFont& font, qreal kern, qreal raise = 0)
{
    Caption_Piece piece;
    piece.block = Barcode_Text_Block(text, font, kern);
    piece.ink = piece.block.width - (text.isEmpty() ? 0 : kern);
    piece.block.width = piece.ink; // the kern after the last character takes no room
    piece.raise = raise;
    return piece;
}

// Moves the pieces (in reading order) as little as needed so that each
// starts at least gap after the ink of the one before and all lie within
// 0 to width; the caller has made sure they fit.
void separate(Caption_Pieces& pieces, qreal gap, qreal width)
{
    for (qsizetype i = 0; i < pieces.size(); ++i)
        pieces[i].x = std::max(pieces[i].x, i == 0 ? 0.0 : pieces[i - 1].x + pieces[i - 1].ink + gap);
    for (qsizetype i = pieces.size() - 1; i >= 0; --i)
        pieces[i].x = std::min(pieces[i].x, (i + 1 == pieces.size() ? width : pieces[i + 1].x - gap) - pieces[i].ink);
}

// The caption pieces of a model at their places: the left piece just before
// the bars, the right piece just after them, the middle pieces (split at
// tabs) each centred in its share of the bars between the start and stop
// patterns, a single middle piece centred under the bars. Pieces never
// overlap and stay within the picture: where their places would make them
// touch they move apart; where they cannot all fit they lose their extra
// spacing and then, if need be, are set in a smaller size.
void placeCaption(Placer& place, const NKDBarcode& m, const BarcodeStyle& s, qreal yc, qreal barsLeft,
                  qreal barsRight)
{
    const qreal w = m.barWidth(), W = m.width(), Wv = place.layout.size.width();
    const QString left = m.leftCaption().trimmed(), right = m.rightCaption().trimmed();
    const QString middle = m.caption();
    QVarLengthArray<QStringView, 8> middlePieces;
    if (!middle.isEmpty())
        for (QStringView piece : QStringView(middle).tokenize(Tab))
            middlePieces.append(piece);
    const bool single = left.isEmpty() && middlePieces.size() == 1;
    const qreal I = m.initiator().size() * w, T = m.terminator().size() * w;
    const bool guarded = barsRight - T - (barsLeft + I) > 0;
    const qreal innerLeft = guarded ? barsLeft + I : barsLeft, innerRight = guarded ? barsRight - T : barsRight;
    QFont font = s.value_font_val;
    Caption_Pieces pieces;
    // Tightness 0: each piece with its own spacing; 1: no extra spacing; 2:
    // no extra spacing and a font small enough for all to fit.
    qreal gap = 0; // between pieces: a space of the font, or a module if that is wider
    for (int tightness = 0; tightness < 3; ++tightness) {
        pieces.clear();
        gap = std::max<qreal>(w, Barcode_Text_Width(u" ", font));
        if (!left.isEmpty())
            pieces.append(captionPiece(left, font, 0, 3.0));
        const qreal slot = middlePieces.isEmpty() ? 0 : (innerRight - innerLeft) / middlePieces.size();
        for (qsizetype i = 0; i < middlePieces.size(); ++i) {
            const QStringView text = middlePieces[i].trimmed();
            if (text.isEmpty())
                continue;
            const qreal t = Barcode_Text_Width(text, font);
            // Spread over the symbol (wide kerning) or its share of the bars;
            // never squeezed, so no two characters meet.
            qreal kern = single ? (s.kerning_value_state == 1 ? (W - t) / text.size() : 2.0)
                                : 1.3 * (slot - t) / (2.0 * text.size());
            kern = tightness > 0 ? 0 : std::max<qreal>(kern, 0);
            Caption_Piece piece = captionPiece(text, font, kern);
            const qreal centre = single ? (barsLeft + barsRight) / 2.0 : innerLeft + (i + 0.5) * slot;
            piece.x = centre - piece.ink / 2.0;
            pieces.append(std::move(piece));
        }
        if (!right.isEmpty())
            pieces.append(captionPiece(right, font, 0, 3.0));
        if (pieces.isEmpty())
            return;
        if (!left.isEmpty())
            pieces.first().x = barsLeft - gap - pieces.first().ink;
        if (!right.isEmpty())
            pieces.last().x = barsRight + gap;
        qreal needed = (pieces.size() - 1) * gap;
        for (const Caption_Piece& piece : std::as_const(pieces))
            needed += piece.ink;
        if (needed <= Wv || tightness == 2)
            break;
        if (tightness == 1) {
            const qreal inks = needed - (pieces.size() - 1) * gap, room = Wv - (pieces.size() - 1) * gap;
            const qreal size = font.pointSizeF() > 0 ? font.pointSizeF() : qreal(font.pixelSize());
            font.setPointSizeF(size * 0.98 * std::max<qreal>(room, 0.01 * inks) / inks);
        }
    }
    separate(pieces, gap, Wv);
    for (Caption_Piece& piece : pieces)
        place.textAt(std::move(piece.block), piece.x, yc + piece.raise, s.barcode_val_clr_val);
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
    const qreal w = m.barWidth();
    const qreal mV = s.value_margin, mF = s.footer_margin, mTB = s.TB_margin;
    const bool valueOnTop = s.show_val_on_top != 0;

    // Bars, centred in the picture.
    layout.modulesLeft = (Wv - n * w) / 2.0;
    qreal x = layout.modulesLeft;
    const qreal yb = mTB + Fh + mF + (valueOnTop ? 0 : Ch + mV);
    qreal hLast = 0;
    const bool ownBottoms = m.barsHaveOwnBottoms(), ownTops = m.barsHaveOwnTops();
    const qreal commonTop = ownTops ? 0 : m.barTop(0);
    // The bars are gathered where they are made, then kept in the layout.
    QVarLengthArray<QRectF, 128> bars;
    QVarLengthArray<Barcode_Art_Run, 128> runs;
    const QChar* module = modules.constData();
    const QChar Dark = QLatin1Char('1');
    for (qsizetype i = 0; i < n;) {
        if (module[i] != Dark) {
            x += w;
            ++i;
            continue;
        }
        // A bar: the run of dark modules from i up to the next light one.
        const qsizetype first = i;
        while (i < n && module[i] == Dark)
            ++i;
        const int run = int(i - first);
        const qsizetype last = i - 1;
        hLast = ownTops ? m.barTop(int(last)) : commonTop;
        const qreal bottom = ownBottoms ? m.barBottom(int(last)) : 0;
        const qreal h = hLast - bottom;
        bars.append(QRectF(x, Hv - (yb + bottom) - h, run * w, h));
        runs.append({int(first), run});
        // The bar and the light module after it.
        x += w * (run + 1);
        ++i;
    }
    layout.bars = QList<QRectF>(bars.cbegin(), bars.cend());
    layout.runs = QList<Barcode_Art_Run>(runs.cbegin(), runs.cend());

    if (m.printsCaption()) {
        const qreal yc = mTB + Fh + mF + (valueOnTop ? hLast + mV : 0);
        const qreal barsLeft = (Wv - n * w) / 2.0;
        placeCaption(place, m, s, yc, barsLeft, barsLeft + n * w);
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
