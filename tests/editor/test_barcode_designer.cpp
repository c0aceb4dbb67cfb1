// The designer window on the main window's barcode graphics: the load and
// OK road, Cancel, the suppression flag, its messages and help texts, and
// opening it from the tool and the selection.
#include "support/BarcodeFields.h"
#include "support/Decode.h"
#include "support/Rasterise.h"
#include "support/ScriptedHost.h"
#include "support/TempResources.h"
#include "barcode/Barcode_Gen.h"
#include "canvas/SKTGraphicView.h"
#include "canvas/SKTRenderingView.h"
#include "data/DataSetFiles.h"
#include "data/View_Data_Series.h"
#include "editor/SKTWindowController.h"
#include "model/Globals.h"
#include "model/GraphicArchive.h"
#include "output/Long_SMS_Dlg.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDoubleSpinBox>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPicture>
#include <QPlainTextEdit>
#include <QTemporaryDir>
#include <functional>
#include <gtest/gtest.h>

namespace {
struct DesignerTest : ::testing::Test {
    TempResources resources;
    ScriptedHost host;
    SKTWindowController* wnd = SKTWindowController::defaultInstance();
    Barcode_Gen* designer = Barcode_Gen::defaultInstance();

    void SetUp() override { wnd->New_Project_Setting_Reset(); }

    std::shared_ptr<SKTBarcode> placeBarcode()
    {
        auto g = std::make_shared<SKTBarcode>();
        g->bounds = QRectF(10, 10, 100, 60);
        wnd->Get_Front_Controls_Array().insert(0, g);
        wnd->_graphicView->selectGraphic(g);
        return g;
    }
    // The next modal run presses OK (or Cancel) after doing what is asked.
    void pressNext(bool ok, std::function<void()> before = {})
    {
        host.modalScripts.push_back([this, ok, before](QDialog& d) {
            if (before)
                before();
            if (ok)
                designer->OK_Btn_Clicked();
            else
                designer->Cancel_Btn_Clicked();
            return d.result();
        });
    }
};
}

TEST_F(DesignerTest, ANewGraphicOpensWithTheDefaults)
{
    auto g = placeBarcode();
    pressNext(false, [&] {
        EXPECT_EQ(designer->dataText->text(), "0123");
        EXPECT_EQ(designer->HeaderText->text(), "HEADER");
        EXPECT_EQ(designer->FooterText->text(), "FOOTER");
        EXPECT_DOUBLE_EQ(designer->HeightStepper->value(), 0.6);
        EXPECT_DOUBLE_EQ(designer->widthStepper->value(), 20);
        EXPECT_EQ(designer->HeightText_2D->text(), "60");
        EXPECT_EQ(designer->Pdf_widthText_2D->text(), "100");
        EXPECT_EQ(designer->pdf_HeightText_2D->text(), "20");
        EXPECT_EQ(designer->pdf_ec_lvl_Text->text(), "2");
        EXPECT_EQ(designer->dm_moduleText_2D->text(), "2");
        EXPECT_EQ(designer->LR_mar_Text->text(), "0.1");
        EXPECT_EQ(designer->qr_version_ComboBox->count(), 41);
        EXPECT_EQ(designer->qr_version_ComboBox->itemText(40), "V40");
        EXPECT_EQ(designer->dm_format_ComboBox->count(), 31);
        EXPECT_EQ(designer->dm_encoding_ComboBox->count(), 5);
        EXPECT_EQ(designer->value_font_value->text(), "Times New Roman ( 10.00 )");
        EXPECT_EQ(Measument_Unit_Is.load(), Unit_Centimetre);
        EXPECT_EQ(USED_DPI_VALUE.load(), 600);
        EXPECT_FALSE(designer->preview_image.isNull());
        EXPECT_FALSE(Not_Draw_Only_Prop_Change.load());
    });
    EXPECT_EQ(designer->Open_Wnd(g), g);
    EXPECT_EQ(host.modalRuns, QStringList{"Barcode_Gen"});
}

TEST_F(DesignerTest, OkWritesBackEveryStoredFieldAndCancelNone)
{
    auto g = placeBarcode();
    // A stored style unlike the defaults in every field.
    SKTBarcode stored;
    stored.linear_or_2d = 1;
    stored.barcode_font_index = 19; // QR Code
    stored.linear_font_val = "LINEAR";
    stored.two_d_font_val = "Two\nlines";
    stored.header_val = "Top";
    stored.footer_val = "Bottom";
    stored.show_hide_hdr = 1;
    stored.show_hide_ftr = 1;
    stored.show_hide_val = 1;
    stored.show_val_on_top = 1;
    stored.align_hdr_index = 0;
    stored.align_ftr_index = 2;
    stored.linear_height_val = 1.5f;
    stored.linear_width_val = 33;
    stored.qr_size_val = 150;
    stored.qr_version_index = 3;
    stored.qr_ec_index = 2;
    stored.pdf_hgt_val = 40;
    stored.pdf_wdt_val = 240;
    stored.pdf_ec_val = 5;
    stored.dm_module_val = 3;
    stored.dm_format_index = 4;
    stored.dm_encoding_index = 2;
    stored.hdr_margin_val = 0.2f;
    stored.ftr_margin_val = 0.3f;
    stored.val_margin_val = 0.4f;
    stored.TB_marging_val = 0.5f;
    stored.LR_margin_val = 0.6f;
    stored.value_font_val = QFont("DejaVu Sans", 12);
    stored.header_font_val = QFont("DejaVu Serif", 9);
    stored.footer_font_val = QFont("Liberation Mono", 14);
    stored.barcode_hdr_clr_val = QColor(10, 20, 30);
    stored.barcode_ftr_clr_val = QColor(40, 50, 60);
    stored.barcode_val_clr_val = QColor(70, 80, 90);
    stored.barcode_back_clr_val = QColor(250, 240, 230);
    stored.barcode_clr_val = QColor(0, 0, 128);
    stored.dpi_val_index = 6; // Custom
    stored.dpi_custom_val = "450";
    BarcodeStyle::fromGraphic(stored).storeIn(*g);

    // OK: the window alone carries the settings back (the graphic is
    // emptied while the window is open).
    pressNext(true, [&] {
        EXPECT_EQ(QR_Version_Val.load(), 3);
        EXPECT_EQ(QR_EC_Level_Val.load(), 2);
        EXPECT_EQ(USED_DPI_VALUE.load(), 450);
        EXPECT_EQ(designer->dataText_2D->toPlainText(), "Two\nlines");
        BarcodeStyle().storeIn(*g);
    });
    designer->Open_Wnd(g);
    Expect_Same_Barcode_Fields(*g, stored);
    EXPECT_FALSE(Get_Barcode_output_image().isNull());

    // Cancel after edits: nothing changes and no image is handed back.
    pressNext(false, [&] {
        designer->dataText_2D->setPlainText("changed");
        designer->HeaderText->setText("changed");
        designer->HeightStepper_2D->setValue(300);
    });
    designer->Open_Wnd(g);
    Expect_Same_Barcode_Fields(*g, stored);
    EXPECT_TRUE(Get_Barcode_output_image().isNull());
}

TEST_F(DesignerTest, StoredIndexesOutOfRangeOpenClamped)
{
    auto g = placeBarcode();
    g->barcode_font_index = 99;
    g->linear_or_2d = 0;
    g->align_hdr_index = 7;
    g->qr_version_index = -4;
    g->dm_format_index = 77;
    g->dpi_val_index = 12;
    pressNext(true);
    designer->Open_Wnd(g);
    EXPECT_EQ(g->barcode_font_index, 21); // DataMatrix, the last type
    EXPECT_EQ(g->linear_or_2d, 1);        // the kind follows the type
    EXPECT_EQ(g->align_hdr_index, 2);
    EXPECT_EQ(g->qr_version_index, 0);
    EXPECT_EQ(g->dm_format_index, 30);
    EXPECT_EQ(g->dpi_val_index, 6);
}

TEST_F(DesignerTest, NothingIsBuiltWhileALoadIsInProgress)
{
    auto g = placeBarcode();
    pressNext(false, [&] {
        ASSERT_TRUE(designer->testBarcode);
        const NKDBarcode* before = designer->testBarcode.get();
        Not_Draw_Only_Prop_Change = true;
        designer->dataText->setText("OTHER");
        designer->goButtonActionPerformed();
        EXPECT_EQ(designer->Generate_Barcode_Variable(true, "OTHER", "", ""), nullptr);
        Not_Draw_Only_Prop_Change = false;
        EXPECT_EQ(designer->testBarcode.get(), before);
        EXPECT_EQ(designer->testBarcode->content(), "0123");
        designer->goButtonActionPerformed();
        EXPECT_EQ(designer->testBarcode->content(), "OTHER");
    });
    designer->Open_Wnd(g);
}

TEST_F(DesignerTest, MessagesOfTheWindow)
{
    auto g = placeBarcode();
    pressNext(false, [&] {
        // Switching the type with no value.
        designer->dataText->clear();
        designer->barcodeTypePopup->setCurrentIndex(3);
        designer->barcodeTypeChanged();
        EXPECT_TRUE(designer->barcode_error_label->isVisibleTo(designer));
        // OK with no value keeps the window open, silently.
        designer->OK_Btn_Clicked();
        EXPECT_EQ(designer->result(), 0);
        // A series with no data set at all.
        designer->Data_source_type->setCurrentIndex(Source_Data_Set);
        designer->comboBoxSelectionDidChange(designer->Data_source_type);
        EXPECT_EQ(g->data_source_type, Source_Typed);
        EXPECT_EQ(designer->Data_source_type->currentIndex(), Source_Typed);
        // The viewer with no series chosen.
        designer->View_batch_Series_Button();
        // A value the encoder cannot hold.
        designer->barcodeTypePopup->setCurrentIndex(21);
        designer->barcodeTypeChanged();
        designer->dataText_2D->setPlainText(QString(3116, QLatin1Char('7')));
        EXPECT_TRUE(designer->barcode_error_label->isVisibleTo(designer));
        EXPECT_TRUE(designer->image_2d.isNull());
    });
    designer->Open_Wnd(g);
    EXPECT_EQ(host.alertTexts(), (QStringList{"Please enter barcode value",
                                              "Please create batch processing series first.",
                                              "Please select the series."}));
    EXPECT_EQ(designer->barcode_error_label->text(), "There was a problem drawing the barcode.");
}

TEST_F(DesignerTest, EachListActsOnlyWhileItsKindOfSymbolIsShown)
{
    Barcode_Gen* d = designer;
    // A list, and what choosing its next item changes when the list acts.
    struct List {
        QComboBox* Barcode_Gen::*combo;
        std::function<int()> reading;
        bool linear; // a linear barcode's list, else a 2-D one's
    };
    const List lists[] = {
        {&Barcode_Gen::qr_version_ComboBox, [] { return QR_Version_Val.load(); }, false},
        {&Barcode_Gen::qr_ec_lvl_ComboBox, [] { return QR_EC_Level_Val.load(); }, false},
        {&Barcode_Gen::qr_enc_mode_ComboBox, [] { return QR_Enc_Mode_Val.load(); }, false},
        {&Barcode_Gen::bar_align_combo, [d] { return int(d->barcodeImage->alignment()); }, true},
        {&Barcode_Gen::align_hdr_combo, [] { return Live_Barcode_Style.align_hdr_index; }, true},
    };
    auto g = placeBarcode();
    pressNext(false, [&] {
        for (const char* type : {"QR Code", "Code 39"}) {
            d->barcodeTypePopup->setCurrentIndex(d->barcodeTypePopup->findText(type));
            d->barcodeTypeChanged();
            const bool linearShown = QLatin1String(type) == QLatin1String("Code 39");
            for (const List& list : lists) {
                QComboBox* combo = d->*list.combo;
                const int before = list.reading();
                combo->setCurrentIndex((combo->currentIndex() + 1) % combo->count());
                d->comboBoxSelectionDidChange(combo);
                EXPECT_EQ(list.reading() != before, list.linear == linearShown)
                    << type << " " << combo->currentText().toStdString();
            }
        }
    });
    designer->Open_Wnd(g);
}

TEST_F(DesignerTest, HelpButtonsShowTheirTexts)
{
    // Plain functions, not pointers to members: gcc 12's -fsanitize=vptr
    // checks the object of a call through a member pointer with a value it
    // stores only when the member is virtual, and crashes on the others.
    const struct {
        void (*press)(Barcode_Gen&);
        const char* title;
        const char* start;
    } buttons[] = {
        {[](Barcode_Gen& d) { d.QR_Version_Help_Btn(); }, "Version :", "Version is configuration"},
        {[](Barcode_Gen& d) { d.QR_EC_Lvl_Help_Btn(); }, "Error correction (EC) level :", "An error-correction mechanism"},
        {[](Barcode_Gen& d) { d.PDF_row_Help_btn(); }, "PDF Rows :", "Number of rows in the PDF barcode."},
        {[](Barcode_Gen& d) { d.PDF_col_Help_btn(); }, "PDF Columns :", "Number of columns in the PDF barcode."},
        {[](Barcode_Gen& d) { d.PDF_ec_lvl_Help_btn(); }, "PDF EC Level :", "An error-correction mechanism"},
        {[](Barcode_Gen& d) { d.DM_format_Help_btn(); }, "Preferred Format :", "Preferred Mode determines"},
        {[](Barcode_Gen& d) { d.DM_Encoding_Help_btn(); }, "Encoding Mode :", "Encoding Mode is mode of compaction"},
        {[](Barcode_Gen& d) { d.DPI_Help_Label(); }, "DPI (Dots Per Inch) :", "Dots per inch is a measure"},
    };
    for (const auto& b : buttons) {
        b.press(*designer);
        EXPECT_EQ(Cutom_Msg_Title, b.title);
        EXPECT_TRUE(Cutom_Msg_Val.startsWith(b.start)) << b.title;
    }
    EXPECT_TRUE(Cutom_Msg_Val.contains("Print Quality.\n\nBigger the DPI"));
    EXPECT_EQ(host.modalRuns.size(), 8);
    EXPECT_EQ(host.modalRuns.first(), "Long_SMS_Dlg");
}

TEST_F(DesignerTest, BindingToASeriesAndViewingIt)
{
    ASSERT_TRUE(Write_Data_Set("Badges", {"B-100", "B-101", "B-102"}, false));
    auto g = placeBarcode();
    pressNext(true, [&] {
        designer->Data_source_type->setCurrentIndex(Source_Data_Set);
        designer->comboBoxSelectionDidChange(designer->Data_source_type);
        designer->Batch_Series->setCurrentIndex(designer->Batch_Series->findText("Badges"));
        designer->comboBoxSelectionDidChange(designer->Batch_Series);
        EXPECT_EQ(designer->dataText->text(), "B-100");
        EXPECT_TRUE(designer->dataText->isReadOnly());
        designer->View_batch_Series_Button();
        EXPECT_EQ(View_Data_Series::defaultInstance()->ListData, (QStringList{"B-100", "B-101", "B-102"}));
    });
    wnd->Open_Barcode_Window();
    EXPECT_EQ(g->data_source_type, Source_Data_Set);
    EXPECT_EQ(g->batch_list_name, "Badges");
    EXPECT_EQ(g->linear_font_val, "B-100");
    EXPECT_EQ(host.modalRuns, (QStringList{"Barcode_Gen", "View_Data_Series"}));
}

TEST_F(DesignerTest, ABoundBarcodeKeepsItsValueThroughEveryChangeAndCancelChangesNothing)
{
    ASSERT_TRUE(Write_Data_Set("Badges", {"B-100", "B-101"}, false));
    ASSERT_TRUE(Write_Data_Set("Guests", {"G-7", "G-8"}, false));
    auto g = placeBarcode();
    auto choose = [&](QComboBox* list, const QString& item) {
        list->setCurrentIndex(list->findText(item));
        list == designer->barcodeTypePopup ? designer->barcodeTypeChanged() : designer->comboBoxSelectionDidChange(list);
    };
    pressNext(true, [&] {
        designer->Data_source_type->setCurrentIndex(Source_Data_Set);
        designer->comboBoxSelectionDidChange(designer->Data_source_type);
        choose(designer->Batch_Series, "Badges");
    });
    wnd->Open_Barcode_Window();

    // Type, font and size changes: the value shown and previewed stays the bound one.
    pressNext(true, [&] {
        for (const char* type : {"QR Code", "Code 128", "DataMatrix", "QR Code"}) {
            choose(designer->barcodeTypePopup, type);
            EXPECT_EQ(designer->Current_Value(), "B-100") << type;
            EXPECT_FALSE(designer->preview_image.isNull()) << type;
        }
        designer->changeFont(QFont("DejaVu Sans", 14));
        designer->HeightStepper_2D->setValue(120);
        EXPECT_EQ(designer->Current_Value(), "B-100");
    });
    wnd->Open_Barcode_Window();
    EXPECT_EQ(g->two_d_font_val, "B-100");
    EXPECT_EQ(g->batch_list_name, "Badges");
    QTemporaryDir dir;
    const QString png = dir.filePath("placed.png");
    ASSERT_TRUE(Rasterise(g->_barcode_image, 3, 30).save(png));
    const DecodeRun read = Decode_With_ZXing({png}, "QRCode");
    ASSERT_TRUE(read.ran) << qPrintable(read.failure);
    EXPECT_EQ(read.bytesOf(png), "B-100"); // the placed symbol reads the bound value

    // Cancel after choosing another set and type: the graphic, its symbol
    // and the property panel stay as they were.
    const Barcode_Art placed = g->_barcode_image;
    pressNext(false, [&] {
        choose(designer->Batch_Series, "Guests");
        EXPECT_EQ(designer->Current_Value(), "G-7");
        choose(designer->barcodeTypePopup, "Code 128");
    });
    wnd->Open_Barcode_Window();
    EXPECT_EQ(g->batch_list_name, "Badges");
    EXPECT_EQ(g->barcode_font_index, Barcode_Type_Items.indexOf("QR Code"));
    EXPECT_TRUE(g->_barcode_image.sameAs(placed));
    EXPECT_EQ(wnd->Text_value_Edit->toPlainText(), "B-100");
    EXPECT_EQ(wnd->Batch_Series->currentText(), "Badges");
}

namespace {
// How far the caption's glyphs spread across the symbol (header and footer hidden).
qreal captionSpread(const Barcode_Art& art)
{
    if (art.isNull() || art.data()->texts.isEmpty())
        return -1;
    qreal low = 1e9, high = -1e9;
    for (const Barcode_Art_Glyph& glyph : art.data()->texts.first().glyphs) {
        low = std::min(low, glyph.at.x());
        high = std::max(high, glyph.at.x());
    }
    return high - low;
}
}

TEST_F(DesignerTest, WideKerningIsKeptWithTheBarcodeOnEveryRoad)
{
    ASSERT_TRUE(Write_Data_Set("Codes", {"AB12", "CD34"}, false));
    auto g = placeBarcode();
    g->show_hide_hdr = g->show_hide_ftr = 1;
    g->linear_font_val = "AB12";
    // The designer sets it and OK stores it.
    pressNext(true, [&] {
        designer->kerning_value_Checkbox->setChecked(true);
        designer->kerningChanged();
        designer->Data_source_type->setCurrentIndex(Source_Data_Set);
        designer->comboBoxSelectionDidChange(designer->Data_source_type);
        designer->Batch_Series->setCurrentIndex(designer->Batch_Series->findText("Codes"));
        designer->comboBoxSelectionDidChange(designer->Batch_Series);
    });
    wnd->Open_Barcode_Window();
    ASSERT_EQ(g->kerning_value_state, 1);
    const qreal wide = captionSpread(g->_barcode_image);
    SKTBarcode tight = *g;
    tight.kerning_value_state = 0;
    EXPECT_GT(wide, captionSpread(Barcode_Gen::Symbol_Of_Graphic(tight)) + 10);

    // Saved and reopened; a file without the key reads as off.
    QVariantMap saved = Graphic_To_Map(*g);
    const GraphicPtr reopened = Graphic_From_Map(saved);
    EXPECT_EQ(reopened->kerning_value_state, 1);
    EXPECT_DOUBLE_EQ(captionSpread(Barcode_Gen::Symbol_Of_Graphic(*reopened)), wide);
    saved.remove("kerning_value_state");
    EXPECT_EQ(Graphic_From_Map(saved)->kerning_value_state, 0);

    // The designer opens with it; batch rows (images and printing) draw it.
    pressNext(false, [&] { EXPECT_TRUE(designer->kerning_value_Checkbox->isChecked()); });
    wnd->Open_Barcode_Window();
    Batch_Binding& rows = wnd->Card_Rows();
    rows.Check_Series_Or_Excel_Use_or_not();
    rows.Batch_Begin();
    const Barcode_Art design = g->_barcode_image;
    EXPECT_FALSE(rows.Card_Row_Image(1, Side_Front, 1).isNull());
    EXPECT_FALSE(g->_barcode_image.sameAs(design)); // the symbol of row 1
    EXPECT_DOUBLE_EQ(captionSpread(g->_barcode_image), wide); // same length, same spread
    QPicture page;
    {
        QPainter painter(&page);
        EXPECT_TRUE(rows.Draw_Card_Row(0, Side_Front, painter));
    }
    EXPECT_DOUBLE_EQ(captionSpread(g->_barcode_image), wide);
    rows.Batch_End();
}

TEST_F(DesignerTest, ABarcodeStaysInsideTheCardAndRedrawsWhenItsBindingChanges)
{
    ASSERT_TRUE(Write_Data_Set("Guests", {"G-7", "G-8"}, false));
    const QRectF card(QPointF(0, 0), SKTRenderingView::cardSize());
    auto g = placeBarcode();
    g->bounds.moveTopLeft(card.bottomRight() - QPointF(20, 10)); // near the corner
    pressNext(true);
    wnd->Open_Barcode_Window();
    EXPECT_TRUE(card.contains(g->drawingBounds())) << g->drawingBounds().x();
    EXPECT_FLOAT_EQ(g->barcode_scale, 1);

    // Grown to a QR code larger than the card: drawn smaller, proportions kept.
    pressNext(true, [&] {
        designer->barcodeTypePopup->setCurrentIndex(designer->barcodeTypePopup->findText("QR Code"));
        designer->barcodeTypeChanged();
        designer->HeightStepper_2D->setValue(2000);
    });
    wnd->Open_Barcode_Window();
    const QSizeF symbol = g->_barcode_image.size();
    ASSERT_GT(symbol.height(), card.height());
    EXPECT_TRUE(card.adjusted(-0.01, -0.01, 0.01, 0.01).contains(g->drawingBounds())) << g->drawingBounds().bottom();
    EXPECT_NEAR(g->drawingBounds().height(), card.height(), 1.0);
    EXPECT_NEAR(g->drawingBounds().width() / g->drawingBounds().height(), symbol.width() / symbol.height(), 0.01);

    // Bound in the property panel: the symbol shows the set's value at once.
    const Barcode_Art before = g->_barcode_image;
    wnd->Data_source_type->setCurrentIndex(Source_Data_Set);
    wnd->comboBoxSelectionDidChange(wnd->Data_source_type);
    wnd->Batch_Series->setCurrentIndex(wnd->Batch_Series->findText("Guests"));
    wnd->comboBoxSelectionDidChange(wnd->Batch_Series);
    EXPECT_EQ(g->two_d_font_val, "G-7");
    EXPECT_EQ(wnd->Text_value_Edit->toPlainText(), "G-7");
    EXPECT_FALSE(g->_barcode_image.sameAs(before));
    EXPECT_TRUE(card.adjusted(-0.01, -0.01, 0.01, 0.01).contains(g->drawingBounds())) << g->drawingBounds().bottom();
}

TEST_F(DesignerTest, TheToolAndTheSelectionOpenTheDesigner)
{
    // The tool places a barcode and opens the designer; OK gives it its symbol.
    pressNext(true, [&] { designer->dataText->setText("TOOL-1"); });
    wnd->Barcode_Tool_Clicked();
    ASSERT_EQ(wnd->Get_Front_Controls_Array().size(), 1);
    const GraphicPtr placed = wnd->Get_Front_Controls_Array().first();
    EXPECT_EQ(placed->linear_font_val, "TOOL-1");
    EXPECT_FALSE(placed->_barcode_image.isNull());

    // Cancel takes an empty new barcode back.
    pressNext(false);
    wnd->Barcode_Tool_Clicked();
    EXPECT_EQ(wnd->Get_Front_Controls_Array().size(), 1);

    // The selection opens it only when it is a barcode.
    auto text = std::make_shared<SKTText>();
    wnd->Get_Front_Controls_Array().append(text);
    wnd->_graphicView->selectGraphic(text);
    const qsizetype runs = host.modalRuns.size();
    wnd->Open_Barcode_Window();
    EXPECT_EQ(host.modalRuns.size(), runs);

    wnd->_graphicView->selectGraphic(placed);
    const Barcode_Art before = placed->_barcode_image;
    pressNext(true, [&] { designer->dataText->setText("TOOL-2"); });
    wnd->Open_Barcode_Window();
    EXPECT_EQ(placed->linear_font_val, "TOOL-2");
    EXPECT_FALSE(placed->_barcode_image.sameAs(before));
}
