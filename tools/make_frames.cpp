// Draws the frame pictures of resources/Frames and the start wizard's
// background pattern resources/wizard_pattern.png. Each frame is a decorated
// border around a transparent window, in the proportions of the wizard's
// 120 by 150 mm card, so the photo and the texts show through.
//
//   cmake --build build --target make_frames
//   QT_QPA_PLATFORM=offscreen build/make_frames resources
#include <QDir>
#include <QGuiApplication>
#include <QPainter>
#include <QPainterPath>
#include <QRandomGenerator>
#include <cmath>
#include <functional>

namespace {
constexpr int W = 800;
constexpr int H = 1000;
constexpr double Band = 52; // the border's width; the window inside stays clear

QPainterPath star(QPointF c, double outer, double inner, int points = 5)
{
    QPainterPath p;
    for (int i = 0; i < points * 2; ++i) {
        const double a = -M_PI / 2 + i * M_PI / points;
        const double r = i % 2 ? inner : outer;
        const QPointF q(c.x() + r * std::cos(a), c.y() + r * std::sin(a));
        i ? p.lineTo(q) : p.moveTo(q);
    }
    p.closeSubpath();
    return p;
}

QPainterPath heart(QPointF c, double s)
{
    QPainterPath p;
    p.moveTo(c.x(), c.y() + s * 0.9);
    p.cubicTo(c.x() - s * 1.4, c.y() - s * 0.1, c.x() - s * 0.7, c.y() - s * 1.2, c.x(), c.y() - s * 0.45);
    p.cubicTo(c.x() + s * 0.7, c.y() - s * 1.2, c.x() + s * 1.4, c.y() - s * 0.1, c.x(), c.y() + s * 0.9);
    return p;
}

// Points spaced along the middle of the border band, clockwise from the top left.
QList<QPointF> bandPoints(double step, double inset = Band / 2)
{
    QList<QPointF> pts;
    const QRectF r(inset, inset, W - 2 * inset, H - 2 * inset);
    const double perimeter = 2 * (r.width() + r.height());
    const int n = int(perimeter / step);
    for (int i = 0; i < n; ++i) {
        double d = i * perimeter / n;
        if (d < r.width()) { pts << QPointF(r.left() + d, r.top()); continue; }
        d -= r.width();
        if (d < r.height()) { pts << QPointF(r.right(), r.top() + d); continue; }
        d -= r.height();
        if (d < r.width()) { pts << QPointF(r.right() - d, r.bottom()); continue; }
        d -= r.width();
        pts << QPointF(r.left(), r.bottom() - d);
    }
    return pts;
}

// A band of colour around a clear window with rounded corners.
void band(QPainter& p, const QBrush& brush, double width = Band, double radius = 26)
{
    QPainterPath outer;
    outer.addRect(0, 0, W, H);
    QPainterPath inner;
    inner.addRoundedRect(QRectF(width, width, W - 2 * width, H - 2 * width), radius, radius);
    p.fillPath(outer.subtracted(inner), brush);
}

void golden(QPainter& p)
{
    QLinearGradient g(0, 0, W, H);
    g.setColorAt(0, QColor(196, 154, 60));
    g.setColorAt(0.5, QColor(244, 214, 130));
    g.setColorAt(1, QColor(170, 126, 40));
    band(p, g, 40, 0);
    p.setPen(QPen(QColor(150, 110, 30), 4));
    p.drawRect(QRectF(10, 10, W - 20, H - 20));
    p.setPen(QPen(QColor(150, 110, 30), 2));
    p.drawRect(QRectF(46, 46, W - 92, H - 92));
    for (QPointF c : {QPointF(40, 40), QPointF(W - 40, 40), QPointF(40, H - 40), QPointF(W - 40, H - 40)}) {
        p.setBrush(QColor(250, 236, 180));
        p.setPen(QPen(QColor(150, 110, 30), 3));
        QPolygonF diamond({c + QPointF(0, -30), c + QPointF(30, 0), c + QPointF(0, 30), c + QPointF(-30, 0)});
        p.drawPolygon(diamond);
        p.setBrush(QColor(170, 30, 40));
        p.drawEllipse(c, 9, 9);
    }
}

void roses(QPainter& p)
{
    band(p, QColor(252, 222, 230));
    p.setPen(Qt::NoPen);
    const QList<QPointF> pts = bandPoints(62);
    for (int i = 0; i < pts.size(); ++i) {
        const QPointF c = pts[i];
        const QColor petal = i % 2 ? QColor(232, 84, 128) : QColor(246, 140, 170);
        p.setBrush(petal);
        for (int k = 0; k < 5; ++k) {
            const double a = k * 2 * M_PI / 5 + i;
            p.drawEllipse(c + QPointF(11 * std::cos(a), 11 * std::sin(a)), 10, 10);
        }
        p.setBrush(QColor(255, 214, 90));
        p.drawEllipse(c, 7, 7);
    }
}

void balloons(QPainter& p)
{
    band(p, QColor(214, 236, 252), 44);
    const QColor colours[] = {QColor(230, 70, 70), QColor(60, 140, 230), QColor(250, 200, 40), QColor(90, 190, 110)};
    int k = 0;
    for (QPointF corner : {QPointF(70, 90), QPointF(W - 70, 90), QPointF(70, H - 130), QPointF(W - 70, H - 130)}) {
        for (int j = 0; j < 3; ++j) {
            const QPointF c = corner + QPointF((j - 1) * 26 * (corner.x() < W / 2 ? 1 : -1), j % 2 ? -24 : 0);
            const QColor col = colours[(k + j) % 4];
            p.setPen(QPen(QColor(120, 120, 120), 2));
            p.drawLine(c + QPointF(0, 38), c + QPointF(j * 4 - 4, 96));
            QRadialGradient shine(c - QPointF(8, 12), 40);
            shine.setColorAt(0, col.lighter(150));
            shine.setColorAt(1, col);
            p.setPen(Qt::NoPen);
            p.setBrush(shine);
            p.drawEllipse(c, 28, 36);
        }
        ++k;
    }
}

void starry(QPainter& p)
{
    band(p, QColor(28, 40, 92));
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(255, 220, 90));
    const QList<QPointF> pts = bandPoints(48);
    for (int i = 0; i < pts.size(); ++i)
        p.drawPath(star(pts[i], i % 3 ? 11 : 18, i % 3 ? 5 : 8));
}

void confetti(QPainter& p)
{
    band(p, QColor(255, 252, 240), 48);
    QRandomGenerator rng(20261206);
    const QColor colours[] = {QColor(240, 80, 90), QColor(60, 170, 230), QColor(250, 190, 40),
                              QColor(120, 200, 90), QColor(170, 100, 220)};
    p.setPen(Qt::NoPen);
    for (int i = 0; i < 420; ++i) {
        const double x = rng.bounded(W), y = rng.bounded(H);
        if (x > 48 && x < W - 48 && y > 48 && y < H - 48)
            continue;
        p.save();
        p.translate(x, y);
        p.rotate(rng.bounded(180));
        p.setBrush(colours[rng.bounded(5)]);
        if (i % 3 == 0)
            p.drawEllipse(QPointF(0, 0), 5, 5);
        else
            p.drawRect(QRectF(-7, -3, 14, 6));
        p.restore();
    }
}

void leaves(QPainter& p)
{
    band(p, QColor(230, 244, 224));
    const QList<QPointF> pts = bandPoints(40);
    for (int i = 0; i < pts.size(); ++i) {
        p.save();
        p.translate(pts[i]);
        p.rotate(i * 47 % 360);
        p.setPen(QPen(QColor(40, 110, 50), 1.5));
        p.setBrush(i % 2 ? QColor(70, 160, 80) : QColor(120, 190, 90));
        QPainterPath leaf;
        leaf.moveTo(-18, 0);
        leaf.quadTo(0, -11, 18, 0);
        leaf.quadTo(0, 11, -18, 0);
        p.drawPath(leaf);
        p.drawLine(QPointF(-16, 0), QPointF(16, 0));
        p.restore();
    }
}

void hearts(QPainter& p)
{
    band(p, QColor(255, 236, 238));
    p.setPen(Qt::NoPen);
    const QList<QPointF> pts = bandPoints(56);
    for (int i = 0; i < pts.size(); ++i) {
        p.setBrush(i % 2 ? QColor(214, 40, 70) : QColor(240, 110, 130));
        p.drawPath(heart(pts[i], 15));
    }
}

void dots(QPainter& p)
{
    band(p, QColor(126, 74, 170), 46, 40);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(245, 235, 255));
    for (const QPointF& c : bandPoints(34, 23))
        p.drawEllipse(c, 7, 7);
    p.setPen(QPen(QColor(245, 235, 255), 3));
    p.setBrush(Qt::NoBrush);
    p.drawRoundedRect(QRectF(54, 54, W - 108, H - 108), 34, 34);
}

void pattern(const QString& path)
{
    QImage img(48, 48, QImage::Format_RGB32);
    img.fill(QColor(238, 243, 251));
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QPen(QColor(226, 233, 246), 2));
    p.drawLine(QPointF(-4, 52), QPointF(52, -4));
    p.drawLine(QPointF(-28, 28), QPointF(28, -28));
    p.drawLine(QPointF(20, 76), QPointF(76, 20));
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(220, 229, 245));
    p.drawEllipse(QPointF(12, 12), 2.5, 2.5);
    p.drawEllipse(QPointF(36, 36), 2.5, 2.5);
    p.end();
    img.save(path, "PNG");
}
}

int main(int argc, char* argv[])
{
    QGuiApplication app(argc, argv);
    const QString out = argc > 1 ? QString::fromLocal8Bit(argv[1]) : QStringLiteral("resources");
    QDir().mkpath(out + QStringLiteral("/Frames"));
    const QList<std::pair<const char*, std::function<void(QPainter&)>>> frames = {
        {"Golden_Classic", golden}, {"Rose_Garden", roses}, {"Balloons", balloons}, {"Starry_Night", starry},
        {"Confetti", confetti}, {"Green_Leaves", leaves}, {"Hearts", hearts}, {"Purple_Dots", dots}};
    for (const auto& [name, draw] : frames) {
        QImage img(W, H, QImage::Format_ARGB32_Premultiplied);
        img.fill(Qt::transparent);
        QPainter p(&img);
        p.setRenderHint(QPainter::Antialiasing);
        draw(p);
        p.end();
        img.save(out + QStringLiteral("/Frames/") + QString::fromLatin1(name) + QStringLiteral(".png"), "PNG");
    }
    pattern(out + QStringLiteral("/wizard_pattern.png"));
    return 0;
}
