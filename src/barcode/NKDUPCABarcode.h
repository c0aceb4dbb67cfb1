#pragma once
// UPC-A (a number system digit, ten digits and a check digit) and UPC-E, the
// zero-suppressed six-digit form of a UPC-A number of number system 0 or 1.
#include "barcode/NKDAbstractUPCEANBarcode.h"

class NKDUPCABarcode : public NKDAbstractUPCEANBarcode {
public:
    using NKDBarcode::initWithContent;
    // Up to eleven digits are kept and, at eleven, the check digit computed;
    // a twelfth character is taken as the typed check digit.
    bool initWithContent(const QString& content, bool printsCaption) override;
    QString barcode() const override;
    // Eleven digits whose check digit is the stored one.
    bool isContentValid() const override;
    // Digits 2-6, a tab, digits 7-11.
    QString caption() const override;
    QString className() const override { return QStringLiteral("NKDUPCABarcode"); }

protected:
    std::unique_ptr<NKDBarcode> newOfSameClass() const override
    {
        return std::make_unique<NKDUPCABarcode>();
    }
};

class NKDUPCEBarcode : public NKDUPCABarcode {
public:
    using NKDBarcode::initWithContent;
    // Seven characters are the number system and the six-digit body, whose
    // check digit is that of the UPC-A number they stand for; an eighth is the
    // typed check digit; eleven are a UPC-A number without its check digit,
    // suppressed to UPC-E where the number allows it.
    bool initWithContent(const QString& content, bool printsCaption) override;
    // Digits 2-7 in odd or even parity by the number system and the check digit.
    QString barcode() const override;
    QString terminator() const override { return QStringLiteral("010101"); }
    // Number system 0 or 1, six digits, and the check digit of the UPC-A number.
    bool isContentValid() const override;
    // Digits 2-7.
    QString caption() const override;
    float barBottom(int index) const override;
    // The check digit of the UPC-A number that the seven digits stand for.
    void generateChecksum() override;
    int dataDigits() const override { return 7; }
    QString className() const override { return QStringLiteral("NKDUPCEBarcode"); }

    // The six-digit UPC-E body of a UPC-A text (number system, ten digits,
    // check digit); "" when the text is shorter than 12 characters or its
    // zeros cannot be suppressed.
    static QString UPCAToUPCE(const QString& upca);
    // The eleven UPC-A digits (without check digit) that a number system digit
    // and a six-digit body stand for; "" for anything else.
    static QString UPCEToUPCA(const QString& upce);
    // "E" and "O" for digits 2 to 7, chosen by number system and check digit.
    static QString parityOf(QChar numberSystem, QChar checkDigit);

protected:
    std::unique_ptr<NKDBarcode> newOfSameClass() const override
    {
        return std::make_unique<NKDUPCEBarcode>();
    }
};
