#pragma once
// Code 39 (digits, capitals, space and - . $ / + % *) and its full-ASCII
// form, which writes every other printable character as a pair of Code 39
// characters. Narrow element one module, wide two, one light module after
// each character: 13 modules a character.
#include "barcode/NKDBarcode.h"

class NKDCode39Barcode : public NKDBarcode {
public:
    using NKDBarcode::initWithContent;
    // Upper-cases the content; no check character.
    bool initWithContent(const QString& content, bool printsCaption) override;
    QString _encodeChar(QChar c) const override;
    QString initiator() const override;
    QString terminator() const override;
    bool isContentValid() const override;
    // Content patterns, then the check character's own pattern when there is one.
    QString barcode() const override;
    // The modulo-43 check character; the width follows.
    void generateChecksum() override;
    QString className() const override { return QStringLiteral("NKDCode39Barcode"); }

    // The 13-module pattern of a Code 39 character; "" outside the set.
    static const QString& patternOf(QChar c);
    // The value of a character for the check sum; -1 for "*" and outside the set.
    static int valueOf(QChar c);

protected:
    // The Code 39 characters the content is written with.
    virtual QString code39Text() const { return content(); }
    std::unique_ptr<NKDBarcode> newOfSameClass() const override
    {
        return std::make_unique<NKDCode39Barcode>();
    }
};

class NKDExtendedCode39Barcode : public NKDCode39Barcode {
public:
    using NKDBarcode::initWithContent;
    // Keeps the content as given, lower case included.
    bool initWithContent(const QString& content, bool printsCaption) override;
    QString _encodeChar(QChar c) const override;
    QString className() const override { return QStringLiteral("NKDExtendedCode39Barcode"); }

    // The Code 39 characters that stand for one character (one or two); "" when
    // the character has none.
    static QString code39CharsOf(QChar c);

protected:
    QString code39Text() const override;
    std::unique_ptr<NKDBarcode> newOfSameClass() const override
    {
        return std::make_unique<NKDExtendedCode39Barcode>();
    }
};
