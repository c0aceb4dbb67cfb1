#include "model/BarcodeArt.h"

#include <QPaintEngine>
#include <QPainter>
#include <algorithm>
#include <atomic>
#include <cmath>
#include <cstring>
#include <mutex>
#include <unordered_map>
#include <vector>

quint64 New_Barcode_Glyph_Key()
{
    static std::atomic<quint64> last{0};
    return ++last;
}

namespace {
// A glyph's coverage rasterised once for a scale and a position within a
// pixel: the same coverage the painter computes for the outline there, so
// blending it gives the painter's pixels.
struct Glyph_Mask {
    QImage coverage; // Format_Alpha8
    int left = 0, top = 0; // of the mask, from the whole pixel of the glyph's origin
};

struct Glyph_Mask_Key {
    quint64 glyph;
    double sx, sy, fx, fy; // scale, and the origin's place within its pixel
    bool operator==(const Glyph_Mask_Key& o) const
    {
        return glyph == o.glyph && sx == o.sx && sy == o.sy && fx == o.fx && fy == o.fy;
    }
};

struct Glyph_Mask_Hash {
    size_t operator()(const Glyph_Mask_Key& k) const { return qHashMulti(0, k.glyph, k.sx, k.sy, k.fx, k.fy); }
};

// The most pixels a cached glyph mask holds.
constexpr double MaskPixels = 256 * 256;

// Null for a glyph too large to keep.
std::shared_ptr<const Glyph_Mask> makeMask(const Glyph_Mask_Key& key, const QPainterPath& shared)
{
    // A path keeps its bounds and its painter form in caches it fills when
    // first asked; this one is shared with other threads, so a copy of its
    // own is asked instead.
    QPainterPath outline;
    outline.addPath(shared);
    const QRectF box = outline.controlPointRect();
    if (box.width() * key.sx * box.height() * key.sy >= MaskPixels)
        return nullptr;
    auto mask = std::make_shared<Glyph_Mask>();
    mask->left = int(std::floor(box.left() * key.sx + key.fx)) - 1;
    mask->top = int(std::floor(box.top() * key.sy + key.fy)) - 1;
    const int w = int(std::ceil(box.right() * key.sx + key.fx)) + 1 - mask->left;
    const int h = int(std::ceil(box.bottom() * key.sy + key.fy)) + 1 - mask->top;
    mask->coverage = QImage(w, h, QImage::Format_Alpha8);
    mask->coverage.fill(0);
    QPainter painter(&mask->coverage);
    painter.setRenderHint(QPainter::Antialiasing, true);
    painter.setPen(Qt::NoPen);
    painter.setBrush(Qt::black);
    painter.setTransform(QTransform(key.sx, 0, 0, key.sy, key.fx - mask->left, key.fy - mask->top));
    painter.drawPath(outline);
    return mask;
}

// Shared by all threads (batch export draws on workers); small: when full it starts again.
class Glyph_Mask_Cache {
public:
    std::shared_ptr<const Glyph_Mask> mask(const Glyph_Mask_Key& key, const QPainterPath& outline)
    {
        {
            std::lock_guard<std::mutex> hold(lock);
            const auto found = masks.find(key);
            if (found != masks.end())
                return found->second;
        }
        std::shared_ptr<const Glyph_Mask> made = makeMask(key, outline);
        std::lock_guard<std::mutex> hold(lock);
        if (masks.size() >= Most)
            masks.clear();
        masks.emplace(key, made);
        return made;
    }

private:
    static constexpr size_t Most = 4096;
    std::mutex lock;
    std::unordered_map<Glyph_Mask_Key, std::shared_ptr<const Glyph_Mask>, Glyph_Mask_Hash> masks;
};

Glyph_Mask_Cache& glyphMasks()
{
    static Glyph_Mask_Cache cache;
    return cache;
}

// Each channel of a premultiplied pixel times a / 255, rounded as the painter rounds.
inline quint32 byteMul(quint32 x, quint32 a)
{
    quint64 t = ((quint64(x) | (quint64(x) << 24)) & 0x00ff00ff00ff00ffULL) * a;
    t = (t + ((t >> 8) & 0x00ff00ff00ff00ffULL) + 0x0080008000800080ULL) >> 8;
    t &= 0x00ff00ff00ff00ffULL;
    return quint32(t) | quint32(t >> 24);
}

// Source-over of a premultiplied colour at a coverage, as the painter blends a span.
inline void blend(quint32& dst, quint32 color, quint32 coverage)
{
    if ((coverage & qAlpha(color)) == 255) {
        dst = color;
        return;
    }
    if (coverage != 255)
        color = byteMul(color, coverage);
    dst = color + byteMul(dst, 255 - qAlpha(color));
}

// Far-off edges are held where a pixel index can still be counted; an edge
// that is no number gives nothing to fill.
int pixelEdge(double at)
{
    return std::isnan(at) ? 0 : qRound(std::clamp(at, -1e8, 1e8));
}

// The painter's own rule for an unsmoothed rectangle: the pixels whose centres it holds.
QRect pixelsOf(const QTransform& m, const QRectF& r)
{
    const int x0 = pixelEdge(r.left() * m.m11() + m.dx()), x1 = pixelEdge(r.right() * m.m11() + m.dx());
    const int y0 = pixelEdge(r.top() * m.m22() + m.dy()), y1 = pixelEdge(r.bottom() * m.m22() + m.dy());
    return QRect(QPoint(x0, y0), QPoint(x1 - 1, y1 - 1));
}

// The pixels the painter draws into: 32 bits each, premultiplied (or opaque).
struct Pixels {
    uchar* bits;
    qsizetype bytesPerLine;
    QRect rect;
    quint32* line(int y) const { return reinterpret_cast<quint32*>(bits + y * bytesPerLine); }
};

void fillBars(const Pixels& image, const QTransform& m, const QList<QRectF>& bars, const QColor& color)
{
    const quint32 pixel = color.rgba64().premultiplied().toArgb32();
    for (const QRectF& bar : bars) {
        const QRect r = pixelsOf(m, bar.normalized()) & image.rect;
        if (r.isEmpty())
            continue;
        for (int y = r.top(); y <= r.bottom(); ++y) {
            quint32* line = image.line(y) + r.left();
            if (qAlpha(pixel) == 255)
                std::fill(line, line + r.width(), pixel);
            else
                for (int x = 0; x < r.width(); ++x)
                    blend(line[x], pixel, 255);
        }
    }
}

// Writes each module of a 1-bit row from its first pixel on, `widest`
// pixels (the most any module covers); a module's excess is written over by
// the next one. The row needs widest pixels to spare at its end.
template <int Fixed = 0>
void spreadModules(const uchar* row, int modules, const int* first, const quint32* colors, quint32* out,
                   int widest = Fixed)
{
    auto put = [&](int k, int bit) {
        quint32* at = out + first[k];
        const quint32 color = colors[bit];
        if constexpr (Fixed > 0) {
#pragma GCC unroll 4
            for (int i = 0; i < Fixed; ++i)
                at[i] = color;
        } else {
            std::fill(at, at + widest, color);
        }
    };
    const int whole = modules / 8;
    for (int b = 0; b < whole; ++b) {
        const uchar byte = row[b];
#pragma GCC unroll 8
        for (int j = 0; j < 8; ++j)
            put(8 * b + j, (byte >> (7 - j)) & 1);
    }
    for (int k = 8 * whole; k < modules; ++k)
        put(k, (row[k >> 3] >> (7 - (k & 7))) & 1);
}

// A two-colour grid scaled into the pixels, each pixel taking its module as
// the painter samples an unsmoothed image: the pixel's centre mapped back
// into the grid in 16.16 fixed point, the same inverse matrix, the same
// steps along a row, edges held. False when the painter must draw it (a grid
// of another kind, an unscaled one, or one too far off for fixed point).
bool blitGrid(const Pixels& image, const QTransform& m, const QImage& grid, const QRectF& area)
{
    if (grid.format() != QImage::Format_Mono || grid.colorCount() != 2 || qAlpha(grid.color(0)) != 255 ||
        qAlpha(grid.color(1)) != 255 || area.size() == QSizeF(grid.size()) || !(area.width() > 0) ||
        !(area.height() > 0))
        return false;
    const QRectF device = m.mapRect(area);
    constexpr double Far = 30000;
    if (std::abs(device.left()) > Far || std::abs(device.right()) > Far || std::abs(device.top()) > Far ||
        std::abs(device.bottom()) > Far || grid.width() > Far || grid.height() > Far)
        return false;
    QTransform toGrid = m;
    toGrid.translate(area.x(), area.y());
    toGrid.scale(area.width() / grid.width(), area.height() / grid.height());
    // The painter nudges the matrix by one fixed-point unit so that it rounds off alike.
    const QTransform back = (QTransform::fromTranslate(1.0 / 65536, 1.0 / 65536) * toGrid).inverted();
    const QRect r = pixelsOf(m, area) & image.rect;
    if (r.isEmpty())
        return true;
    const quint32 colors[2] = {grid.color(0), grid.color(1)};
    const int fdx = int(back.m11() * 65536.0);
    const int lastX = grid.width() - 1, lastY = grid.height() - 1;
    // Where each module's pixels begin in a row, while rows start alike
    // (always, under a plain scale). A grid row is made once into a scratch
    // row, each module writing the widest a module gets from its start (the
    // next one writes over the excess), and copied to every pixel row that
    // samples it.
    const int width = r.width();
    std::vector<int> first(size_t(grid.width()) + 1);
    const qsizetype rowBytes = (grid.width() + 7) / 8;
    int columnStart = 0, widest = 0;
    const uchar* lastRow = nullptr;
    std::vector<quint32> scratch;
    for (int y = r.top(); y <= r.bottom(); ++y) {
        const double cx = r.left() + 0.5, cy = y + 0.5;
        const int start = int((back.m21() * cy + back.m11() * cx + back.dx()) * 65536.0);
        const int fy = int((back.m22() * cy + back.m12() * cx + back.dy()) * 65536.0);
        const uchar* row = grid.constScanLine(std::clamp(fy >> 16, 0, lastY));
        quint32* line = image.line(y) + r.left();
        const bool sameStart = lastRow && start == columnStart;
        if (!sameStart) {
            // Columns only grow along a row (the scale is positive).
            columnStart = start;
            int fx = start, k = 0;
            for (int x = 0; x < width; ++x, fx += fdx)
                for (const int px = std::clamp(fx >> 16, 0, lastX); k <= px; ++k)
                    first[size_t(k)] = x;
            for (; k <= grid.width(); ++k)
                first[size_t(k)] = width;
            widest = 0;
            for (k = 0; k <= lastX; ++k)
                widest = std::max(widest, first[size_t(k) + 1] - first[size_t(k)]);
            scratch.assign(size_t(width + std::max(widest, 4)), 0); // room for the fixed four
        }
        if (!sameStart || (row != lastRow && std::memcmp(row, lastRow, size_t(rowBytes)) != 0)) {
            if (widest <= 4)
                spreadModules<4>(row, grid.width(), first.data(), colors, scratch.data());
            else
                spreadModules(row, grid.width(), first.data(), colors, scratch.data(), widest);
            lastRow = row;
        }
        std::copy(scratch.data(), scratch.data() + width, line);
    }
    return true;
}

void blendGlyph(const Pixels& image, const Glyph_Mask& mask, int x0, int y0, quint32 color)
{
    const QRect place = QRect(x0 + mask.left, y0 + mask.top, mask.coverage.width(), mask.coverage.height()) & image.rect;
    for (int y = place.top(); y <= place.bottom(); ++y) {
        const uchar* cover = mask.coverage.constScanLine(y - y0 - mask.top) + (place.left() - x0 - mask.left);
        quint32* line = image.line(y) + place.left();
        for (int x = 0; x < place.width(); ++x)
            if (cover[x])
                blend(line[x], color, cover[x]);
    }
}
}

Barcode_Art::Barcode_Art(Barcode_Art_Data data)
    : d(std::make_shared<const Barcode_Art_Data>(std::move(data)))
{
}

bool Barcode_Art::isDrawable() const
{
    const auto fits = [](qreal v) { return v >= 0 && v <= Max_Size; }; // false for NaN
    return d && fits(d->size.width()) && fits(d->size.height());
}

QRect Barcode_Art::boundingRect() const
{
    if (!isDrawable())
        return QRect();
    return QRect(0, 0, int(std::ceil(d->size.width())), int(std::ceil(d->size.height())));
}

void Barcode_Art::draw(QPainter& painter, const QPointF& topLeft) const
{
    if (!isDrawable())
        return;
    painter.save();
    painter.translate(topLeft);
    if (!drawPixels(painter))
        paths(painter);
    painter.restore();
}

void Barcode_Art::drawPaths(QPainter& painter, const QPointF& topLeft) const
{
    if (!d)
        return;
    painter.save();
    painter.translate(topLeft);
    paths(painter);
    painter.restore();
}

void Barcode_Art::paths(QPainter& painter) const
{
    const Barcode_Art_Data& a = *d;
    const QRectF whole(QPointF(0, 0), a.size);
    if (a.clip)
        painter.setClipRect(whole, Qt::IntersectClip);
    painter.setPen(Qt::NoPen);
    painter.setRenderHint(QPainter::Antialiasing, false);
    if (a.background.isValid() && a.background.alpha() > 0)
        painter.fillRect(whole, a.background);
    if (!a.bars.isEmpty()) {
        painter.setBrush(a.barColor);
        painter.drawRects(a.bars);
    }
    if (!a.grid.isNull()) {
        // A two-colour grid goes into a PDF as a 1-bit mask painted in the
        // pen's colour; nothing is ever compressed with losses.
        painter.setPen(Qt::black);
        painter.setRenderHint(QPainter::SmoothPixmapTransform, false);
        painter.setRenderHint(QPainter::LosslessImageRendering, true);
        painter.drawImage(a.gridArea, a.grid);
        painter.setPen(Qt::NoPen);
    }
    if (!a.texts.isEmpty()) {
        painter.setRenderHint(QPainter::Antialiasing, true);
        const QTransform base = painter.transform();
        for (const Barcode_Art_Text& text : a.texts) {
            painter.setBrush(text.color);
            for (const Barcode_Art_Glyph& glyph : text.glyphs) {
                painter.setTransform(QTransform::fromTranslate(glyph.at.x(), glyph.at.y()) * base);
                painter.drawPath(glyph.outline);
            }
        }
        painter.setTransform(base);
    }
}

bool Barcode_Art::drawPixels(QPainter& painter) const
{
    const Barcode_Art_Data& a = *d;
    QPaintEngine* engine = painter.paintEngine();
    if (a.clip || !engine || engine->type() != QPaintEngine::Raster || painter.device()->devType() != QInternal::Image ||
        painter.hasClipping() || painter.compositionMode() != QPainter::CompositionMode_SourceOver ||
        painter.opacity() != 1.0)
        return false;
    const QImage& image = *static_cast<const QImage*>(painter.device());
    if (image.format() != QImage::Format_ARGB32_Premultiplied && image.format() != QImage::Format_RGB32)
        return false;
    const QTransform base = painter.transform();
    if (base != painter.deviceTransform() || base.type() > QTransform::TxScale || !(base.m11() > 0) ||
        !(base.m22() > 0) || !std::isfinite(base.m11() + base.m22() + base.dx() + base.dy()))
        return false;
    // The painter draws into these very bits (it took them when it began).
    const Pixels pixels{const_cast<uchar*>(image.constBits()), image.bytesPerLine(), image.rect()};

    painter.setPen(Qt::NoPen);
    painter.setRenderHint(QPainter::Antialiasing, false);
    if (a.background.isValid() && a.background.alpha() > 0)
        painter.fillRect(QRectF(QPointF(0, 0), a.size), a.background);
    fillBars(pixels, base, a.bars, a.barColor);
    if (!a.grid.isNull() && !blitGrid(pixels, base, a.grid, a.gridArea)) {
        painter.setPen(Qt::black);
        painter.setRenderHint(QPainter::SmoothPixmapTransform, false);
        painter.setRenderHint(QPainter::LosslessImageRendering, true);
        painter.drawImage(a.gridArea, a.grid);
        painter.setPen(Qt::NoPen);
    }
    for (const Barcode_Art_Text& text : a.texts) {
        const quint32 color = text.color.rgba64().premultiplied().toArgb32();
        for (const Barcode_Art_Glyph& glyph : text.glyphs) {
            if (glyph.outline.isEmpty())
                continue;
            // Placed as the path road places it, to the same bits of a double.
            const QTransform at = QTransform::fromTranslate(glyph.at.x(), glyph.at.y()) * base;
            const double x = std::floor(at.dx()), y = std::floor(at.dy());
            // Large glyphs, far-off ones and those without a key are drawn as paths.
            std::shared_ptr<const Glyph_Mask> mask;
            if (glyph.key && std::abs(x) < 1e7 && std::abs(y) < 1e7)
                mask = glyphMasks().mask({glyph.key, base.m11(), base.m22(), at.dx() - x, at.dy() - y}, glyph.outline);
            if (!mask) {
                painter.setRenderHint(QPainter::Antialiasing, true);
                painter.setBrush(text.color);
                painter.setTransform(at);
                painter.drawPath(glyph.outline);
                painter.setTransform(base);
                continue;
            }
            blendGlyph(pixels, *mask, int(x), int(y), color);
        }
    }
    return true;
}

QPicture Barcode_Art::picture() const
{
    if (!d)
        return QPicture();
    QPicture picture;
    {
        QPainter painter(&picture);
        draw(painter);
    }
    picture.setBoundingRect(boundingRect());
    return picture;
}
