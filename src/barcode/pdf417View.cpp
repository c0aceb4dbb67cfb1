#include "barcode/pdf417View.h"

#include "model/Helpers.h"
#include "platform/Host.h"

#include <QDrag>
#include <QDragEnterEvent>
#include <QMimeData>
#include <QPainter>
#include <QVariant>
#include <algorithm>
#include <cstring>

pdf417View::pdf417View()
{
    pdf417init(&p);
    _drawEmptyString();
}

void pdf417View::setFrameSize(const QSizeF& size)
{
    if (!(size.width() >= 1) || !(size.height() >= 1)) {
        Show_NSLog_Message(QStringLiteral("PDF417 size %1 x %2 is too small; %3 x %4 is kept.")
                               .arg(size.width()).arg(size.height()).arg(_frame.width()).arg(_frame.height()));
        return;
    }
    _frame = size;
}

int pdf417View::encodeText(const QString& text)
{
    modules = QImage();
    if (text.isEmpty()) {
        _drawEmptyString();
        return _imageState;
    }
    const QByteArray bytes = text.toUtf8();
    pdf417init(&p);
    p.text = bytes.constData();
    p.lenText = int(std::min<qsizetype>(bytes.size(), PDF417_MAX_TEXT + 1));
    p.options = PDF417_USE_ERROR_LEVEL | PDF417_INVERT_BITMAP;
    p.errorLevel = errorLevel;
    p.aspectRatio = 1.0f;
    paintCode(&p);
    p.text = nullptr;
    if (p.error != PDF417_ERROR_SUCCESS) {
        Show_NSLog_Message(QStringLiteral("Error encountered while drawing barcode, error %1.").arg(p.error));
        pdf417free(&p);
        _imageState = ImageError;
        return _imageState;
    }
    modules = QImage(p.bitColumns, p.codeRows, QImage::Format_Mono);
    modules.setColorTable({qRgb(0, 0, 0), qRgb(255, 255, 255)});
    const int rowBytes = p.lenBits / p.codeRows;
    for (int y = 0; y < p.codeRows; ++y)
        std::memcpy(modules.scanLine(y), p.outBits.data() + size_t(y) * size_t(rowBytes), size_t(rowBytes));
    _imageState = ImageReady;
    return _imageState;
}

Barcode_Grid pdf417View::grid() const
{
    Barcode_Grid grid;
    if (modules.isNull())
        return grid;
    grid.modules = modules;
    grid.size = _frame;
    grid.area = QRectF(QPointF(0, 0), _frame);
    return grid;
}

int pdf417View::drawWithText(const QString& text, int dpi)
{
    if (encodeText(text) != ImageReady)
        return _imageState;
    Barcode_Grid raised = grid();
    raised.dpi = dpi;
    const QImage image = raised.image();
    if (image.isNull()) {
        _imageState = ImageError;
        return _imageState;
    }
    pdf417Image = image;
    return _imageState;
}

void pdf417View::setErrorLevel(int level, bool logLevel)
{
    if (level < 0 || level > 8) {
        Show_NSLog_Message(QStringLiteral("PDF417 error level %1 is out of range; %2 is used.")
                               .arg(level).arg(std::clamp(level, 0, 8)));
        level = std::clamp(level, 0, 8);
    }
    errorLevel = level;
    if (logLevel)
        Show_NSLog_Message(QStringLiteral("ErrorLevel set to %1").arg(errorLevel));
}

void pdf417View::draw()
{
    QVariant text = inString ? inString->property("plainText") : QVariant();
    if (inString && !text.isValid())
        text = inString->property("text");
    if (!text.isValid()) {
        Show_NSLog_Message(QStringLiteral("ERROR! inString must respond to -(NSString*)string method"));
        return;
    }
    drawWithText(text.toString());
}

void pdf417View::drawRect(QPainter& painter) const
{
    const QRectF bounds(QPointF(0, 0), _frame);
    if (_imageState == ImageEmpty) {
        painter.fillRect(bounds, Qt::lightGray);
    } else if (_imageState == ImageError) {
        painter.fillRect(bounds, Qt::white);
        painter.setPen(Qt::black);
        painter.drawText(bounds, Qt::TextWordWrap, QStringLiteral("There was a problem drawing the barcode."));
    } else {
        painter.save();
        painter.setCompositionMode(QPainter::CompositionMode_Source);
        painter.drawImage(bounds, pdf417Image);
        painter.restore();
    }
    if (_dragSessionInProgress) {
        painter.setPen(QPen(Qt::red, 1));
        painter.setBrush(Qt::NoBrush);
        painter.drawRect(bounds.adjusted(0.5, 0.5, -0.5, -0.5));
    }
}

void pdf417View::toggleSourceState()
{
    isDragSource = !isDragSource;
    Show_NSLog_Message(QStringLiteral("SourceState set to %1").arg(int(isDragSource)));
}

void pdf417View::toggleTargetState()
{
    isDragTarget = !isDragTarget;
    Show_NSLog_Message(QStringLiteral("TargetState set to %1").arg(int(isDragTarget)));
}

bool pdf417View::draggingEntered(bool hasString, bool sourceOffersCopy)
{
    if (!isDragTarget || !hasString)
        return false;
    _dragSessionInProgress = true;
    return sourceOffersCopy;
}

bool pdf417View::performDragOperation(const QString* droppedString)
{
    if (!droppedString) {
        platform::AlertRequest alert;
        alert.title = QStringLiteral("Paste");
        alert.text = QStringLiteral("Unable to perform %1 operation.").arg(QStringLiteral("drop"));
        platform::showAlert(alert);
        return false;
    }
    return drawWithText(*droppedString) == ImageReady;
}

void pdf417View::encodeWithCoder(QDataStream& out) const
{
    out << _frame << qint32(errorLevel) << qint8(isDragTarget) << qint8(isDragSource)
        << qint32(_imageState);
    if (pdf417Image.isNull()) {
        QImage empty(std::max(1, int(_frame.width())), std::max(1, int(_frame.height())),
                     QImage::Format_ARGB32_Premultiplied);
        empty.fill(Qt::transparent);
        out << empty;
    } else {
        out << pdf417Image;
    }
}

void pdf417View::initWithCoder(QDataStream& in)
{
    Show_NSLog_Message(QStringLiteral("unarchiving pdf417View"));
    _dragSessionInProgress = false;
    qint32 level = 2, state = ImageEmpty;
    qint8 target = 0, source = 0;
    QSizeF frame;
    QImage image;
    in >> frame >> level >> target >> source >> state >> image;
    if (in.status() != QDataStream::Ok) {
        Show_NSLog_Message(QStringLiteral("The archived PDF417 view could not be read."));
        return;
    }
    if (frame.width() >= 1 && frame.height() >= 1)
        _frame = frame;
    errorLevel = std::clamp(int(level), 0, 8);
    isDragTarget = target != 0;
    isDragSource = source != 0;
    _imageState = state >= ImageReady && state <= ImageError ? int(state) : ImageEmpty;
    pdf417Image = image;
}

pdf417ViewWidget::pdf417ViewWidget(QWidget* parent) : QWidget(parent)
{
    setAcceptDrops(true);
}

void pdf417ViewWidget::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    _view.drawRect(painter);
}

void pdf417ViewWidget::resizeEvent(QResizeEvent*)
{
    _view.setFrameSize(QSizeF(size()));
}

void pdf417ViewWidget::mousePressEvent(QMouseEvent* event)
{
    if ((event->modifiers() & Qt::AltModifier) || !_view.getSourceState() || _view.getImage().isNull()) {
        QWidget::mousePressEvent(event);
        return;
    }
    auto* drag = new QDrag(this);
    auto* data = new QMimeData;
    data->setImageData(_view.getImage());
    drag->setMimeData(data);
    drag->setPixmap(QPixmap::fromImage(_view.getImage().scaled(size())));
    drag->exec(Qt::CopyAction);
}

void pdf417ViewWidget::dragEnterEvent(QDragEnterEvent* event)
{
    const bool copy = event->possibleActions() & Qt::CopyAction;
    if (_view.draggingEntered(event->mimeData()->hasText(), copy)) {
        event->setDropAction(Qt::CopyAction);
        event->accept();
    }
    update();
}

void pdf417ViewWidget::dragLeaveEvent(QDragLeaveEvent*)
{
    _view.draggingExited();
    update();
}

void pdf417ViewWidget::dropEvent(QDropEvent* event)
{
    const QString text = event->mimeData()->text();
    const bool ok = _view.performDragOperation(event->mimeData()->hasText() ? &text : nullptr);
    _view.concludeDragOperation();
    event->setAccepted(ok);
    update();
}
