#include "support/Pdf.h"

#include "platform/Task.h"

#include <QRegularExpression>

namespace {
QString run(const QString& program, const QStringList& args)
{
    platform::TaskRequest request;
    request.program = program;
    request.arguments = args;
    return QString::fromUtf8(platform::runTask(request).standardOutput);
}
}

int Pdf_Pages(const QString& pdf)
{
    const auto m = QRegularExpression(R"(^Pages:\s+(\d+))", QRegularExpression::MultilineOption)
                       .match(run("pdfinfo", {pdf}));
    return m.hasMatch() ? m.captured(1).toInt() : -1;
}

QString Pdf_Text(const QString& pdf, int page)
{
    QStringList args;
    if (page > 0)
        args << "-f" << QString::number(page) << "-l" << QString::number(page);
    return run("pdftotext", args << pdf << "-");
}

QList<Pdf_Image> Pdf_Images(const QString& pdf)
{
    // page num type width height color comp bpc enc interp object ID ...
    QList<Pdf_Image> images;
    for (const QString& line : run("pdfimages", {"-list", pdf}).split('\n')) {
        const QStringList f = line.simplified().split(' ');
        if (f.size() > 10 && f[2] == "image" && f[0].toInt() >= 1)
            images.append({f[0].toInt(), f[10].toInt()});
    }
    return images;
}
