#include "output/LabelLayout.h"

#include <QFontDatabase>
#include <QFontMetricsF>
#include <QPageLayout>
#include <QPagedPaintDevice>
#include <QPainter>
#include <QPicture>
#include <cmath>

std::atomic<float> Left_Mar{0}, Rite_Mar{0}, Top_Mar{0}, Bot_Mar{0};
std::atomic<float> label_width{0}, label_hight{0};
std::atomic<float> horz_mar{0}, vert_mar{0};
std::atomic<int> Print_Row{1}, Print_Col{1};
std::atomic<int> Total_Label{1};
std::atomic<int> Total_Label_Real{1};
std::atomic<int> label_align_val{1};
std::atomic<bool> auto_center_flag{false};
std::atomic<bool> Show_margin_rect{true};
QString Print_Card_Side = QStringLiteral("BOTH");
QString Print_Card_Algn = QStringLiteral("U");
std::atomic<int> barcode_counter{0};

Label_Sheet_Layout Current_Label_Sheet_Layout()
{
    Label_Sheet_Layout l;
    l.Left_Mar = Left_Mar;
    l.Rite_Mar = Rite_Mar;
    l.Top_Mar = Top_Mar;
    l.Bot_Mar = Bot_Mar;
    l.label_width = label_width;
    l.label_hight = label_hight;
    l.horz_mar = horz_mar;
    l.vert_mar = vert_mar;
    l.Print_Row = Print_Row;
    l.Print_Col = Print_Col;
    l.Total_Label = Total_Label;
    l.Total_Label_Real = Total_Label_Real;
    l.label_align_val = label_align_val;
    l.auto_center_flag = auto_center_flag;
    l.Show_margin_rect = Show_margin_rect;
    l.Print_Card_Side = Print_Card_Side;
    l.Print_Card_Algn = Print_Card_Algn;
    return l;
}

Label_Sheet Layout_Label_Sheet(const Label_Sheet_Layout& l, const QSizeF& paper)
{
    // All in single precision, as the sheet has always been measured.
    Label_Sheet s;
    s.W = float(paper.width());
    s.H = float(paper.height());
    s.PW = s.W - l.Left_Mar - l.Rite_Mar;
    s.PH = s.H - l.Top_Mar - l.Bot_Mar;
    s.GW = float(l.Print_Col) * l.label_width + float(l.Print_Col - 1) * l.horz_mar;
    s.GH = float(l.Print_Row) * l.label_hight + float(l.Print_Row - 1) * l.vert_mar;

    // An alignment code outside 1 to 9 places the grid top left.
    const int code = l.label_align_val >= 1 && l.label_align_val <= 9 ? l.label_align_val : 1;
    const int vertical = (code - 1) / 3;   // 0 top, 1 middle, 2 bottom
    const int horizontal = (code - 1) % 3; // 0 left, 1 centre, 2 right

    // Bottom edge of the top row; later rows step down by a cell and a gap.
    float firstRow;
    if (l.auto_center_flag)
        firstRow = l.Bot_Mar + s.GH - l.label_hight + l.vert_mar;
    else if (vertical == 0)
        firstRow = s.H - l.label_hight - l.Top_Mar;
    else if (vertical == 1)
        firstRow = l.Bot_Mar + (s.PH - s.GH) / 2 + s.GH - l.label_hight;
    else
        firstRow = l.Bot_Mar + s.GH - l.label_hight;

    // Left edge of the first column; later columns step right by a cell and a gap.
    float firstCol;
    if (horizontal == 0)
        firstCol = l.Left_Mar;
    else if (horizontal == 1)
        firstCol = l.Left_Mar + (s.PW - s.GW) / 2;
    else
        firstCol = s.W - s.GW - l.Rite_Mar;

    QList<float> xs;
    for (int c = 1; c <= l.Print_Col; ++c) {
        if (l.auto_center_flag)
            xs << l.Left_Mar + float(c) * l.horz_mar + float(c - 1) * l.label_width;
        else if (code == 1)
            xs << l.Left_Mar + float(c - 1) * (l.horz_mar + l.label_width);
        else
            xs << (c == 1 ? firstCol : xs.last() + l.label_width + l.horz_mar);
    }

    const bool both = l.bothSides();
    float y = firstRow;
    for (int r = 1; r <= l.Print_Row; ++r) {
        if (r > 1)
            y = y - l.label_hight - l.vert_mar;
        for (int c = 1; c <= l.Print_Col; ++c) {
            const float x = xs[c - 1];
            QRectF rect;
            if (!both)
                rect = QRectF(x, y, l.label_width, l.label_hight);
            else if (l.stacked())
                rect = QRectF(x, y + l.label_hight / 2, l.label_width, l.label_hight / 2);
            else
                rect = QRectF(x, y, l.label_width / 2, l.label_hight);
            s.cells.append({r, c, rect});
        }
    }
    return s;
}

Label_Image_Place Place_Label_Image(const Label_Sheet_Layout& l, const QRectF& cell, const QSizeF& image)
{
    const float iw = float(image.width()), ih = float(image.height());
    // Room across and up the cell for the one image, or for the pair.
    float needW = iw, needH = ih;
    if (l.bothSides()) {
        if (l.stacked())
            needH = 2 * ih;
        else
            needW = 2 * iw;
    }
    float px = float(cell.x()), py = float(cell.y());
    if (l.label_width > needW)
        px += (l.label_width - needW) / 2;
    if (l.label_hight > needH)
        py += (l.label_hight - needH) / 2;

    Label_Image_Place place;
    place.image = QRectF(px, py, iw, ih);
    if (l.bothSides())
        place.back = l.stacked() ? QRectF(px, py - ih, iw, ih) : QRectF(px + iw, py, iw, ih);
    return place;
}

namespace {
// Room for the rounding of single-precision sums over a sheet (a few
// thousandths of a point), far below anything a printer shows.
constexpr double kFitTolerance = 0.01;
}

Label_Fit Fit_Label_Cells(float paper, float insetStart, float insetEnd, float cell, float gap, int typed,
                          bool autoCentre)
{
    Label_Fit fit;
    const int n = std::max(1, typed);
    fit.rewrite = typed < 1;
    const float available = paper - insetStart - insetEnd;
    // How many cells fit at most, raised to 1 so a sheet always has a cell.
    auto most = [](double cells) { return std::max(1, int(std::floor(cells + kFitTolerance))); };
    if (!autoCentre) {
        fit.gap = gap;
        fit.count = n;
        if ((available - float(n) * cell - float(n - 1) * gap) / float(n + 1) <= 0) {
            const double step = double(cell) + gap;
            const int m = step > 0 ? most((double(available) + gap) / step) : 1;
            fit.count = std::min(n, m);
        }
        fit.rewrite = fit.rewrite || fit.count < typed;
        return fit;
    }
    const float share = (available - float(n) * cell) / float(n + 1);
    if (share > 0) {
        fit.count = n;
        fit.gap = share;
        return fit;
    }
    fit.count = std::min(n, cell > 0 ? most(double(available) / cell) : 1);
    fit.gap = 0;
    fit.rewrite = true;
    return fit;
}

QSizeF Paper_Size_In_Points(const QPageLayout& layout)
{
    const QPageSize page = layout.pageSize();
    const QSizeF defined = page.definitionSize();
    double scale = 0;
    switch (page.definitionUnits()) {
    case QPageSize::Millimeter: scale = Points_Per_MM; break;
    case QPageSize::Inch: scale = Points_Per_Inch; break;
    case QPageSize::Point: scale = 1; break;
    default: break;
    }
    QSizeF points = scale > 0 ? defined * scale : QSizeF(page.sizePoints());
    if (layout.orientation() == QPageLayout::Landscape)
        points.transpose();
    return points;
}

void Draw_Label_Caption(QPainter& painter, const QRectF& rect, float sheetHeight, const QString& text,
                        const QColor& colour)
{
    QFont font = QFontDatabase::systemFont(QFontDatabase::GeneralFont);
    font.setBold(true);
    // One unit is one point here, so 11 units are 11 points on any device.
    font.setPixelSize(11);
    const QFontMetricsF metrics(font);
    const float tw = float(metrics.horizontalAdvance(text));
    const float th = float(metrics.height());
    const float x = float(rect.x()) + (float(rect.width()) - tw) / 2;
    const float y = float(rect.y()) + (float(rect.height()) - th) / 2;
    painter.save();
    painter.setFont(font);
    painter.setPen(colour);
    painter.drawText(Sheet_Rect_To_Page(QRectF(x, y, tw, th), sheetHeight), Qt::AlignHCenter | Qt::AlignVCenter,
                     text);
    painter.restore();
}

QRectF Sheet_Rect_To_Page(const QRectF& rect, float sheetHeight)
{
    return QRectF(rect.x(), double(sheetHeight) - rect.y() - rect.height(), rect.width(), rect.height());
}

bool Is_Drawing_To_Screen(const QPainter& painter)
{
    const QPaintDevice* device = painter.device();
    if (!device)
        return true;
    return !dynamic_cast<const QPagedPaintDevice*>(device) && !dynamic_cast<const QPicture*>(device);
}
