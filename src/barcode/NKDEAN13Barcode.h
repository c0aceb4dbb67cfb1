#pragma once
// EAN-13 (twelve data digits and a check digit; the first digit is carried by
// the parity of the next six) and EAN-8 (seven data digits and a check digit).
#include "barcode/NKDAbstractUPCEANBarcode.h"

class NKDEAN13Barcode : public NKDAbstractUPCEANBarcode {
public:
    using NKDBarcode::initWithContent;
    // Up to twelve digits are kept and, at twelve, the check digit computed;
    // a thirteenth character is taken as the typed check digit.
    bool initWithContent(const QString& content, bool printsCaption) override;
    QString barcode() const override;
    // Twelve digits whose check digit is the stored one.
    bool isContentValid() const override;
    int digitsToRight() const override { return 0; }
    QString rightCaption() const override { return QString(); }
    // Two spaces, digits 2-7, a tab, digits 8-12 and the check digit.
    QString caption() const override;
    int dataDigits() const override { return 12; }
    QString className() const override { return QStringLiteral("NKDEAN13Barcode"); }

    // "L" and "G" for digits 2 to 7, chosen by the first digit; "" for a non-digit.
    static QString parityOf(QChar firstDigit);

protected:
    std::unique_ptr<NKDBarcode> newOfSameClass() const override
    {
        return std::make_unique<NKDEAN13Barcode>();
    }
};

class NKDEAN8Barcode : public NKDEAN13Barcode {
public:
    using NKDBarcode::initWithContent;
    // Seven digits get their check digit computed; an eighth is the typed one.
    bool initWithContent(const QString& content, bool printsCaption) override;
    QString barcode() const override;
    // Seven digits whose check digit is the stored one.
    bool isContentValid() const override;
    int digitsToLeft() const override { return 0; }
    int digitsToRight() const override { return 0; }
    // One space, digits 1-4, a tab, digits 5-7 and the check digit.
    QString caption() const override;
    float barBottom(int index) const override;
    int dataDigits() const override { return 7; }
    QString className() const override { return QStringLiteral("NKDEAN8Barcode"); }

protected:
    std::unique_ptr<NKDBarcode> newOfSameClass() const override
    {
        return std::make_unique<NKDEAN8Barcode>();
    }
};
