// Label sheets of a bound design printed through the row interface alone,
// with a stand-in for the design: no main window takes part.
#include "model/Card_Rows.h"
#include "output/LabelLayout.h"
#include "output/Printing_View.h"
#include "platform/Task.h"
#include "support/Pdf.h"
#include "support/ScriptedHost.h"

#include <QPainter>
#include <QPdfWriter>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {
// Rows of solid cards: row r's front and back each have a colour of their own.
struct Stand_In_Rows : Card_Row_Source {
    int rows = 0;
    int begun = 0, ended = 0;
    bool open = false;
    QStringList requests; // "r:F" / "r:B" in the order they were asked for

    static QColor colour(int row, Card_Side side) { return QColor::fromHsv((row * 47 + side * 180) % 360, 255, 220); }
    void Check_Series_Or_Excel_Use_or_not() override {}
    void Get_total_Card_count() override {}
    int Batch_Row_Count() const override { return rows; }
    bool Sources_Found() override { return true; }
    bool Confirm_Source_Lengths() override { return true; }
    Cards_Without_Barcode Rows_Without_Barcode() const override { return {}; }
    void Batch_Begin() override { ++begun; open = true; }
    void Batch_End() override { ++ended; open = false; }
    QImage Card_Row_Image(int, Card_Side, qreal) override
    {
        ADD_FAILURE() << "a printed label was drawn as a picture";
        return {};
    }
    // A 100 x 60 card: a solid colour with a rule across it, drawn as vectors.
    bool Draw_Card_Row(int row, Card_Side side, QPainter& painter) override
    {
        EXPECT_TRUE(open) << "a row was drawn outside Batch_Begin/Batch_End";
        requests << QStringLiteral("%1:%2").arg(row).arg(side == Side_Front ? 'F' : 'B');
        painter.fillRect(QRectF(0, 0, 100, 60), colour(row, side));
        return true;
    }
};

QImage page(const QString& pdf, int n)
{
    platform::TaskRequest r;
    r.program = "pdftoppm";
    r.arguments = {"-r", "72", "-f", QString::number(n), "-l", QString::number(n), "-singlefile", "-png", pdf,
                   pdf + QString::number(n)};
    platform::runTask(r);
    return QImage(pdf + QString::number(n) + ".png");
}

bool near(QColor a, QColor b)
{
    return std::abs(a.red() - b.red()) < 16 && std::abs(a.green() - b.green()) < 16 &&
           std::abs(a.blue() - b.blue()) < 16;
}
}

TEST(RowSourcePrint, EachLabelPrintsItsRowsSidesWithNoMainWindow)
{
    ScriptedHost host;
    QTemporaryDir dir;
    Left_Mar = Rite_Mar = Top_Mar = Bot_Mar = 0;
    horz_mar = vert_mar = 0;
    label_align_val = 1;
    auto_center_flag = false;
    Print_Row = 1;
    Print_Col = 2;
    label_width = 100;
    // Five rows on 1 x 2 sheets: three pages, the last with one label.
    struct Case {
        const char* side;
        float cellHeight;
        QStringList firstRequests;
    };
    const Case cases[] = {
        {"F", 60, {"0:F", "1:F"}},
        {"B", 60, {"0:B", "1:B"}},
        {"BOTH", 120, {"0:B", "0:F", "1:B", "1:F"}}, // the back first: the design ends on its front
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.side);
        Print_Card_Side = c.side;
        Print_Card_Algn = "U";
        label_hight = c.cellHeight;
        Total_Label = Total_Label_Real = 5;
        barcode_counter = 0;
        Stand_In_Rows rows;
        rows.rows = 5;
        // Without rows of its own the back-only label keeps the print window's front.
        QImage windowFront(100, 60, QImage::Format_ARGB32);
        windowFront.fill(Qt::black);
        Printing_View view(windowFront, QImage(), Printing_View::Print_Spool_Job, &rows);

        const QString pdf = dir.filePath(QStringLiteral("%1.pdf").arg(c.side));
        QPdfWriter writer(pdf);
        writer.setPageSize(QPageSize(QSizeF(200, c.cellHeight), QPageSize::Point));
        writer.setPageMargins({}, QPageLayout::Point);
        ASSERT_TRUE(view.Print_Sheets(writer));

        EXPECT_EQ(rows.begun, 3);
        EXPECT_EQ(rows.ended, 3);
        EXPECT_EQ(rows.requests.mid(0, c.firstRequests.size()), c.firstRequests);
        EXPECT_EQ(rows.requests.size(), c.firstRequests.size() / 2 * 5);
        // The labels are vectors: no picture of a card is embedded.
        EXPECT_TRUE(Pdf_Images(pdf).isEmpty());
        // Page 2 holds rows 2 and 3, left and right; for "BOTH" the back sits below its front.
        const QImage second = page(pdf, 2);
        ASSERT_FALSE(second.isNull());
        for (int col = 0; col < 2; ++col) {
            const int row = 2 + col;
            const QPoint top(col * 100 + 50, 30);
            const Card_Side shown = QString(c.side) == "B" ? Side_Back : Side_Front;
            EXPECT_TRUE(near(second.pixelColor(top), Stand_In_Rows::colour(row, shown))) << row;
            if (QString(c.side) == "BOTH") {
                EXPECT_TRUE(near(second.pixelColor(top + QPoint(0, 60)), Stand_In_Rows::colour(row, Side_Back))) << row;
            }
        }
    }
    EXPECT_TRUE(host.alerts.isEmpty());
}
