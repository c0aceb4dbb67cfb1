#include "barcode/NKDBarcode.h"

#include "barcode/BarcodeText.h"
#include "barcode/LinearLayout.h"

bool NKDBarcode::initWithContent(const QString& content, bool printsCaption)
{
    return initWithContent(content, printsCaption, Default_Bar_Width, Default_Height, Default_Font_Size, -1);
}

bool NKDBarcode::initWithContent(const QString& content, bool printsCaption, float andBarWidth,
                                 float andHeight, float andFontSize, qint8 andCheckDigit)
{
    if (content.isNull())
        return false;
    setContent(content);
    setPrintsCaption(printsCaption);
    setBarWidth(andBarWidth);
    setHeight(andHeight);
    _caption_fontSize = andFontSize;
    // The check digit is part of the modules the width is measured from.
    setCheckDigit(andCheckDigit);
    calculateWidth();
    return true;
}

void NKDBarcode::calculateWidth()
{
    _width = float(completeBarcode().size()) * _barWidth;
}

bool NKDBarcode::isContentValid() const
{
    for (QChar c : _content)
        if (_encodeChar(c).isEmpty())
            return false;
    return true;
}

QString NKDBarcode::_encodeChar(QChar) const
{
    return QStringLiteral("1010");
}

const QString& NKDBarcode::completeBarcode() const
{
    if (!_modulesMade) {
        const QString start = initiator(), body = barcode(), end = terminator();
        _modules.clear();
        _modules.reserve(start.size() + body.size() + end.size());
        _modules.append(start).append(body).append(end);
        _modulesMade = true;
    }
    return _modules;
}

QString NKDBarcode::barcode() const
{
    QString modules;
    for (QChar c : _content)
        modules += _encodeChar(c);
    if (_checkDigit != -1)
        modules += _encodeChar(QChar(uchar(_checkDigit)));
    return modules;
}

void NKDBarcode::setCaptionFontSize(float size)
{
    _caption_fontSize = size;
    _captionHeight = Barcode_Band_Height(style().value_font_val);
}

void NKDBarcode::setHeaderFontSize(float size)
{
    const BarcodeStyle& s = style();
    _header_fontSize = size;
    _headerHeight = Barcode_Band_Height(s.header_font_val);
    // A hidden header is not measured.
    _headerWidth = printsHeader() ? float(Barcode_Text_Width(header(), s.header_font_val)) : 0.0f;
}

void NKDBarcode::setFooterFontSize(float size)
{
    const BarcodeStyle& s = style();
    _footer_fontSize = size;
    _footerHeight = Barcode_Band_Height(s.footer_font_val);
    _footerWidth = printsFooter() ? float(Barcode_Text_Width(footer(), s.footer_font_val)) : 0.0f;
}

QString NKDBarcode::leftCaption() const
{
    return _content.left(qMax(0, digitsToLeft()));
}

QString NKDBarcode::rightCaption() const
{
    return _content.right(qMax(0, digitsToRight()));
}

QString NKDBarcode::caption() const
{
    const int left = qMax(0, digitsToLeft()), right = qMax(0, digitsToRight());
    QString text = left == 0 && right == 0
                       ? _content
                       : _content.mid(left, qMax<qsizetype>(0, _content.size() - left - right));
    // The caption is one line: a tab or line break in the value (which the
    // renderer would take for a piece separator) is shown as a space; a
    // caption without one shares the content's text.
    for (qsizetype i = 0; i < text.size(); ++i)
        if (text.at(i).unicode() < 0x20 || text.at(i).unicode() == 0x7f)
            text[i] = QLatin1Char(' ');
    return text;
}

float NKDBarcode::barBottom(int) const
{
    float bottom = 0;
    if (printsCaption())
        bottom += _captionHeight * 72;
    if (printsHeader())
        bottom += _headerHeight * 72;
    if (printsFooter())
        bottom += _footerHeight * 72;
    return bottom;
}

float NKDBarcode::barTop(int) const
{
    return _height - Layout_Linear_Barcode(*this, nullptr, Linear_Detail::Bands).bands;
}

QString NKDBarcode::description() const
{
    const QString check = _checkDigit >= 0 ? QString(QChar(ushort(_checkDigit))) : QString();
    return QStringLiteral("\n\tBarcode Class: %1\n\tContent: %2\n\tCheck Digit:%3\n\tWidth:%4"
                          "\n\tHeight:%5\n\tBar Width:%6\n\tCaption Font Size:%7\n\tCaption Height:%8")
        // One call, so a "%1" inside the content is never taken for a place holder.
        .arg(className(), _content, check, QString::number(_width, 'f', 6), QString::number(_height, 'f', 6),
             QString::number(_barWidth, 'f', 6), QString::number(_caption_fontSize, 'f', 6),
             QString::number(_captionHeight, 'f', 6));
}

std::unique_ptr<NKDBarcode> NKDBarcode::copy() const
{
    std::unique_ptr<NKDBarcode> other = newOfSameClass();
    other->setStyle(_style);
    if (!other->initWithContent(_content, _printsCaption, _barWidth, _height, _caption_fontSize,
                                _checkDigit))
        return nullptr;
    other->calculateWidth();
    return other;
}
