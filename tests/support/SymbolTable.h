#pragma once
// Symbol tables: each row a type title, a value, settings besides those of a
// new graphic, and what each outside decoder must report. A row is drawn as
// the application draws a barcode graphic (Barcode_Picture on a record of
// the row's type), rasterised with a quiet zone and read back.
#include "support/Decode.h"
#include "barcode/BarcodeStyle.h"
#include "model/BarcodeArt.h"

#include <QList>
#include <QPointF>
#include <functional>

struct Symbol_Row {
    const char* type;                          // the designer's type title
    QString value;                             // as typed
    QByteArray reading;                        // what the first decoder must report; empty: not asked
    QByteArray other = {};                     // what the second decoder must report; empty: not asked
    void (*settings)(BarcodeStyle&) = nullptr; // besides Style_Of_Type's
};

// The record of a new graphic of the type, its texts hidden (a reader wants
// the symbol alone).
BarcodeStyle Style_Of_Type(const QString& type);

struct Symbol_Decoders {
    QString zxingFormat;                                   // the first decoder: ZXingReader restricted to it
    ZXingSearch search = ZXingSearch::Anywhere;
    const char* otherName = nullptr;                       // the second decoder, for failure messages
    std::function<DecodeRun(const QStringList&)> other = {};
};

// Draws every row at scale pixels per point and expects each decoder to
// report the row's reading (one run per decoder).
void Expect_Symbol_Rows_Read(const QList<Symbol_Row>& rows, const Symbol_Decoders& decoders, qreal scale = 3);

// One way of drawing the rows: a resolution and the symbol's corner in points.
struct Symbol_Drawing {
    int dpi = 216;
    QPointF offset;
};
// Every row drawn every way, read back in one run per decoder; `check`, when
// given, looks at each drawn picture first.
void Expect_Symbol_Rows_Read(const QList<Symbol_Row>& rows, const Symbol_Decoders& decoders,
                             const QList<Symbol_Drawing>& drawings,
                             const std::function<void(const Barcode_Art&, const QImage&, const Symbol_Drawing&)>&
                                 check = {});
