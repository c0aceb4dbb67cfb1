#include "barcode/BarcodeDispatch.h"

#include "barcode/BarcodeImage.h"
#include "barcode/DataMatrixImage.h"
#include "barcode/JapanPostBarcode.h"
#include "barcode/LinearLayout.h"
#include "barcode/NKDBarcodeOffscreenView.h"
#include "barcode/NKDCodabarBarcode.h"
#include "barcode/NKDCode128Barcode.h"
#include "barcode/NKDCode39Barcode.h"
#include "barcode/NKDEAN13Barcode.h"
#include "barcode/NKDInterleavedTwoOfFiveBarcode.h"
#include "barcode/NKDModifiedPlesseyBarcode.h"
#include "barcode/NKDPostnetBarcode.h"
#include "barcode/NKDRoyalMailBarcode.h"
#include "barcode/NKDUPCABarcode.h"
#include "barcode/QREncoder.h"
#include "barcode/pdf417View.h"
#include "model/Helpers.h"

#include <exception>

const QStringList Barcode_Type_Items = {
    QStringLiteral("Code 39"),
    QStringLiteral("Extended Code 39"),
    QStringLiteral("Interleaved 2 of 5"),
    QStringLiteral("UPCA"),
    QStringLiteral("PostNet"),
    QStringLiteral("Modified Plessey"),
    QStringLiteral("Modified Plessey (Hex)"),
    QStringLiteral("Industrial 2 of 5"),
    QStringLiteral("EAN-13"),
    QStringLiteral("Code 128"),
    QStringLiteral("Code 128 SET A"),
    QStringLiteral("Code 128 SET B"),
    QStringLiteral("Code 128 SET C"),
    QStringLiteral("Codabar"),
    QStringLiteral("UPCE"),
    QStringLiteral("EAN-8"),
    QStringLiteral("Royal Mail Barcode (RM4SCC / CBC)"),
    QStringLiteral("Planet"),
    QStringLiteral("Japan Post Barcode"),
    QStringLiteral("QR Code"),
    QStringLiteral("PDF417"),
    QStringLiteral("DataMatrix"),
};

const QStringList Barcode_DPI_Items = {QStringLiteral("Auto"), QStringLiteral("72"),  QStringLiteral("150"),
                                       QStringLiteral("300"),  QStringLiteral("600"), QStringLiteral("1200"),
                                       QStringLiteral("Custom")};

QString Barcode_Type_Title(int index)
{
    return index >= 0 && index < Barcode_Type_Items.size() ? Barcode_Type_Items[index] : QString();
}

bool Is_2D_Barcode_Title(const QString& title)
{
    return title == QLatin1String("QR Code") || title == QLatin1String("PDF417") ||
           title == QLatin1String("DataMatrix");
}

std::unique_ptr<NKDBarcode> New_Linear_Barcode(const QString& title)
{
    auto code128 = [](int set) {
        auto model = std::make_unique<NKDCode128Barcode>();
        model->setCodeSet(set);
        return model;
    };
    if (title == QLatin1String("Code 39")) return std::make_unique<NKDCode39Barcode>();
    if (title == QLatin1String("Extended Code 39")) return std::make_unique<NKDExtendedCode39Barcode>();
    if (title == QLatin1String("Interleaved 2 of 5")) return std::make_unique<NKDInterleavedTwoOfFiveBarcode>();
    if (title == QLatin1String("UPCA")) return std::make_unique<NKDUPCABarcode>();
    if (title == QLatin1String("PostNet")) return std::make_unique<NKDPostnetBarcode>();
    if (title == QLatin1String("Modified Plessey")) return std::make_unique<NKDModifiedPlesseyBarcode>();
    if (title == QLatin1String("Modified Plessey (Hex)")) return std::make_unique<NKDModifiedPlesseyHexBarcode>();
    if (title == QLatin1String("Industrial 2 of 5")) return std::make_unique<NKDIndustrialTwoOfFiveBarcode>();
    if (title == QLatin1String("EAN-13")) return std::make_unique<NKDEAN13Barcode>();
    if (title == QLatin1String("Code 128")) return code128(3);
    if (title == QLatin1String("Code 128 SET A")) return code128(0);
    if (title == QLatin1String("Code 128 SET B")) return code128(1);
    if (title == QLatin1String("Code 128 SET C")) return code128(2);
    if (title == QLatin1String("Codabar")) return std::make_unique<NKDCodabarBarcode>();
    if (title == QLatin1String("UPCE")) return std::make_unique<NKDUPCEBarcode>();
    if (title == QLatin1String("EAN-8")) return std::make_unique<NKDEAN8Barcode>();
    if (title == QLatin1String("Royal Mail Barcode (RM4SCC / CBC)")) return std::make_unique<NKDRoyalMailBarcode>();
    if (title == QLatin1String("Planet")) return std::make_unique<NKDPlanetBarcode>();
    if (title == QLatin1String("Japan Post Barcode")) return std::make_unique<JapanPostBarcode>();
    return nullptr;
}

QString Barcode_Value_For_Symbology(const QString& title, const QString& value)
{
    if (title != QLatin1String("Codabar") || value.isEmpty())
        return value;
    auto startStop = [](QChar c) { return QStringLiteral("ABCDabcd").contains(c); };
    QString text = value;
    if (startStop(text.front()))
        text.front() = text.front().toUpper();
    else
        text.prepend(QLatin1Char('A'));
    if (text.size() > 1 && startStop(text.back()))
        text.back() = text.back().toUpper();
    else
        text.append(QLatin1Char('B'));
    return text;
}

int Barcode_DPI_Of_Item(int index, int customDpi)
{
    if (index < 0 || index >= Barcode_DPI_Items.size() || index == 0)
        return Auto_Barcode_DPI;
    if (Barcode_DPI_Items[index] == QLatin1String("Custom"))
        return customDpi;
    return Barcode_DPI_Items[index].toInt();
}

Barcode_Drawing Barcode_Drawing_Of(const BarcodeStyle& style)
{
    Barcode_Drawing drawing;
    drawing.unit = Unit_Centimetre;
    // The custom text is read only when the custom item is chosen.
    const bool custom = Barcode_DPI_Items.value(style.dpi_val_index) == QLatin1String("Custom");
    drawing.dpi = Checked_Barcode_DPI(
        Barcode_DPI_Of_Item(style.dpi_val_index, custom ? Int_Value(style.dpi_custom_val) : 0));
    drawing.qrVersion = style.qr_version_index;
    drawing.qrLevel = style.qr_ec_index;
    return drawing;
}

Barcode_Grid Draw_QR_Barcode(const QString& value, int qrSize, const Barcode_Drawing& drawing)
{
    const auto matrix = QREncoder::encodeWithECLevel(drawing.qrLevel, drawing.qrVersion, value);
    if (!matrix)
        return Barcode_Grid();
    return QREncoder::moduleGrid(*matrix, qrSize, drawing.dpi);
}

Barcode_Grid Draw_PDF_417_Barcode(const QString& value, int width, int height, int errorLevel, int dpi)
{
    pdf417View view;
    view.setFrameSize(QSizeF(width, height));
    view.setErrorLevel(errorLevel, false);
    // A failed text keeps no earlier symbol: each value gets its own or none.
    if (view.encodeText(value) != pdf417View::ImageReady)
        return Barcode_Grid();
    Barcode_Grid grid = view.grid();
    grid.dpi = dpi;
    return grid;
}

namespace {
void dressModel(NKDBarcode& model, BarcodeStyle& style, int unit, const QString& header,
                const QString& footer, bool caption)
{
    model.setHeader(header);
    model.setFooter(footer);
    model.setPrintsCaption(caption);
    model.setPrintsHeader(style.show_hide_hdr != 1);
    model.setPrintsFooter(style.show_hide_ftr != 1);
    model.setBarWidth(Mils_To_Points(style.linear_width_val));
    model.setCaptionFontSize(float(style.value_font_val.pointSizeF()));
    model.setHeaderFontSize(float(style.header_font_val.pointSizeF()));
    model.setFooterFontSize(float(style.footer_font_val.pointSizeF()));
    Set_Barcode_Height(model, style, unit);
    model.calculateWidth();
    model.setWidth(Set_Linear_Barcode_Width(model, style, unit));
}
}

Barcode_Symbol Generate_Barcode_Symbol(BarcodeStyle& style, const Barcode_Drawing& drawing,
                                       const QString& value, const QString& header,
                                       const QString& footer, bool caption)
{
    Barcode_Symbol symbol;
    if (value.isEmpty())
        return symbol;
    try {
        const QString title = Barcode_Type_Title(style.barcode_font_index);
        if (style.linear_or_2d != 0) {
            style.content = value;
            style.header = header;
            style.footer = footer;
            style.printsCaption = caption;
            style.printsHeader = style.show_hide_hdr != 1;
            style.printsFooter = style.show_hide_ftr != 1;
            setCaptionFontSize(style, float(style.value_font_val.pointSizeF()));
            setHeaderFontSize(style, float(style.header_font_val.pointSizeF()));
            setFooterFontSize(style, float(style.footer_font_val.pointSizeF()));
            if (title == QLatin1String("QR Code"))
                symbol.grid = Draw_QR_Barcode(value, style.qr_size_val, drawing);
            else if (title == QLatin1String("PDF417"))
                symbol.grid = Draw_PDF_417_Barcode(value, style.pdf_wdt_val, style.pdf_hgt_val,
                                                   style.pdf_ec_val, drawing.dpi);
            else if (title == QLatin1String("DataMatrix"))
                symbol.grid = DataMatrix_Grid(value, style.dm_format_index, style.dm_encoding_index,
                                              style.dm_module_val, drawing.dpi);
            return symbol;
        }
        auto model = New_Linear_Barcode(title);
        if (!model)
            return symbol;
        model->setStyle(&style);
        if (!model->initWithContent(Barcode_Value_For_Symbology(title, value), caption) ||
            !model->isContentValid())
            return symbol;
        dressModel(*model, style, drawing.unit, header, footer, caption);
        symbol.model = std::move(model);
    } catch (const std::exception& e) {
        Show_NSLog_Message(QString::fromUtf8(e.what()));
        symbol = Barcode_Symbol();
    }
    return symbol;
}

Barcode_Art Frame_2D_Barcode(const Barcode_Grid& grid, BarcodeStyle& style, int unit)
{
    if (grid.isNull())
        return Barcode_Art();
    Set_2d_Barcode_Height(grid.size, style, unit);
    Set_2d_Barcode_Width(grid.size, style, unit);
    return Framed_2D_Art(grid.modules, grid.area, grid.size, style);
}

Barcode_Art Barcode_Symbol_Art(const Barcode_Symbol& symbol, BarcodeStyle& style, int unit)
{
    if (symbol.model)
        return Linear_Barcode_Art(*symbol.model, &style);
    return Frame_2D_Barcode(symbol.grid, style, unit);
}

Barcode_Art Barcode_Picture(BarcodeStyle& style, const QString& value, const QString& header,
                            const QString& footer)
{
    try {
        const Barcode_Drawing drawing = Barcode_Drawing_Of(style);
        const Barcode_Symbol symbol =
            Generate_Barcode_Symbol(style, drawing, value, header, footer, style.show_hide_val != 1);
        return Barcode_Symbol_Art(symbol, style, drawing.unit);
    } catch (const std::exception& e) {
        Show_NSLog_Message(QString::fromUtf8(e.what()));
        return Barcode_Art();
    }
}
