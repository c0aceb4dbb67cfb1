#pragma once
// Text in point units for barcode pictures: measured and laid out the same on
// every thread and device. Drawn texts become glyph outlines, so a symbol
// shows them at the same size on a screen, a 600 dpi bitmap or a PDF page.
// Each thread keeps, per font, the glyphs, advances and outlines it has met,
// so a caption costs a few table look-ups.
#include "model/BarcodeArt.h"

#include <QFont>
#include <QList>
#include <QString>

// The cap height of a font, in points.
qreal Barcode_Cap_Height(const QFont& font);
// A text band: the cap height and 0.35 of it again, in inches.
float Barcode_Band_Height(const QFont& font);

// One line of text laid out with extra advance (kern, points) after each character.
struct BarcodeTextBlock {
    QString text;                    // what it says
    QList<Barcode_Art_Glyph> glyphs; // placed from the box's top-left corner, y down
    qreal width = 0;                 // advance width, kern included
    qreal height = 0;                // natural line height
};
BarcodeTextBlock Barcode_Text_Block(QStringView text, const QFont& font, qreal kern = 0);

// The natural width of a text without kern; no outline is made.
qreal Barcode_Text_Width(QStringView text, const QFont& font);
