#include "model/ImageProcesser.h"

#include "model/Globals.h"
#include "model/Helpers.h"

#include <QPainter>
#include <QTransform>
#include <algorithm>
#include <array>
#include <cmath>
#include <exception>
#include <vector>

namespace {
// Pixels as unpremultiplied floats 0..1.
struct Px { float r, g, b, a; };

struct FloatImage {
    int w = 0, h = 0;
    std::vector<Px> px;
    Px& at(int x, int y) { return px[size_t(y) * w + x]; }
    const Px& at(int x, int y) const { return px[size_t(y) * w + x]; }
};

FloatImage toFloat(const QImage& src)
{
    const QImage img = src.convertToFormat(QImage::Format_ARGB32);
    FloatImage f{img.width(), img.height(), {}};
    f.px.resize(size_t(f.w) * f.h);
    for (int y = 0; y < f.h; ++y) {
        const QRgb* line = reinterpret_cast<const QRgb*>(img.constScanLine(y));
        for (int x = 0; x < f.w; ++x)
            f.at(x, y) = {qRed(line[x]) / 255.f, qGreen(line[x]) / 255.f, qBlue(line[x]) / 255.f, qAlpha(line[x]) / 255.f};
    }
    return f;
}

QImage toImage(const FloatImage& f)
{
    QImage img(f.w, f.h, QImage::Format_ARGB32);
    auto c = [](float v) { return int(std::lround(std::clamp(v, 0.f, 1.f) * 255.f)); };
    for (int y = 0; y < f.h; ++y) {
        QRgb* line = reinterpret_cast<QRgb*>(img.scanLine(y));
        for (int x = 0; x < f.w; ++x) {
            const Px& p = f.at(x, y);
            line[x] = qRgba(c(p.r), c(p.g), c(p.b), c(p.a));
        }
    }
    return img;
}

float luma(const Px& p) { return 0.2125f * p.r + 0.7154f * p.g + 0.0721f * p.b; }

template <typename Fn>
void eachPixel(FloatImage& f, Fn fn)
{
    for (Px& p : f.px)
        fn(p);
}

void applyMatrix(FloatImage& f, const std::array<float, 9>& m)
{
    eachPixel(f, [&](Px& p) {
        const float r = p.r, g = p.g, b = p.b;
        p.r = m[0] * r + m[1] * g + m[2] * b;
        p.g = m[3] * r + m[4] * g + m[5] * b;
        p.b = m[6] * r + m[7] * g + m[8] * b;
    });
}

// Mean of each channel over a square of the given radius, edges clamped.
// Running sums keep the cost per pixel the same for any radius.
FloatImage boxBlur(const FloatImage& src, int radius)
{
    FloatImage tmp = src, out = src;
    const float n = float(2 * radius + 1);
    auto add = [](Px& s, const Px& q, float sign) {
        s.r += sign * q.r; s.g += sign * q.g; s.b += sign * q.b; s.a += sign * q.a;
    };
    for (int y = 0; y < src.h; ++y) {
        auto at = [&](int x) -> const Px& { return src.at(std::clamp(x, 0, src.w - 1), y); };
        Px s{0, 0, 0, 0};
        for (int k = -radius; k <= radius; ++k)
            add(s, at(k), 1);
        for (int x = 0; x < src.w; ++x) {
            tmp.at(x, y) = {s.r / n, s.g / n, s.b / n, s.a / n};
            add(s, at(x - radius), -1);
            add(s, at(x + radius + 1), 1);
        }
    }
    for (int x = 0; x < src.w; ++x) {
        auto at = [&](int y) -> const Px& { return tmp.at(x, std::clamp(y, 0, src.h - 1)); };
        Px s{0, 0, 0, 0};
        for (int k = -radius; k <= radius; ++k)
            add(s, at(k), 1);
        for (int y = 0; y < src.h; ++y) {
            out.at(x, y) = {s.r / n, s.g / n, s.b / n, s.a / n};
            add(s, at(y - radius), -1);
            add(s, at(y + radius + 1), 1);
        }
    }
    return out;
}
}

int Filter_Radius_For(float radius, const QSize& picture)
{
    if (int(radius) <= 0)
        return 0;
    const float scale = float(std::max(picture.width(), picture.height())) / float(Filter_Reference_Side);
    return std::max(1, int(radius * scale));
}

QImage ImageProcesser::Get_Processed_Image(const QImage& image, bool grayscale, bool sepia, bool invrtclr,
                                           float hue, float sat, float brt, float con, int rotate,
                                           float r, float g, float b, float tranprency)
{
    try {
        if (image.isNull())
            return {};
        // Blur and sharpening reach as far across any copy of a picture as
        // across its 600-pixel preview.
        const int blurRadius = Filter_Radius_For(b, image.size());
        const bool colourWork = grayscale || sepia || invrtclr || hue != 0 || sat != 1 || brt != 0 || con != 1
                                || r != 0 || blurRadius > 0 || g != 0;
        QImage result = image;
        if (colourWork) {
            FloatImage f = toFloat(image);
            if (grayscale)
                eachPixel(f, [](Px& p) { p.r = p.g = p.b = luma(p); });
            if (sepia)
                applyMatrix(f, {0.393f, 0.769f, 0.189f, 0.349f, 0.686f, 0.168f, 0.272f, 0.534f, 0.131f});
            if (invrtclr)
                eachPixel(f, [](Px& p) { p.r = 1 - p.r; p.g = 1 - p.g; p.b = 1 - p.b; });
            if (hue != 0) {
                // Rotation of the hue about the grey axis by the angle in radians.
                const float c = std::cos(hue), s = std::sin(hue);
                applyMatrix(f, {0.213f + c * 0.787f - s * 0.213f, 0.715f - c * 0.715f - s * 0.715f, 0.072f - c * 0.072f + s * 0.928f,
                                0.213f - c * 0.213f + s * 0.143f, 0.715f + c * 0.285f + s * 0.140f, 0.072f - c * 0.072f - s * 0.283f,
                                0.213f - c * 0.213f - s * 0.787f, 0.715f - c * 0.715f + s * 0.715f, 0.072f + c * 0.928f + s * 0.072f});
            }
            if (sat != 1 || brt != 0 || con != 1)
                eachPixel(f, [&](Px& p) {
                    const float l = luma(p);
                    for (float* ch : {&p.r, &p.g, &p.b}) {
                        float v = l + sat * (*ch - l); // saturation: from grey towards the colour
                        v += brt;                       // brightness: a bias
                        v = (v - 0.5f) * con + 0.5f;    // contrast: a scale about mid-grey
                        *ch = std::clamp(v, 0.f, 1.f);
                    }
                });
            if (r != 0) {
                // Unsharp mask on luminance: add r times the difference from the local mean.
                const FloatImage soft = boxBlur(f, Filter_Radius_For(1, image.size()));
                for (size_t i = 0; i < f.px.size(); ++i) {
                    const float d = r * (luma(f.px[i]) - luma(soft.px[i]));
                    f.px[i].r += d; f.px[i].g += d; f.px[i].b += d;
                }
            }
            if (blurRadius > 0)
                f = boxBlur(f, blurRadius);
            if (g != 0) {
                const float factor = std::pow(2.f, g);
                eachPixel(f, [&](Px& p) { p.r *= factor; p.g *= factor; p.b *= factor; });
            }
            result = toImage(f);
        }
        if (rotate % 360 != 0) {
            QTransform turn;
            turn.rotate(-rotate); // counter-clockwise on screen
            const QRectF mapped = turn.mapRect(QRectF(result.rect()));
            // Quarter turns land on whole pixels; keep rounding noise out of the size.
            const QRect target = rotate % 90 == 0
                ? QRect(qRound(mapped.x()), qRound(mapped.y()), qRound(mapped.width()), qRound(mapped.height()))
                : mapped.toAlignedRect();
            QImage turned(target.size(), QImage::Format_ARGB32_Premultiplied);
            turned.fill(Qt::transparent);
            QPainter p(&turned);
            p.setRenderHint(QPainter::SmoothPixmapTransform, rotate % 90 != 0);
            p.translate(-target.topLeft());
            p.setTransform(turn, true);
            p.drawImage(0, 0, result);
            p.end();
            result = turned;
        }
        // Transparency 100 leaves the photo as it is; below it the photo lets
        // that much less of itself show, down to nothing at 0.
        const float opacity = std::clamp(tranprency, 0.f, 100.f) / 100.f;
        if (opacity < 1) {
            QImage faded(result.size(), QImage::Format_ARGB32_Premultiplied);
            faded.fill(Qt::transparent);
            QPainter p(&faded);
            p.setOpacity(opacity);
            p.drawImage(0, 0, result);
            p.end();
            result = faded;
        }
        return result;
    } catch (const std::exception& e) {
        Show_NSLog_Message(QString::fromUtf8(e.what()));
        return {};
    }
}

Photo_Filter_Settings Photo_Filter_Settings::fromGlobals()
{
    Photo_Filter_Settings f;
    f.gray = IMG_gray_Scale;
    f.sepia = IMG_Sepia;
    f.invert = IMG_invert_clr;
    f.rotate = IMG_rotate_image;
    f.transparency = IMG_trnsp_val;
    f.hue = IMG_hue_val;
    f.saturation = IMG_sat_val;
    f.brightness = IMG_brt_val;
    f.contrast = IMG_con_val;
    f.sharpness = IMG_srp_val;
    f.exposure = IMG_ev_val;
    f.blur = IMG_blr_val;
    return f;
}

void Photo_Filter_Settings::toGlobals() const
{
    IMG_gray_Scale = gray;
    IMG_Sepia = sepia;
    IMG_invert_clr = invert;
    IMG_rotate_image = rotate;
    IMG_trnsp_val = transparency;
    IMG_hue_val = hue;
    IMG_sat_val = saturation;
    IMG_brt_val = brightness;
    IMG_con_val = contrast;
    IMG_srp_val = sharpness;
    IMG_ev_val = exposure;
    IMG_blr_val = blur;
}

bool Load_Main_Photo(const QString& path)
{
    try {
        QString error;
        const QImage photo = Read_Image_File(path, &error);
        if (photo.isNull()) {
            Show_NSLog_Message(QStringLiteral("Cannot load the photo %1: %2").arg(path, error));
            return false;
        }
        Set_Main_Photo_image(ImageProcesser::Get_Processed_Image(
            photo, IMG_gray_Scale, IMG_Sepia, IMG_invert_clr, IMG_hue_val, IMG_sat_val, IMG_brt_val, IMG_con_val,
            int(IMG_rotate_image), IMG_srp_val, IMG_ev_val, IMG_blr_val, IMG_trnsp_val));
        return true;
    } catch (const std::exception& e) {
        Show_NSLog_Message(QString::fromUtf8(e.what()));
        return false;
    }
}
