#include "canvas/SKTGraphicView.h"
#include "canvas/SKTRenderingView.h"
#include "data/DataSetFiles.h"
#include "data/Data_From_Excel.h"
#include "editor/SKTWindowController.h"
#include "editor/SmallDialogs.h"
#include "model/DesignLog.h"
#include "model/Globals.h"
#include "model/Helpers.h"
#include "platform/PropertyList.h"
#include "support/SharedState.h"
#include "support/ScriptedHost.h"
#include "support/TempResources.h"
#include "support/Wait.h"
#include "wizards/Export_Template.h"
#include "wizards/Invitation_Globals.h"

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QProcess>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSlider>
#include <QThread>
#include <gtest/gtest.h>

namespace {
struct MainWindowTest : ::testing::Test {
    TempResources resources;
    ScriptedHost host;
    SKTWindowController* wnd = SKTWindowController::defaultInstance();
    void SetUp() override { Reset_Shared_State(); wnd->New_Project_Setting_Reset(); }

    GraphicPtr addText(Face& face, const QString& id, const QString& text)
    {
        auto g = std::make_shared<SKTText>();
        g->control_ID = id;
        g->text = text;
        g->Text_Value = text;
        g->bounds = QRectF(5, 6, 70, 20);
        face.append(g);
        return g;
    }
};
}

TEST_F(MainWindowTest, StartUpStateAndGlobals)
{
    EXPECT_EQ(Main_App_wnd, wnd);
    EXPECT_EQ(wnd->pvc_card_arry.size(), 7);
    EXPECT_EQ(wnd->pvc_card_arry.first(), "CR80-Credit Card Size");
    EXPECT_EQ(wnd->pvc_card_arry.last(), "CR70");
    EXPECT_EQ(wnd->paper_card_arry.size(), 8);
    EXPECT_EQ(wnd->paper_card_arry.first(), "Durable 1452 - Name Badge");
    EXPECT_EQ(wnd->paper_card_arry.last(), "Durable 1459 - Name Badge");
    EXPECT_EQ(batch_file_EXT, "txt");
    EXPECT_EQ(design_file_EXT, "gcdl");
    EXPECT_EQ(IMG_trnsp_val.load(), 100);
    EXPECT_EQ(IMG_sat_val.load(), 1);
    EXPECT_EQ(Title_unique, "Unique No. :");
    EXPECT_TRUE(wnd->Card_Rows().data_table_content.isEmpty());
    EXPECT_EQ(wnd->textFont.family(), "Times New Roman");
    EXPECT_TRUE(wnd->textFont.italic());
    EXPECT_EQ(wnd->Data_source_type->count(), 2);
    EXPECT_EQ(SKTRenderingView::cardSize().toSize(), QSize(243, 153));
}

TEST_F(MainWindowTest, ResetEmptiesFacesAndStartGlobals)
{
    addText(wnd->Get_Front_Controls_Array(), "a", "x");
    addText(wnd->Get_Back_Controls_Array(), "b", "y");
    Invite_Frame_Pic_IMG = "/tmp/p.png";
    Fill_User_Profile = true;
    IMG_hue_val = 2;
    Data_From_Excel_Window->Set_Data_Columns({"Name", "Code"});
    Data_From_Excel_Window->Create_List_By_Array({"Ann", "A1"}, 2);
    Excel_Binding_Use = true;
    Excel_Source_Path = "/data/guests.xlsx";
    wnd->Add_Excel_Col_Name_In_Combo(wnd->Data_source_type);
    wnd->New_Project_Setting_Reset();
    // Nothing of the last design's spreadsheet stays to be saved with the next.
    const QString path = resources.path() + "/next.gcdl";
    ASSERT_TRUE(wnd->Save_project_file(path, false));
    const auto content = Read_Design_Log(path);
    ASSERT_TRUE(content);
    EXPECT_TRUE(content->rows.isEmpty());
    EXPECT_EQ(content->columnTitles, QStringList{Data_From_Excel::Row_Number_Title});
    EXPECT_FALSE(content->excelBindingUse);
    EXPECT_EQ(content->excelSourcePath, "");
    EXPECT_EQ(wnd->Data_source_type->count(), 2);
    EXPECT_EQ(CARD_SIDE_STR, "2"); // as the sides box shows
    EXPECT_TRUE(wnd->Get_Front_Controls_Array().isEmpty());
    EXPECT_TRUE(wnd->Get_Back_Controls_Array().isEmpty());
    EXPECT_EQ(Invite_Frame_Pic_IMG, "");
    EXPECT_FALSE(Fill_User_Profile);
    EXPECT_EQ(IMG_hue_val.load(), 0);
    EXPECT_TRUE(Get_Main_Photo_image().isNull());
}

TEST_F(MainWindowTest, TempFaceHoldsTheSameObjectsAsTheSideOnScreen)
{
    const GraphicPtr f = addText(wnd->Get_Front_Controls_Array(), "f", "front");
    const GraphicPtr b = addText(wnd->Get_Back_Controls_Array(), "b", "back");
    Card_Front_Or_Back = 0;
    wnd->Temp_Design_Control_Assign();
    ASSERT_EQ(wnd->Get_Temp_Controls_Array().size(), 1);
    EXPECT_EQ(wnd->Get_Temp_Controls_Array()[0].get(), f.get());
    Card_Front_Or_Back = 1;
    wnd->Temp_Design_Control_Assign();
    EXPECT_EQ(wnd->Get_Temp_Controls_Array(), Face{b});
    // Emptying the preview destroys nothing.
    wnd->document.graphics_temp.clear();
    EXPECT_EQ(wnd->Get_Back_Controls_Array(), Face{b});
    Card_Front_Or_Back = 0;
}

TEST_F(MainWindowTest, DesignLogRoundTripsBothFacesTableAndFilters)
{
    addText(wnd->Get_Front_Controls_Array(), "PARTY_TITLE", "Summer party");
    auto bound = addText(wnd->Get_Front_Controls_Array(), "", "Ann");
    bound->data_source_type = 2;
    bound->excel_col_indx = 1;
    addText(wnd->Get_Back_Controls_Array(), "PARTY_VENUE", "Town hall");
    CARD_SIDE_STR = "2";
    Card_Shape = 1;
    Data_From_Excel_Window->Set_Data_Columns({"Name", "City"});
    Data_From_Excel_Window->ListData.clear();
    Data_From_Excel_Window->Create_List_By_Array({"Ann", "Oslo"}, 2);
    Data_From_Excel_Window->Create_List_By_Array({" Bo ", "Rome"}, 2);
    Excel_Binding_Use = true;
    Excel_Source_Path = "/data/guests.xlsx";
    IMG_gray_Scale = true;
    IMG_hue_val = 1.25f;
    IMG_blr_val = 3;
    const QString path = resources.path() + "/party.gcdl";
    ASSERT_TRUE(wnd->Save_project_file(path, false));

    // The file is an XML property list whose first item is the mark.
    const auto root = platform::plistReadFile(path);
    ASSERT_TRUE(root);
    EXPECT_EQ(root->toList().value(0).toString(), "PELVOROMACGLEAMCARDLG");
    QFile raw(path);
    ASSERT_TRUE(raw.open(QIODevice::ReadOnly));
    EXPECT_TRUE(raw.readAll().startsWith("<?xml"));

    const auto rowsBefore = Data_From_Excel_Window->ListData;
    wnd->New_Project_Setting_Reset();

    ASSERT_EQ(wnd->Read_and_load_design_Log(path, "L"), 1);
    EXPECT_TRUE(host.alerts.isEmpty());
    ASSERT_EQ(wnd->Get_Front_Controls_Array().size(), 2);
    EXPECT_EQ(dynamic_cast<SKTText*>(wnd->Get_Front_Controls_Array()[0].get())->text, "Summer party");
    EXPECT_EQ(wnd->Get_Front_Controls_Array()[1]->excel_col_indx, 1);
    ASSERT_EQ(wnd->Get_Back_Controls_Array().size(), 1);
    EXPECT_EQ(wnd->Get_Back_Controls_Array()[0]->control_ID, "PARTY_VENUE");
    EXPECT_EQ(CARD_SIDE_STR, "2");
    EXPECT_EQ(Card_Shape.load(), 1);
    EXPECT_EQ(Data_From_Excel_Window->Column_Titles(), (QStringList{Data_From_Excel::Row_Number_Title, "Name", "City"}));
    EXPECT_EQ(Data_From_Excel_Window->ListData, rowsBefore);
    EXPECT_EQ(Data_From_Excel_Window->ListData[1].value("Column1").toString(), "Bo");
    EXPECT_TRUE(Excel_Binding_Use);
    EXPECT_EQ(Excel_Source_Path, "/data/guests.xlsx");
    EXPECT_EQ(wnd->Data_source_type->count(), 3);
    EXPECT_EQ(wnd->Data_source_type->itemText(2), "Excel");
    EXPECT_TRUE(IMG_gray_Scale);
    EXPECT_FLOAT_EQ(IMG_hue_val, 1.25f);
    EXPECT_FLOAT_EQ(IMG_blr_val, 3);
    EXPECT_EQ(Start_Card_Option, "L");

    // A design without a spreadsheet takes "Excel" away again.
    Excel_Binding_Use = false;
    ASSERT_TRUE(wnd->Save_project_file(path, false));
    ASSERT_EQ(wnd->Read_and_load_design_Log(path, "L"), 1);
    EXPECT_EQ(wnd->Data_source_type->count(), 2);
    Data_From_Excel_Window->ListData.clear();
    Data_From_Excel_Window->Set_Data_Columns({});
}

TEST_F(MainWindowTest, BrokenDesignLogsAreRefusedAndTheOpenDesignStays)
{
    const GraphicPtr keep = addText(wnd->Get_Front_Controls_Array(), "keep", "still here");
    const QString good = resources.path() + "/good.gcdl";
    ASSERT_TRUE(wnd->Save_project_file(good, false));
    QFile file(good);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QByteArray bytes = file.readAll();
    file.close();

    auto write = [&](const QString& name, const QByteArray& data) {
        const QString p = resources.path() + '/' + name;
        QFile f(p);
        EXPECT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(data);
        return p;
    };
    QVariantList wrongMagic = {QString("SOMETHINGELSE")};
    const QStringList bad = {
        write("truncated.gcdl", bytes.left(bytes.size() / 2)),
        write("text.gcdl", "just some text\n"),
        write("empty.gcdl", ""),
        write("magic.gcdl", platform::plistSerialize(wrongMagic, platform::PlistFormat::Xml)),
        write("short.gcdl", platform::plistSerialize(QVariantList{Design_Log_Magic}, platform::PlistFormat::Xml)),
        resources.path() + "/missing.gcdl"};
    for (const QString& p : bad) {
        host.alerts.clear();
        EXPECT_EQ(wnd->Read_and_load_design_Log(p, "L"), 0) << p.toStdString();
        EXPECT_EQ(host.alertTexts(), QStringList{"This file is not a valid design log."});
        ASSERT_EQ(wnd->Get_Front_Controls_Array().size(), 1);
        EXPECT_EQ(wnd->Get_Front_Controls_Array()[0], keep);
    }
}

TEST_F(MainWindowTest, SavingOverAnUnwritableFolderKeepsTheOldFile)
{
    addText(wnd->Get_Front_Controls_Array(), "a", "one");
    const QString folder = resources.path() + "/locked";
    QDir().mkpath(folder);
    const QString path = folder + "/d.gcdl";
    ASSERT_TRUE(wnd->Save_project_file(path, false));
    QFile::setPermissions(folder, QFile::ReadOwner | QFile::ExeOwner);
    if (QFileInfo(folder).isWritable() && ::geteuid() == 0) {
        // root ignores folder permissions: check the failure path with a folder in the way instead.
        QFile::setPermissions(folder, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        const QString blocked = folder + "/dir.gcdl";
        QDir().mkpath(blocked);
        EXPECT_FALSE(wnd->Save_project_file(blocked, false));
    } else {
        EXPECT_FALSE(wnd->Save_project_file(path, false));
        QFile::setPermissions(folder, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    }
    EXPECT_FALSE(host.alerts.isEmpty());
    wnd->New_Project_Setting_Reset();
    EXPECT_EQ(wnd->Read_and_load_design_Log(path, "L"), 1);
    EXPECT_EQ(wnd->Get_Front_Controls_Array().size(), 1);
}

TEST_F(MainWindowTest, TemplateNameRules)
{
    Export_Template* dlg = Export_Template::defaultInstance();
    const QString userDir = Resource_Path + "/Templates/User/";
    QFile existing(userDir + "Birthday.gcdl");
    ASSERT_TRUE(existing.open(QIODevice::WriteOnly));
    existing.close();

    auto press = [&](const QString& typed, const QString& passed) {
        dlg->template_passed = passed;
        dlg->template_name->setText(typed);
        dlg->setResult(-1);
        dlg->OKPressed();
        return dlg->result();
    };
    export_template_name.clear();
    EXPECT_EQ(press("  <?> ", ""), -1);
    EXPECT_EQ(host.alertTexts().last(), "Please enter template name.");
    EXPECT_EQ(press("a/b", ""), -1); // would leave the templates folder

    host.answer("No");
    EXPECT_EQ(press("*Birthday*", ""), -1);
    EXPECT_EQ(host.alertTexts().last(),
              "Template with this name already exists, Do you want to replace the existing template?");
    host.answer("Yes");
    EXPECT_EQ(press("Birthday", ""), 1);
    EXPECT_EQ(export_template_name, "Birthday");

    const int before = host.alerts.size();
    EXPECT_EQ(press("Birthday", "Wedding"), -1);
    EXPECT_EQ(host.alertTexts().last(), "Template with this name already exists.");
    EXPECT_EQ(press("Birthday", "Birthday"), 1); // renaming to its own name
    EXPECT_EQ(press("Anniversary", ""), 1);
    EXPECT_EQ(export_template_name, "Anniversary");
    EXPECT_EQ(host.alerts.size(), before + 1);

    dlg->template_name->setText("x");
    dlg->CancelPressed();
    EXPECT_EQ(dlg->result(), 0);
    EXPECT_TRUE(dlg->template_name->text().isEmpty());
}

TEST_F(MainWindowTest, SaveAsTemplateWritesDesignAndPreview)
{
    addText(wnd->Get_Front_Controls_Array(), "t", "Hello");
    host.answerPanel(resources.path() + "/project");
    wnd->Save_Button();
    EXPECT_TRUE(QFileInfo::exists(resources.path() + "/project.gcdl"));
    host.modalScripts.push_back([](QDialog& d) {
        auto* dlg = static_cast<Export_Template*>(&d);
        dlg->template_name->setText("Badge");
        dlg->OKPressed();
        return d.result();
    });
    wnd->Save_As_Template_Button();
    EXPECT_TRUE(QFileInfo::exists(Resource_Path + "/Templates/User/Badge.gcdl"));
    // The preview holds both sides, front above back.
    EXPECT_EQ(QImage(Resource_Path + "/Templates/User/Badge.png").size(), QSize(243, 306));
    // The next Save still offers the project, not the template.
    wnd->Save_Button();
    EXPECT_EQ(host.panels.last().fileName, resources.path() + "/project.gcdl");
}

TEST_F(MainWindowTest, GridHandlers)
{
    wnd->grid.isShown = false;
    wnd->grid.spacing = 12;
    // The window's grid controls sit in the grid dialog.
    Grid_Wizard* dialog = Grid_Wizard::defaultInstance();
    auto* options = dialog->findChild<QGroupBox*>();
    auto* Show_hide_grid_chk = dialog->findChild<QCheckBox*>();
    ASSERT_TRUE(options && Show_hide_grid_chk);
    auto* Grid_Space_slidr = options->findChild<QSlider*>();
    auto* Grid_clr = options->findChild<QPushButton*>();
    ASSERT_TRUE(Grid_Space_slidr && Grid_clr);
    host.modalScripts.push_back([&](QDialog& d) {
        // Opening shows the state of the grid: hidden, options off.
        EXPECT_FALSE(Show_hide_grid_chk->isChecked());
        EXPECT_FALSE(options->isEnabled());
        EXPECT_EQ(Grid_Space_slidr->value(), 12);
        Show_hide_grid_chk->setChecked(true);
        EXPECT_TRUE(wnd->grid.isShown);
        EXPECT_TRUE(options->isEnabled());
        Show_hide_grid_chk->setChecked(false);
        Grid_Space_slidr->setValue(30); // a spacing change shows the grid, check box untouched
        EXPECT_TRUE(wnd->grid.isShown);
        EXPECT_FALSE(Show_hide_grid_chk->isChecked());
        wnd->grid.isShown = false;
        wnd->Grid_Clr_Changed(Qt::red);
        EXPECT_TRUE(wnd->grid.isShown);
        static_cast<Grid_Wizard&>(d).Cancel_Btn_Clicked();
        return d.result();
    });
    wnd->toggleGridShowing();
    EXPECT_EQ(host.modalRuns, QStringList{"Grid_Wizard"});
    // The colour button asks through the platform layer; Cancel changes nothing.
    SetObjEnabled(options, true);
    host.colorAnswers.push_back(QColor(Qt::green));
    Grid_clr->click();
    EXPECT_EQ(wnd->grid.color, QColor(Qt::green));
    Grid_clr->click();
    EXPECT_EQ(wnd->grid.color, QColor(Qt::green));
    wnd->Grid_Clr_Changed(Qt::red);
    EXPECT_EQ(wnd->grid.spacing, 30); // Cancel undoes nothing
    EXPECT_EQ(wnd->grid.color, QColor(Qt::red));
    wnd->grid.isShown = false;
}

namespace {
struct PaintCounter : QObject {
    int paints = 0;
    bool eventFilter(QObject*, QEvent* e) override
    {
        if (e->type() == QEvent::Paint)
            ++paints;
        return false;
    }
};
}

TEST_F(MainWindowTest, RefreshFromAWorkerReachesTheCanvasAndIsSkippedDuringBatches)
{
    wnd->show();
    PaintCounter counter;
    wnd->_graphicView->installEventFilter(&counter);
    QCoreApplication::processEvents();
    counter.paints = 0;

    QThread* worker = QThread::create([&] { wnd->Refresh_Canvas(); });
    worker->start();
    worker->wait();
    delete worker;
    // The request was queued to the main thread; serving events paints.
    EXPECT_TRUE(waitUntil([&] { return counter.paints > 0; }, 5000));

    counter.paints = 0;
    Card_Value_In_Process = true;
    wnd->Refresh_Canvas();
    for (int i = 0; i < 20; ++i)
        QCoreApplication::processEvents();
    EXPECT_EQ(counter.paints, 0);
    Card_Value_In_Process = false;
    wnd->_graphicView->removeEventFilter(&counter);
    wnd->hide();
}

TEST_F(MainWindowTest, SaveGenImageWritesTheNamedFormatAndReportsFailures)
{
    QImage img(20, 10, QImage::Format_ARGB32);
    img.fill(Qt::blue);
    const QString path = resources.path() + "/card.jpg";
    EXPECT_TRUE(wnd->Save_gen_image(img, path));
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    EXPECT_TRUE(f.read(3).startsWith("\xff\xd8\xff")); // JPEG data, as the extension says
    f.close();
    EXPECT_EQ(QImage(path).size(), QSize(20, 10));
    EXPECT_TRUE(host.alerts.isEmpty());

    EXPECT_FALSE(wnd->Save_gen_image(img, resources.path()));
    EXPECT_EQ(host.alertTexts().first(), resources.path());
    EXPECT_TRUE(QFileInfo(resources.path()).isDir());
    EXPECT_FALSE(wnd->Save_gen_image(img, resources.path() + "/no/such/folder/x.png"));
}

TEST_F(MainWindowTest, PathChecksAndSizes)
{
    EXPECT_TRUE(Check_And_Validate_File_Path("   "));
    EXPECT_EQ(host.alertTexts(), QStringList{"Please select valid file path."});
    EXPECT_FALSE(Check_And_Validate_File_Path("  " + Resource_Path + "\n"));
    EXPECT_TRUE(Check_And_Validate_File_Path(Resource_Path + "/nothing"));
    EXPECT_EQ(wnd->Get_My_card_Size("PVC Card", "H", 99), QSizeF(30, 30));
    EXPECT_EQ(wnd->Set_Document_Size(QSizeF(10, 20)), QSizeF(10, 20));
    EXPECT_EQ(SKTRenderingView::cardSize().toSize(), QSize(243, 153)); // only returned, nothing changed
    wnd->SetDocumentCanvasSize(QSizeF(100, 50));
    EXPECT_EQ(wnd->_graphicView->size(), QSize(100, 50));
    EXPECT_EQ(wnd->_graphicView_TEMP->size(), QSize(100, 50));
    EXPECT_EQ(SKTRenderingView::cardSize(), QSizeF(100, 50));
}

TEST_F(MainWindowTest, PropertyPanelBindsTheSelectedGraphic)
{
    QFile set(Data_Folder_Path + "/Guests.txt");
    ASSERT_TRUE(set.open(QIODevice::WriteOnly));
    set.write("Ann\nBo\n");
    set.close();
    wnd->Text_Tool_Clicked();
    const GraphicPtr g = wnd->Selected_Graphic();
    ASSERT_NE(g, nullptr);
    wnd->Data_source_type->setCurrentIndex(1);
    wnd->comboBoxSelectionDidChange(wnd->Data_source_type);
    EXPECT_EQ(g->data_source_type, 1);
    ASSERT_EQ(wnd->Batch_Series->count(), 1);
    wnd->Batch_Series->setCurrentIndex(0);
    wnd->comboBoxSelectionDidChange(wnd->Batch_Series);
    EXPECT_EQ(g->batch_list_name, "Guests");
    EXPECT_EQ(g->batch_list_index, 0);
    EXPECT_EQ(dynamic_cast<SKTText*>(g.get())->text, "Ann");

    // Choosing the source again, or coming back to it, shows the set the
    // graphic is bound to.
    for (int source : {Source_Data_Set, Source_Typed, Source_Data_Set}) {
        wnd->Data_source_type->setCurrentIndex(source);
        wnd->comboBoxSelectionDidChange(wnd->Data_source_type);
        EXPECT_EQ(wnd->Batch_Series->currentText(), source == Source_Data_Set ? "Guests" : "") << source;
        EXPECT_EQ(wnd->Batch_Series->isEnabled(), source == Source_Data_Set) << source;
    }
    EXPECT_EQ(g->batch_list_name, "Guests");

    // Typing in the panel edits the text; filling the panel writes nothing back.
    wnd->Text_value_Edit->setPlainText("Typed");
    EXPECT_EQ(dynamic_cast<SKTText*>(g.get())->text, "Typed");
    Not_Draw_Only_Prop_Change = true;
    wnd->Text_value_Edit->setPlainText("Ignored");
    Not_Draw_Only_Prop_Change = false;
    EXPECT_EQ(dynamic_cast<SKTText*>(g.get())->text, "Typed");
}

TEST_F(MainWindowTest, DataSetAndColumnListsOfThePropertyPanel)
{
    QDir().mkpath(Data_Folder_Path);
    ASSERT_TRUE(Write_Data_Set("Names", {"Ann"}, false));
    ASSERT_TRUE(Write_Data_Set("Animals", {"cat"}, false));
    QComboBox sets;
    sets.addItems({"stale"});
    wnd->Fill_Data_Set_File_Name_In_Combo(&sets);
    ASSERT_EQ(sets.count(), 2);
    EXPECT_EQ(sets.itemText(1), "Names");
    EXPECT_EQ(wnd->Get_First_Value_Of_Dataset("Names"), "Ann");

    Data_From_Excel* table = Data_From_Excel_Window;
    table->ListData.clear();
    table->Set_Data_Columns({"Name", "City"});
    table->Create_List_By_Array({" Ann ", "Oslo\t"}, 2);
    EXPECT_EQ(wnd->Get_First_Value_Of_Excel_Binding(0), "1");
    EXPECT_EQ(wnd->Get_First_Value_Of_Excel_Binding(2), "Oslo");
    EXPECT_EQ(wnd->Get_First_Value_Of_Excel_Binding(7), "");
    QComboBox columns;
    wnd->Fill_Excel_Col_Name_In_Combo(&columns);
    EXPECT_EQ(columns.count(), 3);
    EXPECT_EQ(columns.itemText(2), "City");
    table->ListData.clear();
    EXPECT_EQ(wnd->Get_First_Value_Of_Excel_Binding(0), "");
    table->Set_Data_Columns({});
}

TEST_F(MainWindowTest, ExcelItemOnlyAddedToTwoAndRemovedFromThree)
{
    QComboBox combo;
    combo.addItems({"Manual", "Series"});
    wnd->Add_Excel_Col_Name_In_Combo(&combo);
    EXPECT_EQ(combo.count(), 3);
    wnd->Add_Excel_Col_Name_In_Combo(&combo);
    EXPECT_EQ(combo.count(), 3);
    wnd->Remove_Excel_Col_Name_In_Combo(&combo);
    EXPECT_EQ(combo.count(), 2);
    wnd->Remove_Excel_Col_Name_In_Combo(&combo);
    EXPECT_EQ(combo.count(), 2);
}

TEST_F(MainWindowTest, AfterExportBoxOpensThePathWhenTicked)
{
    Export_File_Path = Resource_Path;
    Export_File_Message = "Frame has been exported successfully.";
    host.modalScripts.push_back([](QDialog& d) {
        auto& box = static_cast<Open_Export_Log&>(d);
        EXPECT_EQ(box._open_log_chk->text(), "Open containing folder.");
        EXPECT_EQ(box._open_log_message->text(), "Frame has been exported successfully.");
        box.OKPressed();
        return d.result();
    });
    Data_Set_User& manager_user = *wnd; // the data-set manager asks for the box after its exports
    manager_user.Open_Export_File_Box();
    ASSERT_EQ(host.opened.size(), 1);
    EXPECT_EQ(host.opened[0].toLocalFile(), Resource_Path);

    host.modalScripts.push_back([](QDialog& d) {
        auto& box = static_cast<Open_Export_Log&>(d);
        box._open_log_chk->setChecked(false);
        box.OKPressed();
        EXPECT_TRUE(box._open_log_chk->isChecked()); // ticked again for next time
        return d.result();
    });
    manager_user.Open_Export_File_Box();
    EXPECT_EQ(host.opened.size(), 1);
}

TEST_F(MainWindowTest, NewOpenAndCloseAskBeforeDiscardingChanges)
{
    const auto oldHook = Set_End_Process_Hook([](int) {}); // the start wizard is closed unanswered
    const QString question = "Do you want to save the changes to this design?";
    const QString saved = resources.path() + "/kept.gcdl";
    const std::pair<const char*, std::function<bool()>> commands[] = {
        {"New", [&] { wnd->New_Button(); return wnd->Get_Front_Controls_Array().isEmpty(); }},
        {"Open", [&] { wnd->Open_Button(); return !host.panels.isEmpty() && host.panels.last().title == "Open Design"; }},
        // A person closes the window on screen (a window once shown and
        // closed takes no close event until it is shown again).
        {"Close", [&] { wnd->show(); return wnd->close(); }},
    };
    for (const auto& [name, run] : commands) {
        for (const QString answer : {"Cancel", "Don't Save", "Save"}) {
            SCOPED_TRACE(std::string(name) + " / " + answer.toStdString());
            wnd->New_Project_Setting_Reset();
            QFile::remove(saved);
            host.alerts.clear();
            host.panels.clear();
            // Nothing changed: no question.
            EXPECT_FALSE(wnd->Design_Has_Changes());
            EXPECT_TRUE(wnd->Ask_To_Save_Changes());
            EXPECT_TRUE(host.alerts.isEmpty());

            addText(wnd->Get_Front_Controls_Array(), "", "Work");
            wnd->Update_Window_Title();
            EXPECT_EQ(wnd->windowTitle(), "Untitled[*] - Gleamcard");
            EXPECT_TRUE(wnd->isWindowModified());
            host.answer(answer);
            if (answer == "Save")
                host.answerPanel(saved);
            const bool wentOn = run();
            ASSERT_EQ(host.alertTexts().value(0), question);
            EXPECT_EQ(host.alerts[0].request.buttons, (QStringList{"Save", "Don't Save", "Cancel"}));
            EXPECT_EQ(wentOn, answer != "Cancel");
            EXPECT_EQ(QFileInfo::exists(saved), answer == "Save");
            if (answer == "Cancel") {
                EXPECT_EQ(wnd->Get_Front_Controls_Array().size(), 1); // the work is still there
            }
        }
    }
    // A saved design is named in the title, unmarked until it changes again.
    wnd->New_Project_Setting_Reset();
    addText(wnd->Get_Front_Controls_Array(), "", "Work");
    host.answerPanel(saved);
    ASSERT_TRUE(wnd->Save_Design());
    EXPECT_EQ(wnd->windowTitle(), "kept[*] - Gleamcard");
    EXPECT_FALSE(wnd->isWindowModified());
    wnd->Get_Front_Controls_Array().first()->bounds.translate(5, 0);
    wnd->Update_Window_Title();
    EXPECT_TRUE(wnd->isWindowModified());
    wnd->hide();
    Set_End_Process_Hook(oldHook);
}

TEST_F(MainWindowTest, TheImageToolRefusesAFileThatIsNoPicture)
{
    const QString notes = resources.path() + "/notes.png";
    QFile f(notes);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write("shopping list");
    f.close();
    host.answerPanel(notes);
    wnd->Image_Tool_Clicked();
    EXPECT_EQ(host.alertTexts(), QStringList{"This file is not a picture Gleamcard can read."});
    EXPECT_TRUE(wnd->Get_Front_Controls_Array().isEmpty()); // no invisible object

    QImage picture(30, 20, QImage::Format_RGB32);
    picture.fill(Qt::green);
    ASSERT_TRUE(picture.save(resources.path() + "/green.png"));
    host.answerPanel(resources.path() + "/green.png");
    wnd->Image_Tool_Clicked();
    ASSERT_EQ(wnd->Get_Front_Controls_Array().size(), 1);
    EXPECT_EQ(std::static_pointer_cast<SKTImage>(wnd->Get_Front_Controls_Array().first())->image.size(), QSize(30, 20));
    EXPECT_EQ(host.alerts.size(), 1);
}

TEST_F(MainWindowTest, TheUserGuideDescribesEveryMenuCommand)
{
    QProcess pdftotext;
    pdftotext.start("pdftotext", {QStringLiteral(GLEAMCARD_SOURCE_DIR "/resources/Help.pdf"), "-"});
    ASSERT_TRUE(pdftotext.waitForFinished(30000));
    const QString guide = QString::fromUtf8(pdftotext.readAllStandardOutput()).simplified();
    ASSERT_TRUE(guide.startsWith("Gleamcard user guide"));
    int commands = 0;
    for (QAction* menu : wnd->menuBar()->actions()) {
        for (QAction* command : menu->menu()->actions()) {
            if (command->isSeparator())
                continue;
            const QString name = command->text().remove('&');
            EXPECT_TRUE(guide.contains(name)) << name.toStdString();
            ++commands;
        }
    }
    EXPECT_GE(commands, 15);
}
