#pragma once
// The batch export: one image file per batch row of a design, written on a
// worker thread while the progress sheet (with Stop) keeps the user out.
#include "output/Card_Output.h"

#include <QString>

class Card_Row_Source;
class QWidget;

struct Export_Choices {
    QString fileType = QStringLiteral("png"); // extension of the written files
    Sides_Choice side = Sides_Choice::Front;
    bool combined = false;                    // both sides in one image
};

struct Batch_Export_Result {
    Export_Outcome outcome = Export_Outcome::Broken_Off;
    QString folder; // where the files went
    int written = 0, failed = 0;
};

// Writes row r's card as "Card_<r+1>.<type>" (its back alone as
// "Card_<r+1>_Back.<type>") into the folder "Pelvoro Gleamcard" inside
// folder, until the rows end or Stop is pressed. The first file that fails
// is shown with its reason; the rest are counted. Call it off the main
// thread: the sheet is shown over sheet_parent through the main thread.
Batch_Export_Result Export_Card_Rows(Card_Row_Source& rows, const QString& folder, const Export_Choices& choices,
                                     QWidget* sheet_parent);
