#include "canvas/SKTGraphicView.h"
#include "canvas/SKTRenderingView.h"
#include "data/DataSetFiles.h"
#include "data/Data_From_Excel.h"
#include "editor/Batch_Binding.h"
#include "model/Globals.h"
#include "canvas/SKTGrid.h"
#include "support/ScriptedHost.h"
#include "support/SharedState.h"
#include "support/TempResources.h"
#include "support/Wait.h"

#include <QDir>
#include <QThread>
#include <atomic>
#include <gtest/gtest.h>

namespace {
QString solidPng(const QString& path, QColor colour)
{
    QImage img(4, 4, QImage::Format_ARGB32);
    img.fill(colour);
    img.save(path);
    return path;
}

struct BindingTest : ::testing::Test {
    TempResources resources;
    ScriptedHost host;
    SKTDocument document;
    Batch_Binding binding{document};
    Data_From_Excel* table = Data_From_Excel_Window;

    void SetUp() override
    {
        Reset_Shared_State();
        QDir().mkpath(Data_Folder_Path);
        CARD_SIDE_STR = "2";
    }
    void TearDown() override { Reset_Shared_State(); }
    std::shared_ptr<SKTText> text(Face& face, int type, const QString& set = {}, int col = 0,
                                  QRectF r = QRectF(0, 0, 100, 20))
    {
        auto g = std::make_shared<SKTText>();
        g->text = "typed";
        g->data_source_type = type;
        g->batch_list_name = set;
        g->excel_col_indx = col;
        g->bounds = r;
        g->isDrawingStroke = false;
        face.append(g);
        return g;
    }
    void tableOf(int rows)
    {
        table->Set_Data_Columns({"Name"});
        for (int i = 0; i < rows; ++i)
            table->Create_List_By_Array({QStringLiteral("row%1").arg(i)}, 1);
    }
};
}

TEST_F(BindingTest, CountsTakeTheLongerSourceAndBlanksFollow)
{
    QStringList ten;
    for (int i = 0; i < 10; ++i)
        ten << QStringLiteral("v%1").arg(i);
    ASSERT_TRUE(Write_Data_Set("Ten", ten, false));
    tableOf(4);
    auto fromSet = text(document.graphics, 1, "Ten");
    auto fromTable = text(document.graphics, 2, {}, 1);

    binding.Check_Series_Or_Excel_Use_or_not();
    EXPECT_TRUE(Use_Data_Sheet_Values);
    EXPECT_TRUE(Use_Excel_Binding_Values);
    EXPECT_EQ(Data_table_rows.load(), 10);
    EXPECT_EQ(Excel_table_rows.load(), 4);
    EXPECT_EQ(Total_Batch_Excel_Card.load(), 10);

    binding.Set_data_table_value_to_card(3, "F", false);
    EXPECT_EQ(fromSet->text, "v3");
    EXPECT_EQ(fromTable->text, "row3");
    binding.Set_data_table_value_to_card(4, "F", false);
    EXPECT_EQ(fromSet->text, "v4");
    EXPECT_EQ(fromTable->text, ""); // past the table's end

    // The caller switches the table off for this run: its text stays as it is.
    fromTable->text = "kept";
    Use_Excel_Binding_Values = false;
    binding.Get_total_Card_count();
    EXPECT_EQ(Total_Batch_Excel_Card.load(), 10);
    binding.Set_data_table_value_to_card(2, "F", false);
    EXPECT_EQ(fromTable->text, "kept");
    EXPECT_EQ(fromSet->text, "v2");
}

TEST_F(BindingTest, NothingBoundMeansNoRows)
{
    text(document.graphics, 0);
    binding.Check_Series_Or_Excel_Use_or_not();
    EXPECT_FALSE(Use_Data_Sheet_Values);
    EXPECT_FALSE(Use_Excel_Binding_Values);
    EXPECT_EQ(Total_Batch_Excel_Card.load(), 0);
    // A bound set whose file is gone loads nothing either.
    text(document.graphics, 1, "Gone");
    binding.Check_Series_Or_Excel_Use_or_not();
    EXPECT_FALSE(Use_Data_Sheet_Values);
    EXPECT_EQ(Total_Batch_Excel_Card.load(), 0);
}

TEST_F(BindingTest, BackSideCountsUnlessTheCardIsOneSided)
{
    ASSERT_TRUE(Write_Data_Set("Back", {"a", "b", "c"}, false));
    text(document.graphics_back, 1, "Back");
    // Sides never chosen ("") are a card with a back, as the sides box shows.
    for (const auto& [sides, rows] : {std::pair{"1", 0}, std::pair{"", 3}, std::pair{"2", 3}}) {
        CARD_SIDE_STR = sides;
        binding.Check_Series_Or_Excel_Use_or_not();
        EXPECT_EQ(Total_Batch_Excel_Card.load(), rows) << sides;
    }
}

TEST_F(BindingTest, RowsGoIntoTextAndImagesOnBothSidesAndRender)
{
    const QString red = solidPng(resources.path() + "/red.png", Qt::red);
    const QString blue = solidPng(resources.path() + "/blue.png", Qt::blue);
    ASSERT_TRUE(Write_Data_Set("Pics", {red, blue}, false));
    ASSERT_TRUE(Write_Data_Set("Names", {"  Ann ", "", "Cy"}, false));
    auto front = text(document.graphics, 1, "Names");
    auto pic = std::make_shared<SKTImage>();
    pic->data_source_type = 1;
    pic->batch_list_name = "Pics";
    pic->bounds = QRectF(0, 0, 243, 153);
    pic->isDrawingStroke = false;
    document.graphics_back.append(pic);
    tableOf(3);
    auto backText = text(document.graphics_back, 2, {}, 0);

    binding.Check_Series_Or_Excel_Use_or_not();
    ASSERT_EQ(Total_Batch_Excel_Card.load(), 3);

    QImage back = binding.Set_data_table_value_to_card(1, "B", false);
    EXPECT_EQ(Card_Front_Or_Back.load(), 1);
    EXPECT_EQ(pic->filePath(), blue);
    EXPECT_EQ(backText->text, "2"); // the row-number column
    ASSERT_EQ(back.size(), QSize(243, 153));
    EXPECT_EQ(back.pixelColor(200, 140), QColor(Qt::blue));
    EXPECT_EQ(front->text, "typed"); // the front is untouched by a back row

    QImage frontImage = binding.Set_data_table_value_to_card(0, "F", false);
    EXPECT_EQ(Card_Front_Or_Back.load(), 0);
    EXPECT_EQ(front->text, "Ann"); // trimmed
    EXPECT_FALSE(frontImage.isNull());
    binding.Set_data_table_value_to_card(1, "F", false);
    EXPECT_EQ(front->text, ""); // an empty line is an empty value

    binding.Set_data_table_value_to_card(2, "B", false);
    EXPECT_EQ(pic->filePath(), ""); // the set has 2 values: no image
    EXPECT_TRUE(pic->image.isNull());
}

TEST_F(BindingTest, SetsAreKeptByNameNotByListingPosition)
{
    ASSERT_TRUE(Write_Data_Set("Names", {"Ann", "Bo"}, false));
    auto g = text(document.graphics, 1, "Names");
    g->batch_list_index = 0;
    // A new set sorts in front of the bound one and the stored index is now stale.
    ASSERT_TRUE(Write_Data_Set("Animals", {"cat", "dog"}, false));
    ASSERT_EQ(Data_Set_Listing(Data_Folder_Path).indexOf("Names"), 1);
    binding.Check_Series_Or_Excel_Use_or_not();
    binding.Set_data_table_value_to_card(1, "F", false);
    EXPECT_EQ(g->text, "Bo");
    g->batch_list_index = 99;
    binding.Set_data_table_value_to_card(0, "F", false);
    EXPECT_EQ(g->text, "Ann");
}

TEST_F(BindingTest, IndexesOutOfRangeGiveTheEmptyValue)
{
    ASSERT_TRUE(Write_Data_Set("Names", {"Ann"}, false));
    tableOf(2);
    binding.Check_Series_Or_Excel_Use_or_not();
    EXPECT_EQ(binding.Get_sel_row_col_value_of_dataset(-1, "Names"), "");
    EXPECT_EQ(binding.Get_sel_row_col_value_of_dataset(1, "Names"), "");
    EXPECT_EQ(binding.Get_sel_row_col_value_of_dataset(0, "Other"), "");
    Use_Excel_Binding_Values = true;
    binding.Calculate_Excel_table_rows();
    EXPECT_EQ(binding.Get_sel_row_col_value_of_Excel(1, 1), "row1");
    EXPECT_EQ(binding.Get_sel_row_col_value_of_Excel(2, 1), "");
    EXPECT_EQ(binding.Get_sel_row_col_value_of_Excel(-5, 1), "");
    EXPECT_EQ(binding.Get_sel_row_col_value_of_Excel(0, 9), "");
    EXPECT_EQ(binding.Get_sel_row_col_value_of_Excel(0, -1), "");
    auto g = text(document.graphics, 2, {}, 40);
    binding.Set_data_table_value_to_card(100000, "F", false);
    EXPECT_EQ(g->text, "");
}

TEST_F(BindingTest, OnlyTheMainPhotoGraphicReloadsTheMainPhoto)
{
    const QString red = solidPng(resources.path() + "/red.png", Qt::red);
    ASSERT_TRUE(Write_Data_Set("Pics", {red}, false));
    QImage original(2, 2, QImage::Format_ARGB32);
    original.fill(Qt::green);
    Set_Main_Photo_image(original);

    auto other = std::make_shared<SKTImage>();
    other->data_source_type = 1;
    other->batch_list_name = "Pics";
    document.graphics.append(other);
    binding.Check_Series_Or_Excel_Use_or_not();
    binding.Set_data_table_value_to_card(0, "F", false);
    EXPECT_EQ(Get_Main_Photo_image(), original);
    EXPECT_EQ(other->image.pixelColor(0, 0), QColor(Qt::red));

    auto party = std::make_shared<SKTImage>();
    party->control_ID = "PARTY_IMAGE";
    party->data_source_type = 1;
    party->batch_list_name = "Pics";
    document.graphics.append(party);
    binding.Keep_Main_Photo_For_Batch();
    binding.Set_data_table_value_to_card(0, "F", false);
    EXPECT_EQ(Get_Main_Photo_image().pixelColor(0, 0), QColor(Qt::red));
    binding.Restore_Main_Photo_After_Batch();
    EXPECT_EQ(Get_Main_Photo_image(), original);
    Set_Main_Photo_image(QImage());
}

TEST_F(BindingTest, AfterABatchRowZeroIsBackAndTheCanvasLive)
{
    ASSERT_TRUE(Write_Data_Set("Names", {"Ann", "Bo"}, false));
    auto g = text(document.graphics, 1, "Names");
    binding.Check_Series_Or_Excel_Use_or_not();
    Card_Value_In_Process = true;
    binding.Set_data_table_value_to_card(1, "F", false);
    EXPECT_EQ(g->text, "Bo");
    binding.Select_first_row_value_for_design(false);
    EXPECT_EQ(g->text, "Ann");
    EXPECT_FALSE(Card_Value_In_Process);
}

TEST_F(BindingTest, TwoHundredRowsFromAWorkerWhileTheCanvasIsShown)
{
    QStringList names;
    for (int i = 0; i < 200; ++i)
        names << QStringLiteral("Guest %1").arg(i);
    ASSERT_TRUE(Write_Data_Set("Guests", names, false));
    auto g = text(document.graphics, 1, "Guests", 0, QRectF(10, 10, 200, 40));
    SKTGrid grid;
    SKTGraphicView canvas(&document, &document.graphics, &grid, Side_Front);
    canvas.show();
    binding.Check_Series_Or_Excel_Use_or_not();
    ASSERT_EQ(Total_Batch_Excel_Card.load(), 200);

    Card_Value_In_Process = true;
    std::atomic<int> rendered{0};
    std::atomic<bool> done{false};
    QThread* worker = QThread::create([&] {
        for (int row = 0; row < 200; ++row)
            if (binding.Set_data_table_value_to_card(row, "F", false).size() == QSize(243, 153))
                ++rendered;
        done = true;
    });
    worker->start();
    // The main thread keeps painting the canvas meanwhile.
    ASSERT_TRUE(waitUntil([&] {
        canvas.repaint();
        return done.load();
    }, 60000));
    worker->wait();
    delete worker;
    EXPECT_EQ(rendered.load(), 200);
    EXPECT_EQ(g->text, "Guest 199");
    binding.Select_first_row_value_for_design(false);
    EXPECT_EQ(g->text, "Guest 0");
}
