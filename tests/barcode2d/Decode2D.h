#pragma once
// Shared by the 2-D barcode tests: symbol images written as PNG files with a
// white quiet zone, read back by outside decoders run on many files at once.
#include <QByteArray>
#include <QImage>
#include <QMap>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>

// The symbol on white with a quiet zone of the given pixels, saved as PNG.
bool Save_With_Quiet_Zone(const QImage& symbol, const QString& path, int quiet);

struct Decoded {
    QByteArray bytes;  // the symbol's content
    QString ecLevel;   // as the decoder names it ("L", "M", "4"...), when it does
};
// One run of a decoder over many files: whether it ran, and what it read per path.
struct DecodeRun {
    bool ran = false;
    QString failure; // why the decoder could not run
    QMap<QString, Decoded> read;
};
// ZXingReader restricted to one format ("QRCode", "PDF417", "DataMatrix").
DecodeRun Decode_With_ZXing(const QStringList& paths, const QString& format);
// dmtxread, one file at a time (its output carries no file names).
DecodeRun Decode_With_Dmtxread(const QStringList& paths);

// A folder of PNG files with the content each must read back as.
struct SymbolBatch {
    QTemporaryDir dir;
    QStringList paths;
    QList<QByteArray> expected;
    QStringList labels; // what each case is, for failure messages
    // Saves a symbol with a quiet zone; false when the image could not be written.
    bool add(const QImage& symbol, const QByteArray& expectedBytes, const QString& label, int quiet = 40);
};
// Expects every file of the batch to read back as expected with the decoder's run.
void Expect_All_Read(const SymbolBatch& batch, const DecodeRun& run, const char* decoder);
