#include "platform/Host.h"

#include "platform/LookAndFeel.h"
#include "platform/MainThread.h"
#include "platform/Printing.h"

#include <QApplication>
#include <QColorDialog>
#include <QDesktopServices>
#include <QDialog>
#include <QFileDialog>
#include <QFileInfo>
#include <QGridLayout>
#include <QMessageBox>
#include <QPageSetupDialog>
#include <QPrintPreviewDialog>
#include <QPrinter>
#include <QPrinterInfo>
#include <QPushButton>
#include <algorithm>
#include <atomic>

namespace platform {
namespace {
QtHost g_qtHost;
std::atomic<Host*> g_host{&g_qtHost};

QWidget* dialogParent()
{
    if (auto* w = QApplication::activeModalWidget())
        return w;
    return QApplication::activeWindow();
}
}

Host* setHost(Host* h)
{
    return g_host.exchange(h ? h : &g_qtHost);
}

Host& host() { return *g_host.load(); }

int showAlert(const AlertRequest& request)
{
    int answer = 0;
    runOnMainThread([&] { answer = host().alert(request); });
    return answer;
}

int runModal(QDialog& dialog)
{
    int code = 0;
    runOnMainThread([&] { code = host().runModal(dialog); });
    return code;
}

namespace {
// The file a save panel's answer names once its extension is settled.
QString savedPath(const PanelRequest& request, const PanelResult& result)
{
    const QString path = result.path();
    const QString name = QFileInfo(path).fileName();
    const qsizetype dot = name.lastIndexOf(QLatin1Char('.'));
    const QString suffix = dot > 0 ? name.mid(dot + 1) : QString(); // ".name" has no extension
    auto named = [&](const QString& ext) { return !suffix.isEmpty() && suffix.compare(ext, Qt::CaseInsensitive) == 0; };
    if (!request.typeChoices.isEmpty()) {
        const QString ext = request.typeChoices.value(result.typeChoice, request.typeChoices.first());
        if (ext.isEmpty() || named(ext))
            return path;
        return path.left(path.size() - (dot > 0 ? suffix.size() + 1 : 0)) + QLatin1Char('.') + ext;
    }
    if (request.extensions.isEmpty() || request.extensions.first().isEmpty()
        || std::any_of(request.extensions.cbegin(), request.extensions.cend(), named))
        return path;
    return path + QLatin1Char('.') + request.extensions.first();
}
}

PanelResult runPanel(const PanelRequest& request)
{
    PanelRequest asked = request;
    for (;;) {
        PanelResult result;
        runOnMainThread([&] { result = host().panel(asked); });
        if (asked.kind != PanelRequest::Save || !result.accepted || result.path().isEmpty())
            return result;
        result.paths = QStringList{savedPath(asked, result)};
        const QFileInfo file(result.path());
        if (!file.exists() && !file.isSymLink())
            return result;
        AlertRequest replace;
        replace.text = QStringLiteral("\"%1\" already exists. Do you want to replace it?").arg(file.fileName());
        replace.buttons = {QStringLiteral("Yes"), QStringLiteral("No")};
        if (showAlert(replace) == 0)
            return result;
        asked.directory = file.absolutePath();
        asked.fileName = file.fileName();
        asked.typeChoice = result.typeChoice;
    }
}

bool openUrl(const QUrl& url)
{
    bool ok = false;
    runOnMainThread([&] { ok = host().openWithDefaultApp(url); });
    return ok;
}

bool openPath(const QString& path) { return openUrl(QUrl::fromLocalFile(path)); }

QColor runColorPanel(const QColor& initial, const QString& title)
{
    QColor colour;
    runOnMainThread([&] { colour = host().chooseColor(initial, title); });
    return colour;
}

QStringList printerNames()
{
    QStringList names;
    runOnMainThread([&] { names = host().printerNames(); });
    return names;
}

int runPageSetup(QPrinter& printer)
{
    int code = 0;
    runOnMainThread([&] { code = host().pageSetup(printer); });
    return code;
}

void runPrintPreview(QPrinter& printer, const PrintJob& job)
{
    runOnMainThread([&] { host().printPreview(printer, job); });
}

PrintResult runPrint(QPrinter& printer, const PrintJob& job)
{
    PrintResult result;
    runOnMainThread([&] { result = host().print(printer, job); });
    return result;
}

QColor QtHost::chooseColor(const QColor& initial, const QString& title)
{
    return QColorDialog::getColor(initial, dialogParent(), title);
}

int QtHost::alert(const AlertRequest& request)
{
    QMessageBox box(dialogParent());
    box.setWindowTitle(request.title.isEmpty() ? QStringLiteral("Gleamcard") : request.title);
    box.setText(request.text);
    QList<QAbstractButton*> buttons;
    for (int i = 0; i < request.buttons.size(); ++i) {
        auto* b = box.addButton(request.buttons[i],
                                i == 0 ? QMessageBox::AcceptRole : QMessageBox::RejectRole);
        buttons << b;
        if (i == request.defaultButton)
            box.setDefaultButton(b);
    }
    box.exec();
    const int index = buttons.indexOf(box.clickedButton());
    // Closing the box without a button counts as the last (cancelling) one.
    return index >= 0 ? index : int(buttons.size()) - 1;
}

int QtHost::runModal(QDialog& dialog)
{
    return dialog.exec();
}

PanelResult QtHost::panel(const PanelRequest& request)
{
    QFileDialog dlg(dialogParent(), request.title, request.directory);
    dlg.setOption(QFileDialog::DontUseNativeDialog, request.accessory != nullptr);
    switch (request.kind) {
    case PanelRequest::Open:
        dlg.setAcceptMode(QFileDialog::AcceptOpen);
        dlg.setFileMode(request.allowMultiple ? QFileDialog::ExistingFiles : QFileDialog::ExistingFile);
        break;
    case PanelRequest::Save:
        dlg.setAcceptMode(QFileDialog::AcceptSave);
        dlg.setFileMode(QFileDialog::AnyFile);
        // The replace question is asked once the name is final (runPanel).
        dlg.setOption(QFileDialog::DontConfirmOverwrite, true);
        if (!request.fileName.isEmpty())
            dlg.selectFile(request.fileName);
        break;
    case PanelRequest::Folder:
        dlg.setAcceptMode(QFileDialog::AcceptOpen);
        dlg.setFileMode(QFileDialog::Directory);
        dlg.setOption(QFileDialog::ShowDirsOnly, true);
        break;
    }
    QStringList typeFilters;
    for (const QString& ext : request.typeChoices)
        typeFilters << QStringLiteral("%1 (*.%2 *.%3)").arg(ext, ext.toLower(), ext.toUpper());
    if (!typeFilters.isEmpty() && request.kind == PanelRequest::Save) {
        // A name typed without an extension takes the chosen type's, so the
        // panel's own question about replacing a file sees the final name.
        dlg.setNameFilters(typeFilters);
        const int first = std::clamp(request.typeChoice, 0, int(typeFilters.size()) - 1);
        dlg.selectNameFilter(typeFilters[first]);
        dlg.setDefaultSuffix(request.typeChoices[first]);
        QObject::connect(&dlg, &QFileDialog::filterSelected, &dlg, [&](const QString& filter) {
            const qsizetype i = typeFilters.indexOf(filter);
            if (i >= 0)
                dlg.setDefaultSuffix(request.typeChoices[i]);
        });
    } else if (!request.extensions.isEmpty() && request.kind != PanelRequest::Folder) {
        QStringList patterns;
        for (const QString& ext : request.extensions)
            patterns << "*." + ext.toLower() << "*." + ext.toUpper();
        dlg.setNameFilter(patterns.join(' '));
    }
    if (request.accessory) {
        if (auto* grid = qobject_cast<QGridLayout*>(dlg.layout()))
            grid->addWidget(request.accessory, grid->rowCount(), 0, 1, grid->columnCount());
    }
    PanelResult result;
    result.accepted = dlg.exec() == QDialog::Accepted;
    if (result.accepted) {
        result.paths = dlg.selectedFiles();
        result.typeChoice = std::max<int>(0, typeFilters.indexOf(dlg.selectedNameFilter()));
    }
    if (request.accessory)
        request.accessory->setParent(nullptr);
    return result;
}

bool QtHost::openWithDefaultApp(const QUrl& url)
{
    return QDesktopServices::openUrl(url);
}

QStringList QtHost::printerNames()
{
    return QPrinterInfo::availablePrinterNames();
}

int QtHost::pageSetup(QPrinter& printer)
{
    QPageSetupDialog dialog(&printer, dialogParent());
    return dialog.exec() == QDialog::Accepted ? 1 : 0;
}

void QtHost::printPreview(QPrinter& printer, const PrintJob& job)
{
    QPrintPreviewDialog preview(&printer, dialogParent());
    preview.setWindowTitle(job.title);
    QObject::connect(&preview, &QPrintPreviewDialog::paintRequested, &preview, [&job](QPrinter* pages) {
        if (pages && job.paint)
            job.paint(*pages);
    });
    Fit_Window_On_Screen(&preview, QSize(900, 800));
    preview.exec();
}

PrintResult QtHost::print(QPrinter& printer, const PrintJob& job)
{
    return Print_On_System_Printer(printer, job);
}
}
