#include "model/Globals.h"
#include "model/GraphicArchive.h"

#include <QPainter>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {
void setNonDefaults(SKTGraphic& g)
{
    g.bounds = QRectF(1.5, 2.25, 100.125, 40);
    g.isDrawingFill = true;
    g.isDrawingStroke = false;
    g.fillColor = QColor(10, 20, 30, 40);
    g.strokeColor = Qt::magenta;
    g.strokeWidth = 2.5f;
    g.control_ID = "Fup_Name";
    g.ctrl_is_visible = false;
    g.Text_Value = "Zoë & <Co> \"quoted\"";
    g.data_source_type = 2;
    g.batch_list_name = "Guests";
    g.batch_list_index = 3;
    g.excel_binding = true;
    g.excel_col_indx = 4;
    g.linear_or_2d = 1;
    g.barcode_font_index = 7;
    g.linear_font_val = "ABC-123";
    g.two_d_font_val = "line1\nline2";
    g.header_val = "";
    g.footer_val = "Foot";
    g.show_hide_hdr = 1;
    g.show_val_on_top = 1;
    g.align_ftr_index = 2;
    g.linear_height_val = 1.25f;
    g.linear_width_val = 13.5f;
    g.qr_version_index = 40;
    g.qr_ec_index = 3;
    g.pdf_ec_val = 8;
    g.dm_format_index = 30;
    g.TB_marging_val = 0.3f;
    g.value_font_val = QFont("Liberation Sans", 12);
    g.footer_font_val.setBold(true);
    g.barcode_back_clr_val = QColor(255, 255, 0);
    g.barcode_clr_val = QColor(0, 0, 128);
    g.dpi_val_index = 2;
    g.dpi_custom_val = "600";
    g.barcode_unit_val = 0;
}
}

TEST(GraphicArchive, NewGraphicsCarryTheStoredBarcodeDefaults)
{
    const auto g = Make_Graphic(GraphicKind::Barcode);
    EXPECT_EQ(g->linear_font_val, "0123");
    EXPECT_EQ(g->header_val, "HEADER");
    EXPECT_EQ(g->footer_val, "FOOTER");
    EXPECT_EQ(g->align_hdr_index, 1);
    EXPECT_FLOAT_EQ(g->linear_height_val, 0.6f);
    EXPECT_FLOAT_EQ(g->linear_width_val, 20);
    EXPECT_EQ(g->qr_size_val, 60);
    EXPECT_EQ(g->pdf_hgt_val, 20);
    EXPECT_EQ(g->pdf_wdt_val, 100);
    EXPECT_EQ(g->pdf_ec_val, 2);
    EXPECT_EQ(g->dm_module_val, 2);
    EXPECT_FLOAT_EQ(g->LR_margin_val, 0.1f);
    EXPECT_EQ(g->header_font_val.family(), "Times New Roman");
    EXPECT_EQ(g->header_font_val.pointSizeF(), 10);
    EXPECT_EQ(g->barcode_back_clr_val, QColor(Qt::white));
    EXPECT_EQ(g->barcode_hdr_clr_val, QColor(Qt::black));
    EXPECT_EQ(g->dpi_custom_val, "0");
    EXPECT_EQ(g->barcode_unit_val, 1);
    EXPECT_EQ(g->data_source_type, 0);
    EXPECT_EQ(g->batch_list_name, "");
    EXPECT_TRUE(g->ctrl_is_visible);
}

TEST(GraphicArchive, EveryKindRoundTripsLosslessly)
{
    QTemporaryDir dir;
    QImage file(3, 3, QImage::Format_ARGB32);
    file.fill(Qt::cyan);
    const QString path = dir.path() + "/photo.png";
    ASSERT_TRUE(file.save(path));

    auto text = std::make_shared<SKTText>();
    setNonDefaults(*text);
    text->text = "Dear Ann,\nwelcome ✓";
    text->font = QFont("Liberation Serif", 17);
    text->font.setItalic(true);
    text->textColor = QColor(200, 0, 0);
    text->alignment = Qt::AlignRight;

    auto image = std::make_shared<SKTImage>();
    setNonDefaults(*image);
    image->control_ID = "Fup_Photo";
    image->setFilePath(path);

    auto barcode = std::make_shared<SKTBarcode>();
    setNonDefaults(*barcode);
    Barcode_Art_Data bars;
    bars.size = QSizeF(30, 12);
    bars.bars = {QRectF(0, 0, 30, 12)};
    barcode->Set_Barcode_image(Barcode_Art(bars));

    for (const GraphicPtr& g : {GraphicPtr(text), GraphicPtr(image), GraphicPtr(barcode)}) {
        const QByteArray archive = Archive_Graphic(*g);
        ASSERT_TRUE(archive.startsWith("bplist00"));
        QString error;
        const GraphicPtr back = Unarchive_Graphic(archive, &error);
        ASSERT_NE(back, nullptr) << error.toStdString();
        EXPECT_EQ(back->kind(), g->kind());
        EXPECT_EQ(Graphic_To_Map(*back), Graphic_To_Map(*g));
        EXPECT_EQ(Archive_Graphic(*back), archive);
    }
    auto imageBack = std::dynamic_pointer_cast<SKTImage>(Unarchive_Graphic(Archive_Graphic(*image)));
    EXPECT_EQ(imageBack->image.pixelColor(1, 1), QColor(Qt::cyan));
    // A barcode's symbol is never stored: it is made again when a design opens.
    EXPECT_TRUE(Unarchive_Graphic(Archive_Graphic(*barcode))->_barcode_image.isNull());
}

TEST(GraphicArchive, RefusesUnknownKindsAndBrokenData)
{
    QString error;
    EXPECT_EQ(Graphic_From_Map({{"kind", "SKTStar"}}, &error), nullptr);
    EXPECT_TRUE(error.contains("SKTStar"));
    const QByteArray good = Archive_Graphic(SKTText());
    for (int cut : {0, 8, int(good.size()) / 2, int(good.size()) - 1}) {
        error.clear();
        EXPECT_EQ(Unarchive_Graphic(good.left(cut), &error), nullptr) << cut;
        EXPECT_FALSE(error.isEmpty());
    }
}

TEST(GraphicArchive, PartyImageShowsTheMainPhoto)
{
    QImage photo(5, 5, QImage::Format_ARGB32);
    photo.fill(Qt::darkGreen);
    Set_Main_Photo_image(photo);
    SKTImage image;
    image.control_ID = "PARTY_IMAGE";
    image.setFilePath("/no/such/file.png");
    EXPECT_EQ(image.filePath(), "/no/such/file.png");
    EXPECT_EQ(image.image, photo);
    Set_Main_Photo_image(QImage());
}
