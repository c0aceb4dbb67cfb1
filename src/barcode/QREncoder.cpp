#include "barcode/QREncoder.h"

#include "barcode/QR_Encode.h"
#include "model/Helpers.h"

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

QImage QREncoder::renderModules(const DataMatrix& matrix, int imageDimension)
{
    const int n = int(matrix.dimension());
    int D = imageDimension;
    int s = n > 0 ? D / n : 0;
    if (s < 1) {
        Show_NSLog_Message(QStringLiteral("QR size %1 is smaller than the symbol's %2 modules; "
                                          "one pixel per module is drawn.")
                               .arg(imageDimension).arg(n));
        s = 1;
        D = n;
    }
    const int m = (D - s * n) / 2;
    QImage image(D, D, QImage::Format_RGBA8888);
    image.fill(QColor(255, 255, 255, 0));
    const QRgb dark = qRgba(0, 0, 0, 255), light = qRgba(255, 255, 255, 255);
    for (int y = 0; y < n; ++y)
        for (int x = 0; x < n; ++x) {
            const QRgb colour = matrix.valueAt(x, y) ? dark : light;
            for (int dy = 0; dy < s; ++dy) {
                auto* line = reinterpret_cast<uchar*>(image.scanLine(m + y * s + dy));
                for (int dx = 0; dx < s; ++dx) {
                    uchar* px = line + 4 * (m + x * s + dx);
                    px[0] = uchar(qRed(colour));
                    px[1] = uchar(qGreen(colour));
                    px[2] = uchar(qBlue(colour));
                    px[3] = uchar(qAlpha(colour));
                }
            }
        }
    return image;
}

QImage QREncoder::renderDataMatrix(const DataMatrix* matrix, int imageDimension, int dpi)
{
    if (!matrix || matrix->dimension() == 0)
        return QImage();
    if (imageDimension > MaxImageDimension) {
        Show_NSLog_Message(QStringLiteral("QR size %1 is too large; the largest is %2.")
                               .arg(imageDimension).arg(MaxImageDimension));
        return QImage();
    }
    try {
        const QImage modules = renderModules(*matrix, imageDimension);
        return Increase_DPI(modules, QSizeF(modules.width(), modules.height()), dpi);
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
