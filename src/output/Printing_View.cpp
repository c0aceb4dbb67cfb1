#include "output/Printing_View.h"

#include "model/Card_Rows.h"
#include "model/Globals.h"
#include "model/Helpers.h"
#include "output/Card_Output.h"

#include <QFontDatabase>
#include <QFontMetricsF>
#include <QPageLayout>
#include <QPagedPaintDevice>
#include <QPaintEngine>
#include <QPainter>
#include <exception>

namespace {
const char* const kPreviewLimitMessage =
    "For Qualitative and Performance reason, previewer shows print previews of only first 50 sheets. "
    "However, printing has no such restriction.";
constexpr quint64 kPreviewSheetLimit = 50;

QString reason(const std::exception& e) { return QString::fromUtf8(e.what()); }

QSizeF sizeInPoints(const QImage& image)
{
    return image.isNull() ? QSizeF(0, 0) : image.deviceIndependentSize();
}
}

Printing_View::Printing_View(const QImage& front, const QImage& back, Job_Disposition job, Card_Row_Source* rows)
    : m_layout(Current_Label_Sheet_Layout()), front_image(front), back_image(back), jobDisposition(job), rows(rows)
{
}

bool Printing_View::batchRowsInUse() const
{
    return rows && rows->Batch_Row_Count() > 0;
}

quint64 Printing_View::numberOfPages()
{
    try {
        // A total of 0 or less has no sheets; a sheet has at least one cell.
        const qint64 total = std::max(0, m_layout.Total_Label);
        const qint64 perSheet = qint64(std::max(1, m_layout.Print_Row)) * std::max(1, m_layout.Print_Col);
        quint64 pages = quint64(total / perSheet + (total % perSheet ? 1 : 0));
        numPages = pages;
        if (jobDisposition == Print_Preview_Job && pages > kPreviewSheetLimit) {
            Show_MessageBox(QString::fromLatin1(kPreviewLimitMessage));
            pages = kPreviewSheetLimit;
        }
        return pages;
    } catch (const std::exception& e) {
        Show_MessageBox(reason(e));
        return 0;
    }
}

bool Printing_View::loadBatchRow(int k, QImage& front, QImage& back, QSizeF& imageSize)
{
    if (k >= rows->Batch_Row_Count()) {
        front = QImage();
        return false;
    }
    try {
        const Sides_Choice choice = Sides_Choice_From_Code(m_layout.Print_Card_Side);
        const Card_Faces faces = Render_Card_Sides(
            choice, [&](Card_Side side) { return rows->Card_Row_Image(k, side, Print_Pixels_Per_Point); });
        // With the back alone the front stays as it is: the back is placed with its size.
        if (choice != Sides_Choice::Front)
            back = faces.back;
        if (choice != Sides_Choice::Back)
            front = faces.front;
    } catch (const std::exception& e) {
        Show_MessageBox(reason(e));
    }
    if (front.isNull())
        front = front_image;
    else
        imageSize = sizeInPoints(front);
    return !front.isNull();
}

void Printing_View::drawRect(QPainter& painter, const QRectF& sheet)
{
    const bool batch = batchRowsInUse();
    bool labelsReached = false;
    try {
        sheetHeight = float(sheet.height());
        QImage F = front_image, B = back_image;
        QSizeF imageSize = sizeInPoints(F);

        painter.fillRect(sheet, Qt::white);
        const Label_Sheet grid = Layout_Label_Sheet(m_layout, sheet.size());
        if (barcode_counter == 0)
            count = 0;
        if (Is_Drawing_To_Screen(painter))
            return;
        labelsReached = true;
        if (batch)
            rows->Batch_Begin();

        const Sides_Choice sides = Sides_Choice_From_Code(m_layout.Print_Card_Side);
        const bool both = sides == Sides_Choice::Both;
        const bool backOnly = sides == Sides_Choice::Back;
        auto drawCard = [&](const QImage& image, const QRectF& rect) {
            if (image.isNull())
                return;
            painter.save();
            painter.setOpacity(1.0);
            if (painter.paintEngine()->hasFeature(QPaintEngine::PorterDuff))
                painter.setCompositionMode(QPainter::CompositionMode_Source);
            painter.drawImage(Sheet_Rect_To_Page(rect, sheetHeight), image);
            painter.restore();
        };

        for (const Label_Cell& cell : grid.cells) {
            // Skipped labels (no row left, nothing rendered) leave the cell to the next label.
            while (barcode_counter < m_layout.Total_Label_Real) {
                if (batch && !loadBatchRow(count, F, B, imageSize)) {
                    ++count;
                    ++barcode_counter;
                    continue;
                }
                const Label_Image_Place place = Place_Label_Image(m_layout, cell.rect, imageSize);
                if (F.isNull()) {
                    Draw_Label_String(painter, place.image, QStringLiteral("Invalid Data"), cell.row, cell.col);
                } else {
                    drawCard(backOnly ? B : F, place.image);
                    if (both)
                        drawCard(B, place.back);
                }
                ++count;
                ++barcode_counter;
                break;
            }
            if (barcode_counter >= m_layout.Total_Label_Real)
                break;
        }
    } catch (const std::exception& e) {
        Show_MessageBox(reason(e));
    }

    // Row 0 goes back into the design, and the side on screen comes back.
    if (batch && labelsReached) {
        try {
            rows->Batch_End();
        } catch (const std::exception& e) {
            Show_MessageBox(reason(e));
        }
    }
}

void Printing_View::Draw_Label_String(QPainter& painter, const QRectF& rect, const QString& str_val, int, int)
{
    try {
        QFont font = QFontDatabase::systemFont(QFontDatabase::GeneralFont);
        font.setBold(true);
        // One unit is one point here, so 11 units are 11 points on any device.
        font.setPixelSize(11);
        const QFontMetricsF metrics(font);
        const float tw = float(metrics.horizontalAdvance(str_val));
        const float th = float(metrics.height());
        const float x = float(rect.x()) + (float(rect.width()) - tw) / 2;
        const float y = float(rect.y()) + (float(rect.height()) - th) / 2;
        painter.save();
        painter.setFont(font);
        painter.setPen(Qt::red);
        painter.drawText(Sheet_Rect_To_Page(QRectF(x, y, tw, th), sheetHeight), Qt::AlignHCenter | Qt::AlignVCenter,
                         str_val);
        painter.restore();
    } catch (const std::exception& e) {
        Show_MessageBox(reason(e));
    }
}

bool Printing_View::Print_Sheets(QPagedPaintDevice& device)
{
    // Every pass starts at the first label, so a preview can be drawn again.
    count = 0;
    barcode_counter = 0;
    const quint64 pages = numberOfPages();
    if (pages == 0)
        return true;

    const QPageLayout page = device.pageLayout();
    const QRectF paper = page.fullRect(QPageLayout::Point);
    const QRectF paintArea = page.paintRect(QPageLayout::Point);
    QPainter painter;
    if (!painter.begin(&device)) {
        Show_NSLog_Message(QStringLiteral("Label sheets could not be printed: the printer did not start."));
        return false;
    }
    // Points from the paper's top left; the device starts at its paint area.
    painter.scale(device.logicalDpiX() / 72.0, device.logicalDpiY() / 72.0);
    painter.translate(paper.left() - paintArea.left(), paper.top() - paintArea.top());
    painter.setRenderHints(QPainter::Antialiasing | QPainter::TextAntialiasing | QPainter::SmoothPixmapTransform);
    const QRectF sheet(0, 0, paper.width(), paper.height());
    for (quint64 i = 0; i < pages; ++i) {
        if (i > 0 && !device.newPage())
            break;
        drawRect(painter, sheet);
    }
    painter.end();
    return true;
}
