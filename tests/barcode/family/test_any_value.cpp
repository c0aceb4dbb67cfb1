// Every class of the family takes any text: what it cannot encode is refused
// by isContentValid, never a crash or a module outside "0" and "1".
#include "barcode/BarcodeImage.h"
#include "barcode/JapanPostBarcode.h"
#include "barcode/NKDCodabarBarcode.h"
#include "barcode/NKDEAN13Barcode.h"
#include "barcode/NKDInterleavedTwoOfFiveBarcode.h"
#include "barcode/NKDModifiedPlesseyBarcode.h"
#include "barcode/NKDPostnetBarcode.h"
#include "barcode/NKDRoyalMailBarcode.h"
#include "barcode/NKDUPCABarcode.h"

#include <QRegularExpression>
#include <gtest/gtest.h>

namespace {
template <class Model>
void survives(const QString& value, bool mayBeValid)
{
    SCOPED_TRACE(value.toStdString());
    BarcodeStyle style;
    auto model = New_Barcode<Model>(value, true, &style);
    ASSERT_NE(model, nullptr);
    if (!mayBeValid) {
        EXPECT_FALSE(model->isContentValid()) << model->className().toStdString();
    }
    const QString modules = model->completeBarcode();
    EXPECT_TRUE(QRegularExpression(QStringLiteral("^[01]*$")).match(modules).hasMatch());
    for (int i = -1; i <= modules.size(); ++i) {
        (void)model->barTop(i);
        (void)model->barBottom(i);
    }
    (void)(model->leftCaption() + model->caption() + model->rightCaption());
    (void)imageFromBarcode(model.get());
    auto copy = model->copy();
    ASSERT_NE(copy, nullptr);
    EXPECT_EQ(copy->completeBarcode(), modules);
}

template <class Model>
void survivesAll()
{
    SCOPED_TRACE(typeid(Model).name());
    const QString odd[] = {QStringLiteral("\u00e9\u00e9\u00e9\u00e9\u00e9\u00e9\u00e9"),
                           QStringLiteral("\u30c6\u30b9\u30c8"), QStringLiteral("12\t34"), QStringLiteral("abcdefgh"), QStringLiteral("~!@#")};
    for (const QString& value : odd)
        survives<Model>(value, false);
    survives<Model>(QStringLiteral(""), true);
    survives<Model>(QString(QChar(0)) + QStringLiteral("1234567"), true); // Japan Post drops the NUL
    survives<Model>(QString(200, QLatin1Char('9')), true);
    survives<Model>(QString(60, QLatin1Char('Z')) + QStringLiteral("5-"), true);
}
}

TEST(AnyValue, NoClassOfTheFamilyBreaks)
{
    survivesAll<NKDEAN13Barcode>();
    survivesAll<NKDEAN8Barcode>();
    survivesAll<NKDUPCABarcode>();
    survivesAll<NKDUPCEBarcode>();
    survivesAll<NKDInterleavedTwoOfFiveBarcode>();
    survivesAll<NKDIndustrialTwoOfFiveBarcode>();
    survivesAll<NKDCodabarBarcode>();
    survivesAll<NKDModifiedPlesseyBarcode>();
    survivesAll<NKDModifiedPlesseyHexBarcode>();
    survivesAll<NKDPostnetBarcode>();
    survivesAll<NKDPlanetBarcode>();
    survivesAll<NKDRoyalMailBarcode>();
    survivesAll<JapanPostBarcode>();
}
