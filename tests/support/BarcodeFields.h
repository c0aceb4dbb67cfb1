#pragma once
// The stored barcode settings of two graphics or style records, compared
// field by field (each failure names its field).
#include "model/SKTGraphic.h"

#include <gtest/gtest.h>

template <typename A, typename B>
void Expect_Same_Barcode_Fields(const A& a, const B& b)
{
#define SAME(name, ...) EXPECT_EQ(a.name, b.name) << #name;
    SKT_BARCODE_INT_FIELDS(SAME)
    SKT_BARCODE_FLOAT_FIELDS(SAME)
    SKT_BARCODE_STRING_FIELDS(SAME)
    SKT_BARCODE_FONT_FIELDS(SAME)
    SKT_BARCODE_COLOR_FIELDS(SAME)
#undef SAME
}
