#include "barcode/NKDUPCABarcode.h"

namespace {
const QString Centre_Guard = QStringLiteral("01010");
// Parity of the six UPC-E digits for number system 0, by check digit
// (E even, O odd); number system 1 takes the complement.
const char* const UPCE_Parity[] = {"EEEOOO", "EEOEOO", "EEOOEO", "EEOOOE", "EOEEOO",
                                   "EOOEEO", "EOOOEE", "EOEOEO", "EOEOOE", "EOOEOE"};

bool allZero(const QString& text)
{
    for (QChar c : text)
        if (c != QLatin1Char('0'))
            return false;
    return true;
}
}

bool NKDUPCABarcode::initWithContent(const QString& value, bool printsCaption)
{
    if (!NKDAbstractUPCEANBarcode::initWithContent(value, printsCaption))
        return false;
    if (value.size() < 12)
        generateChecksum();
    else
        splitTypedCheckDigit(value, 11);
    calculateWidth();
    return true;
}

QString NKDUPCABarcode::barcode() const
{
    QString modules;
    for (int i = 0; i <= 5; ++i)
        modules += leftOddAt(i);
    modules += Centre_Guard;
    for (int i = 6; i <= 10; ++i)
        modules += rightAt(i);
    if (checkDigit() >= 0)
        modules += UPCEAN::swapHandedness(_encodeChar(QChar(ushort(checkDigit()))));
    return modules;
}

bool NKDUPCABarcode::isContentValid() const
{
    const QString text = content();
    return !hasSurplus() && text.size() == 11 && UPCEAN::isAllDigits(text)
           && checkDigit() == UPCEAN::checkDigitOf(text);
}

QString NKDUPCABarcode::caption() const
{
    const QString text = content();
    return text.mid(1, 5) + QLatin1Char('\t') + text.mid(6, 5);
}

QString NKDUPCEBarcode::UPCAToUPCE(const QString& upca)
{
    if (upca.size() < 12 || !UPCEAN::isAllDigits(upca.left(12)))
        return QString();
    // Characters 1-5 are the manufacturer, 6-10 the product.
    const QString maker = upca.mid(1, 5), product = upca.mid(6, 5);
    if ((maker.mid(2) == QLatin1String("000") || maker.mid(2) == QLatin1String("100")
         || maker.mid(2) == QLatin1String("200"))
        && allZero(product.left(2)))
        return maker.left(2) + product.mid(2, 3) + maker[2];
    if (maker.mid(3) == QLatin1String("00") && allZero(product.left(3)))
        return maker.left(3) + product.mid(3, 2) + QLatin1Char('3');
    if (maker[4] == QLatin1Char('0') && allZero(product.left(4)))
        return maker.left(4) + product[4] + QLatin1Char('4');
    if (maker[4] != QLatin1Char('0') && allZero(product.left(4)) && product[4] >= QLatin1Char('5'))
        return maker + product[4];
    return QString();
}

QString NKDUPCEBarcode::UPCEToUPCA(const QString& upce)
{
    if (upce.size() != 7 || !UPCEAN::isAllDigits(upce))
        return QString();
    const QChar system = upce[0];
    const QString body = upce.mid(1);
    const QChar last = body[5];
    if (last <= QLatin1Char('2'))
        return system + body.left(2) + last + QStringLiteral("0000") + body.mid(2, 3);
    if (last == QLatin1Char('3'))
        return system + body.left(3) + QStringLiteral("00000") + body.mid(3, 2);
    if (last == QLatin1Char('4'))
        return system + body.left(4) + QStringLiteral("00000") + body[4];
    return system + body.left(5) + QStringLiteral("0000") + last;
}

QString NKDUPCEBarcode::parityOf(QChar numberSystem, QChar checkDigit)
{
    const int check = checkDigit.unicode() - '0';
    QString parity = QString::fromLatin1(UPCE_Parity[check >= 0 && check <= 9 ? check : 0]);
    if (numberSystem != QLatin1Char('0'))
        for (QChar& c : parity)
            c = c == QLatin1Char('E') ? QLatin1Char('O') : QLatin1Char('E');
    return parity;
}

bool NKDUPCEBarcode::initWithContent(const QString& value, bool printsCaption)
{
    if (!NKDUPCABarcode::initWithContent(value, printsCaption))
        return false;
    setContent(value);
    setSurplus(false);
    if (value.size() == 11) {
        // A UPC-A number: the check digit stays the UPC-A one; without a
        // suppressible body only the number system remains, which is refused.
        const qint8 check = UPCEAN::checkDigitOf(value);
        setCheckDigit(check);
        const QString body = check >= 0 ? UPCAToUPCE(value + QChar(ushort(check))) : QString();
        setContent(value.left(1) + body);
    } else if (value.size() == 8) {
        splitTypedCheckDigit(value, 7);
    } else if (value.size() == 7) {
        setCheckDigit(-1);
        generateChecksum();
    }
    calculateWidth();
    return true;
}

void NKDUPCEBarcode::generateChecksum()
{
    const QString upca = UPCEToUPCA(content());
    if (!upca.isEmpty())
        setCheckDigit(UPCEAN::checkDigitOf(upca));
}

QString NKDUPCEBarcode::barcode() const
{
    const QString text = content();
    const QString parity =
        parityOf(text.isEmpty() ? QLatin1Char('0') : text[0], QChar(ushort(qMax<qint8>(0, checkDigit()))));
    QString modules;
    for (int i = 1; i <= 6; ++i)
        modules += parity[i - 1] == QLatin1Char('E') ? leftEvenAt(i) : leftOddAt(i);
    return modules;
}

bool NKDUPCEBarcode::isContentValid() const
{
    const QString text = content();
    if (hasSurplus() || text.size() != 7 || !UPCEAN::isAllDigits(text))
        return false;
    if (text[0] != QLatin1Char('0') && text[0] != QLatin1Char('1'))
        return false;
    return checkDigit() == UPCEAN::checkDigitOf(UPCEToUPCA(text));
}

QString NKDUPCEBarcode::caption() const
{
    return content().mid(1, 6);
}

float NKDUPCEBarcode::barBottom(int index) const
{
    const int count = int(completeBarcode().size());
    if (index < 7 || index > count - 4)
        return 3.6f;
    return captionHeight() * 72;
}
