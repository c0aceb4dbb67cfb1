#include "support/SharedState.h"
#include "canvas/SKTGraphicView.h"
#include "canvas/SKTGrid.h"
#include "canvas/SKTRenderingView.h"
#include "model/Fonts.h"
#include "model/Globals.h"

#include <QCoreApplication>
#include <QMouseEvent>
#include <QTemporaryDir>
#include <QThread>
#include <gtest/gtest.h>

namespace {
struct CanvasFixture : ::testing::Test {
    SKTDocument doc;
    SKTGrid grid;
    SKTGraphicView view{&doc, &doc.graphics, &grid, 0};
    void SetUp() override
    {
        Selected_Control_Tool = 2;
        Library_Selected_Image.clear();
        Reset_Shared_State();
    }
    void place(const QString& id, const QString& value, QRectF r = QRectF(10, 10, 100, 20),
               GraphicKind kind = GraphicKind::Text)
    {
        view.createGraphicOfClass(kind, nullptr, true, r, "F", value, id);
    }
};

QString writePng(const QTemporaryDir& dir, const QString& name, QColor colour, QSize size = QSize(8, 6))
{
    QImage img(size, QImage::Format_ARGB32);
    img.fill(colour);
    const QString path = dir.path() + '/' + name;
    img.save(path);
    return path;
}
}

TEST_F(CanvasFixture, CreationInsertsAtFrontSelectsAndStylesPartyTexts)
{
    place("PARTY_MSG", "Come along");
    place("PARTY_TITLE", "Birthday");
    ASSERT_EQ(doc.graphics.size(), 2);
    EXPECT_EQ(doc.graphics[0]->control_ID, "PARTY_TITLE");
    EXPECT_EQ(view._Selected_Graphic, doc.graphics[0]);
    EXPECT_EQ(view.selectedGraphics(), QList<GraphicPtr>{doc.graphics[0]});

    auto* title = dynamic_cast<SKTText*>(doc.graphics[0].get());
    ASSERT_NE(title, nullptr);
    EXPECT_EQ(title->text, "Birthday");
    EXPECT_FALSE(title->isDrawingStroke);
    EXPECT_FALSE(title->isDrawingFill);
    EXPECT_EQ(title->alignment, Qt::AlignHCenter);
    EXPECT_TRUE(title->font.bold());
    EXPECT_TRUE(title->font.italic());
    EXPECT_EQ(title->font.pointSizeF(), 18);

    auto* msg = dynamic_cast<SKTText*>(doc.graphics[1].get());
    EXPECT_EQ(msg->alignment, Qt::AlignLeft);
    EXPECT_EQ(msg->font.pointSizeF(), 14);
    EXPECT_TRUE(msg->font.italic());
    EXPECT_FALSE(msg->font.bold());

    place("PARTY_FROM", "Ann");
    EXPECT_EQ(dynamic_cast<SKTText*>(doc.graphics[0].get())->alignment, Qt::AlignRight);
}

TEST_F(CanvasFixture, ZeroSizedCreationLeavesNothingAndSelectsNothing)
{
    place("PARTY_VENUE", "Hall");
    ASSERT_EQ(view._Selected_Graphic, doc.graphics[0]);
    place("PARTY_DATE", "Monday", QRectF(30, 30, 0, 0));
    EXPECT_EQ(doc.graphics.size(), 1);
    EXPECT_EQ(view._Selected_Graphic, nullptr);
    EXPECT_TRUE(view.selectedGraphics().isEmpty());
}

TEST_F(CanvasFixture, GridConstrainsOriginAndCorner)
{
    grid.spacing = 10;
    grid.isConstraining = true;
    place("PARTY_TO", "Bo", QRectF(12, 17, 31, 12));
    EXPECT_EQ(doc.graphics[0]->bounds, QRectF(QPointF(10, 20), QPointF(40, 30)));
    grid.isConstraining = false;
    place("PARTY_TIME", "6pm", QRectF(12, 17, 31, 12));
    EXPECT_EQ(doc.graphics[0]->bounds, QRectF(12, 17, 31, 12));
}

TEST_F(CanvasFixture, ImageToolTakesLibraryImageThenValueThenPlaceholder)
{
    QTemporaryDir dir;
    const QString lib = writePng(dir, "lib.png", Qt::red);
    const QString val = writePng(dir, "val.png", Qt::blue, QSize(4, 4));
    Selected_Control_Tool = 8;

    Library_Selected_Image = lib;
    place("Fup_Photo", val, QRectF(0, 0, 50, 50), GraphicKind::Text); // the tool decides the kind
    auto* first = dynamic_cast<SKTImage*>(doc.graphics[0].get());
    ASSERT_NE(first, nullptr);
    EXPECT_EQ(first->filePath(), lib);
    EXPECT_EQ(first->image.pixelColor(0, 0), QColor(Qt::red));

    Library_Selected_Image = dir.path() + "/gone.png";
    place("Fup_Photo2", val, QRectF(0, 0, 50, 50), GraphicKind::Image);
    auto* second = dynamic_cast<SKTImage*>(doc.graphics[0].get());
    EXPECT_EQ(second->filePath(), val);
    EXPECT_EQ(second->image.size(), QSize(4, 4));

    place("Fup_Photo3", dir.path() + "/missing.png", QRectF(0, 0, 50, 50), GraphicKind::Image);
    auto* third = dynamic_cast<SKTImage*>(doc.graphics[0].get());
    EXPECT_TRUE(third->filePath().isEmpty());
    EXPECT_EQ(third->image, Placeholder_Image());
}

TEST_F(CanvasFixture, PicturesPlacedWithTheImageToolKeepTheirProportions)
{
    QTemporaryDir dir;
    Selected_Control_Tool = 8;
    const struct {
        QSize picture;
        QSizeF placed;
    } cases[] = {
        {{600, 800}, {75, 100}},      // portrait: narrower than the box
        {{6000, 4000}, {100, 66.667}}, // landscape: lower than the box
        {{40, 40}, {100, 100}},
    };
    for (const auto& c : cases) {
        Library_Selected_Image = writePng(dir, QStringLiteral("p%1.png").arg(c.picture.width()), Qt::green, c.picture);
        view.createGraphicOfClass(GraphicKind::Image, nullptr, false, QRectF(), "F", QString(), QString());
        const QRectF placed = doc.graphics[0]->bounds;
        // (a very large picture is read scaled down, to within a pixel of its proportions)
        EXPECT_NEAR(placed.width(), c.placed.width(), 0.05) << c.picture.width();
        EXPECT_NEAR(placed.height(), c.placed.height(), 0.05) << c.picture.width();
    }
}

TEST_F(CanvasFixture, SelectByIdMatchesExactKindsOnlyAndFindsHiddenOnes)
{
    // A barcode with the identifier is never matched; a hidden text is.
    auto barcode = Make_Graphic(GraphicKind::Barcode);
    barcode->control_ID = "Fup_Name";
    place("Fup_Name", "Ann");
    doc.graphics[0]->Set_Ctrl_Is_Visible(false);
    doc.graphics.insert(0, barcode);

    const GraphicPtr found = view.Selcect_Ctrl_With_ID("Fup_Name");
    ASSERT_NE(found, nullptr);
    EXPECT_EQ(found->kind(), GraphicKind::Text);
    EXPECT_FALSE(found->ctrl_is_visible);
    EXPECT_EQ(view.Selcect_Ctrl_With_ID("Fup_Title"), nullptr);
    EXPECT_EQ(view.Selcect_Ctrl_With_ID(""), nullptr);
}

TEST_F(CanvasFixture, ReplaceUpdatesInPlaceShowsAndSelects)
{
    place("PARTY_MSG", "Old");
    place("PARTY_TITLE", "Title");
    const GraphicPtr msg = doc.graphics[1];
    msg->Set_Ctrl_Is_Visible(false);
    msg->isDrawingStroke = true;

    view.ReplaceGraphicText(GraphicKind::Text, nullptr, true, QRectF(0, 0, 9, 9), "F", "New", "PARTY_MSG");
    EXPECT_EQ(doc.graphics.size(), 2);
    EXPECT_EQ(dynamic_cast<SKTText*>(msg.get())->text, "New");
    EXPECT_EQ(msg->Text_Value, "New");
    EXPECT_TRUE(msg->ctrl_is_visible);
    EXPECT_FALSE(msg->isDrawingStroke);
    EXPECT_EQ(msg->bounds, QRectF(10, 10, 100, 20)); // kept where it was
    EXPECT_EQ(view._Selected_Graphic, msg);

    // An empty value leaves the text as it was but still shows the graphic.
    msg->Set_Ctrl_Is_Visible(false);
    view.ReplaceGraphicText(GraphicKind::Text, nullptr, true, QRectF(), "F", "", "PARTY_MSG");
    EXPECT_EQ(dynamic_cast<SKTText*>(msg.get())->text, "New");
    EXPECT_TRUE(msg->ctrl_is_visible);

    // Not found: created.
    view.ReplaceGraphicText(GraphicKind::Text, nullptr, true, QRectF(1, 2, 30, 10), "F", "Hall", "PARTY_VENUE");
    EXPECT_EQ(doc.graphics.size(), 3);
    EXPECT_EQ(doc.graphics[0]->control_ID, "PARTY_VENUE");
}

TEST_F(CanvasFixture, ReplaceImageKeepsPathWhenTheNewFileIsMissing)
{
    QTemporaryDir dir;
    const QString a = writePng(dir, "a.png", Qt::green);
    Selected_Control_Tool = 8;
    place("Fup_Photo", a, QRectF(0, 0, 20, 20), GraphicKind::Image);
    auto image = std::dynamic_pointer_cast<SKTImage>(doc.graphics[0]);
    view.ReplaceGraphicText(GraphicKind::Image, nullptr, true, QRectF(), "F", dir.path() + "/none.png", "Fup_Photo");
    EXPECT_EQ(image->filePath(), a);
    const QString b = writePng(dir, "b.png", Qt::yellow);
    view.ReplaceGraphicText(GraphicKind::Image, nullptr, true, QRectF(), "F", b, "Fup_Photo");
    EXPECT_EQ(image->filePath(), b);
    EXPECT_EQ(image->image.pixelColor(0, 0), QColor(Qt::yellow));
}

TEST_F(CanvasFixture, HideProfileFieldsTouchesOnlyProfileTextsAndImages)
{
    place("Fup_Name", "Ann");
    place("Fup_EmailID", "a@b.c");
    place("PARTY_TITLE", "T");
    auto barcode = Make_Graphic(GraphicKind::Barcode);
    barcode->control_ID = "Fup_UniqueNo";
    doc.graphics.append(barcode);

    view.Hide_all_Text_control_FUP_Control();
    EXPECT_FALSE(view.Selcect_Ctrl_With_ID("Fup_Name")->ctrl_is_visible);
    EXPECT_FALSE(view.Selcect_Ctrl_With_ID("Fup_EmailID")->ctrl_is_visible);
    EXPECT_TRUE(view.Selcect_Ctrl_With_ID("PARTY_TITLE")->ctrl_is_visible);
    EXPECT_TRUE(barcode->ctrl_is_visible);
}

TEST(Fonts, PostScriptNamesMapToFamilyAndStyle)
{
    const QFont italic = Font_From_PostScript_Name("TimesNewRomanPS-ItalicMT", 14);
    EXPECT_EQ(italic.family(), "Times New Roman");
    EXPECT_TRUE(italic.italic());
    EXPECT_FALSE(italic.bold());
    const QFont plain = Font_From_PostScript_Name("Helvetica", 9);
    EXPECT_EQ(plain.family(), "Helvetica");
    EXPECT_FALSE(plain.italic());
    EXPECT_EQ(plain.pointSizeF(), 9);
    // fontconfig resolves the family to an installed face.
    EXPECT_TRUE(QFontInfo(italic).family().contains("Liberation Serif") || QFontInfo(italic).family() == "Times New Roman");
}

namespace {
// Front face: a red filled box over a blue filled box, plus a hidden green one on top.
Face sampleFace()
{
    auto box = [](QRectF r, QColor c, bool visible) {
        auto g = Make_Graphic(GraphicKind::Text);
        g->bounds = r;
        g->isDrawingFill = true;
        g->isDrawingStroke = false;
        g->fillColor = c;
        g->ctrl_is_visible = visible;
        return g;
    };
    return {box(QRectF(0, 0, 243, 153), Qt::green, false), box(QRectF(10, 10, 40, 40), Qt::red, true),
            box(QRectF(30, 30, 60, 60), Qt::blue, true)};
}
}

TEST(Renderer, DrawsVisibleGraphicsOverTheCardBaseAtOnePixelPerPoint)
{
    Card_Shape = 0;
    SKTRenderingView::setCardSize(QSizeF(3.37 * 72, 2.13 * 72));
    const QImage img = SKTRenderingView::image_From_Card_Graphics(sampleFace(), false);
    EXPECT_EQ(img.size(), QSize(243, 153));
    EXPECT_EQ(img.pixelColor(5, 5), QColor(Qt::white));     // card base
    EXPECT_EQ(img.pixelColor(20, 20), QColor(Qt::red));     // index 1 over index 2
    EXPECT_EQ(img.pixelColor(40, 40), QColor(Qt::red));
    EXPECT_EQ(img.pixelColor(80, 80), QColor(Qt::blue));
    EXPECT_EQ(img.pixelColor(200, 140), QColor(Qt::white)); // hidden green not drawn

    Card_Shape = 2; // ellipse: the corners are outside the card
    const QImage oval = SKTRenderingView::image_From_Card_Graphics({}, false);
    EXPECT_EQ(oval.pixelColor(1, 1).alpha(), 0);
    EXPECT_EQ(oval.pixelColor(121, 76), QColor(Qt::white));
    Card_Shape = 0;
}

TEST(Renderer, AnExplicitSideShapeAndSizeOutweighTheSharedOnes)
{
    // The shared state says a rectangle of 243 by 153 points; each call says otherwise.
    Card_Shape = Shape_Rectangle;
    SKTRenderingView::setCardSize(QSizeF(3.37 * 72, 2.13 * 72));
    const struct { int shape; QSizeF size; qreal scale; QSize pixels; bool cornerDrawn; } cases[] = {
        {Shape_Ellipse, QSizeF(100, 50), 1.0, QSize(100, 50), false},
        {Shape_Rounded_Rectangle, QSizeF(100, 50), 2.0, QSize(200, 100), false},
        {Shape_Rectangle, QSizeF(60, 90), 1.0, QSize(60, 90), true},
        {Shape_Rectangle, QSizeF(), 1.0, QSize(0, 0), false}, // no card: no image
    };
    for (const auto& c : cases) {
        const QImage img = SKTRenderingView::image_From_Card_Graphics({}, Side_Back, c.shape, c.size, c.scale);
        EXPECT_EQ(img.size(), c.pixels) << c.shape;
        if (!img.isNull()) {
            EXPECT_EQ(img.pixelColor(0, 0).alpha() != 0, c.cornerDrawn) << c.shape;
            EXPECT_EQ(img.pixelColor(c.pixels.width() / 2, c.pixels.height() / 2), QColor(Qt::white));
        }
    }
    EXPECT_EQ(SKTRenderingView::cardSize().toSize(), QSize(243, 153)); // the shared size is left as it was
}

TEST(Renderer, WorksFromAWorkerThread)
{
    SKTRenderingView::setCardSize(QSizeF(100, 50));
    const Face face = sampleFace();
    QImage fromWorker, printFromWorker;
    QThread* worker = QThread::create([&] {
        fromWorker = SKTRenderingView::image_From_Card_Graphics(face, false);
        printFromWorker = SKTRenderingView::image_From_Card_Graphics(face, true);
    });
    worker->start();
    worker->wait();
    delete worker;
    EXPECT_EQ(fromWorker.size(), QSize(100, 50));
    EXPECT_EQ(fromWorker.pixelColor(20, 20), QColor(Qt::red));
    EXPECT_EQ(fromWorker, SKTRenderingView::image_From_Card_Graphics(face, false));
    EXPECT_NEAR(printFromWorker.deviceIndependentSize().width(), 100, 0.25); // whole pixels at 300 dpi
    EXPECT_NEAR(printFromWorker.deviceIndependentSize().height(), 50, 0.25);
    EXPECT_EQ(printFromWorker, SKTRenderingView::image_From_Card_Graphics(face, true));
    SKTRenderingView::setCardSize(QSizeF(3.37 * 72, 2.13 * 72));
}

TEST(Renderer, TextIsDrawnAtOnePixelPerPoint)
{
    SKTRenderingView::setCardSize(QSizeF(200, 60));
    auto text = std::make_shared<SKTText>();
    text->bounds = QRectF(0, 0, 200, 60);
    text->isDrawingStroke = false;
    text->text = "HHHH";
    text->font = QFont("Liberation Sans");
    text->font.setPointSizeF(40);
    const QImage img = SKTRenderingView::image_From_Card_Graphics({text}, false);
    int top = -1, bottom = -1;
    for (int y = 0; y < img.height(); ++y)
        for (int x = 0; x < img.width(); ++x)
            if (qGray(img.pixel(x, y)) < 128) {
                if (top < 0)
                    top = y;
                bottom = y;
            }
    // Capital height of a 40-point sans face is about 0.72 of the size: ~29 pixels.
    EXPECT_NEAR(bottom - top + 1, 29, 3);
    SKTRenderingView::setCardSize(QSizeF(3.37 * 72, 2.13 * 72));
}

TEST_F(CanvasFixture, ClicksPassThroughTheClearWindowOfAPicture)
{
    place("PARTY_TITLE", "Title", QRectF(40, 40, 100, 30));
    // A frame over the whole card: opaque border, clear middle.
    auto frame = std::make_shared<SKTImage>();
    frame->bounds = QRectF(0, 0, 200, 150);
    frame->isDrawingStroke = false;
    QImage picture(200, 150, QImage::Format_ARGB32);
    picture.fill(Qt::transparent);
    for (int x = 0; x < 200; ++x)
        for (int y : {0, 1, 2, 147, 148, 149})
            picture.setPixel(x, y, qRgb(200, 0, 0));
    frame->image = picture;
    doc.graphics.insert(0, frame);
    view.resize(200, 150);

    QMouseEvent inside(QEvent::MouseButtonPress, QPointF(50, 50), QPointF(50, 50), Qt::LeftButton, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(&view, &inside);
    ASSERT_EQ(view.selectedGraphics().size(), 1);
    EXPECT_EQ(view.selectedGraphics()[0]->control_ID, "PARTY_TITLE");

    QMouseEvent border(QEvent::MouseButtonPress, QPointF(50, 1), QPointF(50, 1), Qt::LeftButton, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(&view, &border);
    EXPECT_EQ(view.selectedGraphics(), QList<GraphicPtr>{frame});
}

TEST(Renderer, PrintedCardsAreDrawnAt300DpiWithTheSameSizeInPoints)
{
    SKTRenderingView::setCardSize(QSizeF(3.37 * 72, 2.13 * 72));
    const Face face = sampleFace();
    const QImage screen = SKTRenderingView::image_From_Card_Graphics(face, false);
    const QImage print = SKTRenderingView::image_From_Card_Graphics(face, true);
    EXPECT_EQ(print.size(), QSize(1011, 639)); // 242.64 x 153.36 points at 300 dpi, rounded up
    EXPECT_NEAR(print.deviceIndependentSize().width(), 242.64, 0.3);
    EXPECT_NEAR(print.deviceIndependentSize().height(), 153.36, 0.3);
    // The same drawing, finer: the red square of points 10..50 is 167 pixels wide.
    EXPECT_EQ(print.pixelColor(int(20 * 300 / 72.0), int(20 * 300 / 72.0)), QColor(Qt::red));
    EXPECT_EQ(print.pixelColor(int(80 * 300 / 72.0), int(80 * 300 / 72.0)), QColor(Qt::blue));
    EXPECT_EQ(screen.pixelColor(80, 80), QColor(Qt::blue));

    // Text keeps its size in points: a 40-point capital is about 29 points tall.
    auto text = std::make_shared<SKTText>();
    text->bounds = QRectF(0, 0, 200, 60);
    text->isDrawingStroke = false;
    text->text = "HHHH";
    text->font = QFont("Liberation Sans");
    text->font.setPointSizeF(40);
    SKTRenderingView::setCardSize(QSizeF(200, 60));
    const QImage printed = SKTRenderingView::image_From_Card_Graphics({text}, true);
    int top = -1, bottom = -1;
    for (int y = 0; y < printed.height(); ++y)
        for (int x = 0; x < printed.width(); x += 2)
            if (qAlpha(printed.pixel(x, y)) == 255 && qGray(printed.pixel(x, y)) < 128) {
                if (top < 0)
                    top = y;
                bottom = y;
            }
    EXPECT_NEAR((bottom - top + 1) * 72.0 / 300.0, 29, 3);
    SKTRenderingView::setCardSize(QSizeF(3.37 * 72, 2.13 * 72));
}
