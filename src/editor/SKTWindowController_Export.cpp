// Export of card images: one file of the current design, or one image per
// batch row written by a worker thread with the progress sheet up.
#include "editor/SKTWindowController.h"

#include "canvas/SKTGraphicView.h"
#include "canvas/SKTRenderingView.h"
#include "editor/Globals.h"
#include "model/Helpers.h"
#include "output/ExportWindow.h"
#include "output/Send_Modeless.h"
#include "platform/Host.h"
#include "platform/MainThread.h"

#include <QAbstractButton>
#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QFileInfo>
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
    const QFileInfo info(path);
    const QString name = info.fileName();
    const qsizetype dot = name.lastIndexOf('.');
    const QString base = dot > 0 ? name.left(dot) : name;
    const QString ext = dot > 0 ? name.mid(dot + 1) : QString();
    const QString backName = withExtension(base + QStringLiteral("_Back"), ext);
    const qsizetype slash = path.lastIndexOf('/');
    return slash < 0 ? backName : path.left(slash + 1) + backName;
}

SKTWindowController::Export_Choices SKTWindowController::currentExportChoices() const
{
    Export_Choices c;
    c.side = export_card_side;
    if (exportWindow) {
        c.fileType = exportWindow->fileFormatPopup->currentText();
        c.combined = exportWindow->export_combined_image_chk->isChecked();
    } else {
        c.fileType = ExportWindow::File_Types.first();
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

namespace {
// Front above back, each at its own size; null (and logged) when either is missing.
QImage combinedCard(const QImage& front, const QImage& back)
{
    if (front.isNull() || back.isNull()) {
        Show_NSLog_Message(QStringLiteral("Invalid image"));
        return {};
    }
    const int w = front.width(), h = front.height();
    QImage combined(w, 2 * h, QImage::Format_ARGB32_Premultiplied);
    combined.fill(Qt::transparent);
    QPainter p(&combined);
    p.setCompositionMode(QPainter::CompositionMode_Source);
    p.drawImage(0, 0, front);
    p.drawImage(0, h, back);
    p.end();
    return combined;
}
}

bool SKTWindowController::Export_Combined_Image(const QImage& front, const QImage& back, const QString& path,
                                                bool show_msg)
{
    try {
        const QImage combined = combinedCard(front, back);
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
        auto render = [&](int side) {
            Card_Front_Or_Back = side;
            return SKTRenderingView::image_From_Card_Graphics(side == 0 ? document.graphics : document.graphics_back,
                                                              false);
        };
        // A back file beside the chosen file is replaced only when the user agrees.
        auto backMayBeWritten = [&](const QString& backPath) {
            return !QFileInfo::exists(backPath)
                   || Show_YES_NO_MessageBox(QStringLiteral("\"%1\" already exists. Do you want to replace it?")
                                                 .arg(QFileInfo(backPath).fileName()));
        };
        const QString backPath = Create_Back_Card_Path(path);
        if (choices.side == QLatin1String("BOTH")) {
            const QImage back = render(1);
            bool backOk = true;
            if (!choices.combined && backMayBeWritten(backPath))
                backOk = Export_File_Function(backPath, back, false);
            const QImage front = render(0);
            if (choices.combined) {
                ok = Export_Combined_Image(front, back, path, show_msg);
            } else {
                const bool frontOk = Export_File_Function(Create_Front_Card_Path(path), front, show_msg && backOk);
                ok = backOk && frontOk;
            }
        } else if (choices.side == QLatin1String("F")) {
            ok = Export_File_Function(Create_Front_Card_Path(path), render(0), show_msg);
        } else if (backMayBeWritten(backPath)) {
            ok = Export_File_Function(backPath, render(1), show_msg);
        }
    } catch (const std::exception& e) {
        Show_NSLog_Message(QString::fromUtf8(e.what()));
        ok = false;
    }
    Card_Front_Or_Back = savedSide;
    return ok;
}

void SKTWindowController::Export_As_Template_Clicked(const QString& preview_path)
{
    if (!exportWindow)
        exportWindow = new ExportWindow(this);
    export_card_side = QStringLiteral("BOTH");
    exportWindow->export_combined_image_chk->setChecked(true);
    Export_Single_File(preview_path, false);
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

        Check_Series_Or_Excel_Use_or_not();
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
        Get_total_Card_count();

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

void SKTWindowController::Export_Batch_File(const QString& folder, const Export_Choices& choices)
{
    Card_Value_In_Process = true;
    const int savedSide = Card_Front_Or_Back;
    Keep_Main_Photo_For_Batch();
    Stop_SMS_Sending_Now = false;
    Send_Modeless* sheet = Send_Modeless::defaultInstance();

    const QString batchFolder = QDir(folder).filePath(QStringLiteral("Pelvoro Gleamcard"));
    if (!QDir().mkpath(batchFolder)) {
        Show_MessageBox(QStringLiteral("Unable to continue saving barcode image.\n\nEither Destination Drive is "
                                       "inaccessible or there is no free space available in drive to save barcode image."));
        Card_Value_In_Process = false;
        Restore_Main_Photo_After_Batch();
        return;
    }

    int written = 0, failed = 0;
    bool sheetUp = false;
    // The first failed file is shown with its reason; the rest are counted.
    auto write = [&](const QString& path, const QImage& image) {
        if (Save_gen_image(image, path, failed == 0))
            ++written;
        else
            ++failed;
    };
    try {
        list_count = Total_Batch_Excel_Card.load();
        curr_barcode_count = 0;
        platform::runOnMainThread([&] { sheet->Begin_Batch(this, list_count, QStringLiteral("%1 / %2 Frame")); });
        sheetUp = true;

        for (int r = 0; r < list_count && !Stop_SMS_Sending_Now; ++r) {
            curr_barcode_count = r + 1;
            const QString base = QDir(batchFolder).filePath(withExtension(QStringLiteral("Card_%1").arg(r + 1), choices.fileType));
            if (choices.side == QLatin1String("BOTH")) {
                const QImage back = Set_data_table_value_to_card(r, QStringLiteral("B"), false);
                if (!choices.combined)
                    write(Create_Back_Card_Path(base), back);
                const QImage front = Set_data_table_value_to_card(r, QStringLiteral("F"), false);
                if (choices.combined) {
                    const QImage combined = combinedCard(front, back);
                    if (combined.isNull())
                        ++failed;
                    else
                        write(base, combined);
                } else {
                    write(base, front);
                }
            } else if (choices.side == QLatin1String("F")) {
                write(base, Set_data_table_value_to_card(r, QStringLiteral("F"), false));
            } else {
                write(Create_Back_Card_Path(base), Set_data_table_value_to_card(r, QStringLiteral("B"), false));
            }
        }
    } catch (const std::exception& e) {
        Show_NSLog_Message(QString::fromUtf8(e.what()));
        failed = -1;
    }

    // The design is put back while the sheet still keeps the user out: every
    // side shows row 0 again, then the main photo and the side on screen come back.
    Select_first_row_value_for_design(false);
    Restore_Main_Photo_After_Batch();
    Card_Front_Or_Back = savedSide;
    if (failed >= 0) {
        Export_File_Path = batchFolder;
        Export_File_Message = failed == 0 ? kExported
                                          : QStringLiteral("%1 of %2 files could not be written.").arg(failed).arg(failed + written);
    }
    platform::runOnMainThread([&] {
        if (sheetUp)
            sheet->End_Batch();
        _graphicView->update();
        _graphicView_BACK->update();
    });
    if (failed < 0)
        return;
    Open_Export_File_Box();
}
