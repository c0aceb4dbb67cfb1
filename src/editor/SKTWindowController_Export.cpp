// Export of card images: one file of the current design, or one image per
// batch row written by a worker thread with the progress sheet up.
#include "editor/SKTWindowController.h"

#include "canvas/SKTGraphicView.h"
#include "model/Batch_Sources.h"
#include "model/Globals.h"
#include "model/Helpers.h"
#include "output/Batch_Export.h"
#include "output/ExportWindow.h"
#include "platform/Host.h"
#include "platform/MainThread.h"

#include <QAbstractButton>
#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QFileInfo>
#include <QLabel>
#include <QPainter>
#include <QThread>
#include <atomic>
#include <exception>

namespace {
std::atomic<bool> g_batchRunning{false};
const QString kExported = QStringLiteral("Frame has been exported successfully.");

// path + "." + type, or path alone when there is no type.
QString withExtension(const QString& path, const QString& type)
{
    return type.isEmpty() ? path : path + '.' + type;
}
}

QStringList SKTWindowController::Bound_Data_Sets_Without_Rows() const
{
    QStringList names;
    auto collect = [&](const Face& face) {
        for (const GraphicPtr& g : face)
            if (g && g->data_source_type == Source_Data_Set && !names.contains(g->batch_list_name)
                && batch.data_table_content.value(g->batch_list_name).isEmpty())
                names << g->batch_list_name;
    };
    collect(document.graphics);
    if (Card_Has_Back())
        collect(document.graphics_back);
    return names;
}

bool SKTWindowController::Batch_Running()
{
    return g_batchRunning.load();
}

QString SKTWindowController::Create_Front_Card_Path(const QString& path) const
{
    return path;
}

QString SKTWindowController::Create_Back_Card_Path(const QString& path) const
{
    return Back_Card_Path(path);
}

Export_Choices SKTWindowController::currentExportChoices() const
{
    Export_Choices c;
    c.side = Sides_Choice_From_Code(export_card_side);
    if (exportWindow) {
        c.fileType = exportWindow->fileFormatPopup->currentText();
        c.combined = exportWindow->export_combined_image_chk->isChecked();
        c.dpi = exportWindow->Chosen_DPI();
    } else {
        c.fileType = ExportWindow::File_Types().value(0, QStringLiteral("png"));
    }
    return c;
}

bool SKTWindowController::Export_File_Function(const QString& path, const QImage& image, bool show_msg)
{
    const bool ok = Save_gen_image(image, path);
    if (ok && show_msg) {
        Export_File_Path = path;
        Export_File_Message = kExported;
        Open_Export_File_Box();
    }
    return ok;
}

bool SKTWindowController::Export_Combined_Image(const QImage& front, const QImage& back, const QString& path,
                                                bool show_msg)
{
    try {
        const QImage combined = Combined_Card_Image(front, back);
        return !combined.isNull() && Export_File_Function(path, combined, show_msg);
    } catch (const std::exception& e) {
        Show_NSLog_Message(QString::fromUtf8(e.what()));
        return false;
    }
}

bool SKTWindowController::Export_Single_File(const QString& path, bool show_msg)
{
    const int savedSide = Card_Front_Or_Back;
    const Export_Choices choices = currentExportChoices();
    bool ok = false;
    try {
        const Card_Faces faces = Render_Card_Sides(
            choices.side, [&](Card_Side side) { return batch.Card_Row_Image(-1, side, choices.pixelsPerPoint()); });
        // A back file beside the chosen file is replaced only when the user agrees.
        const QString backPath = Create_Back_Card_Path(path);
        const bool backFileWanted = choices.side == Sides_Choice::Back
                                    || (choices.side == Sides_Choice::Both && !choices.combined);
        const bool writeBack = backFileWanted
                               && (!QFileInfo::exists(backPath)
                                   || Show_YES_NO_MessageBox(QStringLiteral("\"%1\" already exists. Do you want to replace it?")
                                                                 .arg(QFileInfo(backPath).fileName())));
        if (choices.side == Sides_Choice::Back && !writeBack) {
            ok = false;
        } else {
            Faces_Written count;
            Write_Card_Faces(
                choices.side, choices.combined, faces, Create_Front_Card_Path(path), writeBack ? backPath : QString(),
                [this](const QImage& image, const QString& to) { return Save_gen_image(image, to); }, count);
            ok = count.outcome() == Export_Outcome::Written && count.written > 0;
            if (ok && show_msg) {
                Export_File_Path = choices.side == Sides_Choice::Back ? backPath : Create_Front_Card_Path(path);
                Export_File_Message = kExported;
                Open_Export_File_Box();
            }
        }
    } catch (const std::exception& e) {
        Show_NSLog_Message(QString::fromUtf8(e.what()));
        ok = false;
    }
    Card_Front_Or_Back = savedSide;
    return ok;
}

bool SKTWindowController::Export_As_Template_Clicked(const QString& preview_path)
{
    if (!exportWindow)
        exportWindow = new ExportWindow(this);
    export_card_side = QStringLiteral("BOTH");
    exportWindow->export_combined_image_chk->setChecked(true);
    exportWindow->saveDPIText->setCurrentIndex(0); // the preview is drawn at screen size
    return Export_Single_File(preview_path, false);
}

void SKTWindowController::Export_Button()
{
    try {
        if (Batch_Running())
            return;
        if (!exportWindow)
            exportWindow = new ExportWindow(this);
        ExportWindow* dlg = exportWindow;
        dlg->saveDPIText->setCurrentIndex(0);
        dlg->saveDPIText->setEnabled(true);
        dlg->export_file_type_CellClick(0);
        dlg->export_combined_image_chk->setChecked(false);
        dlg->export_card_side_CellClick(1);

        batch.Check_Series_Or_Excel_Use_or_not();
        if (!batch.Sources_Found())
            return;
        const QStringList empty = Bound_Data_Sets_Without_Rows();
        dlg->batch_note->setVisible(!Use_Data_Sheet_Values && !empty.isEmpty());
        dlg->batch_note->setText(
            (empty.size() == 1 ? QStringLiteral("One card per row is off: the data set %1 has no values.")
                               : QStringLiteral("One card per row is off: the data sets %1 have no values."))
                .arg('"' + empty.join(QStringLiteral("\", \"")) + '"'));
        dlg->Export_with_batch_chk->setEnabled(Use_Data_Sheet_Values);
        dlg->Export_with_batch_chk->setChecked(Use_Data_Sheet_Values);
        dlg->Export_with_excel_chk->setEnabled(Use_Excel_Binding_Values);
        dlg->Export_with_excel_chk->setChecked(Use_Excel_Binding_Values);

        const int code = platform::runModal(*dlg);
        dlg->hide();
        if (code != 1)
            return;
        if (Use_Data_Sheet_Values && !dlg->Export_with_batch_chk->isChecked())
            Use_Data_Sheet_Values = false;
        if (Use_Excel_Binding_Values && !dlg->Export_with_excel_chk->isChecked())
            Use_Excel_Binding_Values = false;
        batch.Get_total_Card_count();

        if (!Use_Data_Sheet_Values && !Use_Excel_Binding_Values) {
            platform::PanelRequest request;
            request.kind = platform::PanelRequest::Save;
            request.title = QStringLiteral("Export");
            request.extensions = {dlg->fileFormatPopup->currentText()};
            request.fileName = withExtension(QStringLiteral("Card"), dlg->fileFormatPopup->currentText());
            const platform::PanelResult result = platform::runPanel(request);
            if (!result.accepted || result.path().isEmpty())
                return;
            QString path = result.path();
            const QString type = dlg->fileFormatPopup->currentText();
            if (QFileInfo(path).suffix().compare(type, Qt::CaseInsensitive) != 0)
                path = withExtension(path, type);
            raise();
            activateWindow();
            Export_Single_File(path, true);
            return;
        }
        if (!batch.Confirm_Source_Lengths())
            return;
        platform::PanelRequest request;
        request.kind = platform::PanelRequest::Folder;
        request.title = QStringLiteral("Choose a folder for the cards");
        const platform::PanelResult result = platform::runPanel(request);
        if (!result.accepted || result.path().isEmpty())
            return;
        Start_Batch_Export(result.path());
    } catch (const std::exception& e) {
        Show_NSLog_Message(QString::fromUtf8(e.what()));
    }
}

bool SKTWindowController::Start_Batch_Export(const QString& folder)
{
    bool expected = false;
    if (!g_batchRunning.compare_exchange_strong(expected, true))
        return false;
    const Export_Choices choices = currentExportChoices();
    QThread* worker = QThread::create([this, folder, choices] {
        Export_Batch_File(folder, choices);
        g_batchRunning = false;
    });
    connect(worker, &QThread::finished, worker, &QObject::deleteLater);
    worker->start();
    return true;
}

static QString Batch_Export_Message(const Batch_Export_Result& result)
{
    QString message;
    if (result.outcome == Export_Outcome::Stopped)
        message = QStringLiteral("The export was stopped: %1 of %2 cards were written.").arg(result.cards).arg(result.total);
    if (result.failed > 0)
        message = (message.isEmpty() ? QString() : message + '\n')
                  + QStringLiteral("%1 of %2 files could not be written.")
                        .arg(result.failed)
                        .arg(result.failed + result.written);
    if (message.isEmpty())
        message = kExported;
    const QString note = Rows_Without_Barcode_Note(result.rowsWithoutBarcode, QStringLiteral("Cards written"));
    return note.isEmpty() ? message : message + '\n' + note;
}

void SKTWindowController::Export_Batch_File(const QString& folder, const Export_Choices& choices)
{
    const Batch_Export_Result result = Export_Card_Rows(batch, folder, choices, this);
    const bool wrote = result.outcome == Export_Outcome::Written || result.outcome == Export_Outcome::Some_Failed
                       || result.outcome == Export_Outcome::Stopped;
    if (wrote) {
        Export_File_Path = result.folder;
        Export_File_Message = Batch_Export_Message(result);
    }
    platform::runOnMainThread([this] {
        _graphicView->update();
        _graphicView_BACK->update();
    });
    if (wrote)
        Open_Export_File_Box();
}
