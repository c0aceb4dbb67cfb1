#include "support/XlsxTestKit.h"
#include "support/SharedState.h"
#include "support/Menus.h"
#include "canvas/SKTGraphicView.h"
#include "data/BatchWizard.h"
#include "data/DataSetFiles.h"
#include "data/SpreadsheetFormats.h"
#include "data/SpreadsheetWriter.h"
#include "data/View_Data_Series.h"
#include "editor/SKTWindowController.h"
#include "editor/SmallDialogs.h"
#include "model/Globals.h"
#include "output/Long_SMS_Dlg.h"
#include "support/ScriptedHost.h"
#include "support/TempResources.h"

#include <QAction>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QTableView>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {
const QString kInUseUpdate = "Batch Processing Series can't be update because it is currently in use.";
const QString kInUseDelete = "Batch Processing Series can't be delete because it is currently in use.";
const QString kReplace = "Batch Processing Series already exists. Do you want to replace it?";
const QString kDeleteQuestion = "Are you sure want to delete selected Batch Processing Series?";

void writeFile(const QString& path, const QByteArray& bytes)
{
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(bytes);
}

QByteArray readFile(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<none>");
}

struct Manager : ::testing::Test {
    TempResources resources;
    ScriptedHost host;
    SKTWindowController* wnd = SKTWindowController::defaultInstance();
    BatchWizard* m = BatchWizard::defaultInstance();
    // The main window's ways into the import wizard and the generator: the
    // tests put their own in their place, and every later test gets them back.
    const std::function<void(int, int)> windowsImport = m->Open_Import_Wizard, windowsGenerator = m->Open_Generate_List;

    void SetUp() override
    {
        Reset_Shared_State();
        wnd->New_Project_Setting_Reset();
        CARD_SIDE_STR = "1";
        Msg_Apply_All_Chk = false;
        m->Open_Import_Wizard = nullptr;
        m->Open_Generate_List = nullptr;
        m->ListData_value.clear();
        m->Update_Value_List_Count();
        m->Back_Btn_Clicked();
    }
    void TearDown() override
    {
        m->Open_Import_Wizard = windowsImport;
        m->Open_Generate_List = windowsGenerator;
        Reset_Shared_State();
    }

    void writeSet(const QString& file, const QByteArray& bytes) { writeFile(Data_Folder_Path + '/' + file, bytes); }
    QByteArray setFile(const QString& name) { return readFile(Data_Folder_Path + '/' + name + ".txt"); }
    GraphicPtr bind(const QString& set)
    {
        auto g = std::make_shared<SKTText>();
        g->data_source_type = Source_Data_Set;
        g->batch_list_name = set;
        wnd->Get_Front_Controls_Array().append(g);
        return g;
    }
    void select(QTableView* table, QList<int> rows)
    {
        table->clearSelection();
        for (int row : rows)
            table->selectionModel()->setCurrentIndex(table->model()->index(row, 0),
                                                     QItemSelectionModel::Select | QItemSelectionModel::Rows);
    }
    void openSet(const QString& name)
    {
        m->Fill_List();
        select(m->List, {int(m->ListData.indexOf(name))});
        m->doubleClickInTable(m->List);
    }
};
}

TEST_F(Manager, ListOfSetsCountsAndRefusals)
{
    m->Fill_List();
    EXPECT_EQ(m->batch_list_count->text(), "Total List : 0");
    m->Update_Btn_Clicked();
    m->Delete_List_Btn_Clicked();

    writeSet("Names.txt", "Ann\n");
    writeSet("Cities.txt", "Oslo\n");
    writeSet("List.csv", "x,y\n"); // listed as "List", which has no List.txt
    QFile::link("/nonexistent/target", Data_Folder_Path + "/Ghost.txt");
    m->Fill_List();
    EXPECT_EQ(m->ListData, (QStringList{"Cities", "Ghost", "List", "Names"}));
    EXPECT_EQ(m->batch_list_count->text(), "Total List : 4");
    m->Update_Btn_Clicked();
    select(m->List, {0, 3});
    m->doubleClickInTable(m->List);
    for (const QString name : {"Ghost", "List"}) {
        select(m->List, {int(m->ListData.indexOf(name))});
        m->Update_Btn_Clicked();
    }
    EXPECT_EQ(host.alertTexts(),
              (QStringList{"Available list is empty.", "Available list is empty.",
                           "Please select a record from the available list to continue.",
                           "Please select only one record to update.", "Error in file accessing.",
                           "Error in file accessing."}));
    EXPECT_FALSE(m->avl_list_box->isHidden());
    EXPECT_TRUE(m->list_value_box->isHidden());
}

TEST_F(Manager, ValuesOpenTrimmedAndAreEditedAndDeletedOneByOne)
{
    writeSet("Guests.txt", " Ann \r\nBo\t\nCy\nDi\n");
    openSet("Guests");
    EXPECT_TRUE(m->avl_list_box->isHidden());
    EXPECT_EQ(m->ListData_value, (QStringList{"Ann", "Bo", "Cy", "Di"}));
    EXPECT_EQ(m->batch_value_count->text(), "Total Rows : 4");
    EXPECT_EQ(m->batch_list_name->text(), "Guests");
    EXPECT_EQ(m->update_list_name->text(), "Guests");

    struct Edit {
        QString typed, stored, message;
    };
    Update_Ex_Num* sheet = Update_Ex_Num::defaultInstance();
    for (const Edit& e : {Edit{"Bo", "Bo", ""}, Edit{"   ", "Bo", "Please enter a valid value."},
                          Edit{"  Zed ", "Zed", ""}}) {
        host.alerts.clear();
        select(m->List_value, {1});
        host.modalScripts.push_back([&](QDialog& d) {
            EXPECT_EQ(sheet->m_s_number->text(), "Bo");
            sheet->m_ex_num_str->setText(e.typed);
            sheet->OKPressed();
            if (!e.message.isEmpty())
                sheet->CancelPressed(); // the sheet stayed open
            return d.result();
        });
        m->doubleClickInTable(m->List_value);
        EXPECT_EQ(m->ListData_value[1], e.stored) << e.typed.toStdString();
        EXPECT_EQ(host.alertTexts(), e.message.isEmpty() ? QStringList() : QStringList{e.message});
    }

    host.alerts.clear();
    m->List_value->clearSelection();
    m->Delete_Rows_Btn_Clicked();
    select(m->List_value, {2, 1}); // Cy, then Zed: Zed is the one reported
    m->Delete_Rows_Btn_Clicked();
    EXPECT_EQ(m->ListData_value, (QStringList{"Ann", "Di"}));
    EXPECT_EQ(m->batch_value_count->text(), "Total Rows : 2");
    EXPECT_EQ(m->List_value->selectionModel()->selectedRows().value(0).row(), 0);
    select(m->List_value, {0, 1});
    m->Delete_Rows_Btn_Clicked();
    m->Delete_Rows_Btn_Clicked();
    EXPECT_EQ(host.alertTexts(),
              (QStringList{"Please select at least one record from the list to continue.", "List is empty."}));
    EXPECT_EQ(setFile("Guests"), " Ann \r\nBo\t\nCy\nDi\n"); // nothing saved yet
}

TEST_F(Manager, AnEmptyValueKeepsItsRowThroughEditSaveRenameAndExport)
{
    // Row 2 of the set is empty, as an empty sheet cell makes it; the batch
    // counts it, so every list shows it and every writer keeps it.
    writeSet("Guests.txt", "Ann\r\n \r\nCy\r\nDi\r\n");
    const QStringList batch = {"Ann", "", "Cy", "Di"};
    ASSERT_EQ(Data_Set_Batch_Values("Guests").value_or(QStringList()).size(), 4);
    View_Data_Series* viewer = View_Data_Series::defaultInstance();
    viewer->file_name = "Guests";
    host.modalScripts.push_back([&](QDialog& d) {
        EXPECT_EQ(viewer->ListData, batch);
        EXPECT_EQ(viewer->list_count->text(), "Total Rows : 4");
        return 1;
    });
    viewer->Open_Wnd();

    openSet("Guests");
    EXPECT_EQ(m->ListData_value, batch);
    EXPECT_EQ(m->batch_value_count->text(), "Total Rows : 4");
    select(m->List_value, {2});
    host.modalScripts.push_back([&](QDialog& d) {
        Update_Ex_Num::defaultInstance()->m_ex_num_str->setText("Cyd");
        Update_Ex_Num::defaultInstance()->OKPressed();
        return d.result();
    });
    m->doubleClickInTable(m->List_value);
    m->Save_Btn_Clicked();
    EXPECT_EQ(setFile("Guests"), "Ann\n\nCyd\nDi\n");
    openSet("Guests");
    m->batch_list_name->setText("Party"); // a rename moves the set, empty row and all
    m->Save_Btn_Clicked();
    EXPECT_EQ(setFile("Party"), "Ann\n\nCyd\nDi\n");
    EXPECT_EQ(setFile("Guests"), "<none>");
    EXPECT_EQ(Data_Set_Batch_Values("Party"), (QStringList{"Ann", "", "Cyd", "Di"}));

    openSet("Party");
    QTemporaryDir out;
    for (int type = 0; type < 4; ++type) {
        const QString path = out.filePath("party" + QString::number(type));
        host.panelAnswers.push_back({true, {path}, type});
        m->Export_Value_Btn_Clicked();
        QList<QStringList> rows;
        if (type == 1) {
            for (const QByteArray& line : readFile(Export_File_Path).split('\n'))
                rows.append({QString::fromUtf8(line)});
            rows.prepend({"Batch Value"});
            rows.removeLast(); // after the last line end
        } else if (type == 0) {
            rows = openpyxlCells(readWithOpenpyxl(Export_File_Path));
        } else {
            rows = SpreadsheetFormats::Read(Export_File_Path);
        }
        SCOPED_TRACE(Export_File_Path.toStdString());
        ASSERT_EQ(rows.size(), 5);
        for (int r = 0; r < 4; ++r)
            EXPECT_EQ(rows[r + 1].value(0), m->ListData_value[r]) << "row " << r;
    }
    EXPECT_TRUE(host.alerts.isEmpty()) << host.alertTexts().join(" | ").toStdString();
}

TEST_F(Manager, SavingCreatesReplacesRenamesAndRefuses)
{
    const QByteArray names = "Ann\nBo\n", edited = "Ann\nBo\nKim\n";
    struct SaveCase {
        QString open, typed, bound, answer;
        QStringList alerts;
        QList<std::pair<QString, QByteArray>> files; // "<none>": no file
    };
    const QList<SaveCase> cases = {
        {"", "Pets", "", "", {}, {{"Pets", "Kim\n"}, {"Names", names}}},
        {"", "/Pets?", "", "", {}, {{"Pets", "Kim\n"}}},
        {"Names", "Names", "", "", {}, {{"Names", edited}}},
        {"Names", "People", "", "", {}, {{"People", edited}, {"Names", "<none>"}}},
        {"Names", "Cities", "", "No", {kReplace}, {{"Cities", "Oslo\n"}, {"Names", names}}},
        {"Names", "Cities", "", "Yes", {kReplace}, {{"Cities", edited}, {"Names", names}}},
        {"Names", "Names", "Names", "", {kInUseUpdate}, {{"Names", names}}},
        {"Names", "People", "Names", "", {kInUseUpdate}, {{"People", "<none>"}, {"Names", names}}},
        {"Names", "Cities", "Cities", "Yes", {kInUseUpdate}, {{"Cities", "Oslo\n"}, {"Names", names}}},
        // A rename whose write fails keeps the set where it was.
        {"Names", QString(300, 'x'), "", "", {"Error in file accessing."}, {{"Names", names}}},
        {"", "a/b", "", "", {Invalid_Data_Set_Name_Message}, {{"a/b", "<none>"}}},
        {"", "..", "", "", {Invalid_Data_Set_Name_Message}, {}},
        {"", "  ", "", "", {Invalid_Data_Set_Name_Message}, {}},
    };
    for (const SaveCase& c : cases) {
        SCOPED_TRACE(QString("%1 -> %2").arg(c.open, c.typed).toStdString());
        QDir(Data_Folder_Path).removeRecursively();
        QDir().mkpath(Data_Folder_Path);
        writeSet("Names.txt", names);
        writeSet("Cities.txt", "Oslo\n");
        wnd->Get_Front_Controls_Array().clear();
        if (!c.bound.isEmpty())
            bind(c.bound);
        host.alerts.clear();
        if (c.open.isEmpty())
            m->AddNew_Btn_Clicked();
        else
            openSet(c.open);
        m->Create_Value_List(" Kim ");
        m->Create_Value_List("   ");
        m->batch_list_name->setText(c.typed);
        if (!c.answer.isEmpty())
            host.answer(c.answer);
        m->Save_Btn_Clicked();
        EXPECT_EQ(host.alertTexts(), c.alerts);
        for (const auto& [name, bytes] : c.files)
            EXPECT_EQ(setFile(name), bytes) << name.toStdString();
        const bool saved = c.alerts.isEmpty() || (c.answer == "Yes" && c.alerts == QStringList{kReplace});
        EXPECT_EQ(m->list_value_box->isHidden(), saved);
        EXPECT_TRUE(QDir(Data_Folder_Path).entryList({"*.txt.*"}, QDir::Files | QDir::Hidden).isEmpty());
    }
    host.alerts.clear();
    m->AddNew_Btn_Clicked();
    EXPECT_EQ(m->batch_list_name->text(), "Untitled");
    m->Save_Btn_Clicked();
    EXPECT_EQ(host.alertTexts(), QStringList{"List is empty."});
}

TEST_F(Manager, DeletingSetsAsksAndSparesThoseInUse)
{
    for (const QString name : {"A", "B", "C", "D", "E"})
        writeSet(name + ".txt", "x\n");
    bind("B");
    m->Fill_List();
    auto files = [] { return QDir(Data_Folder_Path).entryList(QDir::Files, QDir::Name); };

    select(m->List, {2});
    host.answer("No");
    m->Delete_List_Btn_Clicked();
    EXPECT_EQ(files().size(), 5);
    host.answer("Yes");
    m->Delete_List_Btn_Clicked();
    EXPECT_EQ(m->ListData, (QStringList{"A", "B", "D", "E"}));
    EXPECT_EQ(m->batch_list_count->text(), "Total List : 4");
    EXPECT_EQ(m->List->selectionModel()->selectedRows().value(0).row(), 1);
    m->Delete_List_Btn_Clicked(); // B is bound
    EXPECT_EQ(host.alertTexts(), (QStringList{kDeleteQuestion, kDeleteQuestion, kInUseDelete}));

    // Several at once: the walk stops at a bound set; the list then shows
    // what the folder holds.
    host.alerts.clear();
    select(m->List, {3, 1, 0}); // E, B, A: A is the one reported
    host.answer("Yes");
    m->Delete_List_Btn_Clicked();
    EXPECT_EQ(host.alertTexts(), (QStringList{kDeleteQuestion, kInUseDelete}));
    EXPECT_EQ(files(), (QStringList{"B.txt", "D.txt", "E.txt"}));
    EXPECT_EQ(m->ListData, (QStringList{"B", "D", "E"}));
    // With apply-to-all the bound set is passed over in silence.
    Msg_Apply_All_Chk = true;
    host.alerts.clear();
    select(m->List, {0, 1, 2});
    host.answer("Yes");
    m->Delete_List_Btn_Clicked();
    EXPECT_EQ(host.alertTexts(), QStringList{kDeleteQuestion});
    EXPECT_EQ(m->ListData, QStringList{"B"});
    wnd->Get_Front_Controls_Array().clear();
    select(m->List, {0});
    host.answer("Yes");
    m->Delete_List_Btn_Clicked();
    EXPECT_TRUE(m->ListData.isEmpty());
    EXPECT_EQ(m->batch_list_count->text(), "Total List : 0");
    EXPECT_TRUE(m->List->selectionModel()->selectedRows().isEmpty());
}

TEST_F(Manager, FillingTheValueListReplacesAppendsOrStops)
{
    QList<std::pair<int, int>> opened;
    m->Open_Generate_List = [&](int required, int insert) {
        opened.append({required, insert});
        if (required == 0)
            for (const QString v : {"7", "8"})
                m->Create_Value_List(v);
    };
    m->Open_Import_Wizard = [&](int required, int insert) { opened.append({required, insert}); };
    m->AddNew_Btn_Clicked();
    m->Series_Value_Btn_Clicked(); // an empty list is filled without asking
    EXPECT_TRUE(host.modalRuns.isEmpty());
    EXPECT_EQ(m->ListData_value, (QStringList{"7", "8"}));

    Load_Num_Info* sheet = Load_Num_Info::defaultInstance();
    const QList<std::pair<void (Load_Num_Info::*)(), QStringList>> answers = {
        {&Load_Num_Info::YESPressed, {"7", "8"}},
        {&Load_Num_Info::NOPressed, {"7", "8", "7", "8"}},
        {&Load_Num_Info::CancelPressed, {"7", "8"}},
        {&Load_Num_Info::reject, {"7", "8"}}, // closing the sheet cancels too
    };
    for (const auto& [press, values] : answers) {
        m->ListData_value = {"7", "8"};
        host.modalScripts.push_back([&, press = press](QDialog& d) {
            (sheet->*press)();
            return d.result();
        });
        m->Series_Value_Btn_Clicked();
        EXPECT_EQ(m->ListData_value, values);
        EXPECT_EQ(host.modalRuns.last(), "Load_Num_Info");
    }
    m->Import_Value_Btn_Clicked(); // the unscripted sheet answers 0: append
    m->Import_Btn_Clicked();
    m->CreateSeries_Btn_Clicked();
    using P = std::pair<int, int>;
    EXPECT_EQ(opened, (QList<P>{P{0, 1}, P{0, 1}, P{0, 1}, P{0, 1}, P{1, 1}, P{1, 1}}));
}

TEST_F(Manager, ExportsReadBackAndFailuresSaySo)
{
    QTemporaryDir out;
    auto at = [&](const QString& name) { return out.path() + '/' + name; };
    m->AddNew_Btn_Clicked();
    m->Export_Value_Btn_Clicked();
    EXPECT_EQ(host.alertTexts(), QStringList{"List is empty."});
    EXPECT_TRUE(host.panels.isEmpty());
    for (const QString v : {"12", "Ann", "Bo Ek"})
        m->Create_Value_List(v);

    struct ExportCase {
        QString typed;
        int type;
        QString written;
    };
    for (const ExportCase& c : {ExportCase{"g.xlsx", 0, "g.xlsx"}, ExportCase{"t", 1, "t.txt"},
                                ExportCase{"x.xlsx", 1, "x.txt"}, ExportCase{"y.txt", 0, "y.xlsx"},
                                ExportCase{"o", 2, "o.ods"}, ExportCase{"w.txt", 3, "w.xml"}}) {
        host.panelAnswers.push_back({true, {at(c.typed)}, c.type});
        m->Export_Value_Btn_Clicked();
        EXPECT_EQ(host.panels.last().typeChoices, (QStringList{"xlsx", "txt", "ods", "xml"}));
        EXPECT_EQ(Export_File_Path, at(c.written));
        EXPECT_EQ(host.modalRuns.last(), "Open_Export_Log");
        EXPECT_EQ(Open_Export_Log::defaultInstance()->_open_log_message->text(), "Record has been exported successfully.");
        if (c.type == 0)
            EXPECT_EQ(openpyxlCells(readWithOpenpyxl(at(c.written))),
                      (QList<QStringList>{{"Batch Value"}, {"12"}, {"Ann"}, {"Bo Ek"}}));
        else if (c.type == 1)
            EXPECT_EQ(readFile(at(c.written)).split('\n'), (QList<QByteArray>{"12", "Ann", "Bo Ek", ""}));
        else
            EXPECT_EQ(SpreadsheetFormats::Read(at(c.written)),
                      (QList<QStringList>{{"Batch Value"}, {"12"}, {"Ann"}, {"Bo Ek"}}));
    }
    EXPECT_FALSE(QFileInfo::exists(at("x.xlsx")));

    // A file is replaced only when the user agrees to replacing the file
    // that will be written (No opens the panel again); a failed write leaves
    // the old file and says so.
    host.alerts.clear();
    const int boxes = int(host.modalRuns.size());
    writeFile(at("keep.txt"), "keep\n");
    writeFile(at("old.xlsx"), "old");
    QFile::remove(resources.path() + "/Template.xlsx");
    host.panelAnswers.push_back({true, {at("keep.xlsx")}, 1});
    host.answer("No");
    host.panelAnswers.push_back({}); // then cancelled
    host.panelAnswers.push_back({true, {at("old.xlsx")}, 0});
    host.panelAnswers.push_back({true, {at("no/such/folder/f.txt")}, 1});
    for (int i = 0; i < 3; ++i)
        m->Export_Value_Btn_Clicked();
    EXPECT_EQ(host.panels[host.panels.size() - 3].fileName, "keep.txt");
    EXPECT_EQ(host.alertTexts(), (QStringList{"\"keep.txt\" already exists. Do you want to replace it?",
                                              "\"old.xlsx\" already exists. Do you want to replace it?",
                                              "Error in file accessing.", "Error in file accessing."}));
    EXPECT_EQ(host.modalRuns.size(), boxes);
    EXPECT_EQ(readFile(at("keep.txt")), "keep\n");
    EXPECT_EQ(readFile(at("old.xlsx")), "old");
}

TEST_F(Manager, PropertyPanelShowsWhatTheGraphicIsBoundTo)
{
    writeSet("Guests.txt", " Ann \r\n\n  \nBo\n");
    const GraphicPtr g = bind("Guests");
    wnd->_graphicView->selectGraphic(g);
    wnd->Show_Graphic_Properties(g);
    ASSERT_EQ(wnd->Batch_Series->currentText(), "Guests");

    View_Data_Series* viewer = View_Data_Series::defaultInstance();
    host.modalScripts.push_back([&](QDialog& d) {
        EXPECT_EQ(viewer->series_name->text(), "Guests");
        EXPECT_EQ(viewer->ListData, (QStringList{"Ann", "", "", "Bo"})); // the batch's rows
        EXPECT_EQ(viewer->list_count->text(), "Total Rows : 4");
        QAbstractItemModel* model = viewer->List->model();
        EXPECT_FALSE(model->flags(model->index(0, 0)) & Qt::ItemIsEditable);
        EXPECT_FALSE(model->setData(model->index(0, 0), "Zed", Qt::EditRole));
        viewer->OK_Btn_Clicked();
        return d.result();
    });
    wnd->View_batch_Series_Button();
    viewer->file_name = "Missing";
    viewer->Open_Wnd();
    EXPECT_EQ(viewer->list_count->text(), "Total Rows : 0");
    wnd->Batch_Series->setCurrentIndex(-1);
    wnd->View_batch_Series_Button();
    wnd->Data_source_type->setCurrentIndex(Source_Typed);
    wnd->View_batch_Series_Button(); // typed in: nothing to show
    wnd->Add_Excel_Col_Name_In_Combo(wnd->Data_source_type);
    wnd->Data_source_type->setCurrentIndex(Source_Spreadsheet);
    wnd->View_batch_Series_Button();
    wnd->Remove_Excel_Col_Name_In_Combo(wnd->Data_source_type);
    wnd->Data_Source_Help_Button();
    EXPECT_EQ(Long_SMS_Dlg::defaultInstance()->_Msg_Title->text(), "Batch Processing Settings Help :");
    EXPECT_TRUE(Menu_Command(wnd, "Batch Series...")->isEnabled());
    Menu_Command(wnd, "Batch Series...")->trigger();
    EXPECT_EQ(host.modalRuns, (QStringList{"View_Data_Series", "View_Data_Series", "QDialog", "Long_SMS_Dlg", "BatchWizard"}));
    EXPECT_EQ(host.alertTexts(), QStringList{"Please select the series."});
    EXPECT_EQ(m->ListData, QStringList{"Guests"}); // the manager listed the sets

    // The reader's open workbook is closed before another is chosen.
    ASSERT_TRUE(SpreadsheetWriter::WriteWorkbook(resources.path() + "/w.xlsx", {{"a"}}, false));
    SpreadsheetWriter::ReadWorkbook(resources.path() + "/w.xlsx", true);
    ASSERT_EQ(SpreadsheetWriter::Read_Sheet_Name(), QStringList{"Sheet1"});
    wnd->Delete_Excel_File_Temp_Folder();
    EXPECT_TRUE(SpreadsheetWriter::Read_Sheet_Name().isEmpty());
    wnd->Delete_Excel_File_Temp_Folder(); // nothing left: nothing happens
}

TEST(DataSetWriting, AppendingAfterALastValueWithoutLineEndStartsANewLine)
{
    TempResources resources;
    writeFile(Data_Folder_Path + "/Tail.txt", "Ann\nBo");
    ASSERT_TRUE(Write_Data_Set("Tail", {"Cy"}, true));
    EXPECT_EQ(readFile(Data_Folder_Path + "/Tail.txt"), "Ann\nBo\nCy\n");
}
