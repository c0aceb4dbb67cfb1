#include "platform/Printing.h"

#include "platform/Log.h"
#include "platform/Task.h"

#include <QPageLayout>
#include <QPrinter>
#include <QPrinterInfo>
#include <QRegularExpression>
#include <QTemporaryDir>

namespace platform {

QString Print_Media_Name(const QPrinter& printer)
{
    const QPageSize size = printer.pageLayout().pageSize();
    if (size.id() != QPageSize::Custom)
        return size.key();
    const QSizeF mm = size.size(QPageSize::Millimeter);
    return QStringLiteral("Custom.%1x%2mm").arg(mm.width(), 0, 'f', 2).arg(mm.height(), 0, 'f', 2);
}

PrintResult Print_On_System_Printer(const QPrinter& printer, const PrintJob& job)
{
    PrintResult result;
    const QString name = printer.printerName();
    if (name.isEmpty() || !QPrinterInfo::availablePrinterNames().contains(name)) {
        result.error = QStringLiteral("The printer \"%1\" is not available.").arg(name);
        return result;
    }
    QTemporaryDir folder;
    if (!folder.isValid()) {
        result.error = QStringLiteral("The pages could not be prepared: there is no room for a temporary file.");
        return result;
    }
    const QString pdf = folder.filePath(QStringLiteral("job.pdf"));
    {
        QPrinter file(QPrinter::HighResolution);
        file.setOutputFormat(QPrinter::PdfFormat);
        file.setOutputFileName(pdf);
        file.setPageLayout(printer.pageLayout());
        file.setDocName(job.title);
        if (!job.paint || !job.paint(file)) {
            result.error = QStringLiteral("The pages could not be drawn.");
            return result;
        }
    }

    TaskRequest lp;
    lp.program = QStringLiteral("lp");
    lp.arguments = {QStringLiteral("-d"), name, QStringLiteral("-t"), job.title,
                    QStringLiteral("-o"), QStringLiteral("media=") + Print_Media_Name(printer), pdf};
    const TaskResult sent = runTask(lp);
    if (!sent.started) {
        result.error = QStringLiteral("The print service could not be reached (the program \"lp\" did not start).");
        return result;
    }
    if (sent.timedOut) {
        result.error = QStringLiteral("The print service did not answer in time.");
        return result;
    }
    if (sent.exitStatus != 0) {
        // lp's own name before its message says nothing to a person.
        const QString said = QString::fromLocal8Bit(sent.standardError)
                                 .trimmed()
                                 .remove(QRegularExpression(QStringLiteral("^\\S*lp:\\s*")));
        result.error = said.isEmpty() ? QStringLiteral("The print service refused the job.") : said;
        return result;
    }
    const QRegularExpressionMatch id =
        QRegularExpression(QStringLiteral("request id is (\\S+)")).match(QString::fromLocal8Bit(sent.standardOutput));
    result.jobId = id.hasMatch() ? id.captured(1) : QString();
    result.printed = true;
    log(QStringLiteral("Print job %1 sent to %2").arg(result.jobId, name));
    return result;
}
}
