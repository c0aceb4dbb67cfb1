#include "model/ImageProcesser.h"

#include <gtest/gtest.h>

namespace {
QImage swatch()
{
    // Four pixels: red, a mid colour, white, half-transparent blue.
    QImage img(2, 2, QImage::Format_ARGB32);
    img.setPixel(0, 0, qRgba(255, 0, 0, 255));
    img.setPixel(1, 0, qRgba(100, 150, 200, 255));
    img.setPixel(0, 1, qRgba(255, 255, 255, 255));
    img.setPixel(1, 1, qRgba(0, 0, 255, 128));
    return img;
}

QImage run(const QImage& img, bool grey, bool sepia, bool invert, float hue = 0, float sat = 1, float brt = 0,
           float con = 1, int rotate = 0, float r = 0, float g = 0, float b = 0)
{
    return ImageProcesser::Get_Processed_Image(img, grey, sepia, invert, hue, sat, brt, con, rotate, r, g, b, 100);
}

QRgb px(const QImage& img, int x, int y) { return img.convertToFormat(QImage::Format_ARGB32).pixel(x, y); }

void expectRgb(QRgb got, int r, int g, int b, int tol = 1)
{
    EXPECT_NEAR(qRed(got), r, tol);
    EXPECT_NEAR(qGreen(got), g, tol);
    EXPECT_NEAR(qBlue(got), b, tol);
}
}

TEST(Filters, NeutralSettingsGiveTheImageBack)
{
    const QImage img = swatch();
    EXPECT_EQ(run(img, false, false, false), img);
    // A blur under one pixel is no blur; a full turn no turn.
    EXPECT_EQ(ImageProcesser::Get_Processed_Image(img, false, false, false, 0, 1, 0, 1, 360, 0, 0, 0.9f, 100), img);
    EXPECT_TRUE(run(QImage(), true, true, true).isNull());
}

TEST(Filters, TransparencyLetsThatMuchLessOfThePictureShow)
{
    const QImage img = swatch();
    const struct {
        float transparency;
        int opaqueAlpha; // of the red pixel, opaque before
        int halfAlpha;   // of the blue pixel, half transparent before
    } cases[] = {{100, 255, 128}, {150, 255, 128}, {50, 128, 64}, {8, 20, 10}, {0, 0, 0}, {-5, 0, 0}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.transparency);
        const QImage out =
            ImageProcesser::Get_Processed_Image(img, false, false, false, 0, 1, 0, 1, 0, 0, 0, 0, c.transparency);
        EXPECT_EQ(out.size(), img.size());
        EXPECT_NEAR(qAlpha(px(out, 0, 0)), c.opaqueAlpha, 1);
        EXPECT_NEAR(qAlpha(px(out, 1, 1)), c.halfAlpha, 1);
        if (c.opaqueAlpha >= 128)
            expectRgb(px(out, 1, 0), 100, 150, 200, 2); // the colours stay
    }
}

TEST(Filters, GreySepiaInvert)
{
    const QImage img = swatch();
    const QImage grey = run(img, true, false, false);
    // Rec. 709 luma of (100,150,200): 0.2125*100 + 0.7154*150 + 0.0721*200 = 142.9
    expectRgb(px(grey, 1, 0), 143, 143, 143);
    expectRgb(px(grey, 0, 0), 54, 54, 54);

    const QImage sepia = run(img, false, true, false);
    // (100,150,200): r = .393*100+.769*150+.189*200 = 192.45, g = 171.4, b = 133.5
    expectRgb(px(sepia, 1, 0), 192, 171, 134);
    expectRgb(px(sepia, 0, 1), 255, 255, 239); // white clamps; blue: .272+.534+.131 = .937

    const QImage inverted = run(img, false, false, true);
    expectRgb(px(inverted, 1, 0), 155, 105, 55);
    EXPECT_EQ(qAlpha(px(inverted, 1, 1)), 128);
    EXPECT_EQ(run(inverted, false, false, true), img);
}

TEST(Filters, HueSaturationBrightnessContrastExposure)
{
    const QImage img = swatch();
    // Hue by a full turn is the identity (within rounding).
    expectRgb(px(run(img, false, false, false, float(2 * M_PI)), 1, 0), 100, 150, 200);
    // Greys have no hue to turn.
    expectRgb(px(run(img, false, false, false, 1.0f), 0, 1), 255, 255, 255);
    // Saturation 0 is the luma grey.
    expectRgb(px(run(img, false, false, false, 0, 0), 1, 0), 143, 143, 143);
    // Brightness is a bias: +0.1 adds 25.5.
    expectRgb(px(run(img, false, false, false, 0, 1, 0.1f), 1, 0), 126, 176, 226);
    // Contrast 2 about mid-grey: (100/255 - .5)*2 + .5 -> 72.5
    expectRgb(px(run(img, false, false, false, 0, 1, 0, 2), 1, 0), 73, 173, 255);
    // One stop of exposure doubles: 100 -> 200, 150 -> 255.
    expectRgb(px(run(img, false, false, false, 0, 1, 0, 1, 0, 0, 1), 1, 0), 200, 255, 255);
    expectRgb(px(run(img, false, false, false, 0, 1, 0, 1, 0, 0, -1), 1, 0), 50, 75, 100);
}

TEST(Filters, BlurAndSharpen)
{
    QImage bar(5, 1, QImage::Format_ARGB32);
    bar.fill(Qt::black);
    bar.setPixel(2, 0, qRgb(255, 255, 255));
    const QImage blurred = run(bar, false, false, false, 0, 1, 0, 1, 0, 0, 0, 1);
    // Radius 1: a 3 by 3 mean; one white pixel in a one-row image spreads as 1/3 over three.
    expectRgb(px(blurred, 1, 0), 85, 85, 85);
    expectRgb(px(blurred, 2, 0), 85, 85, 85);
    expectRgb(px(blurred, 0, 0), 0, 0, 0);

    QImage flat(4, 4, QImage::Format_ARGB32);
    flat.fill(qRgb(90, 90, 90));
    EXPECT_EQ(run(flat, false, false, false, 0, 1, 0, 1, 0, 2.0f), flat); // nothing to sharpen
    const QImage sharp = run(bar, false, false, false, 0, 1, 0, 1, 0, 1.0f);
    EXPECT_EQ(qRed(px(sharp, 1, 0)), 0);   // the dark side gets darker (clamped)
    EXPECT_EQ(qRed(px(sharp, 2, 0)), 255); // the light side stays light
}

TEST(Filters, BlurAndSharpenLookAlikeOnEveryCopyOfAPicture)
{
    // A grey edge as the 600-pixel preview sees it and as a five times
    // larger card copy holds it: shrunk back, the larger copy's result must
    // match the preview's near the edge.
    auto edge = [](int width, int height) {
        QImage img(width, height, QImage::Format_ARGB32);
        img.fill(qRgb(64, 64, 64));
        for (int y = 0; y < height; ++y)
            for (int x = width / 2; x < width; ++x)
                img.setPixel(x, y, qRgb(192, 192, 192));
        return img;
    };
    struct Case { const char* name; float sharpen, blur; };
    for (const Case& c : {Case{"blur", 0, 6}, Case{"sharpen", 2, 0}}) {
        const QImage preview = run(edge(600, 10), false, false, false, 0, 1, 0, 1, 0, c.sharpen, 0, c.blur);
        const QImage card = run(edge(3000, 50), false, false, false, 0, 1, 0, 1, 0, c.sharpen, 0, c.blur)
                                .scaled(600, 10, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
        for (int x = 290; x < 310; ++x)
            EXPECT_NEAR(qRed(px(card, x, 5)), qRed(px(preview, x, 5)), 16) << c.name << " at " << x;
    }
    EXPECT_EQ(Filter_Radius_For(3, QSize(600, 400)), 3);
    EXPECT_EQ(Filter_Radius_For(3, QSize(4000, 6000)), 30);
    EXPECT_EQ(Filter_Radius_For(1, QSize(100, 50)), 1); // never below one pixel
    EXPECT_EQ(Filter_Radius_For(0.5f, QSize(6000, 10)), 0);
}

TEST(Filters, RotationTurnsCounterClockwiseAndResizes)
{
    QImage img(4, 2, QImage::Format_ARGB32);
    img.fill(Qt::white);
    img.setPixel(3, 0, qRgb(255, 0, 0)); // top right
    const QImage turned = run(img, false, false, false, 0, 1, 0, 1, 90);
    ASSERT_EQ(turned.size(), QSize(2, 4));
    // A quarter turn counter-clockwise takes the top-right corner to the top-left.
    expectRgb(px(turned, 0, 0), 255, 0, 0);
    const QImage back = run(turned, false, false, false, 0, 1, 0, 1, -90);
    EXPECT_EQ(back.size(), QSize(4, 2));
    expectRgb(px(back, 3, 0), 255, 0, 0);
    EXPECT_EQ(run(img, false, false, false, 0, 1, 0, 1, 180).size(), QSize(4, 2));
    const QImage tilted = run(img, false, false, false, 0, 1, 0, 1, 45);
    EXPECT_GT(tilted.width(), 4);
    EXPECT_EQ(qAlpha(px(tilted, 0, 0)), 0); // the corners of a tilted picture are clear
}
