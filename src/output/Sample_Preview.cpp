#include "output/Sample_Preview.h"

#include "output/LabelLayout.h"
#include "output/Print_Wnd.h"

#include <QPainter>
#include <exception>

Sample_Preview::Sample_Preview(QWidget* parent)
    : QWidget(parent)
{
    setAttribute(Qt::WA_OpaquePaintEvent);
}

void Sample_Preview::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    drawRect(painter);
}

void Sample_Preview::drawRect(QPainter& painter)
{
    if (!Print_Var || !Print_Var->printInfo())
        return;
    const QSizeF paper = Print_Var->paperSize();
    sheetHeight = float(paper.height());
    const QImage& front = Print_Var->front_image;
    const QSizeF imageSize = front.isNull() ? QSizeF(0, 0) : front.deviceIndependentSize();

    painter.fillRect(QRectF(0, 0, width(), height()), Qt::white);
    if (!Is_Drawing_To_Screen(painter))
        return;

    // Every cell of one sheet, whatever the number of labels.
    const Label_Sheet_Layout layout = Current_Label_Sheet_Layout();
    const Label_Sheet sheet = Layout_Label_Sheet(layout, paper);
    const bool backOnly = layout.Print_Card_Side == Side_Code_Back;
    for (const Label_Cell& cell : sheet.cells) {
        if (front.isNull()) {
            Draw_Label_String(painter, cell.rect, QStringLiteral("Invalid Data"), cell.row, cell.col);
            Draw_Margin_rect(painter, cell.rect);
            continue;
        }
        Draw_Label_String(painter, cell.rect, backOnly ? QStringLiteral("Back") : QStringLiteral("Frame"), cell.row,
                          cell.col);
        Draw_Margin_rect(painter, cell.rect);
        if (layout.bothSides()) {
            const Label_Image_Place place = Place_Label_Image(layout, cell.rect, imageSize);
            Draw_Label_String(painter, place.back, QStringLiteral("Back"), cell.row, cell.col);
            Draw_Margin_rect(painter, place.back);
        }
    }
}

void Sample_Preview::Draw_Label_String(QPainter& painter, const QRectF& rect, const QString& str_val, int row,
                                       int col)
{
    try {
        if (str_val == QLatin1String("Frame") || str_val == QLatin1String("Back")) {
            const int n = (row - 1) * Print_Col + col;
            Draw_Label_Caption(painter, rect, sheetHeight, QStringLiteral("%1 %2").arg(str_val).arg(n), Qt::gray);
        } else {
            Draw_Label_Caption(painter, rect, sheetHeight, str_val, Qt::red);
        }
    } catch (const std::exception&) {
        // A caption that cannot be drawn is left out.
    }
}

void Sample_Preview::Draw_Margin_rect(QPainter& painter, const QRectF& rect)
{
    if (!Show_margin_rect)
        return;
    painter.save();
    painter.setPen(QPen(Qt::darkGray, 0));
    painter.setBrush(Qt::NoBrush);
    painter.drawRect(Sheet_Rect_To_Page(rect, sheetHeight));
    painter.restore();
}

QImage Sample_Preview::imageRepresentation()
{
    if (!Print_Var || !Print_Var->printInfo())
        return {};
    return grab().toImage();
}
