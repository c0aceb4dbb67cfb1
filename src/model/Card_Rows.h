#pragma once
// The rows of a design, as the batch roads (image export, label printing,
// mail) see them: how many bound rows there are, and the card of one row.
// The batch binding (editor/Batch_Binding.h) implements it over the design;
// a road takes it as a parameter, so it runs and is tested without a main
// window.
#include "model/Batch_Sources.h"
#include "model/Codes.h"

#include <QImage>
#include <QList>
#include <QtGlobal>

class QPainter;

class Card_Row_Source {
public:
    virtual ~Card_Row_Source() = default;

    // Works out afresh which bound sources give rows (the binding flags) and
    // counts the batch rows.
    virtual void Check_Series_Or_Excel_Use_or_not() = 0;
    // Counts the batch rows of the bound sources still in use (a road may
    // have switched a source off).
    virtual void Get_total_Card_count() = 0;
    // Rows of the batch; 0 when no graphic is bound to data.
    virtual int Batch_Row_Count() const = 0;
    // Whether every source a graphic is bound to can be found; false after
    // saying which cannot. No batch starts without them.
    virtual bool Sources_Found() = 0;
    // After the counts, before a batch: when the sources in use have
    // different lengths, tells the user the lengths and how many cards get
    // empty fields, and asks whether to go on. True to go on (and when the
    // lengths agree); the batch keeps the longest source's count.
    virtual bool Confirm_Source_Lengths() = 0;
    // Brackets one run over the rows: the design is kept before and shown
    // again after (row 0 back in every side, the side on screen as it was).
    virtual void Batch_Begin() = 0;
    virtual void Batch_End() = 0;
    // The card of row for side, pixels_per_point pixels to the point (the
    // image's device pixel ratio carries the scale). Null when nothing could
    // be drawn. Called between Batch_Begin and Batch_End, on any one thread.
    // A row below 0 draws the design as it stands, at any time.
    virtual QImage Card_Row_Image(int row, Card_Side side, qreal pixels_per_point) = 0;
    // The same card drawn onto painter, whose units are points, with the
    // card's top left at the painter's origin: vectors stay vectors and text
    // stays text. False when nothing could be drawn.
    virtual bool Draw_Card_Row(int row, Card_Side side, QPainter& painter) = 0;
    // The rows drawn since Batch_Begin whose cards have no bound barcode:
    // a source had no value for the row, or the symbology refused its value.
    virtual Cards_Without_Barcode Rows_Without_Barcode() const = 0;
};
