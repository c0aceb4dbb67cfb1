#include "barcode/BarcodeText.h"

#include <QFontMetricsF>
#include <QHash>
#include <QGlyphRun>
#include <QImage>
#include <QRawFont>
#include <QTextLayout>

namespace {
// Font sizes resolve against the default resolution; a font scaled by
// 72 / that resolution has one unit per point.
qreal defaultDpi()
{
    static const qreal dpi = [] {
        const int value = QImage(1, 1, QImage::Format_Mono).logicalDpiY();
        return value > 0 ? qreal(value) : 72.0;
    }();
    return dpi;
}

QFont pointFont(const QFont& font, qreal kern)
{
    QFont scaled(font);
    const qreal size = font.pointSizeF() > 0 ? font.pointSizeF() : qreal(font.pixelSize());
    scaled.setPointSizeF(qMax<qreal>(size, 0.01) * 72.0 / defaultDpi());
    scaled.setLetterSpacing(QFont::AbsoluteSpacing, kern);
    scaled.setKerning(true);
    scaled.setHintingPreference(QFont::PreferNoHinting); // true outlines, the same at any scale
    return scaled;
}

// Glyph outlines are slow to extract (the font's instructions run each
// time); each thread keeps the ones it has made.
QPainterPath glyphOutline(const QRawFont& font, quint32 glyph)
{
    thread_local QHash<QString, QPainterPath> cache;
    const QString key = QStringLiteral("%1|%2|%3|%4").arg(font.familyName(), font.styleName())
                            .arg(font.pixelSize()).arg(glyph);
    const auto found = cache.constFind(key);
    if (found != cache.constEnd())
        return *found;
    if (cache.size() > 20000)
        cache.clear();
    const QPainterPath outline = font.pathForGlyph(glyph);
    cache.insert(key, outline);
    return outline;
}
}

qreal Barcode_Cap_Height(const QFont& font)
{
    return QFontMetricsF(pointFont(font, 0)).capHeight();
}

BarcodeTextBlock Barcode_Text_Block(const QString& text, const QFont& font, qreal kern)
{
    BarcodeTextBlock block;
    QTextLayout layout(text, pointFont(font, kern));
    QTextOption option;
    option.setWrapMode(QTextOption::NoWrap);
    layout.setTextOption(option);
    layout.beginLayout();
    QTextLine line = layout.createLine();
    if (!line.isValid()) {
        layout.endLayout();
        return block;
    }
    line.setLineWidth(1e7);
    line.setPosition(QPointF(0, 0));
    layout.endLayout();
    block.width = line.naturalTextWidth();
    block.height = line.height();
    for (const QGlyphRun& run : layout.glyphRuns()) {
        const QRawFont raw = run.rawFont();
        const auto glyphs = run.glyphIndexes();
        const auto positions = run.positions();
        for (qsizetype i = 0; i < glyphs.size(); ++i) {
            QPainterPath glyph = glyphOutline(raw, glyphs[i]);
            glyph.translate(positions[i]);
            block.outline.addPath(glyph);
        }
    }
    block.outline.setFillRule(Qt::WindingFill);
    return block;
}
