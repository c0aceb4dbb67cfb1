#include "support/ScriptedHost.h"

#include "platform/Printing.h"

#include <QPdfWriter>
#include <QPrinter>
#include <QPrinterInfo>

namespace {
// Draws a job into a PDF laid out like printer; the file, or empty when the
// pages could not be drawn.
QString drawToFile(const QString& folder, const QString& name, QPrinter& printer, const platform::PrintJob& job)
{
    const QString path = folder + '/' + name;
    bool drawn = false;
    {
        QPdfWriter writer(path);
        writer.setPageLayout(printer.pageLayout());
        writer.setTitle(job.title);
        drawn = job.paint && job.paint(writer);
    }
    return drawn ? path : QString();
}
}

int ScriptedHost::alert(const platform::AlertRequest& request)
{
    alerts.append({request, QThread::currentThread()});
    if (whileAlertOpen)
        whileAlertOpen();
    if (alertAnswers.empty())
        return request.defaultButton;
    const QString wanted = alertAnswers.front();
    alertAnswers.pop_front();
    const int index = request.buttons.indexOf(wanted);
    return index >= 0 ? index : request.defaultButton;
}

int ScriptedHost::runModal(QDialog& dialog)
{
    modalRuns << QString::fromLatin1(dialog.metaObject()->className());
    if (modalScripts.empty())
        return 0;
    auto script = std::move(modalScripts.front());
    modalScripts.pop_front();
    return script(dialog);
}

platform::PanelResult ScriptedHost::panel(const platform::PanelRequest& request)
{
    panels.append(request);
    if (panelAnswers.empty())
        return {};
    auto result = panelAnswers.front();
    panelAnswers.pop_front();
    return result;
}

bool ScriptedHost::openWithDefaultApp(const QUrl& url)
{
    opened << url;
    return openSucceeds;
}

QStringList ScriptedHost::alertTexts() const
{
    QStringList out;
    for (const auto& a : alerts) {
        QString t = a.request.text;
        if (t.startsWith('\n'))
            t.remove(0, 1);
        out << t;
    }
    return out;
}

QColor ScriptedHost::chooseColor(const QColor&, const QString&)
{
    if (colorAnswers.empty())
        return QColor();
    const QColor c = colorAnswers.front();
    colorAnswers.pop_front();
    return c;
}

QStringList ScriptedHost::printerNames()
{
    return printers ? *printers : QPrinterInfo::availablePrinterNames();
}

int ScriptedHost::pageSetup(QPrinter& printer)
{
    if (pageSetupScripts.empty())
        return 0;
    auto script = std::move(pageSetupScripts.front());
    pageSetupScripts.pop_front();
    return script(printer);
}

void ScriptedHost::printPreview(QPrinter& printer, const platform::PrintJob& job)
{
    previewFiles << (printFolder.isEmpty()
                         ? QString()
                         : drawToFile(printFolder, QStringLiteral("preview-%1.pdf").arg(previewFiles.size() + 1),
                                      printer, job));
}

platform::PrintResult ScriptedHost::print(QPrinter& printer, const platform::PrintJob& job)
{
    platform::PrintResult result;
    if (realPrinting) {
        result = platform::Print_On_System_Printer(printer, job);
    } else {
        const QString file = printFolder.isEmpty()
                                 ? QString()
                                 : drawToFile(printFolder, QStringLiteral("print-%1.pdf").arg(printFiles.size() + 1),
                                              printer, job);
        printFiles << file;
        result.printed = !file.isEmpty();
        result.error = result.printed ? QString() : QStringLiteral("The pages could not be drawn.");
    }
    printResults << result;
    return result;
}
