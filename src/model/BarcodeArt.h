#pragma once
// A barcode symbol as drawing data: the bars of a linear symbol as
// rectangles, its texts as glyph outlines, a 2-D symbol's module grid as a
// 1-bit image with the rectangle it fills. A barcode graphic keeps one and
// draws it straight onto whatever painter it is given (screen, image,
// printer), so every device shows the same symbol at its own resolution.
// Copies share the data; the data never changes once made, so any thread may
// draw it.
#include <QColor>
#include <QImage>
#include <QList>
#include <QPainterPath>
#include <QPicture>
#include <QRectF>
#include <atomic>
#include <memory>

class QPainter;

// One glyph: its outline (in points, origin on the baseline) placed at a point.
struct Barcode_Art_Glyph {
    QPainterPath outline;
    QPointF at;
    // Names the outline (its font, size and glyph) for the pixel cache; 0 for
    // an outline drawn as a path every time.
    quint64 key = 0;
};
// A key no other outline has.
quint64 New_Barcode_Glyph_Key();

struct Barcode_Art_Text {
    QList<Barcode_Art_Glyph> glyphs;
    QColor color;
};

// The modules a bar covers, counted from the symbol's first module.
struct Barcode_Art_Run {
    int first = 0;
    int count = 0;
};

struct Barcode_Art_Data {
    QSizeF size;                  // points; the art covers (0, 0, width, height), y down
    QColor background;            // filled over the whole size; invalid for none
    QList<QRectF> bars;           // dark rectangles
    QColor barColor = Qt::black;
    QList<Barcode_Art_Text> texts;
    QImage grid;                  // 2-D modules, one pixel each (dark and light)
    QRectF gridArea;              // where the grid is drawn
    QRectF gridRoom;              // what the grid may take in whole pixels; empty: its area
    bool clip = false;            // something reaches past the size: clip to it
    // A linear symbol's module pattern, so that pixels can be laid out in
    // whole pixels per module: each bar's modules (one run per bar, in the
    // order of bars), the first module's left edge and one module's width in
    // points, and the modules from the first to the last. No runs: the bars
    // are drawn as their rectangles only.
    QList<Barcode_Art_Run> runs;
    qreal moduleLeft = 0, moduleWidth = 0;
    int moduleCount = 0;
    QString type, value;          // the symbology's title and the value, for the log
};

class Barcode_Art {
public:
    Barcode_Art() = default;
    explicit Barcode_Art(Barcode_Art_Data data);

    // The largest side a symbol may have, in points (some 350 metres): the
    // size comes from stored styles, so it is checked before it becomes an int.
    static constexpr qreal Max_Size = 1e6;

    bool isNull() const { return !d; }
    QSizeF size() const { return d ? d->size : QSizeF(); }
    // True when the size is a number from 0 to Max_Size each way; an art
    // that is not draws nothing and has an empty bounding rectangle.
    bool isDrawable() const;
    // The size rounded up to whole points, from (0, 0).
    QRect boundingRect() const;
    const Barcode_Art_Data* data() const { return d.get(); }
    // Two arts are the same when they share their data.
    bool sameAs(const Barcode_Art& other) const { return d == other.d; }

    // Draws the symbol with its top-left corner at topLeft, in the painter's units (points).
    // Into an image under a plain scale the symbol is laid out in whole
    // pixels: every module the same whole number of pixels (the nearest to
    // its size that lets the symbol fit its box), module edges on pixel
    // edges, centred where the symbol stands; bars are filled as spans and
    // the glyphs blended straight into the pixels (the painter's own pixels).
    // A symbol whose modules cannot get a whole pixel inside its box is
    // drawn as the painter places it, and a log line says so.
    // Any other device (PDF, printer, picture) gets paths and rectangles.
    void draw(QPainter& painter, const QPointF& topLeft = QPointF()) const;
    // Always as paths and rectangles, whatever the device.
    void drawPaths(QPainter& painter, const QPointF& topLeft = QPointF()) const;
    // The symbol recorded as a vector picture whose bounding rectangle is boundingRect().
    QPicture picture() const;

private:
    // The pixel road, the painter moved to the art's corner; false (nothing
    // drawn) when its device or state needs the path road.
    bool drawPixels(QPainter& painter) const;
    // The log line of a symbol whose modules are under a pixel at a resolution.
    void logModules(bool drawnWhole, int dpi) const;
    void paths(QPainter& painter) const;
    // The data with what the pixel road has logged of it.
    struct Held : Barcode_Art_Data {
        explicit Held(Barcode_Art_Data&& data) : Barcode_Art_Data(std::move(data)) {}
        mutable std::atomic<int> loggedDpi{0};
    };
    std::shared_ptr<const Barcode_Art_Data> d;
};
