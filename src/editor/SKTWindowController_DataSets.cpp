// The main window's side of the data sets: the Batch Series command that
// opens the data-set manager, and the property panel's buttons that show the
// data behind the selected graphic and explain the data sources.
#include "editor/SKTWindowController.h"

#include "data/BatchWizard.h"
#include "data/Data_From_Excel.h"
#include "data/SpreadsheetWriter.h"
#include "data/View_Data_Series.h"
#include "model/Helpers.h"
#include "output/Long_SMS_Dlg.h"

#include <QAction>
#include <QComboBox>
#include <QTabWidget>
#include <exception>

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
