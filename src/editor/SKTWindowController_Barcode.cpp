// The main window and the barcode designer: the Barcode tool, opening the
// designer on the selected barcode, and what the designer needs of the window.
#include "editor/SKTWindowController.h"

#include "barcode/Barcode_Gen.h"
#include "canvas/SKTGraphicView.h"
#include "canvas/SKTRenderingView.h"
#include "data/DataSetFiles.h"
#include "data/Data_From_Excel.h"
#include "data/Design_Data_Sources.h"
#include "data/View_Data_Series.h"
#include "model/Globals.h"
#include "model/Helpers.h"
#include "output/Long_SMS_Dlg.h"

#include <exception>

namespace {
class Designer_Host : public Barcode_Designer_Host {
public:
    void Show_Long_Message(const QString& title, const QString& text) override
    {
        Cutom_Msg_Title = title;
        Cutom_Msg_Val = text;
        Long_SMS_Dlg::defaultInstance()->Open_Long_sms_Dialog();
    }
    void Show_Data_Series(const QString& name) override { View_Data_Series::View_Series_Named(name); }
    void Show_Spreadsheet_Table() override { Data_From_Excel_Window->Open_Wnd(); }
};
}

void SKTWindowController::Install_Barcode_Designer()
{
    static Designer_Host host;
    Barcode_Gen_Var = Barcode_Gen::defaultInstance();
    Barcode_Gen_Var->setHost(&host);
    Barcode_Gen_Var->setDataSources(&Design_Data_Sources());
}

void SKTWindowController::Barcode_Tool_Clicked()
{
    Selected_Control_Tool = Tool_None;
    SKTGraphicView* canvas = Current_Canvas();
    canvas->createGraphicOfClass(GraphicKind::Barcode, nullptr, false, QRectF(),
                                 Side_Code(Card_Side(Card_Front_Or_Back.load())), QString(), QString());
    const GraphicPtr placed = canvas->_Selected_Graphic;
    Show_Graphic_Properties(placed);
    if (!placed)
        return;
    Open_Barcode_Window();
    // A barcode the designer gave no symbol would be an empty box: it goes.
    if (placed->_barcode_image.isNull()) {
        canvas->selectGraphic(nullptr);
        canvas->face().removeAll(placed);
        canvas->_Selected_Graphic = nullptr;
        Show_Graphic_Properties(nullptr);
        Refresh_Canvas();
    }
}

void SKTWindowController::Open_Barcode_Window()
{
    try {
        const GraphicPtr selected = Selected_Graphic();
        if (!Is_Kind(selected.get(), GraphicKind::Barcode))
            return;
        const GraphicPtr returned = Barcode_Gen::defaultInstance()->Open_Wnd(selected);
        if (returned && !Get_Barcode_output_image().isNull())
            Update_Barcode_Graphics(returned);
        Show_Graphic_Properties(Selected_Graphic());
    } catch (const std::exception& e) {
        Show_NSLog_Message(QString::fromUtf8(e.what()));
    }
}

void SKTWindowController::Update_Barcode_Graphics(const GraphicPtr& graphic)
{
    if (!graphic)
        return;
    // Every selected barcode takes the settings, and with them the symbol.
    const BarcodeStyle style = BarcodeStyle::fromGraphic(*graphic);
    const Barcode_Art image = Get_Barcode_output_image();
    for (const GraphicPtr& g : Current_Canvas()->selectedGraphics()) {
        if (!Is_Kind(g.get(), GraphicKind::Barcode))
            continue;
        if (g != graphic)
            style.storeIn(*g);
        Set_Barcode_Symbol(*g, image);
    }
    Refresh_Canvas();
}

void SKTWindowController::Set_Barcode_Symbol(SKTGraphic& graphic, const Barcode_Art& symbol)
{
    graphic.Set_Barcode_image(symbol);
    // A new symbol may be larger or lie further out than the one before.
    if (auto* barcode = dynamic_cast<SKTBarcode*>(&graphic))
        barcode->Keep_Inside_Card(SKTRenderingView::cardSize());
}
