#include "barcode/Barcode_Gen.h"

#include "model/Globals.h"

#include "platform/Guarded.h"

Barcode_Gen* Barcode_Gen_Var = Barcode_Gen::defaultInstance();

Barcode_Gen* Barcode_Gen::defaultInstance()
{
    static Barcode_Gen instance;
    return &instance;
}

void Barcode_Gen::Set_Barcode_Prop_To_Control(const SKTGraphic& graphic)
{
    const bool old = Not_Draw_Only_Prop_Change.exchange(true);
    Live_Barcode_Style.loadFrom(graphic);
    Not_Draw_Only_Prop_Change = old;
}

QPicture Barcode_Gen::Get_Image_From_Val(const QString& value, const QString& header, const QString& footer)
{
    // The symbologies are dispatched by the designer window, which is not
    // part of this build yet: nothing is made.
    Q_UNUSED(value);
    Q_UNUSED(header);
    Q_UNUSED(footer);
    return QPicture();
}

namespace {
Guarded<QPicture> g_output;
}

QPicture Get_Barcode_output_image() { return g_output.get(); }
void Set_Barcode_output_image(const QPicture& image) { g_output.set(image); }
