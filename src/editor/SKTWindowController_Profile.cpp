// The main window's side of user profiles: the User Profile command, and
// laying the profile records out on the front, back and preview faces.
#include "canvas/SKTGraphicView.h"
#include "editor/SKTWindowController.h"
#include "model/Globals.h"
#include "model/Helpers.h"
#include "wizards/Profile_Placement.h"
#include "wizards/Show_User_Profile.h"
#include "wizards/User_profile.h"

#include <QDebug>

int SKTWindowController::Open_User_Profile_Window(bool edit, const QString& side)
{
    // Without a side the wizard-mode dialog writes both sides' profiles.
    const QString trimmed = Trim_Str(side);
    Show_User_Profile* dialog = trimmed.isEmpty() ? static_cast<Show_User_Profile*>(User_profile::defaultInstance())
                                                  : Show_User_Profile::defaultInstance();
    dialog->load_side = trimmed;
    const int result = dialog->Open_Wnd(edit);
    if (result == 1)
        Fill_User_Profile = true;
    return result;
}

void SKTWindowController::User_Profile_Button_Clicked()
{
    const bool back = Card_Front_Or_Back != Side_Front;
    if (Open_User_Profile_Window(true, back ? Side_Code_Back : Side_Code_Front) == 1) {
        if (back)
            Fill_User_profile_info_back_side();
        else
            Fill_User_profile_info_front_side();
        // The panel shows the placed graphic with the binding it now has.
        Show_Properties_Keeping_Page();
    }
    Refresh_Canvas();
}

void SKTWindowController::Fill_User_profile_info(SKTGraphicView* canvas, const User_Profile_Class* record,
                                                 bool card_side)
{
    if (card_side) {
        if (Excel_Binding_Use)
            Add_Excel_Col_Name_In_Combo(Data_source_type);
        else
            Remove_Excel_Col_Name_In_Combo(Data_source_type);
        if (!Fill_User_Profile)
            return;
    }
    Place_User_Profile(*canvas, *record, [this](const QString& id) { return Get_Control_Rect_From_Template(id); });
}

void SKTWindowController::Fill_User_profile_info_front_side()
{
    Fill_User_profile_info(_graphicView, Front_user_profile, true);
}

void SKTWindowController::Fill_User_profile_info_back_side()
{
    Fill_User_profile_info(_graphicView_BACK, Back_user_profile, true);
}

void SKTWindowController::Fill_User_profile_info_TEMP_side()
{
    Fill_User_profile_info(_graphicView_TEMP, TEMP_user_profile, false);
}

void SKTWindowController::Fill_User_profile_Details()
{
    Fill_User_profile_info_front_side();
    Fill_User_profile_info_back_side();
}

QRectF SKTWindowController::Get_Control_Rect_From_Template(const QString& ctrl_ID) const
{
    // Every side takes the front card's orientation; a square card is landscape.
    const QSizeF size = Front_card_Prop.Card_Size;
    QString logged;
    QDebug(&logged).nospace() << size;
    Show_NSLog_Message(logged);
    const bool landscape = size.width() >= size.height();
    const Show_User_Profile* dialog = Show_User_Profile_Window;
    if (!dialog)
        return {};
    const QRectF frame = dialog->Placeholder_Frame(Profile_Field_Of_ID(ctrl_ID), landscape);
    return Template_Frame_To_Card_Rect(frame, dialog->Template_Height());
}
