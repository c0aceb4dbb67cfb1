// The spreadsheet column dialogs (the picker in its two modes and columns to
// data sets) and the profile dialog's spreadsheet, series and main-photo bindings.
#include "ImportTestKit.h"

#include "canvas/SKTGraphicView.h"
#include "data/Import_Excel.h"
#include "data/SpreadsheetFormats.h"
#include "data/Import_Excel_DataSheet.h"
#include "data/Import_Wizard.h"
#include "data/View_Data_Series.h"
#include "output/Long_SMS_Dlg.h"
#include "wizards/Invitation_Wizard.h"
#include "wizards/Show_User_Profile.h"
#include "wizards/User_Profile_Class.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTableView>

namespace {
using Picker = Import_Excel;
using Sheet = Import_Excel_DataSheet;

// Name, a title of blanks, Town, Code; two data rows.
const QList<QStringList> kPeople = {
    {"Name", " ", "Town", "Code"},
    {"Ann", "x1", "Oslo", "7"},
    {"Bob", "", "Rome", "8"},
};

void tick(Excel_Column_Dialog& d, const QList<int>& positions)
{
    d.Clear_All_Pressed();
    for (int p : positions)
        d.ListData_xl[p].State = true;
}
}

struct ColumnTest : ImportTest {
    enum Opener { Manager_Values, Import_Command, Manager_Import };
    // Queues a run of the import wizard on a workbook whose column dialog
    // acts through fn; the dialogs those open are queued after it.
    template <typename D>
    void queueWorkbook(const QString& path, std::function<void(D&)> fn)
    {
        script<Import_Wizard>([path](Import_Wizard& w) {
            w.Excel_path->setText(path);
            w.OKPressed();
        });
        script<D>(fn);
    }
    void open(Opener opener)
    {
        switch (opener) {
        case Manager_Values: manager->Import_Value_Btn_Clicked(); break;
        case Import_Command: wnd->Import_Wizard_Button(); break;
        case Manager_Import: manager->Import_Btn_Clicked(); break;
        }
    }
    template <typename D>
    void importWorkbook(const QString& path, Opener opener, std::function<void(D&)> fn)
    {
        queueWorkbook<D>(path, fn);
        open(opener);
    }
    // Answers the long-message box: OK with or without apply-to-all.
    void answerLong(bool apply, QStringList* titles)
    {
        script<Long_SMS_Dlg>([=](Long_SMS_Dlg& box) {
            titles->append(box._Msg_Title->text());
            EXPECT_TRUE(box.apply_chk->isVisibleTo(&box));
            box.apply_chk->setChecked(apply);
            box.OKPressed();
        });
    }
};

TEST_F(ColumnTest, PickerModeEMakesTheDesignsTableOfTheTickedColumns)
{
    const QString path = workbook("people.xlsx", kPeople);
    Picker* picker = Picker::defaultInstance();
    picker->open_mode = "E";
    for (bool header : {true, false}) {
        script<Picker>([&](Picker& d) {
            EXPECT_EQ(d.Sheet_ComboBox->count(), 1);
            ASSERT_EQ(d.ListData_xl.size(), 4);
            // A title of blanks keeps its place, so the ticked columns are the ones imported.
            EXPECT_EQ(d.ListData_xl[1].Extension, "Untitled Column 2");
            d.OKPressed();
            EXPECT_EQ(d.result(), 0);
            tick(d, {1, 3});
            d.contains_header->setChecked(header);
            d.OKPressed();
        });
        EXPECT_EQ(picker->Open_excel_Wnd(path), 1);
        const Data_From_Excel* table = Data_From_Excel_Window;
        EXPECT_EQ(table->Column_Titles(), (QStringList{Data_From_Excel::Row_Number_Title, "Untitled Column 2", "Code"}));
        const QList<QStringList> expected = header ? QList<QStringList>{{"1", "x1", "7"}, {"2", "", "8"}}
                                                   : QList<QStringList>{{"1", "", "Code"}, {"2", "x1", "7"}, {"3", "", "8"}};
        ASSERT_EQ(table->ListData.size(), expected.size());
        for (int r = 0; r < expected.size(); ++r)
            for (int c = 0; c < 3; ++c)
                EXPECT_EQ(table->ListData[r].value(Data_From_Excel::Column_Key(c)).toString(), expected[r][c]);
    }
    EXPECT_EQ(host.alertTexts(), (QStringList{"No column is selected.", "No column is selected."}));
}

TEST_F(ColumnTest, PickerKeepsTheTableWhenTheWorkbookHasNoData)
{
    Data_From_Excel_Window->Set_Data_Columns({"Old"});
    Data_From_Excel_Window->Create_List_By_Array({"kept"}, 1);
    Picker* picker = Picker::defaultInstance();
    picker->open_mode = "E";
    script<Picker>([](Picker& d) {
        tick(d, {0});
        d.OKPressed(); // only a title row: nothing to import, the dialog stays
        d.CancelPressed();
    });
    EXPECT_EQ(picker->Open_excel_Wnd(workbook("titles.xlsx", {{"Name"}})), 0);
    EXPECT_EQ(picker->Open_excel_Wnd(file("broken.xlsx", "not a zip")), 0); // never opens
    EXPECT_EQ(host.alertTexts(), (QStringList{Corrupted_File_Message, Corrupted_File_Message}));
    EXPECT_EQ(Data_From_Excel_Window->Column_Titles().last(), "Old");
    EXPECT_EQ(Data_From_Excel_Window->ListData.first().value("Column1").toString(), "kept");
}

TEST_F(ColumnTest, PickerModeDHandsCellsRowByRowToTheManager)
{
    importWorkbook<Picker>(workbook("people.xlsx", kPeople), Manager_Values, [](Picker& d) {
        EXPECT_EQ(d.open_mode, "D");
        tick(d, {0, 1});
        d.OKPressed();
    });
    EXPECT_EQ(manager->ListData_value, (QStringList{"Ann", "x1", "Bob"}));
}

TEST_F(ColumnTest, EachColumnBecomesASetNamedInTheList)
{
    importWorkbook<Sheet>(workbook("people.xlsx", kPeople), Manager_Import, [](Sheet& d) {
        EXPECT_TRUE(d.Each_col_RD->isChecked());
        tick(d, {1, 2});
        d.ListData_xl[2].Header = " Towns ";
        d.OKPressed();
    });
    EXPECT_EQ(set("Untitled Column 2"), "x1\n\n");
    EXPECT_EQ(set("Towns"), "Oslo\nRome\n");
    EXPECT_EQ(manager->ListData, (QStringList{"Towns", "Untitled Column 2"})); // the manager's list is refreshed
}

TEST_F(ColumnTest, SetNamesThatCannotBeAreRefusedNamingTheColumn)
{
    struct Case {
        QString first, second;
        QString message;
    };
    const QList<Case> cases = {
        {"a/b", "ok", "The column \"Name\" cannot become the Batch Processing Series \"a/b\".\n" + Invalid_Data_Set_Name_Message},
        {"x", "..", "The column \"Town\" cannot become the Batch Processing Series \"..\".\n" + Invalid_Data_Set_Name_Message},
        {"Same", "Same ", "The columns \"Name\" and \"Town\" would both become the Batch Processing Series \"Same\". "
                          "Please give one of them another name."},
    };
    for (const Case& c : cases) {
        host.alerts.clear();
        importWorkbook<Sheet>(workbook("people.xlsx", kPeople), Import_Command, [&](Sheet& d) {
            tick(d, {0, 2});
            d.ListData_xl[0].Header = c.first;
            d.ListData_xl[2].Header = c.second;
            d.OKPressed();
            EXPECT_EQ(d.result(), 0); // the dialog stays for another name
            d.CancelPressed();
        });
        EXPECT_EQ(host.alertTexts(), QStringList{c.message});
        EXPECT_TRUE(Data_Set_Listing(Data_Folder_Path).isEmpty());
    }
}

TEST_F(ColumnTest, ApplyToAllHoldsForOneRunAndSetsInUseAreNeverReplaced)
{
    const QString path = workbook("people.xlsx", kPeople);
    for (const char* name : {"Name", "Town", "Code"})
        writeSet(name, "old\n");
    bindFront("Town");
    QStringList titles;
    queueWorkbook<Sheet>(path, [](Sheet& d) {
        tick(d, {0, 2, 3});
        d.OKPressed();
    });
    answerLong(true, &titles); // Name: replace, and every later one too
    answerLong(false, &titles); // Town is in use: said once, skipped
    open(Import_Command);
    EXPECT_EQ(titles, (QStringList{"Batch Processing Series already exists :", "Message :"}));
    EXPECT_EQ(set("Name"), "Ann\nBob\n");
    EXPECT_EQ(set("Town"), "old\n");
    EXPECT_EQ(set("Code"), "7\n8\n");

    // The next run asks afresh.
    writeSet("Code", "old\n");
    titles.clear();
    queueWorkbook<Sheet>(path, [](Sheet& d) {
        tick(d, {3});
        d.OKPressed();
    });
    script<Long_SMS_Dlg>([&](Long_SMS_Dlg& box) {
        titles << box._Msg_Title->text();
        EXPECT_FALSE(box.apply_chk->isVisibleTo(&box)); // one column: nothing to apply to
        box.CancelPressed();
    });
    open(Import_Command);
    EXPECT_EQ(titles, QStringList{"Batch Processing Series already exists :"});
    EXPECT_EQ(set("Code"), "old\n");
}

TEST_F(ColumnTest, ACellOfSeveralLinesIsOneValueOnEveryRoadFromEverySheetFormat)
{
    const QList<QStringList> rows = {{"Note", "Id"}, {"a\r\nb", "1"}, {"c\rd\ne", "2"}};
    const QString xml = files.filePath("notes.xml"), ods = files.filePath("notes.ods");
    ASSERT_TRUE(SpreadsheetFormats::WriteWorksheetXML2004(xml, rows));
    ASSERT_TRUE(SpreadsheetFormats::WriteODS(ods, rows, true));
    for (const QString& path : {workbook("notes.xlsx", rows), ods, xml}) {
        SCOPED_TRACE(path.toStdString());
        QFile::remove(Data_Set_File_Path("Note"));
        importWorkbook<Sheet>(path, Import_Command, [](Sheet& d) {
            tick(d, {0});
            d.contains_header->setChecked(true);
            d.OKPressed();
        });
        EXPECT_EQ(set("Note"), "a b\nc d e\n");
        importWorkbook<Sheet>(path, Import_Command, [](Sheet& d) {
            tick(d, {0, 1});
            d.contains_header->setChecked(true);
            d.Fill_Col_RD_Click();
            d.matrix_fill_type->button(0)->click();
            d.list_name->setText("Both");
            d.OKPressed();
        });
        EXPECT_EQ(set("Both"), "a b\n1\nc d e\n2\n");
        QFile::remove(Data_Set_File_Path("Both"));
        manager->ListData_value.clear();
        importWorkbook<Picker>(path, Manager_Values, [](Picker& d) {
            tick(d, {0});
            d.contains_header->setChecked(true);
            d.OKPressed();
        });
        EXPECT_EQ(manager->ListData_value, (QStringList{"a b", "c d e"}));
    }
    EXPECT_TRUE(host.alerts.isEmpty()) << host.alertTexts().join(" | ").toStdString();
}

TEST_F(ColumnTest, ARealWorkbooksMultiLineCellIsOneValue)
{
    const QString path = QStringLiteral(GLEAMCARD_SOURCE_DIR
                                        "/../shared/realworld-xlsx/files/readxl/tests/testthat/sheets/new_line_errors.xlsx");
    if (!QFile::exists(path))
        GTEST_SKIP() << "the real-world workbook corpus is not beside the project: " << path.toStdString();
    importWorkbook<Sheet>(path, Import_Command, [](Sheet& d) {
        const auto title = std::find_if(d.ListData_xl.cbegin(), d.ListData_xl.cend(),
                                        [](const Excel_Column_Entry& e) { return e.Extension == "column_name"; });
        ASSERT_NE(title, d.ListData_xl.cend());
        tick(d, {int(title - d.ListData_xl.cbegin())});
        d.contains_header->setChecked(true);
        d.OKPressed();
    });
    // Its cell holds four lines ended by CR LF; the row after it stays the second value.
    EXPECT_EQ(Data_Set_Batch_Values("column_name"),
              (QStringList{"first line of text  second line of text  i don't know what type of line feed I've used  "
                           "last line",
                           "Will show \"_x000D_\" in every new line in cell above"}));
}

TEST_F(ColumnTest, OneSetIsNewReplacedOrAppendedTo)
{
    const QString path = workbook("people.xlsx", kPeople);
    struct Case {
        int choice;
        const char* before;
        const char* after;
    };
    const Case cases[] = {
        {0, nullptr, "Ann\nOslo\nBob\nRome\n"},
        {1, "a\nb\nc\n", "Ann\nOslo\nBob\nRome\n"},
        {2, "a\nb\nc\n", "a\nb\nc\nAnn\nOslo\nBob\nRome\n"},
    };
    for (const Case& c : cases) {
        QFile::remove(Data_Set_File_Path("Mixed"));
        if (c.before)
            writeSet("Mixed", c.before);
        importWorkbook<Sheet>(path, Import_Command, [&](Sheet& d) {
            // The set-name column is there for each column a set, whatever the last run chose.
            EXPECT_FALSE(d.ColList->isColumnHidden(2)) << c.choice;
            tick(d, {0, 2});
            d.Fill_Col_RD_Click();
            d.matrix_fill_type->button(c.choice)->click();
            EXPECT_TRUE(d.ColList->isColumnHidden(2));
            d.list_name->setText("Mixed");
            d.List_ComboBox->setCurrentIndex(d.List_ComboBox->findText("Mixed"));
            d.OKPressed();
        });
        EXPECT_EQ(set("Mixed"), c.after) << c.choice;
    }
    EXPECT_TRUE(host.alerts.isEmpty());

    // A set the design uses is not replaced, whether chosen or typed.
    bindFront("Mixed");
    for (int choice : {1, 0}) {
        importWorkbook<Sheet>(path, Import_Command, [&](Sheet& d) {
            tick(d, {0});
            d.Fill_Col_RD_Click();
            d.matrix_fill_type->button(choice)->click();
            d.list_name->setText("Mixed");
            d.List_ComboBox->setCurrentIndex(d.List_ComboBox->findText("Mixed"));
            d.OKPressed();
            d.CancelPressed();
        });
    }
    EXPECT_EQ(host.alertTexts().size(), 2);
    EXPECT_TRUE(host.alertTexts().first().endsWith("is already in use with another sequence. Please change Batch "
                                                   "Processing Series Name."));
    EXPECT_EQ(set("Mixed"), cases[2].after);
}

TEST_F(ColumnTest, AnEmptySheetLeavesTheOldSetIntact)
{
    writeSet("Names", "old\n");
    importWorkbook<Sheet>(workbook("titles.xlsx", {{"Names"}}), Import_Command, [](Sheet& d) {
        tick(d, {0});
        d.OKPressed();
        d.Fill_Col_RD_Click();
        d.matrix_fill_type->button(1)->click();
        d.List_ComboBox->setCurrentIndex(d.List_ComboBox->findText("Names"));
        d.OKPressed();
        d.CancelPressed();
    });
    EXPECT_EQ(host.alertTexts(), (QStringList{"There is no data in selected sheet.\nPlease select another Sheet/Excel "
                                              "File.\nEither file is corrupted or selected file contains invalid "
                                              "characters.",
                                              Corrupted_File_Message}));
    EXPECT_EQ(set("Names"), "old\n");
}

// ---------------------------------------------------------------- profile dialog

struct ProfileBindingTest : ImportTest {
    Show_User_Profile* dlg = Show_User_Profile::defaultInstance();
    void SetUp() override
    {
        ImportTest::SetUp();
        dlg->excel_path_field->clear();
        dlg->Remove_Excel_in_Data_Source_Combo();
        Excel_Source_Path.clear();
    }
    void choose(QComboBox* combo, int index)
    {
        combo->setCurrentIndex(index);
        dlg->comboBoxSelectionDidChange(combo);
    }
};

TEST_F(ProfileBindingTest, ASpreadsheetLoadedInTheDialogFeedsAFieldAndItsPathIsKeptOnceLoaded)
{
    const QString path = workbook("people.xlsx", kPeople);
    script<Show_User_Profile>([&](Show_User_Profile& d) {
        // Cancelled in the picker: no table, no path, no "Excel".
        host.answerPanel(path);
        script<Picker>([](Picker& p) { p.CancelPressed(); });
        d.Browse_excel_Btn_Clicked();
        EXPECT_EQ(d.excel_path_field->text(), "");
        EXPECT_EQ(d.slogan_ds_combo->count(), 2);

        host.answerPanel(path);
        script<Picker>([](Picker& p) {
            EXPECT_EQ(p.open_mode, "E");
            tick(p, {0, 2});
            p.OKPressed();
        });
        d.Browse_excel_Btn_Clicked();
        EXPECT_EQ(d.excel_path_field->text(), path);
        ASSERT_EQ(d.slogan_ds_combo->count(), 3);
        choose(d.slogan_ds_combo, Source_Spreadsheet);
        EXPECT_FALSE(d.slogan_view_btn->isEnabled());
        choose(d.slogan_ser_col_cb, 2);
        EXPECT_EQ(d.slogan_value->text(), "Oslo");
        d.OK_Btn_Clicked();
    });
    wnd->User_Profile_Button_Clicked();
    EXPECT_EQ(host.panels.first().extensions, (QStringList{"xlsx", "ods", "xml"}));
    EXPECT_EQ(Excel_Source_Path, path);
    EXPECT_TRUE(Excel_Binding_Use);
    EXPECT_EQ(wnd->Front_user_profile->field[Profile_slogan].value, "Oslo");
    EXPECT_EQ(wnd->Data_source_type->count(), 3); // the property panel offers the columns too
    const GraphicPtr slogan = wnd->_graphicView->Selcect_Ctrl_With_ID("Fup_CompanySlogan");
    ASSERT_NE(slogan, nullptr);
    EXPECT_EQ(slogan->data_source_type, Source_Spreadsheet);
    EXPECT_EQ(slogan->excel_col_indx, 2);
}

TEST_F(ProfileBindingTest, ViewButtonsShowTheChosenSet)
{
    writeSet("Guests", "Ann\nBo\n");
    dlg->Reset_all_Ctrl();
    EXPECT_FALSE(dlg->name_view_btn->isEnabled());
    choose(dlg->name_ds_combo, Source_Data_Set);
    EXPECT_TRUE(dlg->name_view_btn->isEnabled());
    dlg->View_Name_Series_Btn_Clicked(); // nothing chosen yet
    EXPECT_EQ(host.alertTexts(), QStringList{"Please select the series."});
    choose(dlg->name_ser_col_cb, 0);
    script<View_Data_Series>([](View_Data_Series& v) {
        EXPECT_EQ(v.file_name, "Guests");
        EXPECT_EQ(v.ListData, (QStringList{"Ann", "Bo"}));
    });
    dlg->name_view_btn->click();
    script<BatchWizard>([](BatchWizard&) {});
    dlg->batch_series_btn->click();
    EXPECT_EQ(host.modalRuns, (QStringList{"View_Data_Series", "BatchWizard"}));
}

TEST_F(ProfileBindingTest, TheMainPhotoBoundToASetKeepsItsBrowseButtonOff)
{
    QImage picture(8, 8, QImage::Format_RGB32);
    picture.fill(Qt::red);
    ASSERT_TRUE(picture.save(files.filePath("photo.png")));
    host.answerPanel(files.filePath("photo.png"));
    wnd->Image_Tool_Clicked();
    const GraphicPtr photo = wnd->Selected_Graphic();
    ASSERT_NE(photo, nullptr);
    photo->control_ID = "PARTY_IMAGE";
    for (int source : {Source_Data_Set, Source_Typed, Source_Data_Set}) {
        wnd->Data_source_type->setCurrentIndex(source);
        wnd->comboBoxSelectionDidChange(wnd->Data_source_type);
        EXPECT_EQ(wnd->main_photo_ds_batch, source == Source_Data_Set);
    }
    // The photo editor offers no browsing for a photo the batch replaces row
    // by row; another picture bound to a set is not the main photo.
    QList<bool> browsable;
    for (const char* id : {"PARTY_IMAGE", "LOGO"}) {
        photo->control_ID = id;
        script<Invitation_Wizard>([&](Invitation_Wizard& w) { browsable << w.browse_photo_btn->isEnabled(); });
        wnd->Edit_Main_Photo_Button();
    }
    EXPECT_EQ(browsable, (QList<bool>{false, true}));
}

TEST_F(ColumnTest, OpenDocumentAndXmlSpreadsheetsImportLikeWorkbooks)
{
    // The wizard's browse button offers the three spreadsheet types.
    Import_Wizard* wizard = Import_Wizard::defaultInstance();
    wizard->Browse_Excel_Pressed();
    EXPECT_EQ(host.panels.last().extensions, (QStringList{"xlsx", "ods", "xml"}));
    for (const QString type : {"ods", "xml"}) {
        const QString path = file("people." + type, "");
        ASSERT_TRUE(type == "ods" ? SpreadsheetFormats::WriteODS(path, kPeople, true)
                                  : SpreadsheetFormats::WriteWorksheetXML2004(path, kPeople));
        importWorkbook<Sheet>(path, Import_Command, [type](Sheet& d) {
            EXPECT_EQ(d.Sheet_ComboBox->count(), 1);
            EXPECT_EQ(d.Sheet_ComboBox->currentText(), type == "ods" ? "Sheet1" : "Notes"); // as the writers name them
            ASSERT_EQ(d.ListData_xl.size(), 4);
            EXPECT_EQ(d.ListData_xl[1].Extension, "Untitled Column 2");
            tick(d, {2, 3});
            d.ListData_xl[2].Header = "Towns " + type;
            d.ListData_xl[3].Header = "Codes " + type;
            d.OKPressed();
        });
        EXPECT_EQ(set("Towns " + type), "Oslo\nRome\n");
        EXPECT_EQ(set("Codes " + type), "7\n8\n");
    }
    EXPECT_TRUE(host.alerts.isEmpty());
}
