#include "output/Printing_View.h"

#include "model/Card_Rows.h"
#include "model/Globals.h"
#include "model/Helpers.h"
#include "output/Card_Output.h"

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

void Printing_View::drawRect(QPainter& painter, const QRectF& sheet)
{
    const bool batch = batchRowsInUse();
    bool labelsReached = false;
    try {
        sheetHeight = float(sheet.height());
        painter.fillRect(sheet, Qt::white);
        const Label_Sheet grid = Layout_Label_Sheet(m_layout, sheet.size());
        if (barcode_counter == 0)
            count = 0;
        if (Is_Drawing_To_Screen(painter))
            return;
        labelsReached = true;
        if (batch)
            rows->Batch_Begin();

        for (const Label_Cell& cell : grid.cells) {
            // Skipped labels (no row left) leave the cell to the next label.
            while (barcode_counter < m_layout.Total_Label_Real) {
                const bool drawn = drawLabel(painter, cell, batch);
                ++count;
                ++barcode_counter;
                if (drawn)
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
            rowsWithoutBarcode += rows->Rows_Without_Barcode();
            rows->Batch_End();
        } catch (const std::exception& e) {
            Show_MessageBox(reason(e));
        }
    }
}

bool Printing_View::drawLabel(QPainter& painter, const Label_Cell& cell, bool batch)
{
    if (batch && count >= rows->Batch_Row_Count())
        return false;
    const QSizeF imageSize = sizeInPoints(front_image);
    const Label_Image_Place place = Place_Label_Image(m_layout, cell.rect, imageSize);
    if (front_image.isNull()) {
        // Nothing to print: a bound label is skipped, any other says so.
        if (batch)
            return false;
        Draw_Label_String(painter, place.image, QStringLiteral("Invalid Data"), cell.row, cell.col);
        return true;
    }
    const Sides_Choice sides = Sides_Choice_From_Code(m_layout.Print_Card_Side);
    if (!rows) {
        drawImage(painter, sides == Sides_Choice::Back ? back_image : front_image, place.image);
        if (sides == Sides_Choice::Both)
            drawImage(painter, back_image, place.back);
        return true;
    }
    // The back first, so a design filled row by row ends on its front.
    const int row = batch ? count : -1;
    if (sides == Sides_Choice::Back) {
        drawFace(painter, row, Side_Back, place.image);
        return true;
    }
    if (sides == Sides_Choice::Both)
        drawFace(painter, row, Side_Back, place.back);
    // A front the design could not draw prints as the print window saw it.
    if (!drawFace(painter, row, Side_Front, place.image))
        drawImage(painter, front_image, place.image);
    return true;
}

bool Printing_View::drawFace(QPainter& painter, int row, Card_Side side, const QRectF& place)
{
    const QRectF page = Sheet_Rect_To_Page(place, sheetHeight);
    painter.save();
    painter.setClipRect(page, Qt::IntersectClip);
    painter.translate(page.topLeft());
    bool drawn = false;
    try {
        drawn = rows->Draw_Card_Row(row, side, painter);
    } catch (const std::exception& e) {
        Show_MessageBox(reason(e));
    }
    painter.restore();
    return drawn;
}

void Printing_View::drawImage(QPainter& painter, const QImage& image, const QRectF& place)
{
    if (image.isNull())
        return;
    painter.save();
    painter.setOpacity(1.0);
    if (painter.paintEngine()->hasFeature(QPaintEngine::PorterDuff))
        painter.setCompositionMode(QPainter::CompositionMode_Source);
    painter.drawImage(Sheet_Rect_To_Page(place, sheetHeight), image);
    painter.restore();
}

void Printing_View::Draw_Label_String(QPainter& painter, const QRectF& rect, const QString& str_val, int, int)
{
    try {
        Draw_Label_Caption(painter, rect, sheetHeight, str_val, Qt::red);
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
    // The sheet as the paper is defined, not rounded to whole points.
    const QRectF sheet(QPointF(0, 0), Paper_Size_In_Points(page));
    bool complete = true;
    for (quint64 i = 0; i < pages; ++i) {
        if (i > 0 && !device.newPage()) {
            Show_NSLog_Message(QStringLiteral("Label sheets could not be printed: no new page after sheet %1.").arg(i));
            complete = false;
            break;
        }
        drawRect(painter, sheet);
    }
    return painter.end() && complete;
}
