#pragma once
// The batch export: one image file per batch row of a design, written on a
// worker thread while the progress sheet (with Stop) keeps the user out. The
// rows are bound and drawn one at a time, in order (the design is one live
// object); encoding and writing the files runs on a small pool of threads
// behind a short queue, so memory stays flat.
#include "model/Batch_Sources.h"
#include "output/Card_Output.h"

#include <QList>
#include <QString>

class Card_Row_Source;
class QWidget;

struct Export_Choices {
    QString fileType = QStringLiteral("png"); // extension of the written files
    Sides_Choice side = Sides_Choice::Front;
    bool combined = false;                    // both sides in one image
    int dpi = 72;                             // resolution the cards are drawn at
    int writers = 0;                          // threads encoding files; 0: one per core but one
    qreal pixelsPerPoint() const { return dpi / 72.0; }
};

struct Batch_Export_Result {
    Export_Outcome outcome = Export_Outcome::Broken_Off;
    QString folder; // where the files went
    int written = 0, failed = 0; // files
    int cards = 0, total = 0;    // rows finished, rows of the batch
    Cards_Without_Barcode rowsWithoutBarcode; // cards written without their barcode
};

// Writes row r's card as "Card_<r+1>.<type>" (its back alone as
// "Card_<r+1>_Back.<type>") into the folder "Pelvoro Gleamcard" inside
// folder, at the chosen resolution, until the rows end or Stop is answered
// with Yes; while the Stop question is open no further card is begun. The
// first file that fails
// is shown with its reason; the rest are counted. Call it off the main
// thread: the sheet is shown over sheet_parent through the main thread.
Batch_Export_Result Export_Card_Rows(Card_Row_Source& rows, const QString& folder, const Export_Choices& choices,
                                     QWidget* sheet_parent);
