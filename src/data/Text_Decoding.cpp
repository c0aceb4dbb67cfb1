#include "data/Text_Decoding.h"

#include <QStringDecoder>

namespace {
// Unpaired surrogates, which a damaged UTF-16 or UTF-32 file decodes to, are
// left out like the other characters a design cannot hold: the text then
// writes as UTF-8 and reads back the same.
QString withoutLoneSurrogates(const QString& text)
{
    QString kept;
    kept.reserve(text.size());
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (text[i].isHighSurrogate() && i + 1 < text.size() && text[i + 1].isLowSurrogate()) {
            kept += text[i];
            kept += text[++i];
        } else if (!text[i].isSurrogate()) {
            kept += text[i];
        }
    }
    return kept;
}
}

QString Decode_Text_File(const QByteArray& bytes)
{
    // A byte-order mark names its encoding (and is left out of the text).
    if (const auto marked = QStringConverter::encodingForData(bytes)) {
        QStringDecoder decoder(*marked);
        return withoutLoneSurrogates(decoder(bytes));
    }
    QStringDecoder utf8(QStringDecoder::Utf8);
    QString text = utf8(bytes);
    if (!utf8.hasError())
        return text;
    // Not UTF-8: a file typed in an older editor, one byte per character.
    return QString::fromLatin1(bytes);
}
