#pragma once
// POSTNET and PLANET: five bars a digit, each tall or short, between a tall
// frame bar at either end, with a modulo-10 check digit. Every bar is one dark
// module and two light ones; PLANET swaps tall and short.
#include "barcode/NKDBarcode.h"

// The height a picture needs for bars of a fixed height (points) with the
// model's shown text bands and the style's margins around them.
float Postal_Picture_Height(const NKDBarcode& model, float barPoints);

class NKDPostnetBarcode : public NKDBarcode {
public:
    using NKDBarcode::initWithContent;
    // Bar width 1.08 points, height 9 points, the check digit and the width.
    bool initWithContent(const QString& content, bool printsCaption) override;
    QString initiator() const override { return QStringLiteral("100"); }
    QString terminator() const override { return QStringLiteral("1"); }
    // Five bars for any character.
    QString _encodeChar(QChar c) const override;
    // Exactly 5, 9 or 11 decimal digits.
    bool isContentValid() const override;
    // The sum of the digits made up to a multiple of ten.
    void generateChecksum() override;
    // The frame bars and the tall bars 0.125 inch, the short bars 0.05 inch.
    bool barsHaveOwnTops() const override { return true; }
    float barTop(int index) const override;
    // Never shorter than the tall bars need.
    float drawingHeight() const override;
    QString className() const override { return QStringLiteral("NKDPostnetBarcode"); }

protected:
    // Whether bar 0 to 4 of a digit is tall; what a non-digit's bars are.
    virtual bool isTall(int digit, int bar) const;
    virtual bool nonDigitIsTall() const { return false; }
    std::unique_ptr<NKDBarcode> newOfSameClass() const override
    {
        return std::make_unique<NKDPostnetBarcode>();
    }
};

class NKDPlanetBarcode : public NKDPostnetBarcode {
public:
    using NKDBarcode::initWithContent;
    QString className() const override { return QStringLiteral("NKDPlanetBarcode"); }

protected:
    bool isTall(int digit, int bar) const override { return !NKDPostnetBarcode::isTall(digit, bar); }
    bool nonDigitIsTall() const override { return true; }
    std::unique_ptr<NKDBarcode> newOfSameClass() const override
    {
        return std::make_unique<NKDPlanetBarcode>();
    }
};
