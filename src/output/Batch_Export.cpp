#include "output/Batch_Export.h"

#include "model/Card_Rows.h"
#include "model/Helpers.h"
#include "output/Send_Modeless.h"
#include "platform/MainThread.h"

#include <QDir>
#include <exception>

Batch_Export_Result Export_Card_Rows(Card_Row_Source& rows, const QString& folder, const Export_Choices& choices,
                                     QWidget* sheet_parent)
{
    Batch_Export_Result result;
    result.folder = QDir(folder).filePath(QStringLiteral("Pelvoro Gleamcard"));
    if (!QDir().mkpath(result.folder)) {
        Show_MessageBox(QStringLiteral("Unable to continue saving barcode image.\n\nEither Destination Drive is "
                                       "inaccessible or there is no free space available in drive to save barcode image."));
        result.outcome = Export_Outcome::Folder_Unusable;
        return result;
    }

    Stop_SMS_Sending_Now = false;
    Send_Modeless* sheet = Send_Modeless::defaultInstance();
    bool sheetUp = false;
    Faces_Written count;
    // Only the first failure is shown; the rest would bury the user in boxes.
    const Card_Image_Writer write = [&count](const QImage& image, const QString& path) {
        return Save_Card_Image(image, path, count.failed == 0);
    };
    rows.Batch_Begin();
    try {
        list_count = rows.Batch_Row_Count();
        curr_barcode_count = 0;
        platform::runOnMainThread([&] { sheet->Begin_Batch(sheet_parent, list_count, QStringLiteral("%1 / %2 Frame")); });
        sheetUp = true;

        result.total = list_count;
        const QString suffix = choices.fileType.isEmpty() ? QString() : '.' + choices.fileType;
        bool stopped = false;
        for (int r = 0; r < list_count; ++r) {
            Wait_For_Stop_Answer();
            if (Stop_SMS_Sending_Now) {
                stopped = true;
                break;
            }
            curr_barcode_count = r + 1;
            const QString path = QDir(result.folder).filePath(QStringLiteral("Card_%1").arg(r + 1) + suffix);
            const Card_Faces faces = Render_Card_Sides(choices.side, [&](Card_Side side) {
                return rows.Card_Row_Image(r, side, choices.pixelsPerPoint());
            });
            Write_Card_Faces(choices.side, choices.combined, faces, path, Back_Card_Path(path), write, count);
            result.cards = r + 1;
        }
        // The sheet stays up until a question asked over the last card is answered.
        Wait_For_Stop_Answer();
        result.outcome = stopped ? Export_Outcome::Stopped : count.outcome();
    } catch (const std::exception& e) {
        Show_NSLog_Message(QString::fromUtf8(e.what()));
        result.outcome = Export_Outcome::Broken_Off;
    }
    result.written = count.written;
    result.failed = count.failed;

    // The design is put back while the sheet still keeps the user out.
    rows.Batch_End();
    platform::runOnMainThread([&] {
        if (sheetUp)
            sheet->End_Batch();
    });
    return result;
}
