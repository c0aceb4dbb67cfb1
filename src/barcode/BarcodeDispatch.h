#pragma once
// From a style record and a value to a barcode: the symbology a type title
// names, the 1-D model dressed with the style's texts and sizes, or the 2-D
// symbol image, and the finished picture with caption, header and footer.
// Widget-free: the designer's preview and the batch roads (any thread) both
// draw through here, each with its own record.
#include "barcode/BarcodeStyle.h"
#include "barcode/BarcodeUnits.h"
#include "barcode/NKDBarcode.h"
#include "model/BarcodeArt.h"

#include <QImage>
#include <QPicture>
#include <QString>
#include <QStringList>
#include <memory>

// The designer's type list in item order: the 19 linear symbologies, then
// "QR Code", "PDF417" and "DataMatrix". A graphic stores the item's index.
extern const QStringList Barcode_Type_Items;
constexpr int Barcode_First_2D_Item = 19;
// The title of a type index; "" outside the list.
QString Barcode_Type_Title(int index);
bool Is_2D_Barcode_Title(const QString& title);

// A new, not yet initialised model of the class a linear title names (the
// Code 128 items with their code set already chosen); none for another title.
std::unique_ptr<NKDBarcode> New_Linear_Barcode(const QString& title);
// The value as the symbology takes it: Codabar without start and stop
// letters gets "A" and "B", and lower-case start/stop letters become capitals,
// so every reader finds the symbol's ends. Other symbologies take it as it is.
QString Barcode_Value_For_Symbology(const QString& title, const QString& value);

// The designer's resolution list and the dots per inch of an item: "Auto"
// 600, "Custom" the custom value, the others their own number.
extern const QStringList Barcode_DPI_Items;
int Barcode_DPI_Of_Item(int index, int customDpi);

// What a drawing takes besides the style record.
struct Barcode_Drawing {
    int unit = Unit_Centimetre;  // of the bar height and the margins
    int dpi = Auto_Barcode_DPI;  // of 2-D symbol images
    int qrVersion = 0;           // 0 automatic
    int qrLevel = 0;             // 0-3: L, M, Q, H
};
// What a stored style draws with: centimetres, its resolution item (its
// stored custom text for "Custom"), its QR version and level.
Barcode_Drawing Barcode_Drawing_Of(const BarcodeStyle& style);

// What the dispatch made of a value.
struct Barcode_Symbol {
    std::unique_ptr<NKDBarcode> model; // linear kind: the dressed model
    Barcode_Grid grid;                 // 2-D kind: the module grid
    bool made() const { return model || !grid.isNull(); }
    // The 2-D symbol as a bitmap at the drawing's resolution (for callers
    // that need pixels); null for a linear symbol.
    QImage image_2d() const { return grid.image(); }
};

// The symbol of a value under the style (its kind and type title). A linear
// model keeps a pointer to the record: keep the record alive while it is
// drawn. The record's margins in points and 2-D framing fields are
// refreshed. caption: whether the value is printed under (or over) the bars.
// Nothing is made for an empty value, an unknown title or a value the
// symbology refuses.
Barcode_Symbol Generate_Barcode_Symbol(BarcodeStyle& style, const Barcode_Drawing& drawing,
                                       const QString& value, const QString& header,
                                       const QString& footer, bool caption);

// The 2-D symbol grids; null when the value does not fit.
Barcode_Grid Draw_QR_Barcode(const QString& value, int qrSize, const Barcode_Drawing& drawing);
Barcode_Grid Draw_PDF_417_Barcode(const QString& value, int width, int height, int errorLevel, int dpi);

// The record's outer size for a 2-D symbol, then the symbol framed with
// header and footer; null for a null symbol.
Barcode_Art Frame_2D_Barcode(const Barcode_Grid& grid, BarcodeStyle& style, int unit);
// A made symbol as drawing data: a linear model laid out, a 2-D symbol framed.
Barcode_Art Barcode_Symbol_Art(const Barcode_Symbol& symbol, BarcodeStyle& style, int unit);

// The whole road for a stored style: the symbol of a value with the given
// header and footer, the caption shown unless the style hides it. Null
// when nothing could be made (failures are logged).
Barcode_Art Barcode_Picture(BarcodeStyle& style, const QString& value, const QString& header,
                            const QString& footer);
