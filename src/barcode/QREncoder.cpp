#include "barcode/QREncoder.h"

#include "barcode/QR_Encode.h"
#include "model/Helpers.h"

#include <QPainter>

#include <algorithm>
#include <exception>

DataMatrix::DataMatrix(qint64 dimension)
    : _dimension(std::max<qint64>(dimension, 0)),
      _data(size_t(_dimension), std::vector<qint8>(size_t(_dimension), 0))
{
}

QString DataMatrix::description() const
{
    QString text;
    for (const auto& row : _data) {
        for (qint8 value : row)
            text += QString::number(value);
        text += QLatin1Char('\n');
    }
    return text;
}

std::unique_ptr<DataMatrix> QREncoder::encodeWithECLevel(int level, int version, const QString& string)
{
    const QByteArray bytes = string.toUtf8();
    return encodeCStringWithECLevel(level, version, bytes.constData());
}

std::unique_ptr<DataMatrix> QREncoder::encodeCStringWithECLevel(int level, int version, const char* cstring)
{
    try {
        if (level < 0 || level > 3) {
            Show_NSLog_Message(QStringLiteral("QR error correction level %1 is out of range; %2 is used.")
                                   .arg(level).arg(std::clamp(level, 0, 3)));
            level = std::clamp(level, 0, 3);
        }
        if (version < 0 || version > 40) {
            Show_NSLog_Message(QStringLiteral("QR version %1 is out of range; %2 is used.")
                                   .arg(version).arg(std::clamp(version, 0, 40)));
            version = std::clamp(version, 0, 40);
        }
        if (!cstring || !*cstring)
            return nullptr;
        auto encoder = std::make_unique<CQR_Encode>();
        // A chosen version is kept (the QR size follows it); automatic takes
        // the smallest version that holds the whole encoded stream.
        if (!encoder->EncodeData(level, version, false, -1, cstring, 0))
            return nullptr;
        const qint64 size = encoder->m_nSymbleSize;
        auto matrix = std::make_unique<DataMatrix>(size);
        for (qint64 x = 0; x < size; ++x)
            for (qint64 y = 0; y < size; ++y)
                matrix->set(encoder->m_byModuleData[x][y] == 1 ? 1 : 0, x, y);
        return matrix;
    } catch (const std::exception& e) {
        Show_NSLog_Message(QString::fromLocal8Bit(e.what()));
        return nullptr;
    }
}

namespace {
// Pixels per module and the image side for a grid of n modules on an image
// of D pixels a side: whole pixels per module, at least one.
struct Module_Fit {
    int D, s, m;
};
Module_Fit fitModules(int n, int imageDimension)
{
    int D = imageDimension;
    int s = n > 0 ? D / n : 0;
    if (s < 1) {
        Show_NSLog_Message(QStringLiteral("QR size %1 is smaller than the symbol's %2 modules; "
                                          "one pixel per module is drawn.")
                               .arg(imageDimension).arg(n));
        s = 1;
        D = n;
    }
    return {D, s, (D - s * n) / 2};
}
}

QImage QREncoder::renderModules(const DataMatrix& matrix, int imageDimension)
{
    const Barcode_Grid grid = moduleGrid(matrix, imageDimension);
    if (grid.isNull())
        return QImage();
    // A point is a pixel; the margins stay transparent.
    QImage image(grid.size.toSize(), QImage::Format_RGBA8888);
    image.fill(QColor(255, 255, 255, 0));
    QPainter painter(&image);
    painter.drawImage(grid.area, grid.modules);
    return image;
}

Barcode_Grid QREncoder::moduleGrid(const DataMatrix& matrix, int imageDimension, int dpi)
{
    Barcode_Grid grid;
    const int n = int(matrix.dimension());
    if (n == 0)
        return grid;
    if (imageDimension > MaxImageDimension) {
        Show_NSLog_Message(QStringLiteral("QR size %1 is too large; the largest is %2.")
                               .arg(imageDimension).arg(MaxImageDimension));
        return grid;
    }
    const Module_Fit fit = fitModules(n, imageDimension);
    grid.modules = New_Module_Grid(n, n);
    for (int y = 0; y < n; ++y) {
        uchar* row = grid.modules.scanLine(y);
        for (int x = 0; x < n; ++x)
            if (matrix.valueAt(x, y))
                Set_Grid_Module(row, x);
    }
    grid.size = QSizeF(fit.D, fit.D);
    grid.area = QRectF(fit.m, fit.m, fit.s * n, fit.s * n);
    grid.dpi = dpi;
    return grid;
}

QImage QREncoder::renderDataMatrix(const DataMatrix* matrix, int imageDimension, int dpi)
{
    if (!matrix || matrix->dimension() == 0)
        return QImage();
    try {
        return moduleGrid(*matrix, imageDimension, dpi).image();
    } catch (const std::exception& e) {
        Show_MessageBox(QString::fromLocal8Bit(e.what()));
        return QImage();
    }
}

int QREncoder::characterCapacity(int mode, int version, int level)
{
    if (version < 1 || version > 40 || level < 0 || level > 3)
        return 0;
    const int bits = QR_Data_Bits(version, level);
    const int group = version >= 27 ? 2 : version >= 10 ? 1 : 0;
    int count = 0;
    // The count grows while the segment still fits (a segment's bits grow with its length).
    int step = 4096;
    while (step > 0) {
        if (CQR_Encode::GetBitLength(std::uint8_t(mode), count + step, group) <= bits)
            count += step;
        else
            step /= 2;
    }
    return count;
}
