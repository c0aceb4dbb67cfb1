#pragma once
// DataMatrix (ECC200) symbols over libiec16022: the value's UTF-8 bytes are
// encoded at a chosen size and encodation; the encoder's module grid is kept
// as it is, or made into a bitmap at the output resolution shown at the
// module size. The grid can also be written as Encapsulated PostScript.
#include "barcode/BarcodeUnits.h"

#include <QByteArray>
#include <QImage>
#include <QString>
#include <QStringList>

// The designer's format list: "Auto", the 24 square and the 6 rectangular
// sizes ("C" rows "X" columns).
extern const QStringList DataMatrix_Format_Items;
// The designer's encodation list: "Auto", "Ascii", "C40", "Text", "Base256".
extern const QStringList DataMatrix_Encoding_Items;
// The largest value offered to the encoder, in bytes: the most digits the
// largest symbol holds whole (one more makes the library read past its data).
constexpr int DataMatrix_Max_Bytes = 3115;

// Columns (W) and rows (H) of a format item; 0 and 0 for "Auto" or an item
// without "X".
struct DataMatrix_Size {
    int W = 0, H = 0;
};
DataMatrix_Size DataMatrix_Size_Of_Format(const QString& formatItem);

// The symbol image of a value: formatIndex and encodingIndex are items of the
// two lists (out of range: "Auto", logged), moduleSize the points per module
// (below 1: 1, logged), dpi the output resolution. Null when the value does
// not fit (the encoder's report goes to the console) or is empty.
QImage Draw_DataMatrix_Barcode(const QString& value, int formatIndex, int encodingIndex,
                               int moduleSize, int dpi = USED_DPI_VALUE);

// The same symbol as its module grid (no image is made): W x H modules shown
// at moduleSize points each, inside the box the image above covers.
Barcode_Grid DataMatrix_Grid(const QString& value, int formatIndex, int encodingIndex, int moduleSize,
                             int dpi = USED_DPI_VALUE);

// The EPS text of a module grid (W x H cells, row 0 at the bottom, non-zero dark).
QByteArray makeEPS_Data_Matrix(const QByteArray& value, int W, int H, const unsigned char* grid);
// The picture of such an EPS text: (W + 2) x (H + 2) pixels, one per point,
// dark modules opaque black, light modules opaque white, the edge transparent.
// Null for text of another form.
QImage Image_From_DataMatrix_EPS(const QByteArray& eps);
