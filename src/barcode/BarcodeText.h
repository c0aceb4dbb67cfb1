#pragma once
// Text in point units for barcode pictures: measured and laid out the same on
// every thread and device. Drawn texts become outlines, so a picture shows
// them at the same size on a screen, a 600 dpi bitmap or a PDF page.
#include <QFont>
#include <QPainterPath>
#include <QString>

// The cap height of a font, in points.
qreal Barcode_Cap_Height(const QFont& font);

// One line of text laid out with extra advance (kern, points) after each character.
struct BarcodeTextBlock {
    QPainterPath outline; // glyph outlines; the box's top-left corner at (0, 0), y down
    qreal width = 0;      // advance width, kern included
    qreal height = 0;     // natural line height
};
BarcodeTextBlock Barcode_Text_Block(const QString& text, const QFont& font, qreal kern = 0);

// The natural size of a text without kern.
inline qreal Barcode_Text_Width(const QString& text, const QFont& font)
{
    return Barcode_Text_Block(text, font).width;
}
