#pragma once
// The rows of a design, as the batch roads (image export, label printing,
// mail) see them: how many bound rows there are, and the card of one row.
// The main window implements it over its batch binding; a road takes it as a
// parameter, so it runs and is tested without a main window.
#include "model/Codes.h"

#include <QImage>
#include <QtGlobal>

class Card_Row_Source {
public:
    virtual ~Card_Row_Source() = default;

    // Rows of the batch; 0 when no graphic is bound to data.
    virtual int Batch_Row_Count() const = 0;
    // Brackets one run over the rows: the design is kept before and shown
    // again after (row 0 back in every side, the side on screen as it was).
    virtual void Batch_Begin() = 0;
    virtual void Batch_End() = 0;
    // The card of row for side, pixels_per_point pixels to the point (the
    // image's device pixel ratio carries the scale). Null when nothing could
    // be drawn. Called between Batch_Begin and Batch_End, on any one thread.
    virtual QImage Card_Row_Image(int row, Card_Side side, qreal pixels_per_point) = 0;
};
