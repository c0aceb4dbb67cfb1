#pragma once
#include <QFont>
#include <QString>

// A font from its PostScript name ("TimesNewRomanPS-BoldItalicMT" is Times
// New Roman, bold italic) at a point size.
QFont Font_From_PostScript_Name(const QString& name, qreal pointSize);
