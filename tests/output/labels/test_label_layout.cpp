#include "output/LabelLayout.h"
#include "output/Printing_View.h"
#include "support/ScriptedHost.h"

#include <QImage>
#include <QPainter>
#include <gtest/gtest.h>

namespace {
QList<float> columnLefts(const Label_Sheet& s)
{
    QList<float> xs;
    for (const Label_Cell& c : s.cells)
        if (c.row == 1)
            xs << float(c.rect.x());
    return xs;
}

QList<float> rowBottoms(const Label_Sheet& s)
{
    QList<float> ys;
    for (const Label_Cell& c : s.cells)
        if (c.col == 1)
            ys << float(c.rect.y());
    return ys;
}

void expectFloats(const QList<float>& got, const QList<float>& want)
{
    ASSERT_EQ(got.size(), want.size());
    for (qsizetype i = 0; i < got.size(); ++i)
        EXPECT_FLOAT_EQ(got[i], want[i]) << "at " << i;
}

// 595 x 842 points, 18 all round, 3 x 7 cells of 180 x 100.
Label_Sheet_Layout a4Grid()
{
    Label_Sheet_Layout l;
    l.Left_Mar = l.Rite_Mar = l.Top_Mar = l.Bot_Mar = 18;
    l.label_width = 180;
    l.label_hight = 100;
    l.horz_mar = 5;
    l.vert_mar = 10;
    l.Print_Row = 7;
    l.Print_Col = 3;
    l.Print_Card_Side = "F";
    return l;
}

// Puts the layout globals where a test wants them.
struct LayoutGlobals : ::testing::Test {
    ScriptedHost host;
    void SetUp() override { setLayout(1, 1, 1); }
    void TearDown() override { setLayout(1, 1, 1); }
    static void setLayout(int rows, int cols, int total)
    {
        Left_Mar = Rite_Mar = Top_Mar = Bot_Mar = 0;
        label_width = 50;
        label_hight = 40;
        horz_mar = vert_mar = 0;
        Print_Row = rows;
        Print_Col = cols;
        Total_Label = Total_Label_Real = total;
        label_align_val = 1;
        auto_center_flag = false;
        Print_Card_Side = "F";
        Print_Card_Algn = "U";
        barcode_counter = 0;
    }
};
const QString kPreviewMessage = "For Qualitative and Performance reason, previewer shows print previews of only "
                                "first 50 sheets. However, printing has no such restriction.";
}

TEST(LabelSheetLayout, CentredAndAutoCentredGridOnA4)
{
    Label_Sheet_Layout l = a4Grid();
    l.label_align_val = 5;
    Label_Sheet s = Layout_Label_Sheet(l, QSizeF(595, 842));
    EXPECT_FLOAT_EQ(s.PW, 559);
    EXPECT_FLOAT_EQ(s.GH, 760);
    expectFloats(columnLefts(s), {22.5f, 207.5f, 392.5f});
    expectFloats(rowBottoms(s), {701, 591, 481, 371, 261, 151, 41});
    ASSERT_EQ(s.cells.size(), 21);
    EXPECT_EQ(s.cells[4].row, 2); // row by row from the top left
    EXPECT_EQ(s.cells[4].col, 2);
    EXPECT_EQ(s.cells[4].rect, QRectF(207.5, 591, 180, 100));

    // Auto-centre with the equal gaps of the window: the same gap on all four
    // sides, whatever the alignment code says.
    l.auto_center_flag = true;
    l.horz_mar = 4.75f;
    l.vert_mar = 13.25f;
    for (int code : {1, 5, 9}) {
        l.label_align_val = code;
        s = Layout_Label_Sheet(l, QSizeF(595, 842));
        expectFloats(columnLefts(s), {22.75f, 207.5f, 392.25f});
        const QList<float> ys = rowBottoms(s);
        EXPECT_FLOAT_EQ(ys.first(), 710.75f);
        EXPECT_FLOAT_EQ(842 - 18 - (ys.first() + 100), 13.25f); // top
        EXPECT_FLOAT_EQ(ys.last() - 18, 13.25f);                 // bottom
        EXPECT_FLOAT_EQ(595 - 18 - (columnLefts(s).last() + 180), 4.75f);
    }
}

TEST(LabelSheetLayout, NineAlignments)
{
    // 300 x 200 paper, insets L 10 R 20 T 5 B 15, 2 rows x 3 columns of 50 x 40,
    // gaps 4 and 6: printable 270 x 180, grid 158 x 86.
    Label_Sheet_Layout l;
    l.Left_Mar = 10;
    l.Rite_Mar = 20;
    l.Top_Mar = 5;
    l.Bot_Mar = 15;
    l.label_width = 50;
    l.label_hight = 40;
    l.horz_mar = 4;
    l.vert_mar = 6;
    l.Print_Row = 2;
    l.Print_Col = 3;
    l.Print_Card_Side = "B";
    const QList<float> xs[3] = {{10, 64, 118}, {66, 120, 174}, {122, 176, 230}}; // left, centre, right
    const QList<float> ys[3] = {{155, 109}, {108, 62}, {61, 15}};                 // top, middle, bottom
    for (int code = 1; code <= 9; ++code) {
        SCOPED_TRACE(code);
        l.label_align_val = code;
        const Label_Sheet s = Layout_Label_Sheet(l, QSizeF(300, 200));
        ASSERT_EQ(s.cells.size(), 6);
        for (int i = 0; i < 6; ++i) {
            const Label_Cell& c = s.cells[i];
            EXPECT_EQ(c.row, i / 3 + 1);
            EXPECT_EQ(c.col, i % 3 + 1);
            EXPECT_FLOAT_EQ(float(c.rect.x()), xs[(code - 1) % 3][c.col - 1]);
            EXPECT_FLOAT_EQ(float(c.rect.y()), ys[(code - 1) / 3][c.row - 1]);
            EXPECT_EQ(c.rect.size(), QSizeF(50, 40));
        }
    }
    // Code 9: the grid's right edge on the right inset, its bottom on the bottom inset.
    l.label_align_val = 9;
    const Label_Sheet s = Layout_Label_Sheet(l, QSizeF(300, 200));
    EXPECT_FLOAT_EQ(float(s.cells.last().rect.right()), 300 - 20);
    EXPECT_FLOAT_EQ(float(s.cells.last().rect.y()), 15);
    // A code outside 1 to 9 lays the grid out as code 1.
    l.label_align_val = 0;
    EXPECT_EQ(Layout_Label_Sheet(l, QSizeF(300, 200)).cells[5].rect, QRectF(118, 109, 50, 40));
}

TEST(LabelSheetLayout, ImagesInCellsOfOneOrBothSides)
{
    Label_Sheet_Layout l = a4Grid();
    const Label_Sheet s = Layout_Label_Sheet(l, QSizeF(595, 842));
    const QRectF cell = s.cells[0].rect;
    // Centred in a larger cell.
    Label_Image_Place p = Place_Label_Image(l, cell, QSizeF(170, 90));
    EXPECT_EQ(p.image, QRectF(cell.x() + 5, cell.y() + 5, 170, 90));
    EXPECT_TRUE(p.back.isNull());
    // Larger than the cell: at full size from the cell's lower left.
    p = Place_Label_Image(l, cell, QSizeF(200, 120));
    EXPECT_EQ(p.image, QRectF(cell.topLeft(), QSizeF(200, 120)));

    // Both faces stacked in a cell 10 points taller than the pair: the front at
    // the top, the back right under it, the 10 points below the back.
    l.Print_Card_Side = "BOTH";
    l.Print_Card_Algn = "U";
    l.label_width = 100;
    l.label_hight = 90;
    l.Print_Row = l.Print_Col = 1;
    l.label_align_val = 7;
    Label_Cell c = Layout_Label_Sheet(l, QSizeF(595, 842)).cells[0];
    EXPECT_EQ(c.rect, QRectF(18, 18 + 45, 100, 45)); // the upper half
    p = Place_Label_Image(l, c.rect, QSizeF(80, 40));
    EXPECT_EQ(p.image, QRectF(28, 18 + 50, 80, 40));
    EXPECT_EQ(p.back, QRectF(28, 18 + 10, 80, 40));

    // Side by side: the pair centred both ways in the cell.
    l.Print_Card_Algn = "L";
    l.label_width = 200;
    l.label_hight = 50;
    c = Layout_Label_Sheet(l, QSizeF(595, 842)).cells[0];
    EXPECT_EQ(c.rect, QRectF(18, 18, 100, 50)); // the left half
    p = Place_Label_Image(l, c.rect, QSizeF(80, 40));
    EXPECT_EQ(p.image, QRectF(38, 23, 80, 40));
    EXPECT_EQ(p.back, QRectF(118, 23, 80, 40));
}

TEST_F(LayoutGlobals, PageCountRoundsUpAndNeverRunsAway)
{
    const QImage none;
    auto pages = [&](int rows, int cols, int total) {
        setLayout(rows, cols, total);
        return Printing_View(none, none, Printing_View::Print_Spool_Job).numberOfPages();
    };
    EXPECT_EQ(pages(2, 2, 7), 2u);
    EXPECT_EQ(pages(2, 2, 8), 2u);
    EXPECT_EQ(pages(2, 2, 9), 3u);
    EXPECT_EQ(pages(1, 1, 12), 12u);
    EXPECT_EQ(pages(3, 4, 1), 1u);
    EXPECT_EQ(pages(2, 2, 0), 0u);
    EXPECT_EQ(pages(2, 2, -8), 0u);
    EXPECT_EQ(pages(1, 1, -1), 0u);
    EXPECT_EQ(pages(0, 3, 7), 3u); // a grid of no rows counts as one row
    EXPECT_EQ(pages(1, 1, 60), 60u);
    EXPECT_TRUE(host.alerts.isEmpty()); // printing has no limit
}

TEST_F(LayoutGlobals, PreviewStopsAtFiftySheetsWithItsMessage)
{
    const QImage none;
    setLayout(1, 1, 60);
    Printing_View preview(none, none, Printing_View::Print_Preview_Job);
    EXPECT_EQ(preview.numberOfPages(), 50u);
    EXPECT_EQ(host.alertTexts(), QStringList{kPreviewMessage});
    // Once per page-count request.
    EXPECT_EQ(preview.numberOfPages(), 50u);
    EXPECT_EQ(host.alertTexts().size(), 2);

    setLayout(1, 1, 51);
    EXPECT_EQ(Printing_View(none, none, Printing_View::Print_Preview_Job).numberOfPages(), 50u);
    EXPECT_EQ(host.alertTexts().size(), 3);
    setLayout(2, 5, 500);
    EXPECT_EQ(Printing_View(none, none, Printing_View::Print_Preview_Job).numberOfPages(), 50u);
    EXPECT_EQ(host.alertTexts().size(), 3);
}

TEST_F(LayoutGlobals, ScreenDrawingIsTheWhiteSheetOnly)
{
    QImage red(50, 40, QImage::Format_ARGB32);
    red.fill(Qt::red);
    setLayout(2, 2, 4);
    Printing_View view(red, red, Printing_View::Print_Spool_Job);
    QImage screen(200, 200, QImage::Format_ARGB32);
    screen.fill(Qt::black);
    {
        QPainter painter(&screen);
        view.drawRect(painter, QRectF(0, 0, 200, 200));
    }
    for (int y = 0; y < 200; y += 7)
        for (int x = 0; x < 200; x += 7)
            ASSERT_EQ(screen.pixelColor(x, y), QColor(Qt::white)) << x << "," << y;
    EXPECT_EQ(barcode_counter.load(), 0);
}
