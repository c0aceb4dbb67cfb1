#pragma once
// PDF files read the way a user's tools read them (poppler's utilities).
#include <QList>
#include <QString>

// Pages of a PDF; -1 when it cannot be read.
int Pdf_Pages(const QString& pdf);
// The text of a PDF (all pages, or page `page` from 1).
QString Pdf_Text(const QString& pdf, int page = 0);
// The images drawn on the pages, as pdfimages lists them: page and object number.
struct Pdf_Image {
    int page = 0;
    int object = 0;
};
QList<Pdf_Image> Pdf_Images(const QString& pdf);
