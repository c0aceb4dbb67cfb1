// The main window's side of the start wizard, the photo editor and the
// message templates: laying the invitation out on the card, the two
// commands that reopen the wizard's photo page and the template picker, and
// what the wizards ask of the window (their host).
#include "canvas/SKTGraphicView.h"
#include "data/Design_Data_Sources.h"
#include "editor/SKTWindowController.h"
#include "model/Globals.h"
#include "model/Helpers.h"
#include "wizards/Insert_Template.h"
#include "wizards/Invitation_Globals.h"
#include "wizards/Invitation_Wizard.h"
#include "wizards/Wizard_Host.h"
#include "wizards/Wizard_Logic.h"

#include <QPlainTextEdit>
#include <QPushButton>
#include <QTabWidget>
#include <exception>

namespace {
class Main_Window_Wizard_Host : public Wizard_Host {
public:
    explicit Main_Window_Wizard_Host(SKTWindowController& window) : w(window) {}

    void Set_Card_Size_In_Control(double width_mm, double height_mm) override
    {
        w.Set_Card_Size_In_Control(width_mm, height_mm);
    }
    float MM_to_Points_Convert(float mm) const override { return w.MM_to_Points_Convert(mm); }
    QSizeF Set_Document_Size(const QSizeF& size) override { return w.Set_Document_Size(size); }
    void SetDocumentCanvasSize(const QSizeF& size) override { w.SetDocumentCanvasSize(size); }
    QStringList Card_Preset_Names(int category) const override
    {
        return category == 0 ? w.pvc_card_arry : w.paper_card_arry;
    }
    QSizeF Get_My_card_Size(const QString& category, const QString& preset, int list_index) const override
    {
        return w.Get_My_card_Size(category, preset, list_index);
    }

    User_Profile_Class* Front_user_profile() const override { return w.Front_user_profile; }
    User_Profile_Class* Back_user_profile() const override { return w.Back_user_profile; }
    User_Profile_Class* TEMP_user_profile() const override { return w.TEMP_user_profile; }
    Face& Get_Front_Controls_Array() override { return w.Get_Front_Controls_Array(); }
    Face& Get_Back_Controls_Array() override { return w.Get_Back_Controls_Array(); }
    Face Get_Temp_Controls_Array() const override { return w.Get_Temp_Controls_Array(); }
    void Temp_Design_Control_Assign(bool copies) override { w.Temp_Design_Control_Assign(copies); }
    void Temp_Design_Control_Assign_From(const Face& graphics) override
    {
        w.Temp_Design_Control_Assign_From(graphics, true);
    }
    void Fill_User_profile_info_TEMP_side() override { w.Fill_User_profile_info_TEMP_side(); }

    int Open_User_Profile_Window(bool edit, const QString& side) override
    {
        return w.Open_User_Profile_Window(edit, side);
    }
    int Open_Log_File() override { return w.Open_Log_File(); }
    void Batch_Series_Button() override { w.Batch_Series_Button(); }
    const Data_Source_Lookup& Data_Sources() const override { return Design_Data_Sources(); }

    QImage Wizard_Pattern_Image() const override { return w.wizard_pattern_image; }
    bool Main_Photo_Bound_To_Data_Set() const override { return w.main_photo_ds_batch; }

private:
    SKTWindowController& w;
};
}

void SKTWindowController::Install_Wizard_Host()
{
    static Main_Window_Wizard_Host host(*this);
    Set_Wizard_Host(&host);
}

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
            if (auto* text = dynamic_cast<SKTText*>(_graphicView->_Selected_Graphic.get()); text && item.text_scale != 1)
                text->font.setPointSizeF(text->font.pointSizeF() * item.text_scale);
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
