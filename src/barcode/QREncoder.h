#pragma once
// The designer's door to the QR Code encoder: checks and encodes a text at a
// level and version, hands the modules over in a square grid (DataMatrix, a
// plain bit grid, no relation to the Data Matrix symbology) and turns the grid
// into a bitmap with transparent margins and opaque modules.
#include "barcode/BarcodeUnits.h"

#include <QImage>
#include <QString>
#include <memory>
#include <vector>

class DataMatrix {
public:
    explicit DataMatrix(qint64 dimension); // initWith: every cell 0
    void set(qint8 value, qint64 x, qint64 y) { _data[size_t(y)][size_t(x)] = value; }
    qint8 valueAt(qint64 x, qint64 y) const { return _data[size_t(y)][size_t(x)]; }
    qint64 dimension() const { return _dimension; }
    // One line per row, each module as its number.
    QString description() const;

private:
    qint64 _dimension = 0;
    std::vector<std::vector<qint8>> _data; // rows
};

class QREncoder {
public:
    QREncoder() = delete;
    // Level 0-3 (L, M, Q, H) and version 0 (automatic) or 1-40; values out of
    // range are clamped with a log line. The text's UTF-8 bytes are encoded in
    // the given version, or in the smallest that holds them when it is 0.
    // None when the text is empty or does not fit.
    static std::unique_ptr<DataMatrix> encodeWithECLevel(int level, int version, const QString& string);
    static std::unique_ptr<DataMatrix> encodeCStringWithECLevel(int level, int version, const char* cstring);
    // The grid on an image of imageDimension pixels a side (one pixel per
    // point), whole pixels per module, centred with transparent margins, then
    // raised to dpi. A size below the grid's dimension draws one pixel per
    // module on an image of the grid's size. Null for no grid or a size
    // too large.
    static QImage renderDataMatrix(const DataMatrix* matrix, int imageDimension,
                                   int dpi = USED_DPI_VALUE);
    // The grid as drawing data: one pixel per module, placed as
    // renderDataMatrix places it in its box of imageDimension points.
    // Null for a size too large.
    static Barcode_Grid moduleGrid(const DataMatrix& matrix, int imageDimension, int dpi = USED_DPI_VALUE);
    // The unscaled bitmap of that image, before the resolution step.
    static QImage renderModules(const DataMatrix& matrix, int imageDimension);

    // Characters of one mode (0 numeric, 1 alphanumeric, 2 8-bit) that fit a
    // version at a level as one segment.
    static int characterCapacity(int mode, int version, int level);
    // The largest QR image side accepted, in pixels.
    static constexpr int MaxImageDimension = 5000;
};
