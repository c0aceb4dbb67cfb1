#include "model/BarcodeArt.h"

#include "model/Helpers.h"

#include <QPaintEngine>
#include <QPainter>
#include <algorithm>
#include <array>
#include <atomic>
#include <bit>
#include <cmath>
#include <cstring>
#include <limits>
#include <mutex>
#include <optional>
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
    // Of each row, the first column with coverage and the one after its last
    // (equal on a blank row): the rest of the row leaves its pixels as they are.
    std::vector<std::pair<int, int>> inked;
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
    // Asked for every glyph drawn, so worked out inline from the values' bits
    // (adding 0.0 makes -0.0 the 0.0 it equals).
    size_t operator()(const Glyph_Mask_Key& k) const
    {
        quint64 h = k.glyph;
        for (const double v : {k.sx, k.sy, k.fx, k.fy})
            h = (h ^ std::bit_cast<quint64>(v + 0.0)) * 0x9E3779B97F4A7C15ULL;
        return size_t(h ^ (h >> 29));
    }
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
    painter.end();
    mask->inked.resize(size_t(h));
    for (int y = 0; y < h; ++y) {
        const uchar* row = mask->coverage.constScanLine(y);
        int from = 0, to = w;
        while (from < w && !row[from])
            ++from;
        while (to > from && !row[to - 1])
            --to;
        mask->inked[size_t(y)] = {from, to};
    }
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

// The mask of a glyph; null for one drawn as a path. Each thread keeps the
// masks it used last, asked without the shared cache's lock; the pointer
// holds until the thread's next call.
const Glyph_Mask* glyphMask(const Glyph_Mask_Key& key, const QPainterPath& outline)
{
    struct Near {
        Glyph_Mask_Key key{};
        std::shared_ptr<const Glyph_Mask> mask;
        bool made = false;
    };
    thread_local std::array<Near, 64> near;
    Near& slot = near[Glyph_Mask_Hash{}(key) % near.size()];
    if (!slot.made || !(slot.key == key)) {
        slot.mask = glyphMasks().mask(key, outline);
        slot.key = key;
        slot.made = true;
    }
    return slot.mask.get();
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

// Whether a grid can be blitted: two opaque colours in a 1-bit image.
bool plainGrid(const QImage& grid)
{
    return grid.format() == QImage::Format_Mono && grid.colorCount() == 2 && qAlpha(grid.color(0)) == 255 &&
           qAlpha(grid.color(1)) == 255;
}

// A two-colour grid scaled into the pixels, each pixel taking its module as
// the painter samples an unsmoothed image: the pixel's centre mapped back
// into the grid in 16.16 fixed point, the same inverse matrix, the same
// steps along a row, edges held. False when the painter must draw it (a grid
// of another kind, an unscaled one, or one too far off for fixed point).
bool blitGrid(const Pixels& image, const QTransform& m, const QImage& grid, const QRectF& area)
{
    if (!plainGrid(grid) || area.size() == QSizeF(grid.size()) || !(area.width() > 0) || !(area.height() > 0))
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

// A symbol laid out in whole pixels along one axis: pixels per module and
// the device pixel where its first module starts; no pixels per module
// when not even one pixel a module fits the box.
struct Module_Axis {
    int perModule = 0;
    int start = 0;
};

// `modules` modules of `size` points from `at`, inside a box from boxFrom to
// boxTo (points), under a scale and offset to device pixels. Each module
// gets the whole number of pixels nearest its size (at least one), fewer
// when the symbol would not fit the box with a quiet zone of half the blank
// the box leaves it (whole modules, up to ten a side); the symbol keeps its
// centre as nearly as whole pixels allow, and never leaves the box.
Module_Axis wholePixelAxis(double at, double size, int modules, double boxFrom, double boxTo, double scale,
                           double offset, qint64 most = std::numeric_limits<qint64>::max())
{
    const qint64 b0 = pixelEdge(boxFrom * scale + offset), b1 = pixelEdge(boxTo * scale + offset);
    const double nominal = size * scale;
    if (!(nominal > 0) || modules <= 0 || b1 <= b0)
        return {};
    const double blank = std::min(at - boxFrom, boxTo - (at + modules * size)) / size;
    const qint64 quiet = qint64(std::clamp(std::floor(blank / 2 + 1e-6), 0.0, 10.0));
    const qint64 box = b1 - b0;
    qint64 k = std::min(most, std::max<qint64>(1, std::llround(std::min(nominal, 1e8))));
    if (k * (modules + 2 * quiet) > box)
        k = box / (modules + 2 * quiet);
    if (k == 0 && modules <= box)
        k = 1;
    if (k == 0)
        return {};
    const qint64 width = k * modules;
    const qint64 margin = std::min(quiet * k, (box - width) / 2);
    const double centre = (at + modules * size / 2.0) * scale + offset;
    const qint64 start = std::clamp<qint64>(std::llround(centre - width / 2.0), b0 + margin, b1 - margin - width);
    return {int(k), int(start)};
}

// The part of a rectangle of whole pixels (a size that is not positive is
// empty) inside a bounding one, worked out inline: a symbol has many bars.
inline QRect clipped(int x, int y, int w, int h, const QRect& bounds)
{
    if (w <= 0 || h <= 0)
        return QRect();
    const int left = std::max(x, bounds.left()), right = std::min(x + w - 1, bounds.right());
    const int top = std::max(y, bounds.top()), bottom = std::min(y + h - 1, bounds.bottom());
    return QRect(QPoint(left, top), QPoint(right, bottom));
}

// The bars of a linear symbol as whole-pixel spans: each bar from its first
// module's pixel, its modules' pixels wide; tops and bottoms as the painter
// places them. With an opaque background (its pixels `ground`, one colour)
// the background is filled here too, each pixel written once: a row of
// background alone and the row every bar crosses are each made once, and
// the other rows of their kind copied from them.
void fillWholePixelBars(const Pixels& image, const QTransform& m, const Barcode_Art_Data& a, Module_Axis x,
                        const QRect& ground = QRect(), quint32 groundPixel = 0)
{
    const quint32 pixel = a.barColor.rgba64().premultiplied().toArgb32();
    const bool opaque = qAlpha(pixel) == 255;
    thread_local std::vector<QRect> spans; // kept by the thread from symbol to symbol
    spans.clear();
    int commonTop = std::numeric_limits<int>::min(), commonBottom = std::numeric_limits<int>::max();
    bool inGround = true;
    // Bars mostly share their top and bottom: their pixel rows are worked out once.
    double lastTop = std::numeric_limits<double>::quiet_NaN(), lastBottom = lastTop;
    int y0 = 0, y1 = 0;
    for (qsizetype i = 0; i < a.bars.size(); ++i) {
        const QRectF& bar = a.bars[i];
        const double top = std::min(bar.top(), bar.bottom()), bottom = std::max(bar.top(), bar.bottom());
        if (!(top == lastTop && bottom == lastBottom)) {
            lastTop = top;
            lastBottom = bottom;
            y0 = pixelEdge(top * m.m22() + m.dy());
            y1 = pixelEdge(bottom * m.m22() + m.dy());
        }
        const Barcode_Art_Run run = a.runs[i];
        const int x0 = x.start + run.first * x.perModule;
        const QRect r = clipped(x0, y0, run.count * x.perModule, y1 - y0, image.rect);
        if (r.isEmpty())
            continue;
        spans.push_back(r);
        inGround = inGround && r.left() >= ground.left() && r.right() <= ground.right() && r.top() >= ground.top() &&
                   r.bottom() <= ground.bottom();
        commonTop = std::max(commonTop, r.top());
        commonBottom = std::min(commonBottom, r.bottom());
    }
    auto fill = [&](const QRect& r, int from, int to) {
        for (int y = from; y <= to; ++y) {
            quint32* line = image.line(y) + r.left();
            if (opaque)
                std::fill(line, line + r.width(), pixel);
            else
                for (int i = 0; i < r.width(); ++i)
                    blend(line[i], pixel, 255);
        }
    };
    const bool copyRows = opaque && !ground.isEmpty() && !spans.empty() && inGround && commonTop <= commonBottom;
    if (!copyRows) {
        for (int y = ground.top(); y <= ground.bottom(); ++y)
            std::fill(image.line(y) + ground.left(), image.line(y) + ground.right() + 1, groundPixel);
        for (const QRect& r : spans)
            fill(r, r.top(), r.bottom());
        return;
    }
    const size_t rowBytes = size_t(ground.width()) * sizeof(quint32);
    const quint32* plain = nullptr; // a row of background alone, once made
    auto groundRow = [&](quint32* line) {
        if (plain) {
            std::memcpy(line, plain, rowBytes);
        } else {
            std::fill(line, line + ground.width(), groundPixel);
            plain = line;
        }
    };
    for (int y = ground.top(); y < commonTop; ++y)
        groundRow(image.line(y) + ground.left());
    quint32* const crossed = image.line(commonTop) + ground.left(); // the row the others copy
    if (plain)
        std::memcpy(crossed, plain, rowBytes);
    else
        std::fill(crossed, crossed + ground.width(), groundPixel);
    for (const QRect& r : spans)
        fill(r, commonTop, commonTop);
    for (int y = commonTop + 1; y <= commonBottom; ++y)
        std::memcpy(image.line(y) + ground.left(), crossed, rowBytes);
    for (int y = commonBottom + 1; y <= ground.bottom(); ++y)
        groundRow(image.line(y) + ground.left());
    for (const QRect& r : spans) {
        fill(r, r.top(), commonTop - 1);
        fill(r, commonBottom + 1, r.bottom());
    }
}

// The pixels of a one-colour area, but for a hole left as it is.
void fillAround(const Pixels& image, const QRect& area, const QRect& hole, quint32 pixel)
{
    const QRect kept = hole & area;
    for (int y = area.top(); y <= area.bottom(); ++y) {
        quint32* line = image.line(y);
        if (kept.isEmpty() || y < kept.top() || y > kept.bottom()) {
            std::fill(line + area.left(), line + area.right() + 1, pixel);
            continue;
        }
        std::fill(line + area.left(), line + kept.left(), pixel);
        std::fill(line + kept.right() + 1, line + area.right() + 1, pixel);
    }
}

// A two-colour grid with each module a block of whole pixels from a device
// pixel on; rows of pixels made once per grid row and copied.
void blitWholePixelGrid(const Pixels& image, const QImage& grid, Module_Axis x, Module_Axis y)
{
    const QRect whole = QRect(x.start, y.start, grid.width() * x.perModule, grid.height() * y.perModule);
    const QRect r = whole & image.rect;
    if (r.isEmpty())
        return;
    const quint32 colors[2] = {grid.color(0), grid.color(1)};
    // Kept by the thread from symbol to symbol (no allocation each time).
    thread_local std::vector<int> first;
    thread_local std::vector<quint32> scratch;
    first.resize(size_t(grid.width()));
    for (int k = 0; k < grid.width(); ++k)
        first[size_t(k)] = k * x.perModule;
    scratch.resize(size_t(whole.width()) + size_t(std::max(x.perModule, 4)));
    const qsizetype rowBytes = (grid.width() + 7) / 8;
    const uchar* lastRow = nullptr;
    for (int py = r.top(); py <= r.bottom(); ++py) {
        const uchar* row = grid.constScanLine((py - whole.top()) / y.perModule);
        if (row != lastRow && (!lastRow || std::memcmp(row, lastRow, size_t(rowBytes)) != 0)) {
            switch (x.perModule) {
            case 1: spreadModules<1>(row, grid.width(), first.data(), colors, scratch.data()); break;
            case 2: spreadModules<2>(row, grid.width(), first.data(), colors, scratch.data()); break;
            case 3: spreadModules<3>(row, grid.width(), first.data(), colors, scratch.data()); break;
            default: spreadModules(row, grid.width(), first.data(), colors, scratch.data(), x.perModule);
            }
        }
        lastRow = row;
        const quint32* from = scratch.data() + (r.left() - whole.left());
        std::copy(from, from + r.width(), image.line(py) + r.left());
    }
}

// One colour blended over one opaque ground at each coverage, made when
// first asked (0 is not made yet: a blend over an opaque ground is never 0),
// but for coverage 0, which leaves the ground as it is.
// Most of a caption's pixels lie on the symbol's background.
struct Ground_Blends {
    quint32 color = 0, ground = 0;
    std::array<quint32, 256> at{};
    void use(quint32 c, quint32 g)
    {
        if (c != color || g != ground) {
            color = c;
            ground = g;
            at.fill(0);
            at[0] = g;
        }
    }
};

void blendGlyph(const Pixels& image, const Glyph_Mask& mask, int x0, int y0, quint32 color, Ground_Blends* over)
{
    const int left = x0 + mask.left, top = y0 + mask.top;
    const QRect place = clipped(left, top, mask.coverage.width(), mask.coverage.height(), image.rect);
    const uchar* const coverage = mask.coverage.constBits();
    const qsizetype coverageLine = mask.coverage.bytesPerLine();
    // A loop of each kind, the ground and its blends held in registers.
    auto blendRow = [color](const uchar* cover, quint32* line, int n) {
        for (int x = 0; x < n; ++x)
            if (cover[x])
                blend(line[x], color, cover[x]);
    };
    auto blendRowOver = [color](const uchar* cover, quint32* line, int n, quint32 ground, quint32* blends) {
        for (int x = 0; x < n; ++x) {
            const uchar c = cover[x];
            if (line[x] == ground) {
                quint32& blended = blends[c];
                if (!blended) {
                    blended = ground;
                    blend(blended, color, c);
                }
                line[x] = blended;
            } else if (c) {
                blend(line[x], color, c);
            }
        }
    };
    for (int y = place.top(); y <= place.bottom(); ++y) {
        const auto [inkFrom, inkTo] = mask.inked[size_t(y - top)];
        const int from = std::max(place.left(), left + inkFrom), to = std::min(place.right() + 1, left + inkTo);
        if (from >= to)
            continue;
        const uchar* cover = coverage + (y - top) * coverageLine + (from - left);
        quint32* line = image.line(y) + from;
        if (over)
            blendRowOver(cover, line, to - from, over->ground, over->at.data());
        else
            blendRow(cover, line, to - from);
    }
}
}

Barcode_Art::Barcode_Art(Barcode_Art_Data data)
    : d(std::make_shared<const Held>(std::move(data)))
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

namespace {
// The whole-pixel layout of a linear symbol along x; none for bars without a module pattern.
std::optional<Module_Axis> linearAxis(const Barcode_Art_Data& a, const QTransform& m)
{
    if (a.bars.isEmpty() || a.runs.size() != a.bars.size() || a.moduleCount <= 0)
        return std::nullopt;
    return wholePixelAxis(a.moduleLeft, a.moduleWidth, a.moduleCount, 0, a.size.width(), m.m11(), m.dx());
}

struct Grid_Axes {
    Module_Axis x, y;
};

// The whole-pixel layout of a 2-D grid; none for a grid the pixel road
// cannot blit. Modules about as high as wide are whole-pixel squares.
std::optional<Grid_Axes> gridAxes(const Barcode_Art_Data& a, const QTransform& m)
{
    const QImage& grid = a.grid;
    const QRectF& area = a.gridArea;
    if (grid.isNull() || !plainGrid(grid) || !(area.width() > 0) || !(area.height() > 0))
        return std::nullopt;
    const QRectF box = a.gridRoom.isEmpty() ? area : a.gridRoom;
    const double w = area.width() / grid.width(), h = area.height() / grid.height();
    auto axes = [&](qint64 most) {
        return Grid_Axes{wholePixelAxis(area.left(), w, grid.width(), box.left(), box.right(), m.m11(), m.dx(), most),
                         wholePixelAxis(area.top(), h, grid.height(), box.top(), box.bottom(), m.m22(), m.dy(), most)};
    };
    Grid_Axes g = axes(std::numeric_limits<qint64>::max());
    const double wide = w * m.m11(), high = h * m.m22();
    if (g.x.perModule != g.y.perModule && std::max(wide, high) < 1.25 * std::min(wide, high))
        g = axes(std::min(g.x.perModule, g.y.perModule));
    return g;
}
}

namespace {
// The device pixels a whole-pixel grid covers.
QRect gridPixels(const QImage& grid, const Grid_Axes& g)
{
    return QRect(g.x.start, g.y.start, grid.width() * g.x.perModule, grid.height() * g.y.perModule);
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
    // Pixels are placed through the device's matrix (a device pixel ratio
    // included); the painter itself is given the user's.
    const QTransform world = painter.transform();
    const QTransform base = painter.deviceTransform();
    if (base.type() > QTransform::TxScale || world.type() > QTransform::TxScale || !(base.m11() > 0) ||
        !(base.m22() > 0) || !std::isfinite(base.m11() + base.m22() + base.dx() + base.dy()))
        return false;
    // The painter draws into these very bits (it took them when it began).
    const Pixels pixels{const_cast<uchar*>(image.constBits()), image.bytesPerLine(), image.rect()};

    painter.setPen(Qt::NoPen);
    painter.setRenderHint(QPainter::Antialiasing, false);
    double modulePixels = std::numeric_limits<double>::infinity();
    const std::optional<Module_Axis> x = linearAxis(a, base);
    const bool barsWhole = x && x->perModule > 0;
    if (x)
        modulePixels = a.moduleWidth * base.m11();
    const std::optional<Grid_Axes> g = a.grid.isNull() ? std::nullopt : gridAxes(a, base);
    const bool gridWhole = g && g->x.perModule > 0 && g->y.perModule > 0;
    if (g)
        modulePixels = std::min(a.gridArea.width() / a.grid.width() * base.m11(),
                                a.gridArea.height() / a.grid.height() * base.m22());
    const bool wholePixels = (!x || barsWhole) && (!g || gridWhole);
    // An opaque background is written straight into the pixels, each pixel
    // once: around a whole-pixel grid, between whole-pixel bars.
    const bool ground = a.background.isValid() && a.background.alpha() > 0;
    const bool opaqueGround = ground && a.background.alpha() == 255;
    const quint32 groundPixel = a.background.rgba64().premultiplied().toArgb32();
    const QRect groundRect = opaqueGround ? pixelsOf(base, QRectF(QPointF(0, 0), a.size)) & pixels.rect : QRect();
    if (barsWhole && opaqueGround) {
        fillWholePixelBars(pixels, base, a, *x, groundRect, groundPixel);
    } else {
        if (opaqueGround)
            fillAround(pixels, groundRect, gridWhole ? gridPixels(a.grid, *g) : QRect(), groundPixel);
        else if (ground)
            painter.fillRect(QRectF(QPointF(0, 0), a.size), a.background);
        if (barsWhole)
            fillWholePixelBars(pixels, base, a, *x);
        else
            fillBars(pixels, base, a.bars, a.barColor);
    }
    if (gridWhole) {
        blitWholePixelGrid(pixels, a.grid, g->x, g->y);
    } else if (!a.grid.isNull() && !blitGrid(pixels, base, a.grid, a.gridArea)) {
        painter.setPen(Qt::black);
        painter.setRenderHint(QPainter::SmoothPixmapTransform, false);
        painter.setRenderHint(QPainter::LosslessImageRendering, true);
        painter.drawImage(a.gridArea, a.grid);
        painter.setPen(Qt::NoPen);
    }
    if (modulePixels < 1 || !wholePixels)
        logModules(wholePixels, qRound(base.m11() * 72.0));
    thread_local Ground_Blends groundBlends;
    for (const Barcode_Art_Text& text : a.texts) {
        const quint32 color = text.color.rgba64().premultiplied().toArgb32();
        Ground_Blends* over = nullptr;
        if (opaqueGround) {
            groundBlends.use(color, groundPixel);
            over = &groundBlends;
        }
        for (const Barcode_Art_Glyph& glyph : text.glyphs) {
            if (glyph.outline.isEmpty())
                continue;
            // Placed as the path road places it, to the same bits of a double
            // (the matrix is a plain scale: its shears are 0).
            const double atX = glyph.at.x() * base.m11() + base.dx(), atY = glyph.at.y() * base.m22() + base.dy();
            const double x = std::floor(atX), y = std::floor(atY);
            // Large glyphs, far-off ones and those without a key are drawn as paths.
            const Glyph_Mask* mask = nullptr;
            if (glyph.key && std::abs(x) < 1e7 && std::abs(y) < 1e7)
                mask = glyphMask({glyph.key, base.m11(), base.m22(), atX - x, atY - y}, glyph.outline);
            if (!mask) {
                painter.setRenderHint(QPainter::Antialiasing, true);
                painter.setBrush(text.color);
                painter.setTransform(QTransform::fromTranslate(glyph.at.x(), glyph.at.y()) * world);
                painter.drawPath(glyph.outline);
                painter.setTransform(world);
                continue;
            }
            blendGlyph(pixels, *mask, int(x), int(y), color, over);
        }
    }
    return true;
}

void Barcode_Art::logModules(bool drawnWhole, int dpi) const
{
    // Once for a symbol at a resolution: the canvas draws it again and again.
    auto& logged = static_cast<const Held&>(*d).loggedDpi;
    if (logged.exchange(dpi) == dpi)
        return;
    const QString name = QStringLiteral("%1 barcode \"%2\"").arg(d->type, d->value);
    Show_NSLog_Message(drawnWhole ? QStringLiteral("%1: modules narrower than one pixel at %2 dpi; drawn one pixel "
                                                   "per module.").arg(name).arg(dpi)
                                  : QStringLiteral("%1: modules narrower than one pixel at %2 dpi do not fit its "
                                                   "box at one pixel each; drawn unevenly, it may not scan.")
                                        .arg(name).arg(dpi));
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
