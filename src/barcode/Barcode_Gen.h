#pragma once
// The barcode designer as the batch road sees it: it takes a barcode
// graphic's stored settings and makes the symbol of a value with them.
#include "barcode/BarcodeStyle.h"

#include <QPicture>
#include <QString>

class Barcode_Gen {
public:
    static Barcode_Gen* defaultInstance();

    // Loads the graphic's stored barcode settings as the live style, with
    // regeneration suppressed while it does so.
    void Set_Barcode_Prop_To_Control(const SKTGraphic& graphic);
    // The symbol of value with the live style and the given header and
    // footer; a null picture when nothing could be made.
    QPicture Get_Image_From_Val(const QString& value, const QString& header, const QString& footer);
};

// The designer, set once.
extern Barcode_Gen* Barcode_Gen_Var;

// The last barcode image made (guarded: batch workers write it).
QPicture Get_Barcode_output_image();
void Set_Barcode_output_image(const QPicture& image);
