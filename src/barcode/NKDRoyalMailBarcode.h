#pragma once
// Royal Mail 4-state customer code: digits and capitals as four bars each
// (tracker, ascender, descender or full), between an ascender start bar and a
// full stop bar, with a check character from the row and column sums. Each bar
// has its own bottom and top.
#include "barcode/NKDBarcode.h"

class NKDRoyalMailBarcode : public NKDBarcode {
public:
    using NKDBarcode::initWithContent;
    // Bar width 0.5 mm, height 5.05 mm, caption flag off, the check character and the width.
    bool initWithContent(const QString& content, bool printsCaption) override;
    QString initiator() const override { return QStringLiteral("10"); }
    QString terminator() const override { return QStringLiteral("1"); }
    // Four bars for any character.
    QString _encodeChar(QChar c) const override;
    // Digits and capitals only: any other character has no bars of its own.
    bool isContentValid() const override;
    void generateChecksum() override;
    bool printsCaption() const override { return true; }
    bool printsHeader() const override { return true; }
    bool printsFooter() const override { return true; }
    bool barsHaveOwnBottoms() const override { return true; }
    // 5.05 mm with an ascender, else 3.15 mm.
    bool barsHaveOwnTops() const override { return true; }
    float barTop(int index) const override;
    // 0 with a descender, else 1.9 mm.
    float barBottom(int index) const override;
    // Never shorter than the full bars need.
    float drawingHeight() const override;
    QString className() const override { return QStringLiteral("NKDRoyalMailBarcode"); }

    // The four bars of a character in four 4-bit groups, the first bar most
    // significant (2 ascender, 1 descender); 0 outside the table.
    static int descriptorOf(QChar c);
    // The 2-bit bar of the module at an index: 2 for the start, 3 for the stop.
    int _barDescriptor(int index) const;

protected:
    std::unique_ptr<NKDBarcode> newOfSameClass() const override
    {
        return std::make_unique<NKDRoyalMailBarcode>();
    }
};
