#pragma once
// The printed label sheets of one print or preview job: how many sheets the
// job has and what each holds. With the design's row source every label is
// drawn by the design itself as vectors, clipped to the card: the design as
// it stands, or, when the design has batch rows, the card of the label's own
// row. Without one, every label prints the card images it was given.
//
// Print_Sheets draws one pass of the job on a printer or PDF writer; a preview
// that regenerates simply runs another pass. It may run off the main thread.
#include "model/Batch_Sources.h"
#include "output/LabelLayout.h"

class Card_Row_Source;

#include <QImage>
#include <QtGlobal>

class QPagedPaintDevice;
class QPainter;

class Printing_View {
public:
    enum Job_Disposition { Print_Spool_Job, Print_Preview_Job };

    // Takes the layout globals as they stand now: make the view where the job
    // is set up, on the main thread. front_image and back_image are the faces
    // the print window rendered when it opened (null when a face rendered to
    // nothing); their size places the labels. rows, when given, draws every
    // label, label k from batch row k while the design has rows.
    Printing_View(const QImage& front_image, const QImage& back_image, Job_Disposition job,
                  Card_Row_Source* rows = nullptr);

    // Sheets of the job: the total over the cells of a sheet, rounded up.
    // A preview stops at 50 sheets, with a message; printing has no limit.
    quint64 numberOfPages();

    // Draws the next sheet of the pass on a painter whose units are points
    // with the origin at the sheet's top left; sheet is the paper (0, 0, W, H).
    // Drawing for the screen gives the white sheet only.
    void drawRect(QPainter& painter, const QRectF& sheet);

    // Red bold 11-point text centred in an unflipped sheet rectangle.
    void Draw_Label_String(QPainter& painter, const QRectF& rect, const QString& str_val, int row, int col);

    // One pass of the job onto the device's pages, from the first label: one
    // sheet per page. False when the device could not be painted on.
    bool Print_Sheets(QPagedPaintDevice& device);

    const Label_Sheet_Layout& layout() const { return m_layout; }
    // The batch rows (from 1) whose labels were drawn without their barcode.
    const Cards_Without_Barcode& Rows_Without_Barcode() const { return rowsWithoutBarcode; }

private:
    bool batchRowsInUse() const;
    // Draws label count in cell; false when the label is skipped (its batch
    // row is past the last), which leaves the cell to the next label.
    bool drawLabel(QPainter& painter, const Label_Cell& cell, bool batch);
    // One face drawn by the row source, clipped to its place; false when
    // nothing could be drawn.
    bool drawFace(QPainter& painter, int row, Card_Side side, const QRectF& place);
    void drawImage(QPainter& painter, const QImage& image, const QRectF& place);

    Label_Sheet_Layout m_layout;
    QImage front_image, back_image;
    Job_Disposition jobDisposition;
    Card_Row_Source* rows = nullptr;
    float sheetHeight = 0;
    int count = 0;        // next label of the pass; also the batch row it loads
    quint64 numPages = 0; // the last page count
    Cards_Without_Barcode rowsWithoutBarcode;
};
