// Makes the built-in card templates of resources/Templates: each a design
// log and its preview picture, drawn from the application's own graphics and
// written by its own design-log writer and template preview, exactly as
// Save as Template writes a user template. The texts carry the profile
// fields' control identifiers, so a profile entered in the wizards fills them.
//
//   cmake --build build --target make_templates
//   QT_QPA_PLATFORM=offscreen build/make_templates resources
#include "barcode/BarcodeDispatch.h"
#include "barcode/Barcode_Gen.h"
#include "editor/SKTWindowController.h"
#include "model/Fonts.h"
#include "model/Globals.h"
#include "model/Helpers.h"
#include "model/SKTGraphic.h"
#include "wizards/User_Profile_Class.h"

#include <QApplication>
#include <QDir>
#include <QFileInfo>
#include <algorithm>
#include <cstdio>

namespace {
SKTWindowController* wnd = nullptr;

QString fieldId(int field) { return QString(Profile_Fields()[field].ctrl_ID); }

// A text on the card; a fill colour makes it a coloured band.
GraphicPtr text(Face& face, const QRectF& r, const QString& value, const QString& font, qreal size,
                const QColor& colour, Qt::Alignment align = Qt::AlignHCenter, const QString& id = {},
                const QColor& fill = {})
{
    auto g = std::make_shared<SKTText>();
    g->bounds = r;
    g->text = g->Text_Value = value;
    g->font = Font_From_PostScript_Name(font, size);
    g->textColor = colour;
    g->alignment = align;
    g->control_ID = id;
    g->isDrawingStroke = false;
    g->isDrawingFill = fill.isValid();
    if (fill.isValid())
        g->fillColor = fill;
    face.append(g);
    return g;
}

void band(Face& face, const QRectF& r, const QColor& fill) { text(face, r, QString(), "ArialMT", 8, Qt::black, Qt::AlignLeft, {}, fill); }

void photo(Face& face, const QRectF& r)
{
    // No picture of its own: the profile's photo takes its place.
    auto g = std::make_shared<SKTImage>();
    g->bounds = r;
    g->control_ID = fieldId(Profile_image);
    g->isDrawingStroke = true;
    g->strokeColor = QColor(200, 200, 200);
    face.append(g);
}

void barcode(Face& face, const QRectF& r, const QString& value)
{
    auto g = std::make_shared<SKTBarcode>();
    g->bounds = r;
    g->barcode_font_index = int(Barcode_Type_Items.indexOf(QStringLiteral("Code 128")));
    g->linear_font_val = g->Text_Value = value;
    g->header_val = g->footer_val = QString();
    BarcodeStyle style = Barcode_Gen::Style_Of_Graphic(*g);
    g->Set_Barcode_image(Barcode_Picture(style, value, g->header_val, g->footer_val));
    face.append(g);
}

void begin(double width_mm, double height_mm, bool twoSided)
{
    wnd->New_Project_Setting_Reset();
    wnd->Set_Card_Size_In_Control(width_mm, height_mm);
    wnd->Card_Size_Changed();
    CARD_SIDE_STR = twoSided ? QStringLiteral("2") : QStringLiteral("1");
}

bool finish(const QString& folder, const QString& name)
{
    const QString base = folder + '/' + name;
    if (!wnd->Save_project_file(base + '.' + design_file_EXT, false))
        return false;
    wnd->Export_As_Template_Clicked(base + QStringLiteral(".png"));
    return QFileInfo::exists(base + QStringLiteral(".png"));
}

Face& front() { return wnd->document.graphics; }
Face& back() { return wnd->document.graphics_back; }

// Each template is drawn front-most last: the faces keep index 0 frontmost,
// so the graphics are reversed before saving.
void frontmostFirst()
{
    std::reverse(front().begin(), front().end());
    std::reverse(back().begin(), back().end());
}

void nameBadge()
{
    begin(89.9, 54.1, false); // Durable 1455
    const QColor navy(28, 52, 94), gold(232, 178, 60);
    band(front(), {0, 0, 255, 34}, navy);
    text(front(), {8, 7, 239, 22}, "Company Name", "Arial-BoldMT", 13, Qt::white, Qt::AlignHCenter,
         fieldId(Profile_Company_name));
    band(front(), {0, 34, 255, 4}, gold);
    text(front(), {8, 56, 239, 34}, "Your Name", "Arial-BoldMT", 24, navy, Qt::AlignHCenter, fieldId(Profile_Name));
    text(front(), {8, 94, 239, 20}, "Position / Title", "ArialMT", 12, QColor(90, 90, 90), Qt::AlignHCenter,
         fieldId(Profile_Title));
    band(front(), {0, 136, 255, 17}, navy);
    text(front(), {8, 138, 239, 14}, "HELLO, MY NAME IS", "ArialMT", 8, Qt::white);
}

void idCard()
{
    begin(85.598, 54.102, true); // CR80
    const QColor teal(0, 110, 120), light(226, 242, 243);
    band(front(), {0, 0, 243, 30}, teal);
    text(front(), {8, 6, 227, 20}, "Company Name", "Arial-BoldMT", 12, Qt::white, Qt::AlignLeft,
         fieldId(Profile_Company_name));
    band(front(), {0, 30, 243, 123}, light);
    photo(front(), {10, 40, 62, 78});
    text(front(), {82, 40, 155, 22}, "Your Name", "Arial-BoldMT", 15, teal, Qt::AlignLeft, fieldId(Profile_Name));
    text(front(), {82, 62, 155, 18}, "Position / Title", "ArialMT", 10, QColor(60, 60, 60), Qt::AlignLeft,
         fieldId(Profile_Title));
    text(front(), {82, 80, 155, 16}, "ID 100234", "ArialMT", 9, QColor(60, 60, 60), Qt::AlignLeft,
         fieldId(Profile_unique));
    barcode(front(), {82, 100, 120, 40}, "100234");
    band(back(), {0, 0, 243, 12}, teal);
    text(back(), {12, 24, 219, 18}, "If found, please return to:", "Arial-BoldMT", 10, teal, Qt::AlignLeft);
    text(back(), {12, 44, 219, 32}, "Address", "ArialMT", 9, Qt::black, Qt::AlignLeft, fieldId(Profile_address));
    text(back(), {12, 78, 219, 16}, "Phone", "ArialMT", 9, Qt::black, Qt::AlignLeft, fieldId(Profile_phone));
    text(back(), {12, 96, 219, 16}, "www.example.com", "ArialMT", 9, Qt::black, Qt::AlignLeft,
         fieldId(Profile_website));
    band(back(), {0, 141, 243, 12}, teal);
}

void membershipCard()
{
    begin(85.598, 54.102, false); // CR80
    const QColor plum(88, 36, 110), silver(210, 210, 220);
    band(front(), {0, 0, 243, 153}, plum);
    band(front(), {0, 104, 243, 3}, silver);
    text(front(), {14, 12, 215, 22}, "Club Name", "Arial-BoldMT", 15, Qt::white, Qt::AlignLeft,
         fieldId(Profile_Company_name));
    text(front(), {14, 36, 215, 16}, "MEMBERSHIP CARD", "ArialMT", 9, silver, Qt::AlignLeft);
    text(front(), {14, 66, 215, 26}, "Member Name", "Arial-BoldMT", 17, Qt::white, Qt::AlignLeft,
         fieldId(Profile_Name));
    text(front(), {14, 114, 140, 16}, "No. 000001", "ArialMT", 10, silver, Qt::AlignLeft, fieldId(Profile_unique));
    text(front(), {120, 132, 109, 14}, "www.example.com", "ArialMT", 8, silver, Qt::AlignRight,
         fieldId(Profile_website));
}

void partyInvitation()
{
    begin(59.944, 89.916, false); // Durable 1457, portrait
    const QColor rose(214, 70, 110), cream(255, 247, 236);
    band(front(), {0, 0, 170, 255}, cream);
    band(front(), {0, 0, 170, 10}, rose);
    band(front(), {0, 245, 170, 10}, rose);
    text(front(), {8, 28, 154, 30}, "You're Invited!", "TimesNewRomanPS-BoldItalicMT", 20, rose);
    text(front(), {12, 72, 146, 56}, "Join us for an evening of food, music and friends.", "TimesNewRomanPSMT", 11,
         QColor(70, 50, 50));
    text(front(), {8, 140, 154, 18}, "Saturday, 7 pm", "Arial-BoldMT", 11, QColor(70, 50, 50));
    text(front(), {8, 162, 154, 32}, "Address", "ArialMT", 10, QColor(70, 50, 50), Qt::AlignHCenter,
         fieldId(Profile_address));
    text(front(), {8, 206, 154, 18}, "Your Name", "TimesNewRomanPS-ItalicMT", 12, rose, Qt::AlignHCenter,
         fieldId(Profile_Name));
}
}

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    if (argc < 2) {
        std::fprintf(stderr, "usage: make_templates <resource folder>\n");
        return 2;
    }
    const QString resources = QDir(QString::fromLocal8Bit(argv[1])).absolutePath();
    Set_Resource_Folder(resources);
    const QString folder = resources + QStringLiteral("/Templates");
    QDir().mkpath(folder + QStringLiteral("/User"));
    wnd = SKTWindowController::defaultInstance();
    const struct {
        const char* name;
        void (*draw)();
    } templates[] = {{"Name Badge", nameBadge}, {"ID Card", idCard}, {"Membership Card", membershipCard},
                     {"Party Invitation", partyInvitation}};
    int failed = 0;
    for (const auto& t : templates) {
        t.draw();
        frontmostFirst();
        if (!finish(folder, QString::fromLatin1(t.name))) {
            std::fprintf(stderr, "%s could not be written\n", t.name);
            ++failed;
        }
    }
    return failed ? 1 : 0;
}
