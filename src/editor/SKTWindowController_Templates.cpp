// The main window's side of the start-choice dialog, the template wizard and
// the card wizard: the commands that open them and what the card takes from
// them.
#include "editor/SKTWindowController.h"
#include "model/Globals.h"
#include "model/Helpers.h"
#include "wizards/Card_Wizard.h"
#include "wizards/Invitation_Globals.h"
#include "wizards/Start_Card.h"
#include "wizards/Template_Wizard.h"
#include "wizards/User_Profile_Class.h"

#include <QAction>
#include <QListWidget>
#include <QMenu>
#include <exception>

void SKTWindowController::connectTemplateCommands(QMenu* file, QMenu* card)
{
    // After New: how a new card begins, and a new card from a template.
    QAction* after = file->actions().value(1);
    auto* choice = new QAction(QStringLiteral("New from Start &Choice..."), file);
    auto* fromTemplate = new QAction(QStringLiteral("New from &Template..."), file);
    file->insertAction(after, choice);
    file->insertAction(after, fromTemplate);
    connect(choice, &QAction::triggered, this, &SKTWindowController::Start_Choice_Button);
    connect(fromTemplate, &QAction::triggered, this, &SKTWindowController::New_From_Template_Button);
    card->insertAction(card->actions().value(0), new QAction(QStringLiteral("Card &Wizard..."), card));
    connect(card->actions().value(0), &QAction::triggered, this, &SKTWindowController::Card_Wizard_Button);
}

void SKTWindowController::Start_Choice_Button()
{
    if (!Ask_To_Save_Changes())
        return;
    Start_Card* dialog = Start_Card::defaultInstance();
    // Cancel here goes back to the design instead of ending the program.
    dialog->Cancel_Ends_Process = false;
    if (dialog->Open_Wnd() != 1)
        return;
    if (Start_Card_Option == QLatin1String("T")) {
        Start_From_Template();
    } else if (Start_Card_Option == QLatin1String("W")) {
        New_Project_Setting_Reset();
        Open_Start_Window();
    } else if (Start_Card_Option == QLatin1String("L")) {
        Open_Log_File();
    }
}

void SKTWindowController::New_From_Template_Button()
{
    if (!Ask_To_Save_Changes())
        return;
    Start_From_Template();
}

void SKTWindowController::Start_From_Template()
{
    try {
        const bool filled = Fill_User_Profile;
        Fill_User_Profile = false;
        if (Template_Wizard::defaultInstance()->Open_Template_Window() != 1) {
            Fill_User_Profile = filled;
            return;
        }
        // The new design starts afresh but keeps the profiles just entered.
        const bool profiled = Fill_User_Profile;
        const User_Profile_Class front = *Front_user_profile, back = *Back_user_profile;
        New_Project_Setting_Reset();
        *Front_user_profile = front;
        *Back_user_profile = back;
        if (Read_and_load_design_Log(Selected_Template_Path, QStringLiteral("T")) != 1)
            return;
        Fill_User_Profile = profiled;
        Place_Wizard_Profiles(profiled);
        show();
    } catch (const std::exception& e) {
        Show_NSLog_Message(QString::fromUtf8(e.what()));
    }
}

void SKTWindowController::Card_Wizard_Button()
{
    try {
        const bool filled = Fill_User_Profile;
        Fill_User_Profile = false;
        Card_Wizard* wizard = Card_Wizard::defaultInstance();
        const int result = wizard->Open_Wnd();
        const bool profiled = Fill_User_Profile;
        Fill_User_Profile = filled || profiled;
        if (result != 1)
            return;
        // Both sides take the chosen size and shape, as if typed in the card panel.
        Set_Card_Size_In_Control(wizard->Width_MM(), wizard->Height_MM());
        Card_Size_Changed();
        card_shape_list->setCurrentRow(Card_Shape);
        Card_Shape_Changed(Card_Shape);
        Place_Wizard_Profiles(profiled);
    } catch (const std::exception& e) {
        Show_NSLog_Message(QString::fromUtf8(e.what()));
    }
}

void SKTWindowController::Place_Wizard_Profiles(bool was_filled)
{
    if (!was_filled)
        return;
    Fill_User_profile_Details();
    Show_Properties_Keeping_Page();
    Refresh_Canvas();
}
