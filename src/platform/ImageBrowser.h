#pragma once
// A grid of pictures with captions. The items come from a data source that
// answers with MyImageObject items (the picture at the item's path, its name
// as caption, its identifier as cache key); the browser keeps no list of its
// own and asks again on reloadData(). Selection changes, double clicks,
// removal (Delete key) and reordering by dragging go to the data source and
// the delegate.
#include "platform/MyImageObject.h"

#include <QHash>
#include <QIcon>
#include <QList>
#include <QListWidget>

class ImageBrowser;

class ImageBrowserDataSource {
public:
    virtual ~ImageBrowserDataSource() = default;
    virtual int numberOfItemsInImageBrowser(ImageBrowser* browser) = 0;
    virtual MyImageObject imageBrowserItemAtIndex(ImageBrowser* browser, int index) = 0;
    // The user asked to remove these items.
    virtual void imageBrowserRemoveItemsAtIndexes(ImageBrowser*, const QList<int>&) {}
    // The user dragged these items before destination; true when they moved.
    virtual bool imageBrowserMoveItemsAtIndexes(ImageBrowser*, const QList<int>&, int) { return false; }
    // Items dragged out of the browser: how many were written.
    virtual int imageBrowserWriteItemsAtIndexes(ImageBrowser*, const QList<int>&) { return 0; }
};

class ImageBrowserDelegate {
public:
    virtual ~ImageBrowserDelegate() = default;
    virtual void imageBrowserSelectionDidChange(ImageBrowser*) {}
    virtual void imageBrowserCellWasDoubleClickedAtIndex(ImageBrowser*, int) {}
};

class ImageBrowser : public QListWidget {
    Q_OBJECT
public:
    explicit ImageBrowser(QWidget* parent = nullptr);

    void setDataSource(ImageBrowserDataSource* source) { _dataSource = source; }
    void setDelegate(ImageBrowserDelegate* delegate) { _delegate = delegate; }
    void setAllowsReordering(bool allow);
    // 0 smallest cells, 1 largest.
    void setZoomValue(float zoom);
    float zoomValue() const { return _zoom; }

    // Asks the data source for every item again. Selected indexes that still
    // exist stay selected; the delegate hears nothing of it.
    void reloadData();
    QList<int> selectionIndexes() const;
    // Selects the indexes (added to the selection when extending); the
    // delegate hears of the change.
    void setSelectionIndexes(const QList<int>& indexes, bool byExtendingSelection);

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dragMoveEvent(QDragMoveEvent* event) override;
    void dropEvent(QDropEvent* event) override;
    void startDrag(Qt::DropActions supportedActions) override;

private:
    QIcon thumbnail(const MyImageObject& item);

    ImageBrowserDataSource* _dataSource = nullptr;
    ImageBrowserDelegate* _delegate = nullptr;
    float _zoom = 0.5f;
    bool _reloading = false;
    QHash<QString, QIcon> _cache; // by identifier and path
};
