#include "data/Text_Decoding.h"

#include <QStringDecoder>

QString Decode_Text_File(const QByteArray& bytes)
{
    // A byte-order mark names its encoding (and is left out of the text).
    if (const auto marked = QStringConverter::encodingForData(bytes)) {
        QStringDecoder decoder(*marked);
        return decoder(bytes);
    }
    QStringDecoder utf8(QStringDecoder::Utf8);
    QString text = utf8(bytes);
    if (!utf8.hasError())
        return text;
    // Not UTF-8: a file typed in an older editor, one byte per character.
    return QString::fromLatin1(bytes);
}
