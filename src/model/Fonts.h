#pragma once
#include <QFont>
#include <QString>

class QPainter;
class QRectF;

// A font from its PostScript name ("TimesNewRomanPS-BoldItalicMT" is Times
// New Roman, bold italic) at a point size.
QFont Font_From_PostScript_Name(const QString& name, qreal pointSize);

// Card texts are laid out one way wherever they show (canvas, export, print,
// and the boxes the wizards size for them): one point of text per pixel of
// the device, lines broken at word boundaries (inside a word only when the
// word alone is wider than the box), aligned as asked, from the top. A
// character the font has no glyph for, in any face the font falls back on,
// is set in an upright face of the same weight, or of normal weight, that
// has one; only a character no installed font has is drawn without a glyph.

// The height the text takes laid out at this width.
qreal Card_Text_Height(const QString& text, const QFont& font, qreal width);
// The width of its widest line when no line is broken.
qreal Card_Text_Width(const QString& text, const QFont& font);
// Draws the text in the box with the painter's pen; nothing shows outside the box.
void Draw_Card_Text(QPainter& painter, const QRectF& box, const QString& text, const QFont& font,
                    Qt::Alignment alignment);
// The characters of the text that are drawn without a glyph of their own.
QString Card_Text_Missing_Characters(const QString& text, const QFont& font);
