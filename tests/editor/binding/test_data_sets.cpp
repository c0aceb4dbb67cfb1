#include "data/DataSetFiles.h"
#include "data/Data_From_Excel.h"
#include "editor/Batch_Binding.h"
#include "model/Globals.h"
#include "output/Long_SMS_Dlg.h"
#include "support/ScriptedHost.h"
#include "support/SharedState.h"
#include "support/TempResources.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QPushButton>
#include <QTableView>
#include <gtest/gtest.h>

namespace {
void writeFile(const QString& path, const QByteArray& bytes)
{
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(bytes);
}

struct DataSetTest : ::testing::Test {
    TempResources resources;
    ScriptedHost host;
    SKTDocument document;
    Batch_Binding binding{document};
    void SetUp() override
    {
        Reset_Shared_State();
        QDir().mkpath(Data_Folder_Path);
    }
    void TearDown() override { Reset_Shared_State(); }
    GraphicPtr bound(Face& face, const QString& set)
    {
        auto g = std::make_shared<SKTText>();
        g->data_source_type = 1;
        g->batch_list_name = set;
        face.append(g);
        return g;
    }
};
}

TEST_F(DataSetTest, ListingHasEveryPlainFileByNameInAFixedOrder)
{
    writeFile(Data_Folder_Path + "/Photos.txt", "a.png\n");
    writeFile(Data_Folder_Path + "/Names.txt", "Ann\n");
    writeFile(Data_Folder_Path + "/List.csv", "x,y\n");
    writeFile(Data_Folder_Path + "/.hidden.txt", "h\n");
    writeFile(Data_Folder_Path + "/Archive.2024.txt", "z\n");
    QDir().mkpath(Data_Folder_Path + "/Folder");
    const QStringList names = Data_Set_Listing(Data_Folder_Path);
    EXPECT_EQ(names, (QStringList{".hidden", "Archive.2024", "List", "Names", "Photos"}));
    EXPECT_EQ(Data_Set_Listing(Data_Folder_Path), names); // the same order every time
    // "List" comes from List.csv: there is no List.txt to read.
    EXPECT_EQ(Data_Set_First_Value("List"), "");

    QDir(Data_Folder_Path).removeRecursively();
    EXPECT_TRUE(Data_Set_Listing(Data_Folder_Path).isEmpty());
}

TEST_F(DataSetTest, FirstValuesAndValueCounts)
{
    writeFile(Data_Folder_Path + "/Crlf.txt", "Ann\r\nBo\r\n");
    writeFile(Data_Folder_Path + "/Blank.txt", "\nAnn\n");
    writeFile(Data_Folder_Path + "/Gaps.txt", "A\n\nB\n\n\n");
    writeFile(Data_Folder_Path + "/Latin1.txt", "caf\xe9\n");
    EXPECT_EQ(Data_Set_First_Value("Crlf"), "Ann\r");
    EXPECT_EQ(Data_Set_First_Value("Blank"), "");
    EXPECT_EQ(Data_Set_First_Value("Latin1"), "caf\u00e9"); // not UTF-8: read as Latin-1
    EXPECT_EQ(Data_Set_First_Value("Missing"), "");
    EXPECT_EQ(*Data_Set_Batch_Values("Gaps"), (QStringList{"A", "", "B"}));
    EXPECT_EQ(*Data_Set_Shown_Values("Gaps"), (QStringList{"A", "", "B"})); // the rows the batch counts
    EXPECT_FALSE(Data_Set_Batch_Values("Missing").has_value());
}

TEST_F(DataSetTest, InUseFollowsTheSidesAndTheFile)
{
    writeFile(Data_Folder_Path + "/Guests.txt", "Ann\n");
    bound(document.graphics_back, "Guests");
    CARD_SIDE_STR = "1";
    EXPECT_FALSE(binding.Check_Batch_File_In_Use_Validation("Guests"));
    CARD_SIDE_STR = ""; // sides never chosen: a card with a back, as the sides box shows
    EXPECT_TRUE(binding.Check_Batch_File_In_Use_Validation("Guests"));
    CARD_SIDE_STR = "2";
    EXPECT_TRUE(binding.Check_Batch_File_In_Use_Validation("Guests"));
    EXPECT_FALSE(binding.Check_Batch_File_In_Use_Validation("guests")); // names compare exactly
    CARD_SIDE_STR = "1";
    bound(document.graphics, "Guests");
    EXPECT_TRUE(binding.Check_Batch_File_In_Use_Validation("Guests"));
    QFile::remove(Data_Folder_Path + "/Guests.txt");
    EXPECT_FALSE(binding.Check_Batch_File_In_Use_Validation("Guests"));
}

TEST_F(DataSetTest, NamesThatLeaveTheFolderAreRefused)
{
    for (const QString bad : {"../escape", "a/b", "a\\b", ".", "..", ""}) {
        EXPECT_FALSE(Is_Valid_Data_Set_Name(bad)) << bad.toStdString();
        EXPECT_TRUE(Data_Set_File_Path(bad).isEmpty());
        QString error;
        EXPECT_FALSE(Write_Data_Set(bad, {"x"}, false, &error));
        EXPECT_EQ(error, Invalid_Data_Set_Name_Message);
    }
    EXPECT_FALSE(QFileInfo::exists(resources.path() + "/escape.txt"));
    // A graphic naming such a set loads nothing.
    writeFile(resources.path() + "/secret.txt", "do not read\n");
    bound(document.graphics, "../secret");
    binding.Check_Series_Or_Excel_Use_or_not();
    EXPECT_TRUE(binding.data_table_content.isEmpty());
    EXPECT_EQ(Total_Batch_Excel_Card.load(), 0);
}

TEST_F(DataSetTest, WritingReplacesOrAppendsWholeFiles)
{
    ASSERT_TRUE(Write_Data_Set("Cities", {"Oslo", "Rome"}, false));
    ASSERT_TRUE(Write_Data_Set("Cities", {"Lima"}, true));
    QFile f(Data_Folder_Path + "/Cities.txt");
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    EXPECT_EQ(f.readAll(), QByteArray("Oslo\nRome\nLima\n"));
    f.close();
    ASSERT_TRUE(Write_Data_Set("Cities", {"Å"}, false));
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    EXPECT_EQ(f.readAll(), QByteArray("\xc3\x85\n"));
    f.close();
    // A folder where the file should go: the write fails and says so.
    QDir().mkpath(Data_Folder_Path + "/Blocked.txt");
    QString error;
    EXPECT_FALSE(Write_Data_Set("Blocked", {"x"}, false, &error));
    EXPECT_FALSE(error.isEmpty());
    EXPECT_TRUE(QDir(Data_Folder_Path).entryList({"*.txt.*"}, QDir::Files | QDir::Hidden).isEmpty());
}

TEST_F(DataSetTest, SpreadsheetTableRowsAndViewer)
{
    Data_From_Excel* table = Data_From_Excel_Window;
    table->ListData.clear();
    table->Set_Data_Columns({"Name", "City"});
    table->Create_List_By_Array({" Ann ", "Oslo\t"}, 2);
    table->Create_List_By_Array({"Bo", ""}, 2);
    table->Create_List_By_Array({"too few"}, 2); // refused, logged
    ASSERT_EQ(table->ListData.size(), 2);
    EXPECT_EQ(table->ListData[0], (QVariantMap{{"Extension", "1"}, {"Column1", "Ann"}, {"Column2", "Oslo"}}));
    EXPECT_EQ(table->ListData[1].value("Extension").toString(), "2");
    EXPECT_EQ(table->ListData[1].value("Column2").toString(), "");

    host.modalScripts.push_back([&](QDialog& d) {
        EXPECT_EQ(table->rows_count->text(), "2");
        EXPECT_EQ(table->column_count->text(), "3");
        QAbstractItemModel* m = table->ColList->model();
        EXPECT_EQ(m->headerData(1, Qt::Horizontal).toString(), "Name");
        EXPECT_EQ(m->data(m->index(1, 1)).toString(), "Bo");
        // An edit keeps the typed text, spaces and all.
        EXPECT_TRUE(m->setData(m->index(1, 2), "  Rome ", Qt::EditRole));
        table->OK_Click();
        return d.result();
    });
    EXPECT_EQ(table->Open_Wnd(), 1);
    EXPECT_EQ(table->ListData[1].value("Column2").toString(), "  Rome ");
    QAbstractItemModel* m = table->model();
    EXPECT_FALSE(m->setData(m->index(5, 1), "x", Qt::EditRole)); // no such row
}

TEST(LongTextBox, FieldsServeOneShowingAndNoLeavesTheAnswer)
{
    ScriptedHost host;
    Long_SMS_Dlg* box = Long_SMS_Dlg::defaultInstance();
    Msg_Apply_All_Chk = false;
    box->title_val = "Batch Processing Series already exists :";
    box->msg_val_str = "Replace it?";
    box->apply_chk_show = true;
    host.modalScripts.push_back([&](QDialog& d) {
        EXPECT_FALSE(box->no_button->isHidden());
        EXPECT_FALSE(box->apply_chk->isHidden());
        box->apply_chk->setChecked(true);
        box->OKPressed();
        return d.result();
    });
    EXPECT_EQ(box->Open_Long_sms_Dialog(), 1);
    EXPECT_TRUE(Msg_Apply_All_Chk);
    EXPECT_TRUE(box->title_val.isEmpty());
    EXPECT_FALSE(box->apply_chk_show);

    // A help box right after: preset title and text, no No button, no check box.
    Cutom_Msg_Title = "Batch Processing Settings Help :";
    Cutom_Msg_Val = "Bind a text to a list.";
    host.modalScripts.push_back([&](QDialog& d) {
        EXPECT_TRUE(box->no_button->isHidden());
        EXPECT_TRUE(box->apply_chk->isHidden());
        box->apply_chk->setChecked(false);
        box->CancelPressed(); // No and Cancel leave the answer as it was
        return d.result();
    });
    EXPECT_EQ(box->Open_Long_sms_Dialog(), 0);
    EXPECT_TRUE(Msg_Apply_All_Chk);
    Msg_Apply_All_Chk = false;
}

TEST_F(DataSetTest, HandMadeFilesInOtherEncodingsBindTheirValues)
{
    const QString text = QStringLiteral("Zo\u00eb\nJos\u00e9\n");
    const std::pair<const char*, QByteArray> files[] = {
        {"Utf8", text.toUtf8()},
        {"Utf8Bom", "\xef\xbb\xbf" + text.toUtf8()},
        {"Utf16Bom", QByteArray("\xff\xfe", 2)
                         + QByteArray(reinterpret_cast<const char*>(text.utf16()), text.size() * 2)},
        {"Latin1", text.toLatin1()},
    };
    for (const auto& [name, bytes] : files) {
        SCOPED_TRACE(name);
        writeFile(Data_Folder_Path + '/' + name + ".txt", bytes);
        EXPECT_EQ(*Data_Set_Batch_Values(name), (QStringList{"Zo\u00eb", "Jos\u00e9"}));
        EXPECT_EQ(Data_Set_First_Value(name), "Zo\u00eb");
    }
    // Added values turn the whole file into UTF-8, not a mix of two encodings.
    ASSERT_TRUE(Write_Data_Set("Latin1", {"Ren\u00e9e"}, true));
    EXPECT_EQ(*Data_Set_Batch_Values("Latin1"), (QStringList{"Zo\u00eb", "Jos\u00e9", "Ren\u00e9e"}));
    QFile f(Data_Folder_Path + "/Latin1.txt");
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    EXPECT_EQ(f.readAll(), QStringLiteral("Zo\u00eb\nJos\u00e9\nRen\u00e9e\n").toUtf8());
}
