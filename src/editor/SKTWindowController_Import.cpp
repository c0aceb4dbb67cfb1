// The main window's side of making data sets: the Create Series and Import
// commands, the data-set manager's way to the generator and the import
// wizard, and the long-message box the column import asks its questions in.
#include "editor/SKTWindowController.h"

#include "data/BatchWizard.h"
#include "data/Generate_List.h"
#include "data/Import_Excel_DataSheet.h"
#include "data/Import_Wizard.h"
#include "output/Long_SMS_Dlg.h"

#include <QAction>
#include <QCheckBox>

namespace {
void openGenerator(int file_name_required, int file_name_Insert)
{
    Generate_List* generator = Generate_List::defaultInstance();
    generator->file_name_required = file_name_required;
    generator->file_name_Insert = file_name_Insert;
    generator->Open_Wnd();
}

void openImportWizard(int file_name_required, int file_name_Insert)
{
    Import_Wizard* wizard = Import_Wizard::defaultInstance();
    wizard->file_name_required = file_name_required;
    wizard->file_name_Insert = file_name_Insert;
    wizard->Open_Wnd();
}

int askInLongMessageBox(const QString& title, const QString& text, bool show_apply, bool* apply_all)
{
    Long_SMS_Dlg* box = Long_SMS_Dlg::defaultInstance();
    box->title_val = title;
    box->msg_val_str = text;
    box->apply_chk_show = show_apply;
    box->apply_chk->setChecked(false); // every question starts unticked
    const int code = box->Open_Long_sms_Dialog();
    *apply_all = code == 1 && show_apply && box->apply_chk->isChecked();
    return code;
}
}

void SKTWindowController::connectImportCommands()
{
    BatchWizard* manager = BatchWizard::defaultInstance();
    manager->Open_Generate_List = openGenerator;
    manager->Open_Import_Wizard = openImportWizard;
    Import_Excel_DataSheet::defaultInstance()->Ask_Long_Message = askInLongMessageBox;
    connect(createSeriesAction, &QAction::triggered, this, &SKTWindowController::Create_Series_Button);
    connect(importAction, &QAction::triggered, this, &SKTWindowController::Import_Wizard_Button);
    createSeriesAction->setEnabled(true);
    importAction->setEnabled(true);
}

void SKTWindowController::Create_Series_Button()
{
    openGenerator(1, 0);
    Show_Properties_Keeping_Page();
}

void SKTWindowController::Import_Wizard_Button()
{
    openImportWizard(1, 0);
    Show_Properties_Keeping_Page();
}
