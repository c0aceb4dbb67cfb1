#pragma once
// The on-screen sample of one sheet in the print settings window: the same
// grid as the printed sheet, each cell numbered ("Frame 3", "Back 3") and,
// when asked, outlined. One unit is one point; it draws only on screen.
#include <QImage>
#include <QWidget>

class Sample_Preview : public QWidget {
    Q_OBJECT
public:
    explicit Sample_Preview(QWidget* parent = nullptr);

    // Draws the sample on painter (nothing without the print window's
    // printer, the white sheet only when painter does not draw on screen).
    void drawRect(QPainter& painter);
    // "Frame" and "Back" become "Frame n" in gray, n the cell's number row by
    // row from the top left; any other text is drawn as it is, in red.
    void Draw_Label_String(QPainter& painter, const QRectF& rect, const QString& str_val, int row, int col);
    // Outlines an unflipped sheet rectangle when outlines are wanted.
    void Draw_Margin_rect(QPainter& painter, const QRectF& rect);
    // A picture of the sample; null without the print window's printer.
    QImage imageRepresentation();

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    float sheetHeight = 0;
};
