// User profiles: the record, the profile dialog, the preview and placing the
// fields on the card, driven the way the User Profile command runs them.
#include "support/SharedState.h"
#include "WizardTestKit.h"

#include "canvas/SKTGraphicView.h"
#include "data/DataSetFiles.h"
#include "data/Data_From_Excel.h"
#include "model/GraphicArchive.h"
#include "wizards/Card_Wizard.h"
#include "wizards/Profile_Placement.h"
#include "wizards/Show_User_Profile.h"
#include "wizards/User_Profile_Class.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QCheckBox>
#include <stdexcept>

namespace {
struct ProfileTest : WizardTest {
    Show_User_Profile* dlg = Show_User_Profile::defaultInstance();

    void SetUp() override
    {
        WizardTest::SetUp();
        Excel_Binding_Use = false;
        wnd->side_switch->setCurrentIndex(0);
        dlg->load_side = "F";
        dlg->Open_Wnd(false); // unscripted: cleared, then cancelled
        host.modalRuns.clear();
    }
    void TearDown() override
    {
        WizardTest::TearDown();
    }
    // One run of the profile dialog in which fn acts.
    void scriptProfile(std::function<void(Show_User_Profile&)> fn)
    {
        host.modalScripts.push_back([fn](QDialog& d) {
            d.setResult(0);
            fn(static_cast<Show_User_Profile&>(d));
            return d.result();
        });
    }
    static void choose(QComboBox* combo, int index, Show_User_Profile& d)
    {
        combo->setCurrentIndex(index);
        d.comboBoxSelectionDidChange(combo);
    }
    GraphicPtr front(const QString& id) { return wnd->_graphicView->Selcect_Ctrl_With_ID(id); }
    QList<QByteArray> archives(const Face& face)
    {
        QList<QByteArray> out;
        for (const GraphicPtr& g : face)
            out << Archive_Graphic(*g);
        return out;
    }
    void loadSpreadsheet()
    {
        Data_From_Excel_Window->Set_Data_Columns({"Name", "Town"});
        Data_From_Excel_Window->Create_List_By_Array({"Eve", "Oslo"}, 2);
    }
};

struct LabelText : SKTText {}; // a kind of its own that happens to derive from text
}

TEST_F(ProfileTest, RecordsAreResetWithTheirIdentifiersAndANewProjectSparesThePreview)
{
    User_Profile_Class fresh;
    EXPECT_TRUE(fresh.image_id().isNull());
    fresh.setSlogan_ds(true);
    fresh.setCompany_name_xl_col_indx(3);
    fresh.setName("Ann");
    fresh.Reset_All_Values();
    EXPECT_EQ(fresh.image_id(), "Fup_Photo");
    EXPECT_EQ(fresh.phone_label_id(), "Fup_lbl_PhoneNO");
    EXPECT_EQ(fresh.Name(), "");
    EXPECT_FALSE(fresh.slogan_ds());
    EXPECT_EQ(fresh.Company_name_xl_col_indx(), 0);

    for (User_Profile_Class* r : {wnd->Front_user_profile, wnd->Back_user_profile, wnd->TEMP_user_profile})
        r->setName("kept?");
    wnd->New_Project_Setting_Reset();
    EXPECT_EQ(wnd->Front_user_profile->Name(), "");
    EXPECT_EQ(wnd->Back_user_profile->Name(), "");
    EXPECT_EQ(wnd->TEMP_user_profile->Name(), "kept?");
}

TEST_F(ProfileTest, ABoundFieldWithoutItsSourceIsNamedAndNothingIsWritten)
{
    const QStringList names = {"Name", "Position / Title", "Company Name", "Company Slogan", "Address", "Phone No.",
                               "Fax No.", "Email Id", "Website", "Unique No.", "Photo"};
    loadSpreadsheet();
    wnd->Front_user_profile->setName("before");
    for (int f = 0; f < Profile_Field_Count; ++f) {
        SCOPED_TRACE(f);
        host.alerts.clear();
        scriptProfile([&](Show_User_Profile& d) {
            d.name_value->setText("typed");
            // This field and the last one are bound with nothing chosen.
            choose(d.fields[f].ds_combo, 1 + f % 2, d);
            choose(d.fields[Profile_image].ds_combo, 1, d);
            d.OK_Btn_Clicked();
        });
        EXPECT_EQ(wnd->Open_User_Profile_Window(true, "F"), 0);
        EXPECT_EQ(host.alertTexts(), QStringList{"Please select the source for '" + names[f] + "'"});
        EXPECT_EQ(wnd->Front_user_profile->Name(), "before");
    }
    EXPECT_FALSE(Fill_User_Profile);
}

TEST_F(ProfileTest, ACheckThatFailsRefusesTheProfileAndSaysWhy)
{
    struct Failing : Show_User_Profile {
        Profile_Field_Choice Field_Choice(int) const override { throw std::runtime_error("list gone"); }
    } failing;
    EXPECT_FALSE(failing.Check_Validation());
    wnd->Front_user_profile->setName("before");
    failing.name_value->setText("after");
    EXPECT_FALSE(failing.Fill_Front_User_profile_value_in_Variable());
    EXPECT_EQ(host.alertTexts(), QStringList{"The profile could not be checked: list gone"});
    EXPECT_EQ(wnd->Front_user_profile->Name(), "before");
}

TEST_F(ProfileTest, OkWritesTheRecordOfTheEditedSideOnly)
{
    struct Case { QString side; bool front, back; };
    for (const Case& c : {Case{"F", true, false}, Case{"B", false, true}, Case{"", true, true}}) {
        SCOPED_TRACE(c.side.toStdString());
        wnd->New_Project_Setting_Reset();
        scriptProfile([](Show_User_Profile& d) {
            d.phone_value->setText("555");
            d.OK_Btn_Clicked();
        });
        EXPECT_EQ(wnd->Open_User_Profile_Window(true, c.side), 1);
        EXPECT_EQ(wnd->Front_user_profile->phone(), c.front ? "555" : "");
        EXPECT_EQ(wnd->Back_user_profile->phone(), c.back ? "555" : "");
        EXPECT_EQ(wnd->Front_user_profile->Fill_User_Profile_Enable, c.front);
        EXPECT_TRUE(Fill_User_Profile);
    }
}

// The road of a badge: type, browse a photo, preview, accept, see the fields
// on the card, reopen and find them again; then the back; then the export.
TEST_F(ProfileTest, AProfileIsTypedPreviewedPlacedReadBackAndExported)
{
    const QString photo = makePhoto("me.png");
    scriptProfile([&](Show_User_Profile& d) {
        EXPECT_EQ(d.windowTitle(), "Front Side User Profile Information");
        d.name_value->setText("Ann Lee");
        d.controlTextDidChange(d.name_value);
        d.email_value->setText("ann@example.org");
        host.answerPanel(photo);
        d.Browse_image_Btn_Clicked();
        d.Preview_Btn_Clicked();
        EXPECT_FALSE(d.Preivew_picture->pixmap().isNull());
        d.OK_Btn_Clicked();
    });
    wnd->User_Profile_Button_Clicked();
    ASSERT_TRUE(front("Fup_Name") && front("Fup_EmailID") && front("Fup_Photo"));
    EXPECT_EQ(std::static_pointer_cast<SKTText>(front("Fup_Name"))->text, "Ann Lee");
    EXPECT_EQ(std::static_pointer_cast<SKTImage>(front("Fup_Photo"))->filePath(), photo);
    EXPECT_EQ(front("Fup_Name")->bounds, Profile_Fields()[Profile_Name].landscape);
    EXPECT_EQ(wnd->Get_Front_Controls_Array().size(), 3);
    EXPECT_TRUE(wnd->Get_Back_Controls_Array().isEmpty());

    scriptProfile([&](Show_User_Profile& d) {
        EXPECT_EQ(d.name_value->text(), "Ann Lee");
        EXPECT_TRUE(d.name_value_chk->isChecked());
        EXPECT_EQ(d.email_value->text(), "ann@example.org");
        EXPECT_EQ(d.image_path_val->text(), photo);
        EXPECT_EQ(d.phone_value->text(), "");
    });
    EXPECT_EQ(wnd->Open_User_Profile_Window(true, "F"), 0);

    wnd->side_switch->setCurrentIndex(1);
    scriptProfile([&](Show_User_Profile& d) {
        EXPECT_EQ(d.windowTitle(), "Back Side User Profile Information");
        EXPECT_EQ(d.name_value->text(), "");
        d.website_value->setText("example.org");
        d.OK_Btn_Clicked();
    });
    wnd->User_Profile_Button_Clicked();
    ASSERT_EQ(wnd->Get_Back_Controls_Array().size(), 1);
    EXPECT_EQ(wnd->Get_Back_Controls_Array()[0]->control_ID, "Fup_Website");
    wnd->side_switch->setCurrentIndex(0);

    const QString out = resources.path() + "/card.png";
    ASSERT_TRUE(wnd->Export_Single_File(out, false));
    const QImage card(out);
    const QRect nameRect = Profile_Fields()[Profile_Name].landscape.toRect();
    int dark = 0;
    for (int y = nameRect.top(); y <= nameRect.bottom(); ++y)
        for (int x = nameRect.left(); x <= nameRect.right(); ++x)
            dark += qGray(card.pixel(x, y)) < 128;
    EXPECT_GT(dark, 20); // the name is written there
    EXPECT_EQ(card.pixel(25, 46), QColor(Qt::red).rgb()); // the photo's red half
}

TEST_F(ProfileTest, OpeningReadsBackOnlyVisibleTextAndImageGraphicsTheBackmostWinning)
{
    auto text = [](const QString& id, const QString& value, bool visible = true) {
        auto t = std::make_shared<SKTText>();
        t->control_ID = id, t->Text_Value = value, t->ctrl_is_visible = visible;
        return t;
    };
    auto barcode = std::make_shared<SKTBarcode>();
    barcode->control_ID = "Fup_PhoneNO", barcode->Text_Value = "123";
    auto label = std::make_shared<LabelText>();
    label->control_ID = "Fup_FaxNo", label->Text_Value = "fax";
    wnd->Get_Front_Controls_Array() = {text("Fup_Name", "hidden", false), barcode, label, text("Fup_Title", "front"),
                                       text(" Fup_EmailID ", "mail"), text("Fup_Title", "back")};
    scriptProfile([&](Show_User_Profile& d) {
        EXPECT_EQ(d.name_value->text(), "");
        EXPECT_FALSE(d.name_value_chk->isChecked());
        EXPECT_EQ(d.phone_value->text(), "");
        EXPECT_EQ(d.fax_value->text(), "");
        EXPECT_EQ(d.title_value->text(), "back");
        EXPECT_EQ(d.email_value->text(), "mail");
    });
    wnd->Open_User_Profile_Window(true, "F");
}

TEST_F(ProfileTest, BoundFieldsReopenOnTheirDataSetByNameAndAColumnPastTheEndStaysUnchosen)
{
    ASSERT_TRUE(Write_Data_Set("Cities", {"Rome"}, false));
    ASSERT_TRUE(Write_Data_Set("Names", {"Zoe", "Max"}, false));
    loadSpreadsheet();
    auto bound = [](const QString& id, int type, const QString& set, int index, int column) {
        auto t = std::make_shared<SKTText>();
        t->control_ID = id, t->Text_Value = "old";
        t->data_source_type = type, t->batch_list_name = set, t->batch_list_index = index, t->excel_col_indx = column;
        return t;
    };
    // "Names" is listed second, though it was first when the field was bound.
    wnd->Get_Front_Controls_Array() = {bound("Fup_Name", 1, "Names", 0, 0), bound("Fup_Title", 2, "", 0, 7),
                                       bound("Fup_Company", 2, "", 0, 2), bound("Fup_Address", 1, "Gone", 0, 0)};
    scriptProfile([&](Show_User_Profile& d) {
        EXPECT_EQ(d.name_ser_col_cb->currentText(), "Names");
        EXPECT_EQ(d.name_value->text(), "Zoe");
        EXPECT_EQ(d.title_ds_combo->currentIndex(), 2);
        EXPECT_EQ(d.title_ser_col_cb->currentIndex(), -1);
        EXPECT_EQ(d.comp_name_value->text(), "Oslo");
        EXPECT_EQ(d.address_ser_col_cb->currentIndex(), -1);
        d.OK_Btn_Clicked();
    });
    EXPECT_EQ(wnd->Open_User_Profile_Window(true, "F"), 0);
    EXPECT_EQ(host.alertTexts(), QStringList{"Please select the source for 'Position / Title'"});
}

TEST_F(ProfileTest, PlacementCreatesOnceUpdatesInPlaceAndHidesEmptiedFields)
{
    User_Profile_Class& r = *wnd->Front_user_profile;
    r.setName("Ann");
    r.setTitle("Chair");
    r.setImage(makePhoto("p.png"));
    Fill_User_Profile = true;
    wnd->Fill_User_profile_info_front_side();
    const Face& face = wnd->Get_Front_Controls_Array();
    ASSERT_EQ(face.size(), 3);
    EXPECT_EQ(face[0]->control_ID, "Fup_Photo");
    EXPECT_EQ(face[2]->control_ID, "Fup_Name");
    EXPECT_EQ(Selected_Control_Tool.load(), int(Tool_Image_File));

    const GraphicPtr name = face[2];
    name->bounds.moveTo(100, 100);
    r.setName("Bo");
    r.setTitle("");
    wnd->Fill_User_profile_info_front_side();
    ASSERT_EQ(face.size(), 3);
    EXPECT_EQ(face[2], name);
    EXPECT_EQ(name->bounds.topLeft(), QPointF(100, 100));
    EXPECT_EQ(std::static_pointer_cast<SKTText>(name)->text, "Bo");
    EXPECT_FALSE(front("Fup_Title")->ctrl_is_visible);

    r.setTitle("Dean");
    wnd->Fill_User_profile_info_front_side();
    EXPECT_TRUE(front("Fup_Title")->ctrl_is_visible);
    EXPECT_EQ(face.size(), 3);
}

TEST_F(ProfileTest, PlacedGraphicsAreBoundAsTheirFieldsSay)
{
    struct Case { bool ds, xl; int type; bool excel; QString set; };
    const Case cases[] = {{false, false, 0, false, ""}, {true, false, 1, false, "Names"},
                          {false, true, 2, true, "Old"}, {true, true, 2, true, "Names"}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.type);
        // The graphic was bound to something else before.
        auto t = std::make_shared<SKTText>();
        t->control_ID = "Fup_Name", t->data_source_type = 1, t->batch_list_name = "Old", t->excel_binding = true;
        wnd->Get_Front_Controls_Array() = {t};
        User_Profile_Class& r = *wnd->Front_user_profile;
        r.Reset_All_Values();
        r.setName("x");
        r.setName_ds(c.ds), r.setName_ds_name(c.ds ? "Names" : ""), r.setName_xl(c.xl), r.setName_xl_col_indx(2);
        Fill_User_Profile = true;
        wnd->Fill_User_profile_info_front_side();
        EXPECT_EQ(t->data_source_type, c.type);
        EXPECT_EQ(t->excel_binding, c.excel);
        EXPECT_EQ(t->batch_list_name, c.set);
    }
}

TEST_F(ProfileTest, WithoutAnAcceptedProfileOnlyTheExcelEntryFollowsTheSpreadsheet)
{
    User_Profile_Class& r = *wnd->Front_user_profile;
    r.setName("Ann");
    wnd->TEMP_user_profile->Reset_All_Values();
    wnd->TEMP_user_profile->setName("Ann");
    Fill_User_Profile = false;
    for (bool use : {true, false}) {
        Excel_Binding_Use = use;
        wnd->Fill_User_profile_info_front_side();
        EXPECT_EQ(wnd->Data_source_type->count(), use ? 3 : 2);
        EXPECT_TRUE(wnd->Get_Front_Controls_Array().isEmpty());
    }
    wnd->Fill_User_profile_info_TEMP_side(); // the preview needs no accepted profile
    EXPECT_EQ(wnd->document.graphics_temp.size(), 1);
}

TEST_F(ProfileTest, AFieldWithoutAPlaceholderGetsNoGraphicAndLendsNoBinding)
{
    User_Profile_Class r;
    r.Reset_All_Values();
    r.setName("Ann"), r.setName_ds(true), r.setName_ds_name("A");
    r.setTitle("Chair"), r.setTitle_ds(true), r.setTitle_ds_name("B");
    Place_User_Profile(*wnd->_graphicView, r, [](const QString& id) {
        return id == "Fup_Title" ? QRectF() : QRectF(10, 10, 50, 20);
    });
    ASSERT_EQ(wnd->Get_Front_Controls_Array().size(), 1);
    EXPECT_EQ(front("Fup_Name")->batch_list_name, "A");
    EXPECT_EQ(front("Fup_Title"), nullptr);
}

// On a landscape and on a portrait badge, the back's profile shows every
// field whole, long values included: each on one line in its box (smaller
// where it has to be), on the card.
TEST_F(ProfileTest, EveryProfileFieldShowsItsWholeValue)
{
    const std::pair<Profile_Field, const char*> values[] = {
        {Profile_Name, "Dr. Alexandra Konstantinopoulou-Smith"},
        {Profile_Title, "Senior Vice President, Research"},
        {Profile_Company_name, "Internationale Handelsgesellschaft mbH"},
        {Profile_slogan, "Quality you can count on, every single day"},
        {Profile_address, "Hauptstraße 123, 10115 Berlin, Germany"},
        {Profile_phone, "+49 30 1234"},
        {Profile_fax, "+49 30 1234 5679 0000"},
        {Profile_email, "alexandra.konstantinopoulou@example.com"},
        {Profile_website, "www.internationale-handelsgesellschaft.de"},
        {Profile_unique, "ID-2026-000123-X"},
    };
    wnd->side_switch->setCurrentIndex(1);
    for (const QSizeF& mm : {QSizeF(85.6, 54.0), QSizeF(54.0, 85.6)}) {
        SCOPED_TRACE(mm.width());
        host.modalScripts.push_back([&mm](QDialog& d) {
            static_cast<Card_Wizard&>(d).Set_Size_MM(mm.width(), mm.height());
            static_cast<Card_Wizard&>(d).OK_Click();
            return d.result();
        });
        wnd->Card_Wizard_Button();
        wnd->document.graphics_back.clear();
        scriptProfile([&](Show_User_Profile& d) {
            for (const auto& [field, value] : values)
                d.fields[field].value->setText(QString::fromUtf8(value));
            d.OK_Btn_Clicked();
        });
        wnd->User_Profile_Button_Clicked();
        const QSizeF card = wnd->Back_card_Prop.Card_Size;
        for (const auto& [field, value] : values) {
            SCOPED_TRACE(value);
            std::shared_ptr<SKTText> text;
            for (const GraphicPtr& g : wnd->Get_Back_Controls_Array())
                if (g->control_ID == Profile_Fields()[field].ctrl_ID)
                    text = std::dynamic_pointer_cast<SKTText>(g);
            ASSERT_TRUE(text);
            EXPECT_EQ(text->text, QString::fromUtf8(value));
            EXPECT_LE(text->Text_Height(text->bounds.width()), text->bounds.height());
            EXPECT_LE(text->bounds.right(), card.width());
            EXPECT_LE(text->Text_Width(), text->bounds.width()); // on one line
            EXPECT_GE(text->font.pointSizeF(), 14 * Profile_Smallest_Text_Scale);
        }
    }
    wnd->side_switch->setCurrentIndex(0);
}

TEST_F(ProfileTest, DefaultRectanglesFollowTheFrontCardsOrientation)
{
    struct Case { QSizeF card; bool landscape; };
    for (const Case& c : {Case{{243, 153}, true}, Case{{200, 200}, true}, Case{{153, 243}, false}}) {
        wnd->Front_card_Prop.Card_Size = c.card;
        for (const Profile_Field_Row& f : Profile_Fields())
            EXPECT_EQ(wnd->Get_Control_Rect_From_Template(f.ctrl_ID), c.landscape ? f.landscape : f.portrait);
    }
    EXPECT_EQ(wnd->Get_Control_Rect_From_Template("Nope"), QRectF(0, dlg->horz_template->height(), 0, 0));
}

TEST_F(ProfileTest, PreviewWorksOnCopiesSoCancelLeavesTheCardAsItWas)
{
    User_Profile_Class& r = *wnd->Front_user_profile;
    r.setName("Ann");
    r.setPhone("1");
    Fill_User_Profile = true;
    wnd->Fill_User_profile_info_front_side();
    const auto before = archives(wnd->Get_Front_Controls_Array());
    last_ctrl_X = 33, last_ctrl_Y = 44;
    scriptProfile([&](Show_User_Profile& d) {
        d.name_value->setText("Bob");
        d.phone_value->clear();
        d.slogan_value->setText("New");
        d.Preview_Btn_Clicked();
        d.Cancel_Btn_Clicked();
    });
    EXPECT_EQ(wnd->Open_User_Profile_Window(true, "F"), 0);
    EXPECT_EQ(archives(wnd->Get_Front_Controls_Array()), before);
    EXPECT_EQ(wnd->Front_user_profile->Name(), "Ann");
    EXPECT_EQ(wnd->TEMP_user_profile->Name(), "Bob");
    EXPECT_EQ(wnd->document.graphics_temp.size(), 3);
    EXPECT_EQ(std::static_pointer_cast<SKTText>(wnd->_graphicView_TEMP->Selcect_Ctrl_With_ID("Fup_Name"))->text, "Bob");
    EXPECT_EQ(last_ctrl_X, 33);
    EXPECT_EQ(last_ctrl_Y, 44);
}

TEST_F(ProfileTest, APhotoThatCannotBeReadClearsTheThumbnailAndSaysWhy)
{
    dlg->Set_User_Image(makePhoto("ok.png"));
    EXPECT_FALSE(dlg->user_picture->pixmap().isNull());
    const QString bad = makeNotAPicture("bad.png");
    dlg->Set_User_Image(bad);
    EXPECT_TRUE(dlg->user_picture->pixmap().isNull());
    EXPECT_EQ(dlg->image_path_val->text(), bad);
    ASSERT_EQ(host.alertTexts().size(), 1);
    EXPECT_TRUE(host.alertTexts()[0].startsWith("The photo \"" + bad + "\" could not be loaded: "));
}
