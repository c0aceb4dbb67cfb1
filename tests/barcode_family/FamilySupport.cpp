#include "FamilySupport.h"

#include "barcode/BarcodeImage.h"
#include "barcode/NKDBarcode.h"
#include "platform/Task.h"

#include <QFileInfo>
#include <QPainter>
#include <QXmlStreamReader>
#include <cmath>

QImage Render_Model(NKDBarcode& model, const BarcodeStyle& style, qreal scale, int margin, float barPoints)
{
    model.setStyle(&style);
    model.setPrintsCaption(true);
    model.setPrintsHeader(false);
    model.setPrintsFooter(false);
    model.setBarWidth(20.0f / 1000.0f * 72.0f);
    model.setCaptionFontSize(float(style.value_font_val.pointSizeF()));
    model.setHeight(barPoints + model.captionHeight() * 72 + style.value_margin + 2 * style.TB_margin);
    model.calculateWidth();

    return Rasterise(imageFromBarcode(&model), scale, margin);
}

namespace {
platform::TaskResult runDecoder(const QString& program, const QStringList& arguments, DecodedFiles& files)
{
    platform::TaskRequest request;
    request.program = program;
    request.arguments = arguments;
    request.timeoutMs = 120000;
    const platform::TaskResult result = platform::runTask(request);
    if (!result.started)
        files.failure = program + QStringLiteral(" could not be started (is it installed?)");
    else if (result.timedOut)
        files.failure = program + QStringLiteral(" did not finish");
    else
        files.ran = true;
    return result;
}
}

DecodedFiles Read_With_ZXing(const QStringList& pngPaths, const QString& formats)
{
    DecodedFiles files;
    const platform::TaskResult result =
        runDecoder(QStringLiteral("ZXingReader"),
                   QStringList{QStringLiteral("-format"), formats, QStringLiteral("-1")} + pngPaths, files);
    if (!files.ran)
        return files;
    // One line per file: the path, the format and the text in double quotes,
    // or the path and "None".
    for (const QByteArray& line : result.standardOutput.split('\n')) {
        const qsizetype open = line.indexOf(" \""), close = line.lastIndexOf('"');
        if (open < 0 || close <= open + 1)
            continue;
        const QByteArray head = line.left(open);
        for (const QString& path : pngPaths)
            if (head.startsWith(path.toUtf8() + ' ') && !files.texts.contains(path))
                files.texts.insert(path, line.mid(open + 2, close - open - 2));
    }
    return files;
}

DecodedFiles Read_With_Zbar(const QStringList& pngPaths, const QStringList& symbologies,
                            const QStringList& settings)
{
    DecodedFiles files;
    QStringList arguments = {QStringLiteral("--xml"), QStringLiteral("--nodbus"), QStringLiteral("-Sdisable")};
    for (const QString& symbology : symbologies)
        arguments << QStringLiteral("-S%1.enable").arg(symbology);
    for (const QString& setting : settings)
        arguments << QStringLiteral("-S") + setting;
    const platform::TaskResult result = runDecoder(QStringLiteral("zbarimg"), arguments + pngPaths, files);
    if (!files.ran)
        return files;
    // <source href='path'> ... <symbol ...><data>text</data></symbol> ...
    QXmlStreamReader xml(result.standardOutput);
    QString source;
    while (!xml.atEnd()) {
        if (xml.readNext() != QXmlStreamReader::StartElement)
            continue;
        if (xml.name() == QLatin1String("source"))
            source = xml.attributes().value(QLatin1String("href")).toString();
        else if (xml.name() == QLatin1String("data") && !files.texts.contains(source))
            files.texts.insert(source, xml.readElementText().toUtf8());
    }
    if (xml.hasError() && files.texts.isEmpty())
        files.failure = QStringLiteral("zbarimg output unreadable: ") + xml.errorString();
    return files;
}

QPair<int, int> Dark_Span(const QImage& image, int column)
{
    int top = -1, bottom = -1;
    for (int y = 0; y < image.height(); ++y)
        if (qGray(image.pixel(column, y)) < 128) {
            if (top < 0)
                top = y;
            bottom = y;
        }
    return {top, bottom};
}
