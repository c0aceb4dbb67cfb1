#pragma once
// Modified Plessey: each digit as four bits, least significant first, a 0 bit
// "1000" and a 1 bit "1110", between a fixed start and stop, with a
// modulo-10 check digit. The hexadecimal form also takes A to F.
#include "barcode/NKDBarcode.h"

class NKDModifiedPlesseyBarcode : public NKDBarcode {
public:
    using NKDBarcode::initWithContent;
    // Upper-cases the content, then computes the check digit and the width.
    bool initWithContent(const QString& content, bool printsCaption) override;
    // The digits 0 to 9 as bits; "" for anything else.
    QString _encodeChar(QChar c) const override;
    // The bits 1, 1, 0, 1.
    QString initiator() const override;
    QString terminator() const override;
    // From the rightmost character leftwards, every other character adds the
    // digit sum of twice its value and the rest their value; the check digit
    // brings the total to a multiple of ten.
    void generateChecksum() override;
    QString className() const override { return QStringLiteral("NKDModifiedPlesseyBarcode"); }

    // The bits of a value 0 to 15, least significant first.
    static QString bitsOf(int value);

protected:
    // The value of a character in this class's set; -1 outside it.
    virtual int valueOf(QChar c) const;
    std::unique_ptr<NKDBarcode> newOfSameClass() const override
    {
        return std::make_unique<NKDModifiedPlesseyBarcode>();
    }
};

class NKDModifiedPlesseyHexBarcode : public NKDModifiedPlesseyBarcode {
public:
    using NKDBarcode::initWithContent;
    QString className() const override { return QStringLiteral("NKDModifiedPlesseyHexBarcode"); }

protected:
    // A to F count 10 to 15.
    int valueOf(QChar c) const override;
    std::unique_ptr<NKDBarcode> newOfSameClass() const override
    {
        return std::make_unique<NKDModifiedPlesseyHexBarcode>();
    }
};
