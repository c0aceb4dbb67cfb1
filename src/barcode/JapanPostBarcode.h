#pragma once
// Japan Post customer barcode: twenty characters (digits, "-", and letters
// written as a control character and a digit), padded with CC4, then a
// modulo-19 check character, between a two-bar start and stop. Each character
// is three bars (long, upper half, lower half or timing bar) with their own
// bottom and top. The symbol size s (8.5 to 11.5, 10 nominal) scales the bars
// and keeps the bar width at s / 6.
#include "barcode/NKDBarcode.h"

class JapanPostBarcode : public NKDBarcode {
public:
    using NKDBarcode::initWithContent;
    // Encodes the content and takes the height argument as the symbol size
    // when it lies from 8 to 11.5, else 10; the other arguments are not used.
    bool initWithContent(const QString& content, bool printsCaption, float andBarWidth, float andHeight,
                         float andFontSize, qint8 andCheckDigit) override;
    // Encodes the text into japanpostContents, keeps the readable part of it as
    // the content and computes the check character.
    void setContent(const QString& text) override;
    // The symbol size, clamped to 8.5 to 11.5; the bar width becomes size / 6.
    void setHeight(float height) override;
    // Clamped to 1.3333333 to 1.9166667; the size becomes six bar widths.
    void setBarWidth(float barWidth) override;
    QString japanpostContents() const { return _japanpostContents; }

    QString initiator() const override { return QStringLiteral("1010"); }
    QString terminator() const override { return QStringLiteral("101"); }
    // Three bars for any character.
    QString _encodeChar(QChar c) const override;
    // The encoded characters, then the check character.
    QString barcode() const override;
    // At least seven readable characters, the first seven digits.
    bool isContentValid() const override;
    void generateChecksum() override;
    bool printsCaption() const override { return true; }
    bool printsHeader() const override { return true; }
    bool printsFooter() const override { return true; }
    bool barsHaveOwnBottoms() const override { return true; }
    // The picture's height: the symbol's bars with the text bands and margins
    // around them, whatever the symbol size (height()) is.
    float drawingHeight() const override;
    bool barsHaveOwnTops() const override { return true; }
    float barTop(int index) const override;
    float barBottom(int index) const override;
    QString className() const override { return QStringLiteral("JapanPostBarcode"); }

    // The three bars of a character in three 4-bit groups (first bar most
    // significant; 3 long, 2 upper half, 1 lower half, 0 timing); -1 outside the table.
    static int descriptorOf(QChar c);
    // The 2-bit bar of the module at an index.
    int _barDescriptor(int index) const;

protected:
    std::unique_ptr<NKDBarcode> newOfSameClass() const override
    {
        return std::make_unique<JapanPostBarcode>();
    }

private:
    QString _japanpostContents;
};
