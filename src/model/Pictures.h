#pragma once
// Reading the pictures a card shows (photos, image objects): large photos
// load at the size a card can use, and a file that cannot be read says why.
#include <QImage>
#include <QString>

extern const QString Not_A_Picture_Message; // "This file is not a picture Gleamcard can read."
extern const QString Picture_Too_Large_Message; // "This picture is too large."

// The longest side, in pixels, a card picture is kept at: a card of about
// 35 cm printed or exported at 300 dpi.
constexpr int Card_Picture_Max_Side = 4096;

// The picture in path, turned as its camera recorded and scaled down (never
// up) so its longest side is at most Card_Picture_Max_Side. A null image when
// it cannot be read; error then holds one of the two messages above.
QImage Read_Card_Picture(const QString& path, QString* error = nullptr);

// The largest rectangle of the picture's proportions that fits in box, centred
// in it; box itself when the size is empty.
QRectF Fit_Picture_In_Box(const QRectF& box, const QSizeF& picture);
