#include "barcode/DataMatrixImage.h"

#include "model/Helpers.h"

#include <QRegularExpression>
#include <mutex>
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <exception>
#include <vector>

extern "C" {
#include <iec16022/iec16022ecc200.h>
}

const QStringList DataMatrix_Format_Items = {
    QStringLiteral("Auto"),     QStringLiteral("C10X10"),   QStringLiteral("C12X12"),
    QStringLiteral("C14X14"),   QStringLiteral("C16X16"),   QStringLiteral("C18X18"),
    QStringLiteral("C20X20"),   QStringLiteral("C22X22"),   QStringLiteral("C24X24"),
    QStringLiteral("C26X26"),   QStringLiteral("C32X32"),   QStringLiteral("C36X36"),
    QStringLiteral("C40X40"),   QStringLiteral("C44X44"),   QStringLiteral("C48X48"),
    QStringLiteral("C52X52"),   QStringLiteral("C64X64"),   QStringLiteral("C72X72"),
    QStringLiteral("C80X80"),   QStringLiteral("C88X88"),   QStringLiteral("C96X96"),
    QStringLiteral("C104X104"), QStringLiteral("C120X120"), QStringLiteral("C132X132"),
    QStringLiteral("C144X144"), QStringLiteral("C8X18"),    QStringLiteral("C8X32"),
    QStringLiteral("C12X26"),   QStringLiteral("C12X36"),   QStringLiteral("C16X36"),
    QStringLiteral("C16X48")};

const QStringList DataMatrix_Encoding_Items = {QStringLiteral("Auto"), QStringLiteral("Ascii"),
                                               QStringLiteral("C40"), QStringLiteral("Text"),
                                               QStringLiteral("Base256")};

DataMatrix_Size DataMatrix_Size_Of_Format(const QString& formatItem)
{
    if (formatItem == QLatin1String("Auto"))
        return {};
    const QString rest = formatItem.mid(1);
    const qsizetype x = rest.indexOf(QLatin1Char('X'));
    if (x < 0)
        return {};
    DataMatrix_Size size;
    size.H = Trim_Str(rest.left(x)).toInt();
    size.W = Trim_Str(rest.mid(x + 1)).toInt();
    return size;
}

QByteArray makeEPS_Data_Matrix(const QByteArray& value, int W, int H, const unsigned char* grid)
{
    QByteArray eps;
    eps += "%!PS-Adobe-3.0 EPSF-3.0\n%%Creator: IEC16022 barcode/stamp generator\n%%BarcodeData: ";
    // A comment is one line: line breaks and other control bytes of the value become spaces.
    QByteArray oneLine = value;
    for (char& c : oneLine)
        if (uchar(c) < 0x20 || c == 0x7f)
            c = ' ';
    eps += oneLine;
    eps += "\n";
    eps += QByteArrayLiteral("%%BarcodeSize: ") + QByteArray::number(W) + 'x' + QByteArray::number(H) +
           "\n%%BarcodeFormat: ECC200\n%%DocumentData: Clean7Bit\n%%LanguageLevel: 1\n%%Pages: 1\n";
    eps += QByteArrayLiteral("%%BoundingBox: 0 0 ") + QByteArray::number(W + 2) + ' ' +
           QByteArray::number(H + 2) + "\n%%EndComments\n%%Page: 1 1\n" + QByteArray::number(W) + ' ' +
           QByteArray::number(H) + " 1[1 0 0 1 -1 -1]{<\n";
    int counter = 0;
    char hex[3];
    for (int y = 0; y < H; ++y) {
        int byte = 0, bits = 0;
        for (int x = 0; x < W; ++x) {
            byte = (byte << 1) | (grid[y * W + x] ? 1 : 0);
            if (++bits == 8) {
                std::snprintf(hex, sizeof hex, "%02X", byte ^ 0xFF);
                eps += hex;
                ++counter;
                byte = bits = 0;
            }
        }
        if (bits) {
            std::snprintf(hex, sizeof hex, "%02X", (byte << (8 - bits)) ^ 0xFF);
            eps += hex;
            ++counter;
        }
        eps += ' ';
        ++counter;
        if (counter >= 80) {
            eps += '\n';
            counter = 0;
        }
    }
    if (counter != 0)
        eps += '\n';
    eps += "\n>}image\n";
    return eps;
}

QImage Image_From_DataMatrix_EPS(const QByteArray& eps)
{
    // The header lines start their lines, so text inside the value's comment line never matches.
    static const QRegularExpression header(
        QStringLiteral("^%%BoundingBox: 0 0 (\\d+) (\\d+)\\n.*?\\n(\\d+) (\\d+) 1\\[1 0 0 1 -1 -1\\]\\{<\\n"),
        QRegularExpression::DotMatchesEverythingOption | QRegularExpression::MultilineOption);
    const QString text = QString::fromLatin1(eps);
    const QRegularExpressionMatch m = header.match(text);
    const qsizetype end = m.hasMatch() ? text.indexOf(QLatin1String(">}image"), m.capturedEnd()) : -1;
    if (!m.hasMatch() || end < 0)
        return QImage();
    const int boxW = m.captured(1).toInt(), boxH = m.captured(2).toInt();
    const int W = m.captured(3).toInt(), H = m.captured(4).toInt();
    if (W < 1 || H < 1 || boxW != W + 2 || boxH != H + 2)
        return QImage();
    QString data = text.mid(m.capturedEnd(), end - m.capturedEnd());
    data.remove(QRegularExpression(QStringLiteral("\\s")));
    const QByteArray bytes = QByteArray::fromHex(data.toLatin1());
    const int rowBytes = (W + 7) / 8;
    if (bytes.size() != qsizetype(rowBytes) * H)
        return QImage();
    QImage image(boxW, boxH, QImage::Format_ARGB32);
    image.fill(Qt::transparent);
    for (int r = 0; r < H; ++r) {
        // The first row written is the lowest row of the picture.
        auto* line = reinterpret_cast<QRgb*>(image.scanLine(H - r));
        for (int x = 0; x < W; ++x) {
            const bool light = (uchar(bytes[r * rowBytes + x / 8]) >> (7 - x % 8)) & 1;
            line[1 + x] = light ? qRgb(255, 255, 255) : qRgb(0, 0, 0);
        }
    }
    return image;
}

namespace {
// What the encoder made of a value: W x H modules, row 0 at the bottom, non-zero dark.
struct Encoded_DataMatrix {
    int W = 0, H = 0, moduleSize = 1;
    std::vector<unsigned char> cells;
    bool ok() const { return W > 0 && H > 0; }
};

Encoded_DataMatrix encodeDataMatrix(const QString& value, int formatIndex, int encodingIndex, int moduleSize)
{
    Encoded_DataMatrix out;
    if (formatIndex < 0 || formatIndex >= DataMatrix_Format_Items.size()) {
        Show_NSLog_Message(QStringLiteral("DataMatrix format %1 is out of range; Auto is used.").arg(formatIndex));
        formatIndex = 0;
    }
    if (encodingIndex < 0 || encodingIndex >= DataMatrix_Encoding_Items.size()) {
        Show_NSLog_Message(QStringLiteral("DataMatrix encoding %1 is out of range; Auto is used.").arg(encodingIndex));
        encodingIndex = 0;
    }
    if (moduleSize < 1) {
        Show_NSLog_Message(QStringLiteral("DataMatrix module size %1 is too small; 1 is used.").arg(moduleSize));
        moduleSize = 1;
    }
    out.moduleSize = moduleSize;
    QByteArray bytes = value.toUtf8();
    if (bytes.isEmpty())
        return out;
    if (bytes.size() > DataMatrix_Max_Bytes) {
        Show_NSLog_Message(QStringLiteral("A DataMatrix value of %1 bytes is too long; the largest is %2.")
                               .arg(bytes.size()).arg(DataMatrix_Max_Bytes));
        return out;
    }
    const int n = int(bytes.size());
    const DataMatrix_Size size = DataMatrix_Size_Of_Format(DataMatrix_Format_Items[formatIndex]);
    int W = size.W, H = size.H;
    static const char letters[] = {0, 'A', 'C', 'T', 'B'};
    QByteArray encoding;
    char* encodingPtr = nullptr;
    if (encodingIndex > 0) {
        encoding = QByteArray(n, letters[encodingIndex]);
        encodingPtr = encoding.data();
    }
    // The library keeps shared coder state: one symbol at a time.
    static std::mutex libraryMutex;
    const std::lock_guard<std::mutex> lock(libraryMutex);
    int used = 0, capacity = 0, ecc = 0;
    unsigned char* grid = iec16022ecc200(&W, &H, &encodingPtr, n, reinterpret_cast<unsigned char*>(bytes.data()),
                                         &used, &capacity, &ecc);
    // The library's own choice for bytes from 0x80 up (its byte encodation)
    // yields no symbol; ASCII encodation holds them with upper shifts.
    if (!grid && encodingIndex == 0 && std::any_of(bytes.cbegin(), bytes.cend(), [](char c) { return c & 0x80; })) {
        if (encodingPtr)
            std::free(encodingPtr);
        encoding = QByteArray(n, 'A');
        encodingPtr = encoding.data();
        W = size.W;
        H = size.H;
        used = capacity = ecc = 0;
        grid = iec16022ecc200(&W, &H, &encodingPtr, n, reinterpret_cast<unsigned char*>(bytes.data()), &used,
                              &capacity, &ecc);
    }
    // The library fills in an encoding of its own choosing when none was given.
    QByteArray chosen = encodingPtr ? QByteArray(encodingPtr) : QByteArrayLiteral("Auto");
    if (encodingPtr && encodingPtr != encoding.data())
        std::free(encodingPtr);
    if (!grid || W == 0) {
        std::free(grid);
        std::fprintf(stderr, "No barcode produced\n");
        std::printf("Size    : %dx%d\n", W, H);
        std::printf("Encoded : %d of %d bytes with %d bytes of ecc\n", used, capacity, ecc);
        std::printf("Barcode : %s\n", bytes.constData());
        std::printf("Encoding: %s\n", chosen.constData());
        std::fflush(stdout);
        return out;
    }
    out.W = W;
    out.H = H;
    out.cells.assign(grid, grid + size_t(W) * size_t(H));
    std::free(grid);
    return out;
}
}

Barcode_Grid DataMatrix_Grid(const QString& value, int formatIndex, int encodingIndex, int moduleSize, int dpi)
{
    Barcode_Grid grid;
    try {
        const Encoded_DataMatrix e = encodeDataMatrix(value, formatIndex, encodingIndex, moduleSize);
        if (!e.ok())
            return grid;
        grid.modules = New_Module_Grid(e.W, e.H);
        for (int r = 0; r < e.H; ++r) {
            uchar* row = grid.modules.scanLine(e.H - 1 - r); // row 0 is the bottom row
            for (int x = 0; x < e.W; ++x)
                if (e.cells[size_t(r) * e.W + x])
                    Set_Grid_Module(row, x);
        }
        // The symbol with a one-module edge is shown at W x H modules of
        // moduleSize points, so a module is a little smaller than that.
        grid.size = QSizeF(double(e.W) * e.moduleSize, double(e.H) * e.moduleSize);
        const double mx = grid.size.width() / (e.W + 2), my = grid.size.height() / (e.H + 2);
        grid.area = QRectF(mx, my, mx * e.W, my * e.H);
        grid.dpi = dpi;
    } catch (const std::exception& ex) {
        Show_NSLog_Message(QString::fromLocal8Bit(ex.what()));
        return Barcode_Grid();
    }
    return grid;
}

QImage Draw_DataMatrix_Barcode(const QString& value, int formatIndex, int encodingIndex, int moduleSize,
                               int dpi)
{
    try {
        const Encoded_DataMatrix e = encodeDataMatrix(value, formatIndex, encodingIndex, moduleSize);
        if (!e.ok())
            return QImage();
        // One pixel per module and a transparent one-module edge.
        QImage picture(e.W + 2, e.H + 2, QImage::Format_ARGB32);
        picture.fill(Qt::transparent);
        for (int r = 0; r < e.H; ++r) {
            auto* line = reinterpret_cast<QRgb*>(picture.scanLine(e.H - r));
            for (int x = 0; x < e.W; ++x)
                line[1 + x] = e.cells[size_t(r) * e.W + x] ? qRgb(0, 0, 0) : qRgb(255, 255, 255);
        }
        QImage image = Increase_DPI(picture, QSizeF(e.W + 2, e.H + 2), dpi);
        if (image.isNull())
            return QImage();
        Set_Image_Size_Points(image, QSizeF(double(e.W) * e.moduleSize, double(e.H) * e.moduleSize));
        return image;
    } catch (const std::exception& ex) {
        Show_NSLog_Message(QString::fromLocal8Bit(ex.what()));
        return QImage();
    }
}
