#include "support/BarcodeFields.h"
#include "barcode/BarcodeText.h"
#include "barcode/NKDBarcode.h"
#include "model/SKTGraphic.h"

#include <gtest/gtest.h>

namespace {
// The base behaviour, with caption pieces and module strings chosen by the test.
class PlainModel : public NKDBarcode {
public:
    int left = 0, right = 0;
    QString modules;
    bool fixedModules = false;
    int digitsToLeft() const override { return left; }
    int digitsToRight() const override { return right; }
    QString barcode() const override { return fixedModules ? modules : NKDBarcode::barcode(); }
    QString className() const override { return QStringLiteral("PlainModel"); }

protected:
    std::unique_ptr<NKDBarcode> newOfSameClass() const override { return std::make_unique<PlainModel>(); }
};
}

TEST(LinearModel, AbsentContentGivesNoModelAndEmptyContentAnEmptySymbol)
{
    EXPECT_EQ(New_Barcode<PlainModel>(QString()), nullptr);
    auto empty = New_Barcode<PlainModel>(QStringLiteral(""));
    ASSERT_NE(empty, nullptr);
    EXPECT_EQ(empty->completeBarcode(), QString());
    EXPECT_EQ(empty->width(), 0.0f);
    EXPECT_EQ(empty->header(), QStringLiteral(""));
    EXPECT_EQ(empty->footer(), QStringLiteral(""));
    EXPECT_FALSE(empty->header().isNull());
}

TEST(LinearModel, DefaultsAndCopy)
{
    auto model = New_Barcode<PlainModel>(QStringLiteral("AB"), false);
    ASSERT_NE(model, nullptr);
    EXPECT_FLOAT_EQ(model->barWidth(), 0.936f);
    EXPECT_FLOAT_EQ(model->height(), 36.0f);
    EXPECT_FLOAT_EQ(model->caption_fontSize(), 6.0f);
    EXPECT_EQ(model->checkDigit(), -1);
    EXPECT_FALSE(model->printsCaption());
    // Two characters of "1010" each.
    EXPECT_EQ(model->completeBarcode(), QStringLiteral("10101010"));
    EXPECT_FLOAT_EQ(model->width(), 8 * 0.936f);

    model->setBarWidth(2.0f);
    model->calculateWidth();
    auto copy = model->copy();
    ASSERT_NE(copy, nullptr);
    EXPECT_EQ(copy->className(), QStringLiteral("PlainModel"));
    EXPECT_EQ(copy->content(), model->content());
    EXPECT_EQ(copy->printsCaption(), model->printsCaption());
    EXPECT_EQ(copy->barWidth(), model->barWidth());
    EXPECT_EQ(copy->height(), model->height());
    EXPECT_EQ(copy->caption_fontSize(), model->caption_fontSize());
    EXPECT_EQ(copy->checkDigit(), model->checkDigit());
    EXPECT_FLOAT_EQ(copy->width(), 16.0f);
    EXPECT_TRUE(copy->isEqual(*model));
    EXPECT_FALSE(New_Barcode<PlainModel>(QStringLiteral("AC"))->isEqual(*model));

    EXPECT_TRUE(model->description().startsWith(QStringLiteral("\n\tBarcode Class: PlainModel\n\tContent: AB")));
    // A content with "%1" in it is shown as it is.
    const QString odd = New_Barcode<PlainModel>(QStringLiteral("10%1"))->description();
    EXPECT_TRUE(odd.contains(QStringLiteral("\n\tContent: 10%1\n"))) << odd.toStdString();
    EXPECT_TRUE(odd.contains(QStringLiteral("Caption Height:"))) << odd.toStdString();
    EXPECT_FALSE(odd.contains(QStringLiteral("%8")));
}

TEST(LinearModel, CaptionPieces)
{
    auto model = New_Barcode<PlainModel>(QStringLiteral("12345"));
    EXPECT_EQ(model->leftCaption(), QString());
    EXPECT_EQ(model->caption(), QStringLiteral("12345"));
    model->left = 1;
    model->right = 1;
    EXPECT_EQ(model->leftCaption(), QStringLiteral("1"));
    EXPECT_EQ(model->caption(), QStringLiteral("234"));
    EXPECT_EQ(model->rightCaption(), QStringLiteral("5"));
}

TEST(LinearModel, BarExtentsFollowTheShownPartsAndTheStyleAtTheMomentOfTheCall)
{
    BarcodeStyle style;
    style.value_margin = 2;
    style.header_margin = 3;
    style.footer_margin = 4;
    style.TB_margin = 5;
    auto model = New_Barcode<PlainModel>(QStringLiteral("1"), false, &style);
    model->setHeight(100);
    model->setCaptionHeight(10 / 72.0f);
    model->setHeaderHeight(12 / 72.0f);
    model->setFooterHeight(8 / 72.0f);
    for (int index : {0, 3}) {
        EXPECT_FLOAT_EQ(model->barTop(index), 90.0f);
        EXPECT_FLOAT_EQ(model->barBottom(index), 0.0f);
    }
    model->setPrintsCaption(true);
    model->setPrintsHeader(true);
    model->setPrintsFooter(true);
    EXPECT_FLOAT_EQ(model->barTop(0), 100 - 12 - 15 - 12 - 10);
    EXPECT_FLOAT_EQ(model->barBottom(0), 30.0f);
    style.TB_margin = 0;
    EXPECT_FLOAT_EQ(model->barTop(0), 100 - 12 - 15 - 12);
}

TEST(LinearModel, TextBandsAreMeasuredWithTheStyleFonts)
{
    BarcodeStyle style;
    auto model = New_Barcode<PlainModel>(QStringLiteral("1"), true, &style);
    model->setCaptionFontSize(6);
    const float band10 = model->captionHeight();
    // 1.35 cap heights of a 10-point serif face: about an eighth of an inch.
    EXPECT_NEAR(band10, 1.35 * Barcode_Cap_Height(style.value_font_val) / 72.0, 1e-6);
    EXPECT_GT(band10, 0.10f);
    EXPECT_LT(band10, 0.14f);
    // The size given is only stored; the style's font decides.
    model->setCaptionFontSize(30);
    EXPECT_FLOAT_EQ(model->captionHeight(), band10);
    EXPECT_FLOAT_EQ(model->caption_fontSize(), 30.0f);
    style.value_font_val.setPointSizeF(20);
    model->setCaptionFontSize(20);
    EXPECT_NEAR(model->captionHeight(), 2 * band10, 0.01);

    // The header and footer widths are those of the texts set before; a
    // hidden text is not measured.
    model->setHeaderFontSize(10);
    EXPECT_EQ(model->headerWidth(), 0.0f);
    model->setHeader(QStringLiteral("HEADER"));
    model->setHeaderFontSize(10);
    EXPECT_EQ(model->headerWidth(), 0.0f);
    model->setPrintsHeader(true);
    model->setHeaderFontSize(10);
    const float shortWidth = model->headerWidth();
    EXPECT_GT(shortWidth, 30.0f); // six 10-point capitals
    EXPECT_LT(shortWidth, 60.0f);
    model->setHeader(QStringLiteral("HEADERHEADER"));
    model->setHeaderFontSize(10);
    EXPECT_NEAR(model->headerWidth(), 2 * shortWidth, 1.0);
}

TEST(BarcodeStyle, DefaultsAgreeWithANewGraphicAndSettingsRoundTrip)
{
    const GraphicPtr fresh = Make_Graphic(GraphicKind::Barcode);
    const BarcodeStyle defaults;
    const BarcodeStyle loaded = BarcodeStyle::fromGraphic(*fresh);
    Expect_Same_Barcode_Fields(loaded, defaults);

    BarcodeStyle edited;
    edited.linear_or_2d = 1;
    edited.barcode_font_index = 9;
    edited.linear_font_val = QStringLiteral("A-1");
    edited.header_val = QStringLiteral("Top");
    edited.show_val_on_top = 1;
    edited.align_ftr_index = 2;
    edited.linear_height_val = 1.25f;
    edited.LR_margin_val = 0.3f;
    edited.qr_ec_index = 3;
    edited.dpi_custom_val = QStringLiteral("300");
    edited.header_font_val.setPointSizeF(14);
    edited.barcode_back_clr_val = QColor(10, 20, 30);
    const GraphicPtr graphic = Make_Graphic(GraphicKind::Barcode);
    edited.storeIn(*graphic);
    EXPECT_EQ(graphic->linear_or_2d, 1);
    EXPECT_EQ(graphic->header_val, QStringLiteral("Top"));
    EXPECT_EQ(graphic->header_font_val.pointSizeF(), 14);
    EXPECT_EQ(graphic->barcode_back_clr_val, QColor(10, 20, 30));
    const BarcodeStyle back = BarcodeStyle::fromGraphic(*graphic);
    Expect_Same_Barcode_Fields(back, edited);
    EXPECT_EQ(edited.align_ftr_text(), QStringLiteral("Right"));
    EXPECT_EQ(Barcode_Alignment_Text(7), QString());
}

TEST(BarcodeStyle, LoadingAGraphicKeepsTheWindowOnlySettings)
{
    const GraphicPtr graphic = Make_Graphic(GraphicKind::Barcode);
    graphic->header_val = QStringLiteral("Guest");
    graphic->dpi_custom_val = QStringLiteral("300");
    graphic->barcode_unit_val = 0;
    BarcodeStyle live;
    live.kerning_value_state = 1;
    live.value_margin = 4.5f;
    live.dpi_custom_val = QStringLiteral("150");
    live.loadFrom(*graphic);
    EXPECT_EQ(live.header_val, QStringLiteral("Guest"));
    EXPECT_EQ(live.kerning_value_state, 0);      // wide kerning is the graphic's
    EXPECT_FLOAT_EQ(live.value_margin, 4.5f);
    EXPECT_EQ(live.dpi_custom_val, QStringLiteral("150")); // stored, not loaded back
    EXPECT_EQ(live.barcode_unit_val, 1);

    live.storeIn(*graphic);
    EXPECT_EQ(graphic->barcode_unit_val, 0); // the graphic's own unit stays
    EXPECT_EQ(graphic->dpi_custom_val, QStringLiteral("150"));
}
