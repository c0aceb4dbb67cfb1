// The main window's side of the data sets: the lists and first values the
// property panel shows, the Batch Series command that opens the data-set
// manager, and the property panel's buttons that show the data behind the
// selected graphic and explain the data sources.
#include "editor/SKTWindowController.h"

#include "data/BatchWizard.h"
#include "data/DataSetFiles.h"
#include "data/Data_From_Excel.h"
#include "data/SpreadsheetWriter.h"
#include "data/View_Data_Series.h"
#include "model/Globals.h"
#include "model/Helpers.h"
#include "output/Long_SMS_Dlg.h"

#include <QAction>
#include <QComboBox>
#include <QTabWidget>
#include <exception>

QStringList SKTWindowController::Get_datasheet_File_Name_Array() const
{
    return Data_Set_Listing(Data_Folder_Path);
}

QString SKTWindowController::Get_First_Value_Of_Dataset(const QString& name) const
{
    try {
        return Data_Set_First_Value(name);
    } catch (const std::exception& e) {
        Show_NSLog_Message(QString::fromUtf8(e.what()));
        return QStringLiteral("");
    }
}

bool SKTWindowController::Check_Batch_File_In_Use_Validation(const QString& name) const
{
    return batch.Check_Batch_File_In_Use_Validation(name);
}

void SKTWindowController::Update_Main_Photo_Binding()
{
    bool bound = false;
    for (const GraphicPtr& g : document.graphics)
        if (g && g->control_ID == QLatin1String("PARTY_IMAGE") && g->data_source_type == Source_Data_Set)
            bound = true;
    main_photo_ds_batch = bound;
}

void SKTWindowController::Fill_Data_Set_File_Name_In_Combo(QComboBox* combo) const
{
    if (!combo)
        return;
    const QSignalBlocker block(combo);
    combo->setCurrentIndex(-1);
    combo->clear();
    combo->addItems(Get_datasheet_File_Name_Array());
    combo->setCurrentIndex(-1);
}

void SKTWindowController::connectDataSetCommands()
{
    BatchWizard::defaultInstance()->user = this;
    connect(batchSeriesAction, &QAction::triggered, this, &SKTWindowController::Batch_Series_Button);
    batchSeriesAction->setEnabled(true);
}

void SKTWindowController::Batch_Series_Button()
{
    BatchWizard::defaultInstance()->Open_Wnd();
    Show_Properties_Keeping_Page();
}

void SKTWindowController::Show_Properties_Keeping_Page()
{
    const int page = settings_tab->currentIndex();
    Show_Graphic_Properties(Selected_Graphic());
    settings_tab->setCurrentIndex(page);
}

void SKTWindowController::View_batch_Series_Button()
{
    try {
        switch (Data_source_type->currentIndex()) {
        case Source_Data_Set:
            View_Data_Series::View_Series_Named(Batch_Series->currentText());
            break;
        case Source_Spreadsheet:
            Data_From_Excel_Window->Open_Wnd();
            break;
        default: // typed in: nothing to show
            break;
        }
    } catch (const std::exception& e) {
        Show_NSLog_Message(QString::fromUtf8(e.what()));
    }
}

void SKTWindowController::Data_Source_Help_Button()
{
    Cutom_Msg_Title = QStringLiteral("Batch Processing Settings Help :");
    Cutom_Msg_Val = QStringLiteral(
        "Select Data Source as 'Manual' to enter value manually, Select 'Batch Processing Series' to fetch the value "
        "from the list of existing Batch Processing Series.");
    Long_SMS_Dlg::defaultInstance()->Open_Long_sms_Dialog();
}

void SKTWindowController::Delete_Excel_File_Temp_Folder()
{
    // The reader unpacks each workbook into a private temporary folder of its
    // own; releasing it removes that folder, and nothing of anyone else's.
    SpreadsheetWriter::Release_Data();
}
