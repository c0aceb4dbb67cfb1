#include "support/SharedState.h"

#include "canvas/SKTRenderingView.h"
#include "data/Data_From_Excel.h"
#include "editor/SKTWindowController.h"
#include "model/Codes.h"
#include "model/Globals.h"

void Reset_Shared_State()
{
    CARD_SIDE_STR = QStringLiteral("");
    Card_Front_Or_Back = Side_Front;
    Card_Shape = Shape_Rectangle;
    SKTRenderingView::setCardSize(QSizeF(3.37 * Points_Per_Inch, 2.13 * Points_Per_Inch)); // CR80
    Card_Value_In_Process = false;
    Use_Data_Sheet_Values = false;
    Use_Excel_Binding_Values = false;
    Data_table_rows = 0;
    Excel_table_rows = 0;
    Total_Batch_Excel_Card = 0;
    Data_From_Excel_Window->Clear();
    Excel_Binding_Use = false;
    Excel_Source_Path.clear();
    Reset_Image_Filter_Globals(); // the main photo's filters, as a design opened before left them
    if (Main_App_wnd) {
        Main_App_wnd->Card_Rows().data_table_content.clear();
        Main_App_wnd->Remove_Excel_Col_Name_In_Combo(Main_App_wnd->Data_source_type);
    }
}
