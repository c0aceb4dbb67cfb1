#include "model/Fonts.h"

#include <QFontMetricsF>
#include <QGlyphRun>
#include <QHash>
#include <QImage>
#include <QMutex>
#include <QPainter>
#include <QTextLayout>
#include <cmath>
#include <optional>

QFont Font_From_PostScript_Name(const QString& name, qreal pointSize)
{
    const qsizetype dash = name.indexOf('-');
    QString family = dash >= 0 ? name.left(dash) : name;
    QString style = dash >= 0 ? name.mid(dash + 1) : QString();
    for (const char* suffix : {"PSMT", "PS", "MT"}) {
        if (family.endsWith(QLatin1String(suffix)) && family.size() > int(qstrlen(suffix))) {
            family.chop(qstrlen(suffix));
            break;
        }
    }
    if (style.endsWith(QLatin1String("MT")))
        style.chop(2);
    // "TimesNewRoman" -> "Times New Roman"
    QString spaced;
    for (qsizetype i = 0; i < family.size(); ++i) {
        if (i > 0 && family[i].isUpper() && family[i - 1].isLower())
            spaced += ' ';
        spaced += family[i];
    }
    QFont font(spaced);
    font.setPointSizeF(pointSize);
    font.setBold(style.contains(QLatin1String("Bold")));
    font.setItalic(style.contains(QLatin1String("Italic")) || style.contains(QLatin1String("Oblique")));
    return font;
}

namespace {
// The font sized so that one point of text is one pixel of the device.
QFont Device_Font(const QFont& font, const QPaintDevice* device)
{
    QFont shown(font, device);
    if (device->logicalDpiY() > 0)
        shown.setPointSizeF(font.pointSizeF() * 72.0 / device->logicalDpiY());
    return shown;
}

// A character that leaves a mark (not a space, a line break or a format
// character), so a missing glyph for it shows.
bool Leaves_Ink(char32_t c)
{
    const QChar::Category category = QChar::category(c);
    return !QChar::isSpace(c) && category != QChar::Other_Control && category != QChar::Other_Format
        && category != QChar::Other_NotAssigned;
}

// Whether the font's own face has a glyph for every character that leaves
// a mark: a quick look-up in its character map, which spares a text the font
// draws whole the search of its fallbacks.
bool Face_Has_Every_Glyph(const QString& text, const QFontMetricsF& metrics)
{
    for (qsizetype i = 0; i < text.size(); ++i) {
        char32_t c = text.at(i).unicode();
        if (text.at(i).isHighSurrogate() && i + 1 < text.size())
            c = QChar::surrogateToUcs4(text.at(i), text.at(++i));
        if (c >= 0x80 ? Leaves_Ink(c) && !metrics.inFontUcs4(c) : c > 0x20 && c < 0x7F && !metrics.inFontUcs4(c))
            return false;
    }
    return true;
}

bool Has_Missing_Glyph(const QList<QGlyphRun>& runs)
{
    for (const QGlyphRun& run : runs)
        if (run.glyphIndexes().contains(0))
            return true;
    return false;
}

// The text on one unbroken line, laid out to ask for its glyphs.
struct One_Line {
    QTextLayout layout;
    One_Line(const QString& text, const QFont& font, QPaintDevice* device) : layout(text, font, device)
    {
        layout.beginLayout();
        for (QTextLine line = layout.createLine(); line.isValid(); line = layout.createLine()) {
        }
        layout.endLayout();
    }
};

bool Draws_Character(char32_t c, const QFont& font, QPaintDevice* device)
{
    return !Has_Missing_Glyph(One_Line(QString::fromUcs4(&c, 1), font, device).layout.glyphRuns());
}

// A face that has a glyph for the character: the font upright, then upright
// at normal weight (the font's own fallbacks are already known to lack it).
// Remembered per font and character, as texts are drawn at every repaint.
std::optional<QFont> Fallback_For(char32_t c, const QFont& font, QPaintDevice* device)
{
    static QMutex mutex;
    static QHash<QString, std::optional<QFont>> known;
    const QString key = font.key() + QLatin1Char('|') + QString::number(c);
    {
        const QMutexLocker lock(&mutex);
        if (const auto it = known.constFind(key); it != known.cend())
            return *it;
    }
    std::optional<QFont> found;
    QFont upright = font;
    upright.setItalic(false);
    QFont plain = upright;
    plain.setBold(false);
    for (const QFont& candidate : {upright, plain}) {
        if (Draws_Character(c, candidate, device)) {
            found = candidate;
            break;
        }
    }
    const QMutexLocker lock(&mutex);
    known.insert(key, found);
    return found;
}

// Each run of characters the font draws without a glyph, set in a face that
// has them; blanks between two such runs in one face join them. The
// characters that no face can draw are added to missing when asked for.
// The probe is the text laid out in the font alone.
QList<QTextLayout::FormatRange> Fallback_Formats(const QTextLayout& probe, QPaintDevice* device,
                                                 QString* missing = nullptr)
{
    const QString& text = probe.text();
    const QFont& font = probe.font();
    QList<QTextLayout::FormatRange> ranges;
    QList<QFont> faces; // the face of each range
    if (!Has_Missing_Glyph(probe.glyphRuns()))
        return ranges;
    for (qsizetype i = 0; i < text.size();) {
        const qsizetype length = text.at(i).isHighSurrogate() && i + 1 < text.size() ? 2 : 1;
        const char32_t c = length == 2 ? QChar::surrogateToUcs4(text.at(i), text.at(i + 1)) : text.at(i).unicode();
        if (Leaves_Ink(c) && Has_Missing_Glyph(probe.glyphRuns(int(i), int(length)))) {
            const std::optional<QFont> face = Fallback_For(c, font, device);
            if (!face) {
                if (missing)
                    *missing += text.mid(i, length);
            } else if (!ranges.isEmpty() && faces.last() == *face
                       && text.mid(ranges.last().start + ranges.last().length,
                                   i - ranges.last().start - ranges.last().length).trimmed().isEmpty()) {
                ranges.last().length = int(i + length - ranges.last().start);
            } else {
                QTextLayout::FormatRange range;
                range.start = int(i);
                range.length = int(length);
                range.format.setFont(*face);
                ranges << range;
                faces << *face;
            }
        }
        i += length;
    }
    return ranges;
}

// The text laid out in lines of the width (no width: unbroken lines), lines
// spaced as the painter spaces the lines of a wrapped text. Gives the height.
qreal Lay_Out(QTextLayout& layout, qreal width, Qt::Alignment alignment)
{
    QTextOption option(alignment & Qt::AlignHorizontal_Mask);
    option.setWrapMode(width > 0 ? QTextOption::WrapAtWordBoundaryOrAnywhere : QTextOption::NoWrap);
    layout.setTextOption(option);
    const qreal leading = QFontMetricsF(layout.font()).leading();
    qreal height = 0;
    layout.beginLayout();
    for (QTextLine line = layout.createLine(); line.isValid(); line = layout.createLine()) {
        if (width > 0)
            line.setLineWidth(width);
        height = std::ceil(height + leading);
        line.setPosition(QPointF(0, height));
        height += line.ascent() + line.descent();
    }
    layout.endLayout();
    return height;
}

// A card text ready to lay out on a device (a picture of one pixel when it
// is only measured): line breaks as the layout takes them, the font sized
// for the device.
struct Card_Text {
    QImage measuring;
    QPaintDevice* device;
    QTextLayout layout;
    Card_Text(const QString& text, const QFont& font, QPaintDevice* on)
        : measuring(on ? QImage() : QImage(1, 1, QImage::Format_ARGB32_Premultiplied)),
          device(on ? on : &measuring),
          layout(QString(text).replace(QLatin1Char('\n'), QChar::LineSeparator), Device_Font(font, device), device)
    {
    }
    // Lays the text out in the font; only when a character finds no glyph
    // there is it laid out again with the fallback faces, so a text the
    // font draws whole is shaped once. Gives the height.
    qreal layOut(qreal width, Qt::Alignment alignment)
    {
        const qreal height = Lay_Out(layout, width, alignment);
        if (Face_Has_Every_Glyph(layout.text(), QFontMetricsF(layout.font(), device)))
            return height;
        const QList<QTextLayout::FormatRange> fallbacks = Fallback_Formats(layout, device);
        if (fallbacks.isEmpty())
            return height;
        layout.setFormats(fallbacks);
        return Lay_Out(layout, width, alignment);
    }
};
}

qreal Card_Text_Height(const QString& text, const QFont& font, qreal width)
{
    Card_Text t(text, font, nullptr);
    return t.layOut(std::max<qreal>(width, 1), Qt::AlignLeft);
}

qreal Card_Text_Width(const QString& text, const QFont& font)
{
    Card_Text t(text, font, nullptr);
    t.layOut(0, Qt::AlignLeft);
    qreal widest = 0;
    for (int i = 0; i < t.layout.lineCount(); ++i)
        widest = std::max(widest, t.layout.lineAt(i).naturalTextWidth());
    return widest;
}

void Draw_Card_Text(QPainter& painter, const QRectF& box, const QString& text, const QFont& font,
                    Qt::Alignment alignment)
{
    Card_Text t(text, font, painter.device());
    t.layOut(std::max<qreal>(box.width(), 1), alignment);
    // Clipped only when it reaches past the box: a clip costs every device
    // a state change, a PDF page a clip path of its own.
    if (box.contains(t.layout.boundingRect().translated(box.topLeft()))) {
        t.layout.draw(&painter, box.topLeft());
        return;
    }
    painter.save();
    painter.setClipRect(box, Qt::IntersectClip);
    t.layout.draw(&painter, box.topLeft());
    painter.restore();
}

QString Card_Text_Missing_Characters(const QString& text, const QFont& font)
{
    QImage device(1, 1, QImage::Format_ARGB32_Premultiplied);
    QString missing;
    Fallback_Formats(One_Line(text, Device_Font(font, &device), &device).layout, &device, &missing);
    return missing;
}
