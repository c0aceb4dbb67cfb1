#pragma once
#include "support/Rasterise.h"
// Rendering family symbols to PNG files and reading many of them back with
// the outside decoders in one run each.
#include "barcode/BarcodeStyle.h"

#include <QByteArray>
#include <QImage>
#include <QMap>
#include <QPicture>
#include <QString>
#include <QStringList>

class NKDBarcode;

// Dresses a model as the designer does (caption on, header and footer off,
// a 20-mil bar, bars barPoints high) and draws it at scale pixels per point
// on white with a white margin of margin pixels.
QImage Render_Model(NKDBarcode& model, const BarcodeStyle& style, qreal scale = 3, int margin = 60,
                    float barPoints = 40);


// What a decoder read from each file (path -> text); files it read nothing
// from are missing. `failure` says why the decoder could not run at all.
struct DecodedFiles {
    bool ran = false;
    QString failure;
    QMap<QString, QByteArray> texts;
};
// ZXingReader restricted to formats ("EAN-13", "ITF,Codabar" ...), all files in one run.
DecodedFiles Read_With_ZXing(const QStringList& pngPaths, const QString& formats);
// zbarimg with only the given symbologies enabled ("ean13", "i25" ...) and
// extra -S settings (e.g. "i25.min-length=2"), all files in one run.
DecodedFiles Read_With_Zbar(const QStringList& pngPaths, const QStringList& symbologies,
                            const QStringList& settings = {});

// The topmost and bottommost dark pixel rows of one column; (-1, -1) when none.
QPair<int, int> Dark_Span(const QImage& image, int column);
