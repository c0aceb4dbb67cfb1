// The print settings window driven as a person would, with the scripted host
// standing in for the printers: its numbers, its layout arithmetic, the
// on-screen sample, the fit question, preview and print, and the Print
// command's messages.
#include "barcode/BarcodeDispatch.h"
#include "data/DataSetFiles.h"
#include "editor/SKTWindowController.h"
#include "model/Batch_Sources.h"
#include "model/Globals.h"
#include "output/LabelLayout.h"
#include "output/Print_Wnd.h"
#include "output/Sample_Preview.h"
#include "support/SharedState.h"
#include "support/Pdf.h"
#include "support/ScriptedHost.h"
#include "support/TempResources.h"

#include <QAbstractButton>
#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QDoubleSpinBox>
#include <QLabel>
#include <QLineEdit>
#include <QPageLayout>
#include <QPaintEngine>
#include <QPainter>
#include <QPicture>
#include <QPrinter>
#include <QTextItem>
#include <QToolButton>
#include <gtest/gtest.h>

namespace {
constexpr float kPtPerMm = float(72.0 / 25.4);

// A screen-like device that keeps the texts drawn on it, with their colour
// and where they start.
class TextRecorder : public QPaintDevice {
public:
    struct Item {
        QString text;
        QColor colour;
        QPointF at;
    };
    QList<Item> items;

    TextRecorder() = default;
    TextRecorder(const TextRecorder&) = delete;

    QPaintEngine* paintEngine() const override { return &engine; }
    int metric(PaintDeviceMetric m) const override
    {
        switch (m) {
        case PdmWidth: return 600;
        case PdmHeight: return 850;
        case PdmDpiX:
        case PdmDpiY:
        case PdmPhysicalDpiX:
        case PdmPhysicalDpiY: return 72;
        case PdmDepth: return 32;
        case PdmDevicePixelRatioScaled: return int(devicePixelRatioFScale());
        default: return 1;
        }
    }
    static QStringList texts(const QList<Item>& items)
    {
        QStringList out;
        for (const Item& i : items)
            out << i.text;
        return out;
    }

private:
    struct Engine : QPaintEngine {
        TextRecorder* owner = nullptr;
        QPen pen;
        QTransform transform;
        bool begin(QPaintDevice* d) override
        {
            owner = static_cast<TextRecorder*>(d);
            return true;
        }
        bool end() override { return true; }
        void updateState(const QPaintEngineState& s) override
        {
            if (s.state() & DirtyPen)
                pen = s.pen();
            if (s.state() & DirtyTransform)
                transform = s.transform();
        }
        void drawPixmap(const QRectF&, const QPixmap&, const QRectF&) override {}
        void drawPolygon(const QPointF*, int, PolygonDrawMode) override {}
        void drawTextItem(const QPointF& p, const QTextItem& item) override
        {
            owner->items.append({item.text(), pen.color(), transform.map(p)});
        }
        Type type() const override { return User; }
    };
    mutable Engine engine;
};

struct PrintWindowTest : ::testing::Test {
    TempResources resources;
    ScriptedHost host;
    SKTWindowController* wnd = SKTWindowController::defaultInstance();
    Print_Wnd* pw = Print_Wnd::defaultInstance();

    void SetUp() override
    {
        Reset_Shared_State();
        wnd->New_Project_Setting_Reset();
        CARD_SIDE_STR = "1";
        QDir().mkpath(Data_Folder_Path);
        host.printers = QStringList{"Labels", "Office"};
        host.printFolder = resources.path();
        // A4 with no insets, drawn into files.
        pw->printInfo()->setOutputFormat(QPrinter::PdfFormat);
        pw->printInfo()->setPageLayout(QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Portrait, QMarginsF()));
    }
    void TearDown() override
    {
        Reset_Shared_State();
    }
    // Opens Print over the design and runs body while the window is up.
    void inWindow(const std::function<void()>& body)
    {
        host.modalScripts.push_back([body](QDialog&) {
            body();
            return 0;
        });
        wnd->Print_Button();
    }
    // A text on the front bound to a data set of the given values.
    void bindRows(const QStringList& values)
    {
        ASSERT_TRUE(Write_Data_Set("Guests", values, false));
        auto t = std::make_shared<SKTText>();
        t->data_source_type = Source_Data_Set;
        t->batch_list_name = "Guests";
        t->bounds = QRectF(20, 20, 200, 30);
        wnd->Get_Front_Controls_Array().insert(0, t);
    }
    static void type(QLineEdit* field, const QString& text, void (Print_Wnd::*handler)(QObject*), Print_Wnd* pw)
    {
        field->setText(text);
        (pw->*handler)(field);
    }
};
}

TEST(LabelFit, TheSheetsArithmetic)
{
    const float mm = kPtPerMm;
    struct Case {
        const char* name;
        float paper, cell, gap;
        int typed;
        bool spread;
        int count;
        float gapAfter;
        bool rewrite;
    };
    const Case cases[] = {
        // 63.5 mm faces across 210 mm with no insets.
        {"four typed, three fit", 210 * mm, 63.5f * mm, 0, 4, false, 3, 0, true},
        {"two typed, two stay", 210 * mm, 63.5f * mm, 0, 2, false, 2, 0, false},
        {"spread three", 210 * mm, 63.5f * mm, 0, 3, true, 3, 4.875f * mm, false},
        {"spread four: three, no gap", 210 * mm, 63.5f * mm, 0, 4, true, 3, 0, true},
        // Labels that fill the paper exactly stay.
        {"3 x 70 mm on A4", 210 * mm, 70 * mm, 0, 3, false, 3, 0, false},
        {"2 x 105 mm spread", 210 * mm, 105 * mm, 0, 2, true, 2, 0, true},
        {"8 x 37.125 mm down A4", 297 * mm, 37.125f * mm, 0, 8, false, 8, 0, false},
        {"3 x 68 mm with 3 mm gaps", 210 * mm, 68 * mm, 3 * mm, 3, false, 3, 3 * mm, false},
        // Never fewer than one.
        {"wider than the paper", 210 * mm, 300 * mm, 0, 2, false, 1, 0, true},
        {"typed zero", 210 * mm, 50 * mm, 0, 0, false, 1, 0, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const Label_Fit fit = Fit_Label_Cells(c.paper, 0, 0, c.cell, c.gap, c.typed, c.spread);
        EXPECT_EQ(fit.count, c.count);
        EXPECT_NEAR(fit.gap, c.gapAfter, 1e-3);
        EXPECT_EQ(fit.rewrite, c.rewrite);
    }
    // A4 as defined, not Qt's whole points; landscape turns it.
    const QSizeF a4 = Paper_Size_In_Points(QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Landscape, {}));
    EXPECT_NEAR(a4.width(), 297 * 72 / 25.4, 1e-4);
    EXPECT_NEAR(a4.height(), 210 * 72 / 25.4, 1e-4);
}

TEST_F(PrintWindowTest, ConversionsAndNumberPairs)
{
    EXPECT_NEAR(pw->MM_to_Points_Convert(25.4f), 72.0f, 1e-4);
    EXPECT_NEAR(pw->Points_to_MM_Convert(72.0f), 25.4f, 1e-4);
    EXPECT_NEAR(pw->Points_to_MM_Convert(pw->MM_to_Points_Convert(63.5f)), 63.5f, 1e-4);

    inWindow([&] {
        struct Case {
            const char* name;
            QLineEdit* field;
            QDoubleSpinBox* stepper;
            void (Print_Wnd::*handler)(QObject*);
            bool fromStepper;
            double value; // set on the stepper, or typed
            QString fieldAfter;
            double stepperAfter;
        };
        const Case cases[] = {
            {"width stepped", pw->width_Text, pw->width_Stepper, &Print_Wnd::Width_Changed, true, 90, "90", 90},
            {"width typed", pw->width_Text, pw->width_Stepper, &Print_Wnd::Width_Changed, false, 70.5, "70.5", 70.5},
            {"width zero refused", pw->width_Text, pw->width_Stepper, &Print_Wnd::Width_Changed, false, 0, "1", 1},
            {"height stepped", pw->height_Text, pw->height_Stepper, &Print_Wnd::Height_Changed, true, 40, "40", 40},
            {"gap across", pw->horz_mar_Text, pw->horz_mar_Stepper, &Print_Wnd::Horz_Margin_Changed, true, 2.5, "2.5",
             2.5},
            {"gap down typed", pw->vert_mar_Text, pw->vert_mar_Stepper, &Print_Wnd::Vert_Margin_Changed, false, 4,
             "4", 4},
            {"columns stepped", pw->Col_Text, pw->Col_Stepper, &Print_Wnd::Col_Changed, true, 2, "2", 2},
            {"rows zero refused", pw->Row_Text, pw->Row_Stepper, &Print_Wnd::Row_Changed, false, 0, "1", 1},
            {"total past the stepper", pw->Total_Text, pw->Total_Stepper, &Print_Wnd::Total_Val_Changed, false,
             5000000, "5000000", 999999},
        };
        for (const Case& c : cases) {
            SCOPED_TRACE(c.name);
            if (c.fromStepper) {
                c.stepper->setValue(c.value); // the arrows: the handler runs
            } else {
                type(c.field, QString::number(c.value, 'g', 10), c.handler, pw);
            }
            EXPECT_EQ(c.field->text(), c.fieldAfter);
            EXPECT_DOUBLE_EQ(c.stepper->value(), c.stepperAfter);
        }
        // The layout followed: 70.5 x 40 mm cells, 2 columns, 1 row, the
        // total their product (the typed total is replaced).
        EXPECT_NEAR(label_width.load(), 1.0f * kPtPerMm, 1e-3); // the refused width became 1 mm
        EXPECT_NEAR(label_hight.load(), 40 * kPtPerMm, 1e-3);
        EXPECT_EQ(Print_Col.load(), 2);
        EXPECT_EQ(Print_Row.load(), 1);
        EXPECT_NEAR(horz_mar.load(), 2.5f * kPtPerMm, 1e-3);
        EXPECT_NEAR(vert_mar.load(), 4 * kPtPerMm, 1e-3);
        EXPECT_EQ(pw->Total_Text->text(), "5000000");
        // Stepping the total down counts from the stepper's own value.
        pw->Total_Stepper->stepDown();
        EXPECT_EQ(pw->Total_Text->text(), "999998");
    });
    EXPECT_EQ(host.modalRuns, QStringList{"Print_Wnd"});
}

TEST_F(PrintWindowTest, EachOpeningStartsAfreshButKeepsThePaper)
{
    inWindow([&] {
        // The front of a CR80 card, as the window found it.
        EXPECT_NEAR(pw->width_Text->text().toDouble(), 85.725, 0.006);
        EXPECT_NEAR(pw->height_Text->text().toDouble(), 53.975, 0.006);
        EXPECT_EQ(pw->Printer_ComboBox->count(), 2);
        pw->Printer_ComboBox->setCurrentIndex(1);
        pw->comboBoxSelectionDidChange(pw->Printer_ComboBox);
        pw->matrix_card_side->button(0)->setChecked(true);
        pw->card_side_CellClick();
        type(pw->Row_Text, "3", &Print_Wnd::Row_Changed, pw);
        pw->Auto_Center_chk_bx->setChecked(true);
        pw->Auto_Center_Checked();
        pw->Bot_rite_btn_clicked();
        pw->Show_Margins->setChecked(false);
        pw->Show_Margin_Checked();
        pw->Orient_ComboBox->setCurrentIndex(1);
        pw->comboBoxSelectionDidChange(pw->Orient_ComboBox);
        EXPECT_EQ(pw->Size_id->text(), "297.00 x 210.00");
        EXPECT_FALSE(pw->horz_mar_Stepper->isEnabled());
    });
    inWindow([&] {
        EXPECT_EQ(Print_Card_Side, "F");
        EXPECT_EQ(pw->card_side_str, "F");
        EXPECT_EQ(Print_Card_Algn, "U");
        EXPECT_FALSE(pw->print_alignment->isEnabled());
        EXPECT_EQ(Print_Row.load(), 1);
        EXPECT_EQ(Print_Col.load(), 1);
        EXPECT_EQ(pw->Row_Text->text(), "1");
        EXPECT_EQ(pw->horz_mar_Text->text(), "0");
        EXPECT_EQ(horz_mar.load(), 0.0f);
        EXPECT_EQ(label_align_val.load(), 1);
        EXPECT_FALSE(auto_center_flag.load());
        EXPECT_TRUE(pw->horz_mar_Stepper->isEnabled());
        EXPECT_TRUE(Show_margin_rect.load());
        // Paper, orientation and printer stay from the last opening.
        EXPECT_EQ(pw->Orient_ComboBox->currentIndex(), 1);
        EXPECT_EQ(pw->Size_id->text(), "297.00 x 210.00");
        EXPECT_EQ(pw->Paper_id->text(), "A4");
        pw->windowWillClose();
    });
    EXPECT_EQ(host.modalRuns.size(), 2);
}

TEST_F(PrintWindowTest, BothSidesDoubleTheCellAndBoundRowsSetTheTotal)
{
    QStringList guests;
    for (int i = 1; i <= 25; ++i)
        guests << QStringLiteral("Guest %1").arg(i);
    bindRows(guests);
    inWindow([&] {
        // One label per bound row, the stepper counting to the row count.
        EXPECT_TRUE(pw->print_with_batch_chk->isChecked());
        EXPECT_EQ(pw->Total_Text->text(), "25");
        EXPECT_EQ(pw->Total_Stepper->maximum(), 25);
        type(pw->Col_Text, "2", &Print_Wnd::Col_Changed, pw);
        EXPECT_EQ(pw->Total_Text->text(), "25"); // rows, not the grid, give the total

        pw->matrix_card_side->button(0)->setChecked(true);
        pw->card_side_CellClick();
        EXPECT_TRUE(pw->print_alignment->isEnabled());
        EXPECT_NEAR(label_hight.load(), 2 * 153, 0.05);
        pw->print_alignment->setCurrentIndex(1);
        pw->comboBoxSelectionDidChange(pw->print_alignment);
        EXPECT_EQ(Print_Card_Algn, "L");
        EXPECT_NEAR(label_width.load(), 2 * 243, 0.05);
        EXPECT_EQ(Print_Col.load(), 1); // two doubled cells no longer fit across A4
        EXPECT_NEAR(pw->width_Text->text().toDouble(), 85.725, 0.006); // the fields keep one face

        pw->print_with_batch_chk->setChecked(false);
        pw->Print_With_Batch_Changed();
        EXPECT_EQ(pw->Total_Text->text(), "1");
        EXPECT_FALSE(Use_Data_Sheet_Values.load());
        pw->print_with_batch_chk->setChecked(true);
        pw->Print_With_Batch_Changed();
        EXPECT_EQ(pw->Total_Text->text(), "25");
    });
}

TEST_F(PrintWindowTest, TheSampleNumbersEveryCell)
{
    // A CR80 front in a 3 x 2 grid from the top left of A4.
    pw->front_image = QImage(243, 153, QImage::Format_ARGB32);
    Left_Mar = Rite_Mar = Top_Mar = Bot_Mar = 0;
    label_width = 243;
    label_hight = 153;
    horz_mar = vert_mar = 0;
    label_align_val = 1;
    auto_center_flag = false;
    Print_Row = 3;
    Print_Col = 2;
    Total_Label = 1;
    pw->PrintView->setFixedSize(596, 842);
    auto captions = [&](const QString& side, const QString& stacking) {
        Print_Card_Side = side;
        Print_Card_Algn = stacking;
        TextRecorder screen;
        QPainter painter(&screen);
        pw->PrintView->drawRect(painter);
        painter.end();
        return screen.items;
    };
    using R = TextRecorder;
    const QList<R::Item> front = captions("F", "U");
    EXPECT_EQ(R::texts(front), (QStringList{"Frame 1", "Frame 2", "Frame 3", "Frame 4", "Frame 5", "Frame 6"}));
    ASSERT_EQ(front.size(), 6);
    EXPECT_EQ(front[0].colour, QColor(Qt::gray));
    // Frame 1 top left, Frame 2 right of it, Frame 3 below Frame 1.
    EXPECT_LT(front[0].at.x(), front[1].at.x());
    EXPECT_NEAR(front[0].at.y(), front[1].at.y(), 0.5);
    EXPECT_LT(front[0].at.y(), front[2].at.y());
    EXPECT_LT(front[0].at.y(), 153);

    EXPECT_EQ(R::texts(captions("B", "U")).value(0), "Back 1");
    label_hight = 306;
    const QList<R::Item> both = captions("BOTH", "U");
    EXPECT_EQ(R::texts(both).mid(0, 4), (QStringList{"Frame 1", "Back 1", "Frame 2", "Back 2"}));
    ASSERT_GE(both.size(), 2);
    EXPECT_GT(both[1].at.y(), both[0].at.y() + 100); // the back under its front

    pw->front_image = QImage();
    const QList<R::Item> invalid = captions("F", "U");
    EXPECT_EQ(R::texts(invalid), QStringList(6, "Invalid Data"));
    ASSERT_FALSE(invalid.isEmpty());
    EXPECT_EQ(invalid[0].colour, QColor(Qt::red));

    // Anywhere but the screen the sample is a white sheet.
    QPicture recorded;
    QPainter onPicture(&recorded);
    pw->PrintView->drawRect(onPicture);
    onPicture.end();
    QImage replay(596, 842, QImage::Format_ARGB32);
    replay.fill(Qt::black);
    QPainter again(&replay);
    again.drawPicture(0, 0, recorded);
    again.end();
    QImage white(replay.size(), QImage::Format_ARGB32);
    white.fill(Qt::white);
    EXPECT_EQ(replay, white);
}

TEST_F(PrintWindowTest, OneCellMustFitOrTheUserAgrees)
{
    struct Case {
        const char* name;
        QString width, gap;
        const char* answer; // to the question, or nullptr when none is asked
        int previews;       // the previews made so far
    };
    // A4 is 210 mm across with no insets here.
    const Case cases[] = {
        {"fits with its gap", "200", "9.9", nullptr, 1},
        {"a grid that overflows asks nothing", "100", "0", nullptr, 2},
        {"too wide, No", "211", "0", "No", 2},
        {"with its gap too wide, Yes", "200", "10.5", "Yes", 3},
    };
    inWindow([&] {
        type(pw->Col_Text, "3", &Print_Wnd::Col_Changed, pw);
        for (const Case& c : cases) {
            SCOPED_TRACE(c.name);
            type(pw->width_Text, c.width, &Print_Wnd::Width_Changed, pw);
            type(pw->horz_mar_Text, c.gap, &Print_Wnd::Horz_Margin_Changed, pw);
            Print_Col = 3; // the layout as typed, overflowing or not
            const int asked = int(host.alerts.size());
            const int before = Total_Label;
            if (c.answer)
                host.answer(c.answer);
            pw->PreviewButtonPressed();
            EXPECT_EQ(int(host.alerts.size()) - asked, c.answer ? 1 : 0);
            if (c.answer) {
                EXPECT_TRUE(host.alertTexts().last().startsWith("'Frame Size' is bigger than selected 'Paper Size'"));
            }
            if (c.answer && QString(c.answer) == "No") {
                EXPECT_EQ(Total_Label.load(), before);
            }
            EXPECT_EQ(host.previewFiles.size(), c.previews);
        }
    });
}

TEST_F(PrintWindowTest, PreviewAndPrintTheBoundRowsAndRefuseAnEmptyTotal)
{
    QStringList guests;
    for (int i = 1; i <= 25; ++i)
        guests << QStringLiteral("Guest %1").arg(i);
    bindRows(guests);
    inWindow([&] {
        type(pw->Col_Text, "2", &Print_Wnd::Col_Changed, pw);
        type(pw->Row_Text, "5", &Print_Wnd::Row_Changed, pw);
        pw->PreviewButtonPressed();
        pw->PrintButtonPressed();
        pw->PrintButtonPressed(); // again: from the first label
        // The window says where the job went.
        EXPECT_EQ(pw->print_status->text(),
                  QStringLiteral("3 sheets sent to the printer \"%1\".").arg(pw->Printer_ComboBox->currentText()));
        for (const QString& text : {QString("0"), QString("-3")}) {
            pw->Total_Text->setText(text);
            pw->PrintButtonPressed();
        }
        // ... or why nothing was printed.
        pw->Total_Text->setText("1");
        const QString folder = host.printFolder;
        host.printFolder.clear();
        pw->PrintButtonPressed();
        EXPECT_EQ(pw->print_status->text(), "Nothing was printed: The pages could not be drawn.");
        host.printFolder = folder;
    });
    ASSERT_EQ(host.previewFiles.size(), 1);
    ASSERT_EQ(host.printFiles.size(), 3);
    for (const QString& pdf : {host.previewFiles[0], host.printFiles[0], host.printFiles[1]}) {
        SCOPED_TRACE(pdf.toStdString());
        EXPECT_EQ(Pdf_Pages(pdf), 3); // 25 labels, 10 to a sheet
        EXPECT_TRUE(Pdf_Text(pdf, 1).contains("Guest 1\n"));
        EXPECT_TRUE(Pdf_Text(pdf, 3).contains("Guest 25"));
    }
    EXPECT_EQ(host.alertTexts(),
              (QStringList{"There is no barcode to print.", "There is no barcode to print.",
                           "The labels could not be printed.\n\nThe pages could not be drawn."}));
    // The design shows its first row again.
    EXPECT_EQ(static_cast<SKTText&>(*wnd->Get_Front_Controls_Array()[0]).text, "Guest 1");
}

TEST_F(PrintWindowTest, PrintingAsksAboutDifferentLengthsAndNamesLabelsWithoutTheirBarcode)
{
    bindRows({"Ann", "Bo"});
    ASSERT_TRUE(Write_Data_Set("Codes", {"400638133393", "no digits", "400638133394"}, false));
    auto code = std::make_shared<SKTBarcode>();
    code->data_source_type = Source_Data_Set;
    code->batch_list_name = "Codes";
    code->barcode_font_index = int(Barcode_Type_Items.indexOf("EAN-13"));
    code->bounds = QRectF(20, 60, 200, 80);
    wnd->Get_Front_Controls_Array().append(code);
    host.answer("No");
    host.answer("Yes");
    inWindow([&] {
        pw->PreviewButtonPressed(); // a preview is no batch: nothing is asked
        pw->PrintButtonPressed();
        pw->PrintButtonPressed();
    });
    EXPECT_EQ(host.previewFiles.size(), 1);
    ASSERT_EQ(host.printFiles.size(), 1); // printed after the Yes only
    const QString question =
        Different_Lengths_Question({{Data_Set_Source_Name("Codes"), 3}, {Data_Set_Source_Name("Guests"), 2}});
    EXPECT_TRUE(question.contains("3 cards will be made; 1 of them will have empty fields."));
    EXPECT_EQ(host.alertTexts(), (QStringList{question, question, Rows_Without_Barcode_Note({{}, {2}}, "Labels printed")}));
}

TEST_F(PrintWindowTest, PrintCommandMessages)
{
    // A design bound to a data set without values has nothing to print.
    bindRows({});
    wnd->Print_Button();
    wnd->Get_Front_Controls_Array().clear();
    // No printer at all.
    host.printers = QStringList{};
    wnd->Print_Button();
    EXPECT_EQ(host.alertTexts(), (QStringList{"List is empty.", "No printer found."}));
    EXPECT_TRUE(host.modalRuns.isEmpty());
}

TEST_F(PrintWindowTest, TheNineAlignmentPictures)
{
    const QList<QToolButton*> buttons = {pw->top_left_btn, pw->top_center_btn, pw->top_rite_btn,
                                         pw->mid_left_btn, pw->mid_center_btn, pw->mid_rite_btn,
                                         pw->bot_left_btn, pw->bot_center_btn, pw->bot_rite_btn};
    const QStringList plain = {"top_left", "top_center", "top_right", "middle_left", "middle_center",
                               "middle_right", "bootom_left", "bootom_center", "boottom_right"};
    const QStringList chosen = {"top_left - sel", "top_center - sel", "top_right - sel",
                                "middle_left - sel", "middle_center_sel", "middle_right - sel",
                                "bootom_left - sel", "bootom_center - sel", "boottom_right - sel"};
    auto shows = [](QToolButton* b, const QString& name) {
        const QImage file(Resource_Path + "/" + name + ".png");
        return !file.isNull() &&
               b->icon().pixmap(file.size()).toImage().convertToFormat(QImage::Format_ARGB32) ==
                   file.convertToFormat(QImage::Format_ARGB32);
    };
    for (int code = 1; code <= 9; ++code) {
        SCOPED_TRACE(code);
        buttons[code - 1]->click();
        EXPECT_EQ(label_align_val.load(), code);
        for (int i = 0; i < 9; ++i)
            EXPECT_TRUE(shows(buttons[i], i + 1 == code ? chosen[i] : plain[i])) << i;
    }
}
