#include "barcode/NKDEAN13Barcode.h"

#include <algorithm>

namespace {
// Parity of digits 2 to 7 by the first digit.
const char* const First_Digit_Parity[] = {"LLLLLL", "LLGLGG", "LLGGLG", "LLGGGL", "LGLLGG",
                                          "LGGLLG", "LGGGLL", "LGLGLG", "LGLGGL", "LGGLGL"};
const QString Centre_Guard = QStringLiteral("01010");
}

QString NKDEAN13Barcode::parityOf(QChar firstDigit)
{
    const int value = firstDigit.unicode() - '0';
    return value >= 0 && value <= 9 ? QString::fromLatin1(First_Digit_Parity[value]) : QString();
}

bool NKDEAN13Barcode::initWithContent(const QString& value, bool printsCaption)
{
    if (value.isNull())
        return false;
    // The check digit is settled first, so that the modules are made and measured once.
    if (value.size() < 13) {
        setContent(value);
        generateChecksum();
    } else {
        splitTypedCheckDigit(value, 12);
    }
    return NKDBarcode::initWithContent(content(), printsCaption, Default_Bar_Width, Default_Height,
                                       Default_Font_Size, checkDigit());
}

QString NKDEAN13Barcode::barcode() const
{
    const QString& text = content();
    const int first = text.isEmpty() ? -1 : text[0].unicode() - '0';
    const char* parity = first >= 0 && first <= 9 ? First_Digit_Parity[first] : "LLLLLL";
    // Twelve patterns of seven modules at most and the centre guard, copied in place.
    QString modules(12 * 7 + Centre_Guard.size(), Qt::Uninitialized);
    QChar* out = modules.data();
    auto put = [&out](const QString& pattern) { out = std::copy(pattern.cbegin(), pattern.cend(), out); };
    for (int i = 1; i <= 6; ++i)
        put(parity[i - 1] == 'G' ? leftEvenAt(i) : leftOddAt(i));
    put(Centre_Guard);
    for (int i = 7; i <= 11; ++i)
        put(rightAt(i));
    if (checkDigit() >= 0)
        put(rightOf(QChar(ushort(checkDigit()))));
    modules.truncate(out - modules.constData());
    return modules;
}

bool NKDEAN13Barcode::isContentValid() const
{
    const QString text = content();
    return !hasSurplus() && text.size() == 12 && UPCEAN::isAllDigits(text)
           && checkDigit() == UPCEAN::checkDigitOf(text);
}

QString NKDEAN13Barcode::caption() const
{
    const QStringView text = content();
    QString caption;
    caption.reserve(15);
    caption.append(u"  ").append(text.mid(1, 6)).append(QLatin1Char('\t')).append(text.mid(7, 5));
    if (checkDigit() >= 0)
        caption.append(QChar(ushort(checkDigit())));
    return caption;
}

bool NKDEAN8Barcode::initWithContent(const QString& value, bool printsCaption)
{
    if (!NKDEAN13Barcode::initWithContent(value, printsCaption))
        return false;
    if (value.size() == 7) {
        setContent(value);
        setCheckDigit(-1);
        generateChecksum();
    } else if (value.size() == 8) {
        splitTypedCheckDigit(value, 7);
    }
    calculateWidth();
    return true;
}

QString NKDEAN8Barcode::barcode() const
{
    QString modules;
    for (int i = 0; i <= 3; ++i)
        modules += leftOddAt(i);
    modules += Centre_Guard;
    for (int i = 4; i <= 6; ++i)
        modules += rightAt(i);
    if (checkDigit() >= 0)
        modules += UPCEAN::swapHandedness(_encodeChar(QChar(ushort(checkDigit()))));
    return modules;
}

bool NKDEAN8Barcode::isContentValid() const
{
    const QString text = content();
    return !hasSurplus() && text.size() == 7 && UPCEAN::isAllDigits(text)
           && checkDigit() == UPCEAN::checkDigitOf(text);
}

QString NKDEAN8Barcode::caption() const
{
    const QString text = content();
    return QStringLiteral(" ") + text.left(4) + QLatin1Char('\t') + text.mid(4, 3) + checkText();
}

float NKDEAN8Barcode::barBottom(int index) const
{
    const int count = int(completeBarcode().size());
    if (index < 4 || index > count - 4 || index == 33 || index == 35)
        return 3.6f;
    return captionHeight() * 72;
}
