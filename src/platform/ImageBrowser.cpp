#include "platform/ImageBrowser.h"

#include <QDragEnterEvent>
#include <QDropEvent>
#include <QImageReader>
#include <QKeyEvent>
#include <QPainter>
#include <QSignalBlocker>
#include <algorithm>

namespace {
constexpr int kThumbSide = 256; // thumbnails are made once at this size and scaled by the view
}

ImageBrowser::ImageBrowser(QWidget* parent)
    : QListWidget(parent)
{
    setViewMode(QListView::IconMode);
    setMovement(QListView::Static);
    setResizeMode(QListView::Adjust);
    setWrapping(true);
    setUniformItemSizes(true);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setSpacing(8);
    setZoomValue(_zoom);

    connect(this, &QListWidget::itemSelectionChanged, this, [this] {
        if (!_reloading && _delegate)
            _delegate->imageBrowserSelectionDidChange(this);
    });
    connect(this, &QListWidget::itemDoubleClicked, this, [this](QListWidgetItem* item) {
        if (_delegate)
            _delegate->imageBrowserCellWasDoubleClickedAtIndex(this, row(item));
    });
}

void ImageBrowser::setAllowsReordering(bool allow)
{
    // Static movement keeps the view from moving cells itself; the data
    // source decides the new order in dropEvent.
    setDragEnabled(allow);
    viewport()->setAcceptDrops(allow);
    setDropIndicatorShown(allow);
    setDragDropMode(allow ? QAbstractItemView::InternalMove : QAbstractItemView::NoDragDrop);
}

void ImageBrowser::setZoomValue(float zoom)
{
    _zoom = std::clamp(zoom, 0.0f, 1.0f);
    const int side = 48 + int(_zoom * 240);
    setIconSize(QSize(side, side));
    setGridSize(QSize(side + 24, side + 40));
}

QIcon ImageBrowser::thumbnail(const MyImageObject& item)
{
    const QString key = item.image_UID + QLatin1Char('\n') + item.image_Path;
    auto it = _cache.constFind(key);
    if (it != _cache.constEnd())
        return *it;
    QImageReader reader(item.image_Path);
    reader.setAutoTransform(true);
    const QSize full = reader.size();
    if (full.isValid() && (full.width() > kThumbSide || full.height() > kThumbSide))
        reader.setScaledSize(full.scaled(kThumbSide, kThumbSide, Qt::KeepAspectRatio));
    QImage picture = reader.read();
    // Transparent parts of a picture show on a light chequer, as in a paint program.
    QImage shown(kThumbSide, kThumbSide, QImage::Format_ARGB32_Premultiplied);
    shown.fill(Qt::transparent);
    if (!picture.isNull()) {
        const QSize size = picture.size().scaled(kThumbSide, kThumbSide, Qt::KeepAspectRatio);
        const QRect target(QPoint((kThumbSide - size.width()) / 2, (kThumbSide - size.height()) / 2), size);
        QPainter p(&shown);
        for (int y = target.top(); y < target.bottom(); y += 16)
            for (int x = target.left(); x < target.right(); x += 16)
                p.fillRect(QRect(x, y, 16, 16).intersected(target),
                           ((x - target.left()) / 16 + (y - target.top()) / 16) % 2 ? QColor(225, 225, 225) : Qt::white);
        p.setRenderHint(QPainter::SmoothPixmapTransform);
        p.drawImage(target, picture);
    }
    const QIcon icon(QPixmap::fromImage(shown));
    _cache.insert(key, icon);
    return icon;
}

void ImageBrowser::reloadData()
{
    const QList<int> selected = selectionIndexes();
    _reloading = true;
    {
        const QSignalBlocker block(this);
        clear();
        const int count = _dataSource ? _dataSource->numberOfItemsInImageBrowser(this) : 0;
        for (int i = 0; i < count; ++i) {
            const MyImageObject item = _dataSource->imageBrowserItemAtIndex(this, i);
            auto* cell = new QListWidgetItem(thumbnail(item), item.image_Name);
            cell->setToolTip(item.image_Path);
            addItem(cell);
        }
        for (int index : selected)
            if (index < count)
                item(index)->setSelected(true);
    }
    _reloading = false;
    viewport()->update();
}

QList<int> ImageBrowser::selectionIndexes() const
{
    QList<int> out;
    for (const QModelIndex& index : selectionModel()->selectedIndexes())
        out << index.row();
    std::sort(out.begin(), out.end());
    return out;
}

void ImageBrowser::setSelectionIndexes(const QList<int>& indexes, bool byExtendingSelection)
{
    {
        // One notice for the whole change.
        const QSignalBlocker block(this);
        if (!byExtendingSelection)
            clearSelection();
        for (int index : indexes)
            if (index >= 0 && index < count())
                item(index)->setSelected(true);
        if (!indexes.isEmpty() && indexes.first() >= 0 && indexes.first() < count())
            setCurrentRow(indexes.first(), QItemSelectionModel::NoUpdate);
    }
    if (_delegate)
        _delegate->imageBrowserSelectionDidChange(this);
}

void ImageBrowser::keyPressEvent(QKeyEvent* event)
{
    if ((event->key() == Qt::Key_Delete || event->key() == Qt::Key_Backspace) && _dataSource) {
        const QList<int> selected = selectionIndexes();
        if (!selected.isEmpty())
            _dataSource->imageBrowserRemoveItemsAtIndexes(this, selected);
        event->accept();
        return;
    }
    QListWidget::keyPressEvent(event);
}

void ImageBrowser::startDrag(Qt::DropActions supportedActions)
{
    if (_dataSource)
        _dataSource->imageBrowserWriteItemsAtIndexes(this, selectionIndexes());
    QListWidget::startDrag(supportedActions);
}

void ImageBrowser::dragEnterEvent(QDragEnterEvent* event)
{
    if (event->source() == this)
        event->acceptProposedAction();
    else
        event->ignore();
}

void ImageBrowser::dragMoveEvent(QDragMoveEvent* event)
{
    if (event->source() == this)
        event->acceptProposedAction();
    else
        event->ignore();
}

void ImageBrowser::dropEvent(QDropEvent* event)
{
    if (event->source() != this || !_dataSource) {
        event->ignore();
        return;
    }
    // The cell under the pointer is the destination; past the last cell, the end.
    const QModelIndex target = indexAt(event->position().toPoint());
    int destination = target.isValid() ? target.row() : count();
    if (target.isValid() && event->position().x() > visualRect(target).center().x())
        ++destination;
    const QList<int> moved = selectionIndexes();
    event->setDropAction(Qt::IgnoreAction); // the view must not move cells itself
    event->accept();
    if (!moved.isEmpty())
        _dataSource->imageBrowserMoveItemsAtIndexes(this, moved, destination);
}
