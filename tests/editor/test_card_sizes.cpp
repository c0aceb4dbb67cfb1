#include "model/Card_Property.h"

#include <gtest/gtest.h>

TEST(CardSizes, EveryPresetRowInMillimetres)
{
    const float pvc[7][2] = {{3.37f, 2.13f}, {3.31f, 2.06f}, {3.62f, 2.38f}, {3.88f, 2.62f},
                             {3.5f, 1.75f},  {3.25f, 2.34f}, {2.88f, 2.12f}};
    for (int row = 0; row < 7; ++row) {
        const QSizeF mm = Card_Preset_Size_MM("PVC Card", "H", row);
        EXPECT_NEAR(mm.width(), pvc[row][0] * 25.4, 1e-3) << row;
        EXPECT_NEAR(mm.height(), pvc[row][1] * 25.4, 1e-3) << row;
    }
    const float badge[8][2] = {{2.36f, 1.58f}, {2.95f, 1.58f}, {2.95f, 1.58f}, {3.54f, 2.13f},
                               {3.54f, 2.36f}, {2.36f, 3.54f}, {3.94f, 4.09f}, {5.91f, 4.96f}};
    for (int row = 0; row < 8; ++row) {
        // Any category other than "PVC Card" reads the badge table.
        const QSizeF mm = Card_Preset_Size_MM("Paper Name Badge", "H", row);
        EXPECT_NEAR(mm.width(), badge[row][0] * 25.4, 1e-3) << row;
        EXPECT_NEAR(mm.height(), badge[row][1] * 25.4, 1e-3) << row;
    }
    EXPECT_NEAR(Card_Preset_Size_MM("PVC Card", "H", 0).width(), 85.598, 1e-3);
}

TEST(CardSizes, VerticalSwapsAndRowsOutsideTheTableAreThirtyMillimetres)
{
    const QSizeF h = Card_Preset_Size_MM("PVC Card", "H", 2);
    const QSizeF v = Card_Preset_Size_MM("PVC Card", "V", 2);
    EXPECT_EQ(v, h.transposed());
    for (int row : {-1, -7, 7, 100})
        EXPECT_EQ(Card_Preset_Size_MM("PVC Card", "V", row), QSizeF(30, 30)) << row;
    EXPECT_EQ(Card_Preset_Size_MM("Badge", "H", 8), QSizeF(30, 30));
    EXPECT_NE(Card_Preset_Size_MM("Badge", "H", 7), QSizeF(30, 30));
}

TEST(CardSizes, MillimetresToPointsInSinglePrecision)
{
    EXPECT_FLOAT_EQ(MM_to_Points(10.0f), 28.34645669291f);
    EXPECT_FLOAT_EQ(MM_to_Points(25.4f), 72.0f);
    EXPECT_EQ(MM_to_Points(0), 0.0f);
    // The default card is a CR80: 243 by 153 whole points on the canvas.
    const Card_Property card = Default_Card_Property();
    EXPECT_EQ(card.Card_Size.toSize(), QSize(243, 153));
}

TEST(CardSizes, PropertyRecordRoundTripsThroughItsDictionary)
{
    Card_Property p = Default_Card_Property();
    p.shape = 2;
    p.category = "Badge";
    p.orientation = "V";
    p.preset_index = 5;
    p.width_mm = 60;
    p.height_mm = 90;
    EXPECT_EQ(Card_Property::fromMap(p.toMap()), p);
    EXPECT_EQ(Card_Property::fromMap({{"shape", 9}}).shape, 2); // clamped to a known shape
}
