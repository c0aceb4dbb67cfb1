// The main window's side of the start wizard, the photo editor and the
// message templates: laying the invitation out on the card and the two
// commands that reopen the wizard's photo page and the template picker.
#include "canvas/SKTGraphicView.h"
#include "editor/SKTWindowController.h"
#include "model/Globals.h"
#include "model/Helpers.h"
#include "wizards/Insert_Template.h"
#include "wizards/Invitation_Globals.h"
#include "wizards/Invitation_Wizard.h"
#include "wizards/Wizard_Logic.h"

#include <QPlainTextEdit>
#include <QPushButton>
#include <QTabWidget>
#include <exception>

void SKTWindowController::Fill_Party_Invidation_Details()
{
    try {
        const QString previousLibraryImage = Library_Selected_Image;
        Selected_Control_Tool = Tool_Text;
        const QList<Party_Item> items = Party_Layout_Items(Front_card_Prop.Card_Size, Front_card_Prop.Card_Location,
                                                            Get_Main_Photo_image().size());
        for (const Party_Item& item : items) {
            // Each picture comes from its own file, never from a path chosen
            // earlier for something else; a text after a picture is a text.
            Selected_Control_Tool = item.kind == GraphicKind::Image ? Tool_Image_File : Tool_Text;
            Library_Selected_Image = item.kind == GraphicKind::Image ? item.value : QString();
            _graphicView->createGraphicOfClass(item.kind, nullptr, true, item.rect, QStringLiteral("F"), item.value,
                                               item.ctrl_ID);
        }
        Library_Selected_Image = previousLibraryImage;
        _graphicView->update();
    } catch (const std::exception& e) {
        Show_NSLog_Message(QString::fromUtf8(e.what()));
    }
}

void SKTWindowController::Edit_Main_Photo_Button()
{
    try {
        Update_Main_Photo_Binding();
        if (Invitation_Wizard::defaultInstance()->Open_Wnd_For_Edit_Photo() != 1)
            return;
        _graphicView->ReplaceGraphicText(GraphicKind::Image, nullptr, false, QRectF(), QStringLiteral("F"),
                                         Invite_Frame_Pic_IMG, QStringLiteral("PARTY_IMAGE"));
        _graphicView->update();
        Refresh_Canvas();
        settings_tab->setCurrentIndex(0);
    } catch (const std::exception& e) {
        Show_NSLog_Message(QString::fromUtf8(e.what()));
    }
}

void SKTWindowController::Insert_Template_Button()
{
    try {
        Insert_Template* picker = Insert_Template::defaultInstance();
        picker->title_or_msg = insert_template_btn->text() == QLatin1String("Use Template Title") ? QStringLiteral("T")
                                                                                                 : QStringLiteral("M");
        if (picker->Open_Template_Dialog() != 1)
            return;
        // The editor's change handler applies the text to the graphic being edited.
        Text_value_Edit->setPlainText(Template_Msg_Val);
    } catch (const std::exception& e) {
        Show_NSLog_Message(QString::fromUtf8(e.what()));
    }
}
