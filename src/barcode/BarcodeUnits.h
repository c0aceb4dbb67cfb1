#pragma once
// Units and sizes of barcode pictures. Lengths are entered in centimetres
// (or the unit of Measument_Unit_Is) and bar widths in mils; the model and the
// renderer work in points, the text bands in inches. 2-D symbol images are
// bitmaps at the output resolution whose dots per metre carry their size in
// points (pixels / dpi x 72).
#include "barcode/BarcodeStyle.h"
#include "model/Codes.h"

#include <QImage>
#include <QSizeF>
#include <atomic>

class NKDBarcode;

// Unit of the bar height and the five margins (Barcode_Unit).
extern std::atomic<int> Measument_Unit_Is;
// Output resolution of 2-D symbol images, dots per inch.
extern std::atomic<int> USED_DPI_VALUE;

// The resolutions a 2-D image may be made at; others are clamped with a log line.
constexpr int Min_Barcode_DPI = 36;
constexpr int Max_Barcode_DPI = 2400;
constexpr int Auto_Barcode_DPI = 600;
// A usable resolution: 0 or less gives the automatic 600, values past the
// range are clamped; every change is logged.
int Checked_Barcode_DPI(int dpi);

// A length in the given unit as points: 0.393701 inch per centimetre.
float Convert_Length_To_Points(float length, int unit);
// A bar width in mils (1/1000 inch) as points.
inline float Mils_To_Points(float mils) { return mils / 1000.0f * 72.0f; }

// The 2-D framing's text sizes: store the size, measure the band height
// (1.35 times the font's cap height, inches) and, for header and footer, the
// width of the style's header or footer text (set the texts first).
void setCaptionFontSize(BarcodeStyle& style, float size);
void setHeaderFontSize(BarcodeStyle& style, float size);
void setFooterFontSize(BarcodeStyle& style, float size);

// The height of a 1-D model from the bar height, its text bands and the
// margins; refreshes the style's five margins in points.
void Set_Barcode_Height(NKDBarcode& model, BarcodeStyle& style, int unit = Measument_Unit_Is);
// The outer width of a 1-D picture in points; refreshes the style's LR_margin.
float Set_Linear_Barcode_Width(const NKDBarcode& model, BarcodeStyle& style,
                               int unit = Measument_Unit_Is);
// The outer size of a framed 2-D symbol of the given size in points, kept in
// the style's width and height (call the height first, as the designer does).
void Set_2d_Barcode_Height(const QSizeF& symbolPoints, BarcodeStyle& style,
                           int unit = Measument_Unit_Is);
void Set_2d_Barcode_Width(const QSizeF& symbolPoints, BarcodeStyle& style,
                          int unit = Measument_Unit_Is);

// The smallest QR image side for a QR version index (0 automatic): the modules
// on the side of that version, 21 for automatic.
struct QR_Size_Rule {
    int minimum = 21; // the size stepper's new minimum
    int size = 21;    // the QR size after the rule
};
QR_Size_Rule Check_And_Set_QR_size_Acc_Version(int versionIndex, int currentSize);

// The image raised to d dots per inch: a bitmap of ceil(d x points / 72)
// pixels per side into which the source is drawn without interpolation (each
// source pixel becomes a block of whole pixels). The source covers the given
// size in points. Null for a null source ("Invalid image" is logged) or a
// bitmap too large to make.
QImage Increase_DPI(const QImage& image, const QSizeF& sizePoints, double dpi);
// Gives a bitmap the size in points it is shown at (through its dots per metre).
void Set_Image_Size_Points(QImage& image, const QSizeF& sizePoints);

// A 2-D symbol as its encoder made it: the module grid, one pixel per module
// (a 1-bit image, dark and light), and where it sits in the symbol's box. It
// is scaled when it is drawn, at whatever resolution the painter has.
struct Barcode_Grid {
    QImage modules;
    QSizeF size;        // the symbol's box in points, margins included
    QRectF area;        // the modules' place in that box, points
    int dpi = Auto_Barcode_DPI; // of image()
    bool isNull() const { return modules.isNull(); }
    // The symbol as a bitmap at dpi, transparent outside the modules, whose
    // dots per metre carry its size in points; null for a null grid or a
    // bitmap too large to make.
    QImage image() const;
};
// A 1-bit grid image of w x h modules, all light; set dark ones with
// Set_Grid_Module on a row of it (grid.scanLine(y)). Index 0 is black and 1
// white, the order a PDF page keeps as a 1-bit mask.
QImage New_Module_Grid(int w, int h);
inline void Set_Grid_Module(uchar* row, int x)
{
    row[x >> 3] &= uchar(~(0x80 >> (x & 7)));
}
