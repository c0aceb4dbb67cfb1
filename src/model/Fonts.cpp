#include "model/Fonts.h"

QFont Font_From_PostScript_Name(const QString& name, qreal pointSize)
{
    const qsizetype dash = name.indexOf('-');
    QString family = dash >= 0 ? name.left(dash) : name;
    QString style = dash >= 0 ? name.mid(dash + 1) : QString();
    for (const char* suffix : {"PSMT", "PS", "MT"}) {
        if (family.endsWith(QLatin1String(suffix)) && family.size() > int(qstrlen(suffix))) {
            family.chop(qstrlen(suffix));
            break;
        }
    }
    if (style.endsWith(QLatin1String("MT")))
        style.chop(2);
    // "TimesNewRoman" -> "Times New Roman"
    QString spaced;
    for (qsizetype i = 0; i < family.size(); ++i) {
        if (i > 0 && family[i].isUpper() && family[i - 1].isLower())
            spaced += ' ';
        spaced += family[i];
    }
    QFont font(spaced);
    font.setPointSizeF(pointSize);
    font.setBold(style.contains(QLatin1String("Bold")));
    font.setItalic(style.contains(QLatin1String("Italic")) || style.contains(QLatin1String("Oblique")));
    return font;
}
