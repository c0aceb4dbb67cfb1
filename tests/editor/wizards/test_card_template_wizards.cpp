// The start-choice dialog, the card wizard, the template wizard with its
// template files, and the wizard-mode profile dialog, driven as a user
// drives them from the main window's commands.
#include "WizardTestKit.h"

#include "canvas/SKTGraphicView.h"
#include "data/DataSetFiles.h"
#include "model/Codes.h"
#include "model/DesignLog.h"
#include "model/GraphicArchive.h"
#include "wizards/Card_Wizard.h"
#include "wizards/Export_Template.h"
#include "wizards/Start_Card.h"
#include "wizards/Template_Files.h"
#include "wizards/Template_Wizard.h"
#include "wizards/User_profile.h"

#include <QComboBox>
#include <QDir>
#include <QDoubleSpinBox>
#include <QFile>
#include <QFileInfo>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTableWidget>

namespace {
struct TemplateTest : WizardTest {
    Template_Wizard* tw = Template_Wizard::defaultInstance();
    QString user() const { return User_Templates_Folder(); }

    void touch(const QString& path, const QByteArray& bytes = "x")
    {
        QFile f(path);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(bytes);
    }
    // A user template: a preview and a design log.
    QString userTemplate(const QString& name)
    {
        touch(user() + '/' + name + ".png", "png");
        touch(user() + '/' + name + ".gcdl", "log");
        return user() + '/' + name + ".png";
    }
    void showUserTemplates()
    {
        tw->cat_cmbo_bx->setCurrentIndex(1);
        tw->comboBoxSelectionDidChange(tw->cat_cmbo_bx);
    }
    void select(const QString& fileName)
    {
        for (int i = 0; i < tw->images.size(); ++i)
            if (tw->images[i].image_Name == fileName)
                tw->imageBrowser->setSelectionIndexes({i}, false);
    }
    QStringList userFiles() const { return QDir(user()).entryList(QDir::Files, QDir::Name); }
    // One run of a dialog in which fn acts.
    template <class D>
    void scriptRun(std::function<void(D&)> fn)
    {
        host.modalScripts.push_back([fn](QDialog& d) {
            d.setResult(0);
            fn(static_cast<D&>(d));
            return d.result();
        });
    }
};
}

TEST_F(WizardTest, EachStartChoiceClosesTheDialogWithItsLetterAndCancelEndsTheProcess)
{
    Start_Card* dlg = Start_Card::defaultInstance();
    const struct {
        void (Start_Card::*click)();
        const char* letter;
    } cases[] = {{&Start_Card::Using_Template_Click, "T"},
                 {&Start_Card::Using_Wizard_Click, "W"},
                 {&Start_Card::Open_Log_Click, "L"}};
    for (const auto& c : cases) {
        host.modalScripts.push_back([&c](QDialog& d) {
            d.setResult(0);
            (static_cast<Start_Card&>(d).*c.click)();
            return d.result();
        });
        EXPECT_EQ(dlg->Open_Wnd(), 1) << c.letter;
        EXPECT_EQ(Start_Card_Option, c.letter);
    }
    dlg->Cancel_Ends_Process = true;
    host.modalScripts.push_back([](QDialog& d) { static_cast<Start_Card&>(d).CancelClick(); return d.result(); });
    EXPECT_EQ(dlg->Open_Wnd(), 0);
    EXPECT_EQ(Start_Card_Option, "");
    EXPECT_EQ(endedWith, QList<int>{0});

    // From the menu, with a design open, Cancel goes back to the design.
    wnd->Mark_Design_Saved();
    host.modalScripts.push_back([](QDialog& d) { static_cast<Start_Card&>(d).CancelClick(); return d.result(); });
    wnd->Start_Choice_Button();
    EXPECT_EQ(endedWith, QList<int>{0});
}

TEST_F(WizardTest, CardWizardListsPresetsAndShowsTheirSizes)
{
    Card_Wizard* cw = Card_Wizard::defaultInstance();
    cw->Open_Wnd(); // unscripted: opened, then cancelled
    ASSERT_EQ(cw->ListData.size(), 7);
    EXPECT_EQ(cw->ListData[0]["Extension"], "CR80-Credit Card Size");
    EXPECT_EQ(cw->ListData[6]["Extension"], "CR70");
    EXPECT_NEAR(cw->Width_MM(), 85.598, 0.01);
    EXPECT_NEAR(cw->Height_MM(), 54.102, 0.01);
    EXPECT_EQ(cw->width_Text->text().toDouble(), cw->width_Stepper->value());

    const struct {
        int category, orientation, row;
        double w, h;
    } cases[] = {
        {0, 0, 0, 85.598, 54.102},  // CR80 landscape
        {0, 1, 0, 54.102, 85.598},  // portrait swaps
        {0, 0, 4, 88.9, 44.45},     // CR50
        {1, 0, 7, 150.114, 125.984}, // the last badge
        {1, 0, -1, 30, 30},          // nothing selected
        {1, 0, 8, 30, 30},           // past the list: nothing selected
    };
    for (const auto& c : cases) {
        cw->Category_ComboBox->setCurrentIndex(c.category);
        cw->comboBoxSelectionDidChange(cw->Category_ComboBox);
        EXPECT_EQ(cw->ListData.size(), c.category == 0 ? 7 : 8);
        cw->Preset_ComboBox->setCurrentIndex(c.orientation);
        cw->Mark_List_New_Selection(c.row);
        EXPECT_NEAR(cw->Width_MM(), c.w, 0.01) << c.category << ' ' << c.row;
        EXPECT_NEAR(cw->Height_MM(), c.h, 0.01) << c.category << ' ' << c.row;
    }
}

TEST_F(WizardTest, CardWizardOrientationHoldsWhateverTheOrderOfChoices)
{
    Card_Wizard* cw = Card_Wizard::defaultInstance();
    cw->Open_Wnd(); // unscripted: opened, then cancelled
    auto orient = [&](int index) {
        cw->Preset_ComboBox->setCurrentIndex(index);
        cw->comboBoxSelectionDidChange(cw->Preset_ComboBox);
    };
    // Preset first, then the orientation; then back.
    cw->Mark_List_New_Selection(2); // CR90: 3.62 x 2.38 inches
    orient(1);
    EXPECT_NEAR(cw->Width_MM(), 60.452, 0.01);
    EXPECT_NEAR(cw->Height_MM(), 91.948, 0.01);
    orient(0);
    EXPECT_NEAR(cw->Width_MM(), 91.948, 0.01);
    // A typed size without a preset turns too.
    cw->Mark_List_New_Selection(-1);
    cw->Set_Size_MM(120, 80);
    orient(1);
    EXPECT_EQ(cw->Width_MM(), 80);
    EXPECT_EQ(cw->Height_MM(), 120);
    orient(1);
    EXPECT_EQ(cw->Width_MM(), 80);
    // OK after choosing a preset and then Vertical gives a portrait card.
    host.modalScripts.push_back([](QDialog& d) {
        auto& w = static_cast<Card_Wizard&>(d);
        w.Mark_List_New_Selection(0);
        w.Preset_ComboBox->setCurrentIndex(1);
        w.comboBoxSelectionDidChange(w.Preset_ComboBox);
        w.OK_Click();
        return d.result();
    });
    wnd->Card_Wizard_Button();
    EXPECT_LT(wnd->Front_card_Prop.Card_Size.width(), wnd->Front_card_Prop.Card_Size.height());
}

TEST_F(WizardTest, CardWizardOkResizesTheCardAndCancelKeepsShapeAndSize)
{
    Card_Shape = Shape_Ellipse;
    const QSizeF before = wnd->Front_card_Prop.Card_Size;
    host.modalScripts.push_back([](QDialog& d) {
        auto& cw = static_cast<Card_Wizard&>(d);
        cw.matrix_card_shape->setCurrentRow(Shape_Rounded_Rectangle);
        cw.CancelClick();
        return d.result();
    });
    wnd->Card_Wizard_Button();
    EXPECT_EQ(Card_Shape, Shape_Ellipse);
    EXPECT_EQ(wnd->Front_card_Prop.Card_Size, before);

    host.modalScripts.push_back([](QDialog& d) {
        auto& cw = static_cast<Card_Wizard&>(d);
        cw.matrix_card_shape->setCurrentRow(Shape_Rounded_Rectangle);
        cw.Set_Size_MM(100, 50);
        cw.OK_Click();
        return d.result();
    });
    wnd->Card_Wizard_Button();
    EXPECT_EQ(Card_Shape, Shape_Rounded_Rectangle);
    for (const Card_Property* p : {&wnd->Front_card_Prop, &wnd->Back_card_Prop}) {
        EXPECT_NEAR(p->Card_Size.width(), 283.46, 0.01);
        EXPECT_NEAR(p->Card_Size.height(), 141.73, 0.01);
        EXPECT_EQ(p->shape, Shape_Rounded_Rectangle);
    }
    EXPECT_EQ(wnd->_graphicView->size(), QSize(283, 142));
}

// The wizard opens on the card's own shape, and OK gives the card the shape
// the list shows, whether or not the user changed it.
TEST_F(WizardTest, CardWizardShowsTheCardsShapeAndOkAppliesTheShapeShown)
{
    const struct {
        int card;
        int picked; // -1: nothing clicked
        int after;
    } cases[] = {{Shape_Ellipse, -1, Shape_Ellipse},
                 {Shape_Ellipse, Shape_Rectangle, Shape_Rectangle},
                 {Shape_Rounded_Rectangle, -1, Shape_Rounded_Rectangle},
                 {Shape_Rectangle, Shape_Ellipse, Shape_Ellipse}};
    for (const auto& c : cases) {
        SCOPED_TRACE(QString("%1 %2").arg(c.card).arg(c.picked).toStdString());
        Card_Shape = c.card;
        host.modalScripts.push_back([&c](QDialog& d) {
            auto& cw = static_cast<Card_Wizard&>(d);
            EXPECT_EQ(cw.matrix_card_shape->currentRow(), c.card);
            if (c.picked >= 0)
                cw.matrix_card_shape->setCurrentRow(c.picked);
            cw.OK_Click();
            return d.result();
        });
        wnd->Card_Wizard_Button();
        EXPECT_EQ(Card_Shape, c.after);
        EXPECT_EQ(wnd->Front_card_Prop.shape, c.after);
    }
}

TEST_F(TemplateTest, ListingTakesPngAndJpgAndGivesUserTemplatesNewIdentifiers)
{
    // A preview without its design log (an unfinished copy) is not listed.
    for (const char* name : {"A.png", "A.gcdl", "B.JPG", "B.gcdl", "notes.txt", "C.jpeg", "D.png"})
        touch(user() + '/' + name);
    EXPECT_EQ(List_Template_Previews(user()), QStringList({user() + "/A.png", user() + "/B.JPG"}));

    tw->Open_Template_Window();
    const quint64 first = User_Defined_File;
    showUserTemplates();
    ASSERT_EQ(tw->images.size(), 2);
    EXPECT_EQ(tw->images[0].image_UID, QString("TEMP%1.png").arg(first));
    EXPECT_EQ(tw->images[1].image_UID, QString("TEMP%1.png").arg(first + 1));
    EXPECT_EQ(Selected_Template_Path, user() + "/A.png");
    EXPECT_FALSE(tw->Delete_temp_btn->isHidden());
    showUserTemplates();
    EXPECT_EQ(tw->images[0].image_UID, QString("TEMP%1.png").arg(first + 2));

    // Built-in items are named by their file names and hide the user commands.
    tw->cat_cmbo_bx->setCurrentIndex(0);
    tw->comboBoxSelectionDidChange(tw->cat_cmbo_bx);
    ASSERT_FALSE(tw->images.isEmpty());
    EXPECT_EQ(tw->images[0].image_UID, tw->images[0].image_Name);
    EXPECT_TRUE(tw->Delete_temp_btn->isHidden());
}

TEST_F(TemplateTest, ARelistingForgetsTheSelectionOfTheListBefore)
{
    QDir(user()).removeRecursively();
    tw->Open_Template_Window();
    ASSERT_FALSE(Selected_Template_Path.isEmpty()); // a built-in template
    showUserTemplates();
    EXPECT_TRUE(tw->images.isEmpty());
    EXPECT_EQ(Selected_Template_Path, "");
    tw->OK_Click();
    EXPECT_EQ(host.alertTexts(), QStringList{"Please select template."});
}

TEST_F(TemplateTest, OkGivesTheDesignLogAndRefusesAPreviewWithoutOne)
{
    userTemplate("Party");
    QFile::remove(user() + "/Party.gcdl");
    tw->Open_Template_Window();
    showUserTemplates();
    tw->OK_Click();
    EXPECT_EQ(host.alertTexts(), QStringList{"Please select template."});

    Card_Shape = Shape_Ellipse;
    tw->cat_cmbo_bx->setCurrentIndex(0);
    tw->comboBoxSelectionDidChange(tw->cat_cmbo_bx);
    select("ID Card.png");
    tw->OK_Click();
    EXPECT_EQ(Selected_Template_Path, Builtin_Templates_Folder() + "/ID Card.gcdl");
    EXPECT_EQ(Card_Shape, Shape_Rectangle);
    EXPECT_EQ(tw->result(), 1);

    Card_Shape = Shape_Ellipse;
    scriptRun<Template_Wizard>([](Template_Wizard& d) { d.reject(); }); // Escape is Cancel
    EXPECT_EQ(tw->Open_Template_Window(), 0);
    EXPECT_EQ(Selected_Template_Path, "");
    EXPECT_EQ(Card_Shape, Shape_Ellipse);
}

TEST_F(TemplateTest, CopyNamesTheFirstFreeCopyForBothFiles)
{
    const QString x = userTemplate("X");
    touch(user() + "/X (copy 1).png");
    touch(user() + "/X (copy 2).gcdl"); // a design log alone also takes the name
    EXPECT_EQ(Create_New_File_Path(x), user() + "/X (copy 3).png");
    // Only the file's own name changes, even when its folder bears the same.
    QDir().mkpath(resources.path() + "/X.png");
    EXPECT_EQ(Create_New_File_Path(resources.path() + "/X.png/X.png"), resources.path() + "/X.png/X (copy 1).png");

    tw->Open_Template_Window();
    showUserTemplates();
    select("X.png");
    host.answer("Yes");
    tw->Copy_Templatee_Click();
    EXPECT_TRUE(QFileInfo::exists(user() + "/X (copy 3).png"));
    EXPECT_TRUE(QFileInfo::exists(user() + "/X (copy 3).gcdl"));
    EXPECT_EQ(host.alertTexts(), QStringList{"Do you want to make copy of this template?"});
}

TEST_F(TemplateTest, RenameAndDeleteActOnlyOnUserTemplatesAndKeepFilesOnFailure)
{
    userTemplate("Old");
    userTemplate("Taken");
    tw->Open_Template_Window();
    // Built-in templates are never changed.
    tw->Delete_Template_Click();
    tw->Rename_Template_Click();
    tw->Copy_Templatee_Click();
    EXPECT_EQ(host.alertTexts(), QStringList(3, "Built-in templates cannot be changed."));
    host.alerts.clear();

    const struct {
        QString name;
        QString message; // empty: renamed
    } cases[] = {
        {"a/b", "A template name cannot contain \"/\" or \"\\\"."},
        {"..", "A template name cannot contain \"/\" or \"\\\"."},
        {".hidden", "A template name cannot contain \"/\" or \"\\\"."},
        {"tab\tin", "A template name cannot contain \"/\" or \"\\\"."},
        {"Taken", "Template with this name already exists."},
        {QString(300, 'n'), "The template could not be copied."},
        {"Old", ""},
        {"New", ""},
    };
    showUserTemplates();
    for (const auto& c : cases) {
        host.alerts.clear();
        select("Old.png");
        scriptRun<Export_Template>([&c](Export_Template& d) {
            d.template_name->setText(c.name);
            d.OKPressed();
        });
        tw->Rename_Template_Click();
        const QStringList alerts = host.alertTexts();
        EXPECT_EQ(alerts.value(0), c.message) << c.name.left(10).toStdString();
        if (!c.message.isEmpty()) {
            // The dialog may still be open: close it.
            Export_Template::defaultInstance()->done(0);
            EXPECT_EQ(userFiles(), QStringList({"Old.gcdl", "Old.png", "Taken.gcdl", "Taken.png"}));
        }
    }
    EXPECT_EQ(userFiles(), QStringList({"New.gcdl", "New.png", "Taken.gcdl", "Taken.png"}));

    host.alerts.clear();
    select("New.png");
    host.answer("No");
    tw->Delete_Template_Click();
    EXPECT_EQ(userFiles().size(), 4);
    host.answer("Yes");
    tw->Delete_Template_Click();
    EXPECT_EQ(userFiles(), QStringList({"Taken.gcdl", "Taken.png"}));
    EXPECT_EQ(Selected_Template_Path, user() + "/Taken.png");
}

TEST_F(TemplateTest, EveryBuiltInTemplateOpensAsAnUnchangedNewDesignWithoutAnError)
{
    const QStringList previews = List_Template_Previews(Builtin_Templates_Folder());
    ASSERT_GE(previews.size(), 4);
    wnd->Mark_Design_Saved();
    for (const QString& preview : previews) {
        host.alerts.clear();
        scriptRun<Template_Wizard>([&preview, this](Template_Wizard& d) {
            select(QFileInfo(preview).fileName());
            d.OK_Click();
        });
        wnd->New_From_Template_Button();
        EXPECT_TRUE(host.alertTexts().isEmpty()) << preview.toStdString() << host.alertTexts().join('|').toStdString();
        // Opened, not yet changed by the user.
        EXPECT_FALSE(wnd->Design_Has_Changes()) << preview.toStdString();
        EXPECT_FALSE(wnd->isWindowModified()) << preview.toStdString();
        EXPECT_FALSE(wnd->document.graphics.isEmpty()) << preview.toStdString();
        const bool hasBarcode = std::any_of(wnd->document.graphics.begin(), wnd->document.graphics.end(),
                                            [](const GraphicPtr& g) { return !g->_barcode_image.isNull(); });
        if (preview.endsWith("ID Card.png")) {
            EXPECT_TRUE(hasBarcode);
        }
        wnd->Mark_Design_Saved();
    }
}

TEST_F(TemplateTest, TheSizePanelAndTheProfilePreviewShowTheSelectedTemplate)
{
    // A CR90 user template in portrait, and a design open behind the wizard.
    Design_Log_Content log;
    log.front.Card_Size = QSizeF(2.38 * 72, 3.62 * 72);
    SKTText mark;
    mark.text = "TEMPLATE MARK";
    mark.bounds = QRectF(10, 10, 120, 30);
    log.frontGraphics << Archive_Graphic(mark);
    touch(user() + "/Tall.png", "png");
    ASSERT_TRUE(Write_Design_Log(user() + "/Tall.gcdl", log));
    auto behind = std::make_shared<SKTText>();
    behind->text = "DESIGN BEHIND";
    wnd->Get_Front_Controls_Array() << behind;
    wnd->Mark_Design_Saved();

    auto texts = [](const Face& face) {
        QStringList found;
        for (const GraphicPtr& g : face)
            if (auto* t = dynamic_cast<SKTText*>(g.get()))
                found << t->text;
        return found;
    };
    scriptRun<Template_Wizard>([&](Template_Wizard& d) {
        showUserTemplates();
        select("Tall.png");
        EXPECT_NEAR(d.Width_MM(), 60.452, 0.01);
        EXPECT_NEAR(d.Height_MM(), 91.948, 0.01);
        EXPECT_EQ(d.Preset_ComboBox->currentText(), "Vertical");
        EXPECT_TRUE(d.ColList->selectedRanges().isEmpty());
        scriptRun<User_profile>([&](User_profile& p) {
            p.name_value->setText("Ann Lee");
            p.Preview_Btn_Clicked();
            const QStringList shown = texts(p.Graphics_array);
            EXPECT_TRUE(shown.contains("TEMPLATE MARK")) << shown.join('|').toStdString();
            EXPECT_TRUE(shown.contains("Ann Lee")) << shown.join('|').toStdString();
            EXPECT_FALSE(shown.contains("DESIGN BEHIND"));
            p.Cancel_Btn_Clicked();
        });
        d.User_Profile_Click();
        d.CancelClick();
    });
    wnd->New_From_Template_Button();
    // The design behind is untouched.
    EXPECT_EQ(texts(wnd->Get_Front_Controls_Array()), QStringList{"DESIGN BEHIND"});
}

TEST_F(TemplateTest, WizardModeProfileWritesBothRecordsAndTheTemplateShowsThem)
{
    ASSERT_TRUE(Write_Data_Set("Phones", {"555-0100"}, false));
    auto fill = [](User_profile& d) {
        d.name_value->setText("Ann Lee");
        d.phone_ds_combo->setCurrentIndex(Source_Data_Set);
        d.comboBoxSelectionDidChange(d.phone_ds_combo);
        d.phone_ser_col_cb->setCurrentIndex(d.phone_ser_col_cb->findText("Phones"));
        d.comboBoxSelectionDidChange(d.phone_ser_col_cb);
    };
    // An earlier opening's values do not show again.
    scriptRun<User_profile>([&](User_profile& d) { fill(d); d.OK_Btn_Clicked(); });
    EXPECT_EQ(wnd->Open_User_Profile_Window(false, " "), 1);
    scriptRun<User_profile>([](User_profile& d) {
        EXPECT_EQ(d.windowTitle(), "User Profile Information");
        EXPECT_EQ(d.name_value->text(), "");
        EXPECT_EQ(d.phone_ds_combo->currentIndex(), Source_Typed);
        EXPECT_EQ(d.name_side_combo->currentIndex(), 2);
        EXPECT_EQ(d.name_label_chk, nullptr);
        d.Cancel_Btn_Clicked();
    });
    EXPECT_EQ(wnd->Open_User_Profile_Window(false, ""), 0);
    EXPECT_EQ(host.modalRuns, QStringList({"User_profile", "User_profile"}));
    for (const User_Profile_Class* r : {wnd->Front_user_profile, wnd->Back_user_profile}) {
        EXPECT_EQ(r->field[Profile_Name].value, "Ann Lee");
        EXPECT_EQ(r->field[Profile_phone].value, "555-0100");
        EXPECT_TRUE(r->field[Profile_phone].ds);
        EXPECT_EQ(r->field[Profile_phone].ds_name, "Phones");
    }

    // A source chosen without its data set fails on the front: the back stays.
    scriptRun<User_profile>([](User_profile& d) {
        d.name_value->setText("Bo");
        d.fax_ds_combo->setCurrentIndex(Source_Data_Set);
        d.comboBoxSelectionDidChange(d.fax_ds_combo);
        d.OK_Btn_Clicked();
        EXPECT_EQ(d.result(), 0);
        // A field kept to the front leaves the back's value alone.
        d.fax_ds_combo->setCurrentIndex(Source_Typed);
        d.comboBoxSelectionDidChange(d.fax_ds_combo);
        d.name_side_combo->setCurrentIndex(0);
        d.title_value->setText("Chef");
        d.OK_Btn_Clicked();
    });
    host.answer("OK");
    EXPECT_EQ(wnd->Open_User_Profile_Window(false, ""), 1);
    EXPECT_EQ(wnd->Front_user_profile->field[Profile_Name].value, "Bo");
    EXPECT_EQ(wnd->Back_user_profile->field[Profile_Name].value, "Ann Lee");
    EXPECT_EQ(wnd->Back_user_profile->field[Profile_Title].value, "Chef");

    // From the template wizard the profile fills the chosen template.
    scriptRun<Template_Wizard>([this](Template_Wizard& d) {
        scriptRun<User_profile>([](User_profile& p) { p.name_value->setText("Cy Ode"); p.OK_Btn_Clicked(); });
        d.User_Profile_Click();
        select("Name Badge.png");
        d.OK_Click();
    });
    wnd->Mark_Design_Saved();
    wnd->New_From_Template_Button();
    const GraphicPtr name = wnd->_graphicView->Selcect_Ctrl_With_ID("Fup_Name");
    ASSERT_TRUE(name);
    EXPECT_EQ(name->Text_Value, "Cy Ode");
}
