#include "barcode/BarcodeStyle.h"

const QStringList Barcode_Alignment_Items = {QStringLiteral("Left"), QStringLiteral("Center"),
                                             QStringLiteral("Right")};

QString Barcode_Alignment_Text(int index)
{
    return index >= 0 && index < Barcode_Alignment_Items.size() ? Barcode_Alignment_Items[index]
                                                                 : QString();
}

BarcodeStyle Live_Barcode_Style;

// The record and the graphic hold the stored settings under the same names.
#define BARCODE_STORED_FIELDS(COPY)                                                        \
    SKT_BARCODE_INT_FIELDS(COPY) SKT_BARCODE_FLOAT_FIELDS(COPY) SKT_BARCODE_STRING_FIELDS(COPY) \
    SKT_BARCODE_COLOR_FIELDS(COPY)

BarcodeStyle BarcodeStyle::fromGraphic(const SKTGraphic& graphic)
{
    BarcodeStyle style;
#define COPY(name, ...) style.name = graphic.name;
    BARCODE_STORED_FIELDS(COPY)
    SKT_BARCODE_FONT_FIELDS(COPY)
#undef COPY
    return style;
}

void BarcodeStyle::loadFrom(const SKTGraphic& graphic)
{
    const QString customDpi = dpi_custom_val;
    const int unit = barcode_unit_val;
#define COPY(name, ...) name = graphic.name;
    BARCODE_STORED_FIELDS(COPY)
    SKT_BARCODE_FONT_FIELDS(COPY)
#undef COPY
    dpi_custom_val = customDpi;
    barcode_unit_val = unit;
}

void BarcodeStyle::storeIn(SKTGraphic& graphic) const
{
    const int unit = graphic.barcode_unit_val;
#define COPY(name, ...) graphic.name = name;
    BARCODE_STORED_FIELDS(COPY)
    SKT_BARCODE_FONT_FIELDS(COPY)
#undef COPY
    graphic.barcode_unit_val = unit;
}
