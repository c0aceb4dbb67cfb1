#pragma once
// Codabar: digits, - $ : / . + and the start/stop letters A to D, narrow
// elements one module and wide two, a narrow space between characters. The
// content carries its own start and stop letters; there is no check character.
#include "barcode/NKDBarcode.h"

class NKDCodabarBarcode : public NKDBarcode {
public:
    using NKDBarcode::initWithContent;
    // The character's pattern; "" outside the set.
    QString _encodeChar(QChar c) const override;
    // The characters' patterns with a light module between each two.
    QString barcode() const override;
    QString className() const override { return QStringLiteral("NKDCodabarBarcode"); }

protected:
    std::unique_ptr<NKDBarcode> newOfSameClass() const override
    {
        return std::make_unique<NKDCodabarBarcode>();
    }
};
