#include "barcode/BarcodeText.h"

#include <QFontMetricsF>
#include <QGlyphRun>
#include <QHash>
#include <QImage>
#include <QRawFont>
#include <QTextLayout>
#include <memory>
#include <vector>

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

struct Glyph_Entry {
    quint32 index = 0; // 0: the font has no glyph for the character
    qreal advance = 0;
    QPainterPath outline;
    quint64 key = 0; // names the outline for pixel caches
    bool outlineMade = false;
};

// What a thread knows of one font. Extracting outlines is slow (the font's
// instructions run each time), so each is made once.
struct Font_Table {
    QFont font; // as the caller gave it
    QRawFont raw;
    qreal ascent = 0, height = 0, capHeight = 0;
    Glyph_Entry latin[256];   // the first 256 characters, looked up directly
    bool latinMade[256] = {};
    QHash<char16_t, Glyph_Entry> glyphs; // the others

    Glyph_Entry& glyph(char16_t c)
    {
        if (c < 256) {
            if (!latinMade[c]) {
                latin[c] = lookUp(c);
                latinMade[c] = true;
            }
            return latin[c];
        }
        auto it = glyphs.find(c);
        if (it != glyphs.end())
            return *it;
        return *glyphs.insert(c, lookUp(c));
    }
    // The entry of a character the font shows by itself (no fallback font,
    // no shaping across characters needed); none otherwise.
    Glyph_Entry* simpleGlyph(QChar c)
    {
        if (c.unicode() >= 0x0300)
            return nullptr;
        Glyph_Entry& entry = glyph(c.unicode());
        return entry.index != 0 ? &entry : nullptr;
    }
    Glyph_Entry lookUp(char16_t c) const
    {
        Glyph_Entry entry;
        const QChar ch(c);
        quint32 index = 0;
        int count = 1;
        if (!ch.isSurrogate() && raw.isValid() && raw.glyphIndexesForChars(&ch, 1, &index, &count) && count == 1) {
            entry.index = index;
            QPointF advance;
            if (index != 0 && raw.advancesForGlyphIndexes(&index, &advance, 1, QRawFont::UseDesignMetrics))
                entry.advance = advance.x();
        }
        return entry;
    }
    const QPainterPath& outline(Glyph_Entry& entry)
    {
        if (!entry.outlineMade) {
            entry.outline = raw.pathForGlyph(entry.index);
            entry.key = New_Barcode_Glyph_Key();
            entry.outlineMade = true;
        }
        return entry.outline;
    }
};

Font_Table& fontTable(const QFont& font)
{
    thread_local std::vector<std::unique_ptr<Font_Table>> tables;
    // A symbol's texts mostly come one after the other in one font.
    thread_local Font_Table* last = nullptr;
    if (last && last->font == font)
        return *last;
    for (auto& t : tables)
        if (t->font == font)
            return *(last = t.get());
    if (tables.size() > 64) {
        last = nullptr;
        tables.clear();
    }
    auto table = std::make_unique<Font_Table>();
    table->font = font;
    const QFont scaled = pointFont(font, 0);
    table->raw = QRawFont::fromFont(scaled);
    const QFontMetricsF metrics(scaled);
    table->capHeight = metrics.capHeight();
    if (table->raw.isValid()) {
        table->ascent = table->raw.ascent();
        table->height = table->raw.ascent() + table->raw.descent();
    } else {
        table->ascent = metrics.ascent();
        table->height = metrics.ascent() + metrics.descent();
    }
    tables.push_back(std::move(table));
    return *(last = tables.back().get());
}

// Texts the font alone cannot show go through Qt's full layout (fallback fonts, shaping).
BarcodeTextBlock layoutBlock(QStringView text, const QFont& font, qreal kern)
{
    BarcodeTextBlock block;
    block.text = text.toString();
    QTextLayout layout(block.text, pointFont(font, kern));
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
        const auto indexes = run.glyphIndexes();
        const auto positions = run.positions();
        for (qsizetype i = 0; i < indexes.size(); ++i)
            block.glyphs.append({raw.pathForGlyph(indexes[i]), positions[i]});
    }
    return block;
}
}

qreal Barcode_Cap_Height(const QFont& font)
{
    return fontTable(font).capHeight;
}

float Barcode_Band_Height(const QFont& font)
{
    const qreal cap = Barcode_Cap_Height(font);
    return float(cap / 72.0 + 0.35 * cap / 72.0);
}

BarcodeTextBlock Barcode_Text_Block(QStringView text, const QFont& font, qreal kern)
{
    Font_Table& table = fontTable(font);
    BarcodeTextBlock block;
    block.glyphs.resize(text.size());
    Barcode_Art_Glyph* glyph = block.glyphs.data();
    qreal x = 0;
    for (QChar c : text) {
        Glyph_Entry* entry = table.simpleGlyph(c);
        if (!entry)
            return layoutBlock(text, font, kern);
        glyph->outline = table.outline(*entry);
        glyph->key = entry->key;
        glyph->at = QPointF(x, table.ascent);
        ++glyph;
        x += entry->advance + kern;
    }
    block.text = text.toString();
    block.height = table.height;
    block.width = x;
    return block;
}

qreal Barcode_Text_Width(QStringView text, const QFont& font)
{
    Font_Table& table = fontTable(font);
    qreal x = 0;
    for (QChar c : text) {
        const Glyph_Entry* entry = table.simpleGlyph(c);
        if (!entry)
            return layoutBlock(text, font, 0).width;
        x += entry->advance;
    }
    return x;
}
