#pragma once
// Code 128: sets A (capitals, digits, punctuation and control characters),
// B (printable ASCII) and C (digit pairs), a modulo-103 check value and the
// 13-module stop. The symbol starts in the chosen set; a character that the
// current set cannot encode switches set (a shift for one character, or a
// code change), as readers expect.
#include "barcode/NKDBarcode.h"

#include <QList>
#include <QVarLengthArray>

class NKDCode128Barcode : public NKDBarcode {
public:
    enum { SetA = 0, SetB = 1, SetC = 2, SetAuto = 3 };

    using NKDBarcode::initWithContent;
    // Resolves the automatic set from the content, then computes the check value and the width.
    bool initWithContent(const QString& content, bool printsCaption) override;

    // Set before initialisation so that the initialiser sees it.
    void setCodeSet(int codeSet)
    {
        _codeSet = codeSet;
        modulesChanged();
    }
    int codeSet() const { return _codeSet; }
    int _bestCodeSetForContent() const;

    QString initiator() const override;
    QString terminator() const override;
    // The data patterns (set changes included) and the check pattern.
    QString barcode() const override;
    void generateChecksum() override;
    // Every ASCII content can be written.
    bool isContentValid() const override;
    QString _encodeChar(QChar c) const override;
    QString _encodeChar(QChar c, int withSet) const;
    bool _canEncodeChar(QChar c, int withSet) const { return !_encodeChar(c, withSet).isEmpty(); }
    // The pattern of the value of a text's leading digits (0 when none); "" above 102.
    QString _encodeNumberPair(const QString& pair) const;
    QString className() const override { return QStringLiteral("NKDCode128Barcode"); }

    // The symbol values after the start character, check value excluded.
    QList<int> dataValues() const;
    // The 11-module pattern of a symbol value 0 to 105; "" otherwise.
    static QString patternOf(int value);
    // The value of a character in set A or B; -1 when the set has none.
    static int valueIn(QChar c, int set)
    {
        const int code = c.unicode();
        if (set == SetA)
            return code < 32 ? code + 64 : code <= 95 ? code - 32 : -1;
        if (set == SetB)
            return code >= 32 && code <= 127 ? code - 32 : -1;
        return -1;
    }

    // A new model in a set (automatic included); none for an absent content.
    static std::unique_ptr<NKDCode128Barcode> withCodeSet(int codeSet, const QString& content,
                                                          bool printsCaption = true,
                                                          const BarcodeStyle* style = nullptr);

protected:
    std::unique_ptr<NKDBarcode> newOfSameClass() const override;

private:
    // The symbol values kept where they are made: a card's value fits
    // without a heap block.
    using Values = QVarLengthArray<int, 64>;
    Values symbolValues() const;

    int _codeSet = 0;
};
