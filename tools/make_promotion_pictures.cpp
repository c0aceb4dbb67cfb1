// Draws the pictures of the promotion window: one picture per product
// (resources/Product_*.png) and the pattern behind them
// (resources/pattern_1.jpg).
//
//   cmake --build build --target make_promotion_pictures
//   QT_QPA_PLATFORM=offscreen build/make_promotion_pictures resources
#include <QDir>
#include <QGuiApplication>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <functional>

namespace {
constexpr int S = 256;

// A rounded tile in two shades, the product's mark drawn on it in white.
QImage tile(QColor top, QColor bottom, const std::function<void(QPainter&)>& mark)
{
    QImage image(S, S, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    QLinearGradient g(0, 0, 0, S);
    g.setColorAt(0, top);
    g.setColorAt(1, bottom);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0, 0, 0, 50));
    p.drawRoundedRect(QRectF(14, 18, S - 24, S - 24), 44, 44);
    p.setBrush(g);
    p.drawRoundedRect(QRectF(8, 8, S - 24, S - 24), 44, 44);
    p.setPen(QPen(Qt::white, 10, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.setBrush(Qt::NoBrush);
    mark(p);
    return image;
}

void labels(QPainter& p)
{
    // A label sheet: two columns of rounded labels, one with address lines.
    for (int r = 0; r < 3; ++r)
        for (int c = 0; c < 2; ++c) {
            const QRectF label(48 + c * 84, 52 + r * 52, 72, 38);
            p.drawRoundedRect(label, 8, 8);
            if (r == 0 && c == 0)
                for (int line = 0; line < 2; ++line)
                    p.drawLine(QPointF(label.left() + 14, label.top() + 13 + line * 12),
                               QPointF(label.right() - 14 - line * 14, label.top() + 13 + line * 12));
        }
}

void photos(QPainter& p)
{
    // A grid of pictures, each a small mountain under a sun.
    for (int r = 0; r < 2; ++r)
        for (int c = 0; c < 2; ++c) {
            const QRectF frame(46 + c * 86, 46 + r * 86, 72, 72);
            p.drawRect(frame);
            QPainterPath hill;
            hill.moveTo(frame.left() + 8, frame.bottom() - 10);
            hill.lineTo(frame.left() + 30, frame.top() + 34);
            hill.lineTo(frame.left() + 44, frame.top() + 48);
            hill.lineTo(frame.left() + 54, frame.top() + 40);
            hill.lineTo(frame.right() - 8, frame.bottom() - 10);
            p.save();
            p.setPen(QPen(Qt::white, 6, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
            p.drawPath(hill);
            p.setBrush(Qt::white);
            p.drawEllipse(QPointF(frame.right() - 18, frame.top() + 18), 6, 6);
            p.restore();
        }
}

void tally(QPainter& p)
{
    // Bars of a barcode over a rising column chart.
    p.save();
    p.setPen(Qt::NoPen);
    p.setBrush(Qt::white);
    const int widths[] = {4, 2, 6, 2, 4, 8, 2, 4, 2, 6, 4, 2, 6};
    double x = 52;
    for (int i = 0; i < 13; ++i) {
        if (i % 2 == 0)
            p.drawRect(QRectF(x, 46, widths[i], 70));
        x += widths[i] + 4;
    }
    for (int i = 0; i < 4; ++i)
        p.drawRoundedRect(QRectF(56 + i * 34, 196 - 22 - i * 16, 22, 22 + i * 16), 4, 4);
    p.restore();
    p.drawLine(QPointF(44, 200), QPointF(196, 200));
}

QImage pattern()
{
    // Soft diagonal stripes with dots, tiling without seams.
    QImage image(64, 64, QImage::Format_RGB32);
    image.fill(QColor(236, 240, 248));
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QPen(QColor(222, 228, 240), 6));
    for (int k = -64; k <= 64; k += 32)
        p.drawLine(QPointF(k, 64), QPointF(k + 64, 0));
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(210, 218, 234));
    p.drawEllipse(QPointF(16, 16), 3, 3);
    p.drawEllipse(QPointF(48, 48), 3, 3);
    return image;
}
}

int main(int argc, char** argv)
{
    QGuiApplication app(argc, argv);
    const QString out = argc > 1 ? QString::fromLocal8Bit(argv[1]) : QStringLiteral("resources");
    QDir().mkpath(out);
    bool ok = tile(QColor(255, 158, 84), QColor(226, 88, 52), labels).save(out + "/Product_Labelwright.png");
    ok = tile(QColor(92, 190, 230), QColor(42, 112, 196), photos).save(out + "/Product_Snapsheet.png") && ok;
    ok = tile(QColor(120, 206, 140), QColor(36, 140, 98), tally).save(out + "/Product_Tallybook.png") && ok;
    ok = pattern().save(out + "/pattern_1.jpg", "JPG", 92) && ok;
    return ok ? 0 : 1;
}
