#include "BarcodeTestSupport.h"

#include "barcode/NKDBarcode.h"
#include "platform/Task.h"

#include <QPainter>
#include <cmath>

void Dress_Model(NKDBarcode& model, const BarcodeStyle& style, float barPoints, bool caption,
                 bool header, bool footer)
{
    model.setHeader(style.header_val);
    model.setFooter(style.footer_val);
    model.setPrintsCaption(caption);
    model.setPrintsHeader(header);
    model.setPrintsFooter(footer);
    model.setBarWidth(20.0f / 1000.0f * 72.0f);
    model.setCaptionFontSize(float(style.value_font_val.pointSizeF()));
    model.setHeaderFontSize(float(style.header_font_val.pointSizeF()));
    model.setFooterFontSize(float(style.footer_font_val.pointSizeF()));
    float height = barPoints;
    if (caption)
        height += model.captionHeight() * 72 + style.value_margin;
    if (header)
        height += model.headerHeight() * 72 + style.header_margin;
    if (footer)
        height += model.footerHeight() * 72 + style.footer_margin;
    model.setHeight(height + 2 * style.TB_margin);
    model.calculateWidth();
}

namespace {
DecodeResult run(const QString& program, const QStringList& arguments)
{
    platform::TaskRequest request;
    request.program = program;
    request.arguments = arguments;
    request.timeoutMs = 30000;
    const platform::TaskResult result = platform::runTask(request);
    DecodeResult decoded;
    if (!result.started) {
        decoded.failure = program + QStringLiteral(" could not be started (is it installed?)");
        return decoded;
    }
    QByteArray text = result.standardOutput;
    if (text.endsWith('\n'))
        text.chop(1);
    if (result.exitStatus != 0 || text.isEmpty()) {
        decoded.failure = program + QStringLiteral(" read nothing: ")
                          + QString::fromUtf8(result.standardError + result.standardOutput);
        return decoded;
    }
    decoded.ok = true;
    decoded.text = text;
    return decoded;
}
}

DecodeResult Decode_With_ZXing(const QString& pngPath, const QString& format)
{
    return run(QStringLiteral("ZXingReader"),
               {QStringLiteral("-format"), format, QStringLiteral("-bytes"), pngPath});
}

DecodeResult Decode_With_Zbar(const QString& pngPath, const QString& symbology, const QStringList& settings)
{
    QStringList arguments = {QStringLiteral("-q"), QStringLiteral("--raw"), QStringLiteral("--nodbus"),
                             QStringLiteral("-Sdisable"), QStringLiteral("-S%1.enable").arg(symbology)};
    for (const QString& setting : settings)
        arguments << QStringLiteral("-S%1.%2").arg(symbology, setting);
    return run(QStringLiteral("zbarimg"), arguments << pngPath);
}

InkBox Ink_In(const QImage& image, const QRect& area)
{
    InkBox box;
    const QRect r = area.intersected(image.rect());
    for (int y = r.top(); y <= r.bottom(); ++y)
        for (int x = r.left(); x <= r.right(); ++x)
            if (qGray(image.pixel(x, y)) < 128) {
                if (box.top < 0 || y < box.top)
                    box.top = y;
                box.bottom = qMax(box.bottom, y);
                if (box.left < 0 || x < box.left)
                    box.left = x;
                box.right = qMax(box.right, x);
            }
    return box;
}
