#pragma once
// The design: three ordered faces of graphics (index 0 frontmost). The
// template-preview face holds the same objects as the side it copies.
#include "model/SKTGraphic.h"

#include <QList>
#include <QSizeF>

using Face = QList<GraphicPtr>;

class SKTDocument {
public:
    Face graphics;       // front
    Face graphics_back;  // back
    Face graphics_temp;  // template preview

    // Undo registration switch; the wizards turn it off while they lay out a card.
    bool undoRegistrationEnabled = true;

    // With set true the size becomes the document's canvas size; either way it is returned.
    QSizeF canvasSize(bool set, const QSizeF& size_val);
    QSizeF currentCanvasSize() const { return _canvasSize; }

private:
    QSizeF _canvasSize;
};
