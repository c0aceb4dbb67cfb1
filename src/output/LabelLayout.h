#pragma once
// The label sheet layout: how labels sit on printed sheets (insets of the
// printable area, one label cell, gaps, rows and columns, alignment, side and
// stacking, totals). The print settings window writes it; the sheet view and
// the on-screen sheet preview read it and lay out the same grid through
// Layout_Label_Sheet.
//
// Sheet geometry is unflipped: origin at the sheet's lower left, y upwards,
// one unit per point. Sheet_Rect_To_Page turns it into the painter's page
// coordinates (origin top left, y down) in one place.
#include "model/Codes.h"

#include <QList>
#include <QRectF>
#include <QSizeF>
#include <QString>
#include <atomic>

class QColor;
class QPageLayout;
class QPainter;

// The layout globals. Lengths in points. The print settings window writes
// them on the main thread while no print job runs; a print job copies them
// when it is set up (Current_Label_Sheet_Layout).
extern std::atomic<float> Left_Mar, Rite_Mar, Top_Mar, Bot_Mar; // printable-area insets
extern std::atomic<float> label_width, label_hight;             // one label cell ("BOTH": both faces)
extern std::atomic<float> horz_mar, vert_mar;                   // gaps between cells
extern std::atomic<int> Print_Row, Print_Col;                   // cells per sheet, each at least 1
extern std::atomic<int> Total_Label;                            // labels of the job: gives the page count
extern std::atomic<int> Total_Label_Real;                       // the total when the job started: bounds the drawing
extern std::atomic<int> label_align_val;                        // 1 top left ... 9 bottom right, row by row
extern std::atomic<bool> auto_center_flag;                      // equal gaps all round, alignment ignored
extern std::atomic<bool> Show_margin_rect;                      // outline cells in the on-screen preview
extern QString Print_Card_Side;                                 // "F", "B" or "BOTH"
extern QString Print_Card_Algn;                                 // "BOTH": "U" front above back, else side by side
// Labels the sheet view has processed in the current pass.
extern std::atomic<int> barcode_counter;

// The layout as one record.
struct Label_Sheet_Layout {
    float Left_Mar = 0, Rite_Mar = 0, Top_Mar = 0, Bot_Mar = 0;
    float label_width = 0, label_hight = 0;
    float horz_mar = 0, vert_mar = 0;
    int Print_Row = 1, Print_Col = 1;
    int Total_Label = 1, Total_Label_Real = 1;
    int label_align_val = 1;
    bool auto_center_flag = false;
    bool Show_margin_rect = true;
    QString Print_Card_Side = QStringLiteral("BOTH");
    QString Print_Card_Algn = QStringLiteral("U");

    bool bothSides() const { return Print_Card_Side == Side_Code_Both; }
    bool stacked() const { return Print_Card_Algn == QLatin1String("U"); }
};

// A copy of the layout globals.
Label_Sheet_Layout Current_Label_Sheet_Layout();

// One cell of a sheet. rect is the label cell; for "BOTH" it is the front's
// half (the upper half stacked, the left half side by side).
struct Label_Cell {
    int row = 0, col = 0; // from 1, counted from the grid's top left
    QRectF rect;
};

struct Label_Sheet {
    float W = 0, H = 0;   // paper
    float PW = 0, PH = 0; // printable area
    float GW = 0, GH = 0; // grid of cells and gaps
    QList<Label_Cell> cells; // row by row from the top left
};

// The grid of one sheet on paper of the given size (points).
Label_Sheet Layout_Label_Sheet(const Label_Sheet_Layout& layout, const QSizeF& paper);

// Where a card image of the given size goes in a cell: image holds the front
// (side "B": the back); back holds the back for "BOTH" and is empty otherwise.
// Images are never scaled: a cell smaller than the image leaves it at the
// cell's origin, overflowing.
struct Label_Image_Place {
    QRectF image;
    QRectF back;
};
Label_Image_Place Place_Label_Image(const Label_Sheet_Layout& layout, const QRectF& cell, const QSizeF& image);

// How many cells of one direction of a sheet (columns across, rows down)
// stay, and the gap between them.
struct Label_Fit {
    int count = 1;        // at least 1
    float gap = 0;        // between cells; with auto-centre also at both edges
    bool rewrite = false; // the count field must be set to count
};
// paper is the paper's length in this direction, insetStart and insetEnd the
// printable-area insets at its two ends, cell the cell's length, gap the
// typed gap and typed the typed count (below 1 counts as 1), all lengths in
// points. Without auto-centre the typed gap stands and the count drops to
// the most cells that fit; with auto-centre the free length is shared into
// count + 1 equal gaps, and when nothing is free the count drops to what
// fits with no gap. Cells that fit exactly are not lost to rounding.
Label_Fit Fit_Label_Cells(float paper, float insetStart, float insetEnd, float cell, float gap, int typed,
                          bool autoCentre);

// The paper of a page layout in points, oriented, from the size as the paper
// is defined (A4 is 210 by 297 millimetres, 595.28 by 841.89 points, where Qt
// rounds to whole points).
QSizeF Paper_Size_In_Points(const QPageLayout& layout);

// A label caption: text in the bold system font of 11 points, in colour,
// centred on an unflipped sheet rectangle of a sheet sheetHeight tall.
void Draw_Label_Caption(QPainter& painter, const QRectF& rect, float sheetHeight, const QString& text,
                        const QColor& colour);

// An unflipped sheet rectangle in page coordinates of a sheet sheetHeight tall.
QRectF Sheet_Rect_To_Page(const QRectF& rect, float sheetHeight);

// Whether a painter draws for the screen (a widget, pixmap or image) rather
// than for printing (a printer, a PDF or a recorded picture).
bool Is_Drawing_To_Screen(const QPainter& painter);
