#pragma once
// Reading symbols back with the outside decoders (ZXingReader, zbarimg,
// dmtxread): one run over one or many PNG files gives, per file, the exact
// bytes of the first symbol read. Also a folder of symbol images with the
// content each must read back as.
#include <QByteArray>
#include <QImage>
#include <QList>
#include <QMap>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>

// What a decoder read from one file.
struct Decoded {
    QByteArray bytes; // the symbol's content, byte for byte
    QString ecLevel;  // as the decoder names it ("L", "M", "4"...), where it reports one
};

// One decoder run over many files. A file the decoder read nothing from has
// no entry in `read`.
struct DecodeRun {
    bool ran = false;         // the decoder started, finished and reported no error
    QString failure;          // why it did not
    QString errorOutput;      // what it wrote to its standard error, for failure messages
    QMap<QString, Decoded> read;
    // The bytes read from path; empty when nothing was read.
    QByteArray bytesOf(const QString& path) const { return read.value(path).bytes; }
};

// Where ZXingReader looks for symbols: anywhere in the picture, or (Pure)
// only as one upright symbol filling the picture but for its quiet zone.
enum class ZXingSearch { Anywhere, Pure };

// ZXingReader restricted to formats ("Code128", "EAN-13", "ITF,Codabar",
// "QRCode"...), all files in one run.
DecodeRun Decode_With_ZXing(const QStringList& pngPaths, const QString& formats,
                            ZXingSearch search = ZXingSearch::Anywhere);
// zbarimg with only the given symbologies enabled ("code128", "ean13",
// "i25"...) and extra settings (e.g. "i25.min-length=2"), all files in one run.
DecodeRun Decode_With_Zbar(const QStringList& pngPaths, const QStringList& symbologies,
                           const QStringList& settings = {});
// dmtxread, one file at a time (its output carries no file names).
DecodeRun Decode_With_Dmtxread(const QStringList& pngPaths);

// The symbol on white with a quiet zone of the given pixels, saved as PNG.
bool Save_With_Quiet_Zone(const QImage& symbol, const QString& path, int quiet);

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
