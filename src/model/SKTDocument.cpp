#include "model/SKTDocument.h"

QSizeF SKTDocument::canvasSize(bool set, const QSizeF& size_val)
{
    if (set)
        _canvasSize = size_val;
    return size_val;
}
