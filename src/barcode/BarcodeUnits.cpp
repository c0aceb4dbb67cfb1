#include "barcode/BarcodeUnits.h"

#include "barcode/BarcodeText.h"
#include "barcode/LinearLayout.h"
#include "barcode/NKDBarcode.h"
#include "model/Helpers.h"

#include <QPainter>
#include <algorithm>
#include <cmath>

std::atomic<int> Measument_Unit_Is{Unit_Inch};
std::atomic<int> USED_DPI_VALUE{Auto_Barcode_DPI};

namespace {
// A bitmap larger than this is refused rather than allocated.
constexpr qint64 MaxImageSide = 20000;
constexpr qint64 MaxImagePixels = 64LL * 1000 * 1000;
}

int Checked_Barcode_DPI(int dpi)
{
    if (dpi <= 0) {
        Show_NSLog_Message(QStringLiteral("Resolution %1 dpi is not usable; %2 dpi is used.")
                               .arg(dpi).arg(Auto_Barcode_DPI));
        return Auto_Barcode_DPI;
    }
    const int clamped = std::clamp(dpi, Min_Barcode_DPI, Max_Barcode_DPI);
    if (clamped != dpi)
        Show_NSLog_Message(QStringLiteral("Resolution %1 dpi is out of range; %2 dpi is used.")
                               .arg(dpi).arg(clamped));
    return clamped;
}

float Convert_Length_To_Points(float length, int unit)
{
    const double L = length;
    if (unit == Unit_Millimetre)
        return float(L * 0.393701 * 72.0 / 10.0);
    if (unit == Unit_Centimetre)
        return float(L * 0.393701 * 72.0);
    return float(L * 72.0);
}

void setCaptionFontSize(BarcodeStyle& style, float size)
{
    style.caption_fontSize = size;
    style.captionHeight = Barcode_Band_Height(style.value_font_val);
}

void setHeaderFontSize(BarcodeStyle& style, float size)
{
    style.header_fontSize = size;
    style.headerHeight = Barcode_Band_Height(style.header_font_val);
    // A hidden header is not measured.
    style.headerWidth = style.show_hide_hdr == 1 ? 0.0f : float(Barcode_Text_Width(style.header, style.header_font_val));
}

void setFooterFontSize(BarcodeStyle& style, float size)
{
    style.footer_fontSize = size;
    style.footerHeight = Barcode_Band_Height(style.footer_font_val);
    style.footerWidth = style.show_hide_ftr == 1 ? 0.0f : float(Barcode_Text_Width(style.footer, style.footer_font_val));
}

void Set_Barcode_Height(NKDBarcode& model, BarcodeStyle& style, int unit)
{
    style.value_margin = style.show_hide_val == 1 ? 0 : style.val_margin_val;
    style.header_margin = style.show_hide_hdr == 1 ? 0 : style.hdr_margin_val;
    style.footer_margin = style.show_hide_ftr == 1 ? 0 : style.ftr_margin_val;
    style.LR_margin = style.LR_margin_val;
    style.TB_margin = style.TB_marging_val;

    const float h = Convert_Length_To_Points(style.linear_height_val, unit);
    style.value_margin = Convert_Length_To_Points(style.value_margin, unit);
    style.header_margin = Convert_Length_To_Points(style.header_margin, unit);
    style.footer_margin = Convert_Length_To_Points(style.footer_margin, unit);
    style.LR_margin = Convert_Length_To_Points(style.LR_margin, unit);
    style.TB_margin = Convert_Length_To_Points(style.TB_margin, unit);

    // The bands are measured with the margins just converted.
    model.setHeight(Layout_Linear_Barcode(model, &style, Linear_Detail::Bands).heightFor(h));
}

namespace {
// The widest of the bars (or symbol), the shown header and the shown footer,
// with the left and right margins and 15 points more when there is a margin.
float outerWidth(float symbolWidth, float headerWidth, float footerWidth, BarcodeStyle& style,
                 int unit)
{
    if (style.show_hide_hdr == 1)
        headerWidth = 0;
    if (style.show_hide_ftr == 1)
        footerWidth = 0;
    style.LR_margin = Convert_Length_To_Points(style.LR_margin_val, unit);
    const float w = std::max({headerWidth, footerWidth, symbolWidth});
    float result = w + 2.0f * style.LR_margin;
    if (style.LR_margin > 0)
        result += 15.0f;
    return result;
}
}

float Set_Linear_Barcode_Width(const NKDBarcode& model, BarcodeStyle& style, int unit)
{
    return outerWidth(model.width(), model.headerWidth(), model.footerWidth(), style, unit);
}

void Set_2d_Barcode_Width(const QSizeF& symbolPoints, BarcodeStyle& style, int unit)
{
    style.width = outerWidth(float(symbolPoints.width()), style.headerWidth, style.footerWidth, style,
                             unit);
}

void Set_2d_Barcode_Height(const QSizeF& symbolPoints, BarcodeStyle& style, int unit)
{
    style.value_margin = style.val_margin_val;
    style.header_margin = style.hdr_margin_val;
    style.footer_margin = style.ftr_margin_val;
    float headerBand = style.headerHeight * 72.0f;
    float footerBand = style.footerHeight * 72.0f;
    if (style.show_hide_val == 1)
        style.value_margin = 0;
    if (style.show_hide_hdr == 1)
        headerBand = style.header_margin = 0;
    if (style.show_hide_ftr == 1)
        footerBand = style.footer_margin = 0;
    style.LR_margin = Convert_Length_To_Points(style.LR_margin_val, unit);
    style.TB_margin = Convert_Length_To_Points(style.TB_marging_val, unit);
    style.value_margin = Convert_Length_To_Points(style.value_margin, unit);
    style.header_margin = Convert_Length_To_Points(style.header_margin, unit);
    style.footer_margin = Convert_Length_To_Points(style.footer_margin, unit);
    style.height = float(symbolPoints.height()) + headerBand + style.header_margin + footerBand +
                   style.footer_margin + 2.0f * style.TB_margin;
}

QR_Size_Rule Check_And_Set_QR_size_Acc_Version(int versionIndex, int currentSize)
{
    QR_Size_Rule rule;
    rule.minimum = std::max(4 * (versionIndex - 1) + 21, 21);
    rule.size = currentSize < rule.minimum ? rule.minimum : currentSize;
    return rule;
}

void Set_Image_Size_Points(QImage& image, const QSizeF& sizePoints)
{
    if (image.isNull() || sizePoints.width() <= 0 || sizePoints.height() <= 0)
        return;
    // dots per metre = pixels / (points / 72 inch) / 0.0254 metre per inch
    image.setDotsPerMeterX(int(std::lround(image.width() * 72.0 / sizePoints.width() / 0.0254)));
    image.setDotsPerMeterY(int(std::lround(image.height() * 72.0 / sizePoints.height() / 0.0254)));
}

namespace {
// A bitmap of ceil(d x points / 72) pixels a side, transparent, into which the
// source is drawn without interpolation over the area (points); its dots per
// metre carry d. Null (logged) for a bitmap too large to make.
QImage raise(const QImage& source, const QSizeF& sizePoints, const QRectF& area, double d)
{
    const double w = sizePoints.width(), h = sizePoints.height();
    const qint64 pw = qint64(std::ceil(float(d * w / 72.0)));
    const qint64 ph = qint64(std::ceil(float(d * h / 72.0)));
    if (pw < 1 || ph < 1 || pw > MaxImageSide || ph > MaxImageSide || pw * ph > MaxImagePixels) {
        Show_NSLog_Message(QStringLiteral("A symbol of %1 x %2 points is too large for %3 dpi.")
                               .arg(w).arg(h).arg(d));
        return QImage();
    }
    QImage raised(int(pw), int(ph), QImage::Format_ARGB32_Premultiplied);
    if (raised.isNull()) {
        Show_NSLog_Message(QStringLiteral("Invalid image"));
        return QImage();
    }
    raised.fill(Qt::transparent);
    {
        QPainter painter(&raised);
        painter.setRenderHint(QPainter::SmoothPixmapTransform, false);
        painter.setCompositionMode(QPainter::CompositionMode_SourceOver);
        const double k = d / 72.0;
        painter.drawImage(QRectF(area.x() * k, area.y() * k, area.width() * k, area.height() * k), source,
                          QRectF(0, 0, source.width(), source.height()));
    }
    const int dpm = int(std::lround(d / 0.0254));
    raised.setDotsPerMeterX(dpm);
    raised.setDotsPerMeterY(dpm);
    return raised;
}
}

QImage Increase_DPI(const QImage& image, const QSizeF& sizePoints, double dpi)
{
    if (image.isNull() || !(sizePoints.width() > 0) || !(sizePoints.height() > 0)) {
        Show_NSLog_Message(QStringLiteral("Invalid image"));
        return QImage();
    }
    const double d = Checked_Barcode_DPI(int(std::lround(std::clamp(dpi, -1.0, 1e6))));
    return raise(image, sizePoints, QRectF(QPointF(0, 0), sizePoints), d);
}

QImage New_Module_Grid(int w, int h)
{
    QImage grid(std::max(w, 1), std::max(h, 1), QImage::Format_Mono);
    grid.setColorTable({qRgb(0, 0, 0), qRgb(255, 255, 255)});
    grid.fill(1);
    return grid;
}

QImage Barcode_Grid::image() const
{
    if (isNull() || !(size.width() > 0) || !(size.height() > 0))
        return QImage();
    return raise(modules, size, area, Checked_Barcode_DPI(dpi));
}
