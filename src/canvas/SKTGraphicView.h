#pragma once
// A canvas showing one face of the document over its card base. Wizards
// place and find graphics here by control identifier; a click selects a
// graphic and a drag moves it.
#include "model/SKTDocument.h"

#include <QImage>
#include <QWidget>

class SKTGrid;

class SKTGraphicView : public QWidget {
    Q_OBJECT
public:
    // side: 0 front, 1 back, 2 template preview.
    SKTGraphicView(SKTDocument* document, Face* face, SKTGrid* grid, int side, QWidget* parent = nullptr);

    Face& face() const { return *_face; }
    SKTDocument* document() const { return _document; }
    SKTGrid* grid() const { return _grid; }
    int side() const { return _side; }

    // Places a new graphic of kind cls (or an image with the image tool), its
    // bounds through the grid, at index 0; selected unless its size is 0 by 0,
    // in which case the creation is taken back.
    void createGraphicOfClass(GraphicKind cls, QEvent* event, bool use_rect, const QRectF& bound_rect,
                              const QString& card_side, const QString& ctrl_value, const QString& ctrl_ID);
    // The first text or image graphic (exact kinds) with the identifier, hidden ones included.
    GraphicPtr Selcect_Ctrl_With_ID(const QString& ctrl_ID) const;
    // Updates the graphic with the identifier, or creates it when there is none.
    void ReplaceGraphicText(GraphicKind cls, QEvent* event, bool use_rect, const QRectF& bound_rect,
                            const QString& card_side, const QString& ctrl_value, const QString& ctrl_ID);
    // Hides every text and image graphic placed for a profile field.
    void Hide_all_Text_control_FUP_Control();
    void startEditingGraphic(const GraphicPtr& graphic);
    GraphicPtr editingGraphic() const { return _editingGraphic; }

    const QList<GraphicPtr>& selectedGraphics() const { return _selection; }
    void selectGraphic(const GraphicPtr& graphic); // nullptr clears the selection

    // The graphic most recently placed or updated by the two operations above.
    GraphicPtr _Selected_Graphic;

signals:
    void selectionChanged(const GraphicPtr& graphic);
    void graphicMoved(const GraphicPtr& graphic);
    // A graphic was double-clicked (it is selected by then).
    void graphicDoubleClicked(const GraphicPtr& graphic);

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;

private:
    GraphicPtr graphicAt(const QPointF& point) const;

    SKTDocument* _document;
    Face* _face;
    SKTGrid* _grid;
    int _side;
    QList<GraphicPtr> _selection;
    GraphicPtr _editingGraphic;
    QPointF _dragStart;
    QPointF _dragOrigin;
    bool _dragging = false;
    QImage _lastFrame; // shown while a batch fills the live design
};
