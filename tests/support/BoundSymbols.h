#pragma once
// A card design whose barcodes are bound to data sets, one of each kind (a
// new barcode's defaults), and the check that written card images carry
// each row's symbols. Needs a resource folder (TempResources) for the data
// sets and a card of at least Bound_Symbols_Card points.
#include "model/SKTDocument.h"

#include <QPointF>
#include <QSizeF>
#include <QStringList>

struct Bound_Symbol {
    const char* type;   // the designer's type title
    const char* format; // ZXingReader's name of it
    QPointF at;
    QStringList values; // one a row
};

inline const QSizeF Bound_Symbols_Card(360, 240);

// Writes a data set per symbol with `rows` values and puts the bound
// barcodes on the face.
QList<Bound_Symbol> Bind_Symbols(Face& face, int rows);
// Expects card image i to carry the row-i value of every symbol.
void Expect_Cards_Carry_Rows(const QStringList& cardPaths, const QList<Bound_Symbol>& symbols);
