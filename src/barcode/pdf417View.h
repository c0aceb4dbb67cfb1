#pragma once
// The PDF417 image maker: encodes a text at an error level, turns the bit
// matrix into an image of the view's size (each module stretched to fill it),
// raises it to the output resolution and keeps it. Widget-free, so the batch
// road can use it on any thread; pdf417ViewWidget shows one in a window and
// offers the drag and drop roles.
#include "barcode/BarcodeUnits.h"
#include "barcode/pdf417lib.h"

#include <QDataStream>
#include <QImage>
#include <QPointer>
#include <QSizeF>
#include <QWidget>

class QPainter;

class pdf417View {
public:
    enum { ImageReady = 0, ImageEmpty = 1, ImageError = 2 };

    pdf417View(); // initWithFrame: an empty view of level 2

    QSizeF frameSize() const { return _frame; }
    // The view's size in points; a size below one point is refused (logged).
    void setFrameSize(const QSizeF& size);

    // Encodes the text and keeps its image; the state (0 done, 1 empty text, 2 error).
    int drawWithText(const QString& text, int dpi = USED_DPI_VALUE);
    // Encodes the text and keeps its module grid only (no image is made).
    int encodeText(const QString& text);
    // The module grid of the last symbol encoded, filling the view's size.
    Barcode_Grid grid() const;
    QImage getImage() const { return pdf417Image; }
    // Out-of-range levels are clamped (logged); the new level is logged unless quiet.
    void setErrorLevel(int level, bool logLevel = true);
    int getErrorLevel() const { return errorLevel; }
    int imageState() const { return _imageState; }
    // The bit matrix of the last symbol drawn (for its size in modules).
    const pdf417param& param() const { return p; }

    // Encodes the text of the inString object (its "plainText" or "text" property).
    void draw();
    QPointer<QObject> inString;

    // Draws the current state into the view's bounds (0, 0, width, height).
    void drawRect(QPainter& painter) const;

    void toggleSourceState();
    void toggleTargetState();
    bool getSourceState() const { return isDragSource; }
    bool getTargetState() const { return isDragTarget; }
    bool dragSessionInProgress() const { return _dragSessionInProgress; }
    // A drag enters: accepted (marked in progress) only as a drop target and
    // for a string, when the source offers to copy.
    bool draggingEntered(bool hasString, bool sourceOffersCopy);
    void draggingExited() { _dragSessionInProgress = false; }
    void concludeDragOperation() { _dragSessionInProgress = false; }
    // The dropped string is encoded; no string shows "Unable to perform drop operation.".
    bool performDragOperation(const QString* droppedString);

    void encodeWithCoder(QDataStream& out) const;
    void initWithCoder(QDataStream& in);

private:
    void _drawEmptyString() { _imageState = ImageEmpty; }

    QImage pdf417Image;
    QImage modules; // one pixel per module and per row; 0 black, 1 white
    pdf417param p;
    int errorLevel = 2;
    int _imageState = ImageEmpty;
    bool isDragSource = false, isDragTarget = false, _dragSessionInProgress = false;
    QSizeF _frame{100, 20};
};

// A widget that shows a pdf417View and carries its drags and drops.
class pdf417ViewWidget : public QWidget {
public:
    explicit pdf417ViewWidget(QWidget* parent = nullptr);
    pdf417View& view() { return _view; }

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dragLeaveEvent(QDragLeaveEvent* event) override;
    void dropEvent(QDropEvent* event) override;

private:
    pdf417View _view;
};
