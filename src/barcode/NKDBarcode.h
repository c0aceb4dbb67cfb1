#pragma once
// The model of a one-dimensional barcode. A symbology subclass turns the
// content into a module string ("1" a dark module, "0" a light one); the base
// measures the symbol, splits the caption into pieces and keeps the caption,
// header and footer settings that the renderer draws from.
#include "barcode/BarcodeStyle.h"

#include <QString>
#include <memory>

class NKDBarcode {
public:
    NKDBarcode() = default;
    virtual ~NKDBarcode() = default;
    NKDBarcode(const NKDBarcode&) = delete;
    NKDBarcode& operator=(const NKDBarcode&) = delete;

    // Initialisers answer false for an absent (null) content; the object is
    // then of no use. Call exactly one of them, once.
    bool initWithContent(const QString& content) { return initWithContent(content, true); }
    // Caption on or off, bar width 0.936, height 36, caption font size 6, no check digit.
    virtual bool initWithContent(const QString& content, bool printsCaption);
    // The designated initialiser.
    virtual bool initWithContent(const QString& content, bool printsCaption, float andBarWidth,
                                 float andHeight, float andFontSize, qint8 andCheckDigit);

    // The style the model measures with; none means the live style.
    void setStyle(const BarcodeStyle* style) { _style = style; }
    const BarcodeStyle& style() const { return Barcode_Style_Or_Live(_style); }
    const BarcodeStyle* styleRecord() const { return _style; }

    virtual void setContent(const QString& content)
    {
        _content = content;
        modulesChanged();
    }
    void setHeader(const QString& header) { _header = header; }
    void setFooter(const QString& footer) { _footer = footer; }
    virtual void setHeight(float height) { _height = height; }
    void setWidth(float width) { _width = width; }
    virtual void calculateWidth();
    void setCheckDigit(qint8 checkDigit)
    {
        _checkDigit = checkDigit;
        modulesChanged();
    }
    virtual void setPrintsCaption(bool on) { _printsCaption = on; }
    virtual void setPrintsHeader(bool on) { _printsHeader = on; }
    virtual void setPrintsFooter(bool on) { _printsFooter = on; }
    virtual void setBarWidth(float barWidth) { _barWidth = barWidth; }

    const QString& content() const { return _content; }
    float height() const { return _height; }
    float width() const { return _width; }
    qint8 checkDigit() const { return _checkDigit; }
    float barWidth() const { return _barWidth; }
    virtual bool printsCaption() const { return _printsCaption; }
    virtual bool printsHeader() const { return _printsHeader; }
    virtual bool printsFooter() const { return _printsFooter; }

    virtual bool isSizeValid() const { return true; }
    virtual void generateChecksum() {}
    virtual bool isContentValid() const;
    virtual QString initiator() const { return QString(); }
    virtual QString terminator() const { return QString(); }
    // The module string of one character; "" when the symbology cannot encode it.
    virtual QString _encodeChar(QChar c) const;
    virtual QString barcode() const;
    // The whole module string; made once for a content and check digit
    // (a subclass whose other settings change the modules calls modulesChanged()).
    const QString& completeBarcode() const;

    void setCaptionHeight(float inches) { _captionHeight = inches; }
    void setHeaderHeight(float inches) { _headerHeight = inches; }
    void setFooterHeight(float inches) { _footerHeight = inches; }
    void setHeaderWidth(float points) { _headerWidth = points; }
    void setFooterWidth(float points) { _footerWidth = points; }
    float captionHeight() const { return _captionHeight; }
    float headerHeight() const { return _headerHeight; }
    float footerHeight() const { return _footerHeight; }
    float headerWidth() const { return _headerWidth; }
    float footerWidth() const { return _footerWidth; }

    // Store the size and measure the band height (inches) from the cap height
    // of the style's font; header and footer also measure their text's width,
    // so set the texts first.
    void setCaptionFontSize(float size);
    void setHeaderFontSize(float size);
    void setFooterFontSize(float size);
    float caption_fontSize() const { return _caption_fontSize; }
    float header_fontSize() const { return _header_fontSize; }
    float footer_fontSize() const { return _footer_fontSize; }

    virtual int digitsToLeft() const { return 0; }
    virtual int digitsToRight() const { return 0; }
    virtual QString leftCaption() const;
    virtual QString rightCaption() const;
    virtual QString caption() const;
    QString header() const { return _header.isNull() ? QStringLiteral("") : _header; }
    QString footer() const { return _footer.isNull() ? QStringLiteral("") : _footer; }

    // Bar extents in points measured upwards from the drawing's bottom edge,
    // for the bar whose last module has the given index.
    virtual float barBottom(int index) const;
    virtual float barTop(int index) const;
    // Whether bars have tops of their own (height-modulated postal codes);
    // otherwise every bar reaches the same barTop().
    virtual bool barsHaveOwnTops() const { return false; }
    // Whether each bar stands on its own barBottom() above the bar area's
    // bottom edge (height-modulated postal codes) instead of on that edge.
    virtual bool barsHaveOwnBottoms() const { return false; }
    // The height of the whole picture in points; a symbology whose bars have
    // a fixed size of their own may need more than height().
    virtual float drawingHeight() const { return _height; }
    virtual float firstBar() const { return 0; }
    virtual float lastBar() const { return _width - _barWidth; }

    virtual QString className() const { return QStringLiteral("NKDBarcode"); }
    QString description() const;
    // Two models are equal when their contents are.
    bool isEqual(const NKDBarcode& other) const { return _content == other._content; }
    // A new model of the same class with this one's content, caption flag,
    // bar width, height, caption font size and check digit.
    std::unique_ptr<NKDBarcode> copy() const;

protected:
    // What initWithContent(content, printsCaption) gives.
    static constexpr float Default_Bar_Width = 0.936f, Default_Height = 36.0f, Default_Font_Size = 6.0f;
    void modulesChanged() { _modulesMade = false; }
    // A fresh, uninitialised object of the same class (with its own settings
    // that precede initialisation).
    virtual std::unique_ptr<NKDBarcode> newOfSameClass() const = 0;

private:
    const BarcodeStyle* _style = nullptr;
    QString _content;
    QString _header, _footer;
    float _height = 0, _width = 0, _barWidth = 0;
    qint8 _checkDigit = -1;
    bool _printsCaption = false, _printsHeader = false, _printsFooter = false;
    float _caption_fontSize = 0, _header_fontSize = 0, _footer_fontSize = 0;
    float _captionHeight = 0, _headerHeight = 0, _footerHeight = 0;
    float _headerWidth = 0, _footerWidth = 0;
    mutable QString _modules;
    mutable bool _modulesMade = false;
};

// A new model of a symbology class, initialised with a content; none for an
// absent content.
template <class Model>
std::unique_ptr<Model> New_Barcode(const QString& content, bool printsCaption = true,
                                   const BarcodeStyle* style = nullptr)
{
    auto model = std::make_unique<Model>();
    model->setStyle(style);
    if (!model->initWithContent(content, printsCaption))
        return nullptr;
    return model;
}
