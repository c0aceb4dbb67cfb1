#include "model/Fonts.h"
#include "model/SKTGraphic.h"

#include <QImage>
#include <QPainter>
#include <gtest/gtest.h>

namespace {
// The rows of a white picture in which a text graphic leaves dark pixels.
QList<int> inkRows(const SKTText& text, const QSize& size)
{
    QImage img(size, QImage::Format_ARGB32);
    img.fill(Qt::white);
    QPainter painter(&img);
    text.draw(painter);
    painter.end();
    QList<int> rows;
    for (int y = 0; y < img.height(); ++y)
        for (int x = 0; x < img.width(); ++x)
            if (qGray(img.pixel(x, y)) < 160) {
                rows << y;
                break;
            }
    return rows;
}
}

// Every script an installed font has is drawn with real glyphs in the card's
// fonts (the default italic serif and the bold italic title), inside the
// height the text is measured to take.
TEST(CardText, EveryScriptAnInstalledFontHasIsDrawnWhole)
{
    const struct {
        const char* script;
        const char* text;
    } cases[] = {
        {"Latin", "Grüße, façade"},       {"Greek", "Καλημέρα κόσμε"},   {"Cyrillic", "Привет, мир"},
        {"Arabic", "مرحبا بالعالم"},      {"Hebrew", "שלום עולם"},        {"Armenian", "Բարեւ աշխարհ"},
        {"Georgian", "გამარჯობა"},        {"Mixed", "Hello مرحبا Привет"},
    };
    for (const char* postscript : {"TimesNewRomanPS-ItalicMT", "TimesNewRomanPS-BoldItalicMT"}) {
        for (const auto& c : cases) {
            SCOPED_TRACE(std::string(postscript) + " " + c.script);
            SKTText text;
            text.font = Font_From_PostScript_Name(postscript, 14);
            text.text = QString::fromUtf8(c.text) + "\n" + QString::fromUtf8(c.text);
            text.bounds = QRectF(10, 10, 200, 100);
            text.isDrawingStroke = text.isDrawingFill = false;
            EXPECT_EQ(Card_Text_Missing_Characters(text.text, text.font), QString());
            const QList<int> rows = inkRows(text, QSize(220, 120));
            ASSERT_FALSE(rows.isEmpty());
            EXPECT_GE(rows.first(), 10);
            EXPECT_LE(rows.last(), 10 + text.Text_Height(200));
            EXPECT_GT(text.Text_Height(200), 2 * 14); // two lines
        }
    }
}
