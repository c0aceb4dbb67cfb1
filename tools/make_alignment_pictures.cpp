// Draws the eighteen pictures of the print window's alignment buttons into
// the resource folder: a sheet with the block of labels in one of nine
// places, plain and selected.
//
//   cmake --build build --target make_alignment_pictures
//   QT_QPA_PLATFORM=offscreen build/make_alignment_pictures resources
#include <QDir>
#include <QGuiApplication>
#include <QPainter>
#include <cstdio>

namespace {
constexpr int Size = 36;

QImage picture(int code, bool selected)
{
    QImage img(Size, Size, QImage::Format_ARGB32);
    img.fill(Qt::transparent);
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing);
    const QColor ink = selected ? QColor(20, 90, 200) : QColor(110, 110, 110);
    // The sheet.
    const QRectF sheet(6.5, 3.5, 23, 29);
    p.setPen(QPen(ink, 1));
    p.setBrush(selected ? QColor(225, 236, 255) : Qt::white);
    p.drawRect(sheet);
    // The block of labels: three by two cells in one of nine places.
    const int row = (code - 1) / 3, col = (code - 1) % 3;
    const double bw = 11, bh = 9;
    const double x = sheet.left() + 2 + col * (sheet.width() - 4 - bw) / 2;
    const double y = sheet.top() + 2 + row * (sheet.height() - 4 - bh) / 2;
    p.setPen(Qt::NoPen);
    p.setBrush(ink);
    for (int r = 0; r < 2; ++r)
        for (int c = 0; c < 3; ++c)
            p.drawRect(QRectF(x + c * 4, y + r * 5, 3, 4));
    return img;
}
}

int main(int argc, char** argv)
{
    QGuiApplication app(argc, argv);
    if (argc < 2) {
        std::fprintf(stderr, "usage: %s RESOURCE_FOLDER\n", argv[0]);
        return 2;
    }
    const QDir folder(QString::fromLocal8Bit(argv[1]));
    // Names as the window loads them, codes 1 to 9 row by row.
    const char* const plain[9] = {"top_left", "top_center", "top_right", "middle_left", "middle_center",
                                  "middle_right", "bootom_left", "bootom_center", "boottom_right"};
    const char* const chosen[9] = {"top_left - sel", "top_center - sel", "top_right - sel",
                                   "middle_left - sel", "middle_center_sel", "middle_right - sel",
                                   "bootom_left - sel", "bootom_center - sel", "boottom_right - sel"};
    bool ok = true;
    for (int code = 1; code <= 9; ++code) {
        ok &= picture(code, false).save(folder.filePath(QString::fromLatin1(plain[code - 1]) + ".png"));
        ok &= picture(code, true).save(folder.filePath(QString::fromLatin1(chosen[code - 1]) + ".png"));
    }
    return ok ? 0 : 1;
}
