#include "canvas/SKTGraphicView.h"

#include "canvas/SKTGrid.h"
#include "canvas/SKTRenderingView.h"
#include "model/Card_Property.h"
#include "model/Globals.h"
#include "model/Helpers.h"

#include <QFileInfo>
#include <QMouseEvent>
#include <QPainter>
#include <exception>

namespace {
bool isTextOrImage(const GraphicPtr& g)
{
    return Is_Kind(g.get(), GraphicKind::Text) || Is_Kind(g.get(), GraphicKind::Image);
}
}

SKTGraphicView::SKTGraphicView(SKTDocument* document, Face* face, SKTGrid* grid, int side, QWidget* parent)
    : QWidget(parent), _document(document), _face(face), _grid(grid), _side(side)
{
    setAttribute(Qt::WA_OpaquePaintEvent, false);
}

void SKTGraphicView::createGraphicOfClass(GraphicKind cls, QEvent* /*event*/, bool /*use_rect*/,
                                          const QRectF& bound_rect, const QString& /*card_side*/,
                                          const QString& ctrl_value, const QString& ctrl_ID)
{
    selectGraphic(nullptr);
    QRectF bounds;
    if (ctrl_ID.isEmpty()) {
        // A graphic without identifier goes to the cascade position.
        const QSizeF size = cls == GraphicKind::Text ? QSizeF(150, 30) : QSizeF(100, 100);
        bounds = QRectF(QPointF(last_ctrl_X, last_ctrl_Y), size);
        last_ctrl_X += 10;
        last_ctrl_Y += 10;
    } else {
        const QPointF origin = _grid->constrainedPoint(bound_rect.topLeft());
        const QPointF corner = _grid->constrainedPoint(bound_rect.bottomRight());
        bounds = QRectF(origin, corner);
    }

    GraphicPtr graphic;
    if (Selected_Control_Tool.load() == Tool_Image_File) {
        auto image = std::make_shared<SKTImage>();
        image->control_ID = ctrl_ID;
        QString path;
        if (!Library_Selected_Image.isEmpty() && QFileInfo(Library_Selected_Image).isFile())
            path = Library_Selected_Image;
        else if (!ctrl_value.isEmpty() && QFileInfo(ctrl_value).isFile())
            path = ctrl_value;
        if (!path.isEmpty()) {
            image->setFilePath(path);
            image->Text_Value = path;
        } else {
            image->image = Placeholder_Image();
        }
        // A picture placed without a rectangle of its own keeps its proportions.
        if (ctrl_ID.isEmpty())
            bounds = Fit_Picture_In_Box(bounds, image->image.size());
        graphic = image;
    } else {
        graphic = Make_Graphic(cls);
        if (auto* text = dynamic_cast<SKTText*>(graphic.get()); text && !ctrl_value.isEmpty()) {
            text->text = ctrl_value;
            text->Text_Value = ctrl_value;
            text->isDrawingStroke = false;
            text->isDrawingFill = false;
        }
    }
    graphic->bounds = bounds;
    graphic->control_ID = ctrl_ID;
    if (auto* text = dynamic_cast<SKTText*>(graphic.get()); text && ctrl_ID.contains(QLatin1String("PARTY_")))
        Style_Party_Text(*text, ctrl_ID);

    if (bounds.width() == 0 && bounds.height() == 0) {
        // Nothing to show: the creation is taken back and nothing is selected.
        _Selected_Graphic = nullptr;
        update();
        return;
    }
    _face->insert(0, graphic);
    selectGraphic(graphic);
    _Selected_Graphic = graphic;
    update();
}

GraphicPtr SKTGraphicView::Selcect_Ctrl_With_ID(const QString& ctrl_ID) const
{
    try {
        for (const GraphicPtr& g : *_face)
            if (isTextOrImage(g) && g->control_ID == ctrl_ID)
                return g;
    } catch (const std::exception& e) {
        Show_NSLog_Message(QString::fromUtf8(e.what()));
    }
    return nullptr;
}

void SKTGraphicView::ReplaceGraphicText(GraphicKind cls, QEvent* event, bool use_rect, const QRectF& bound_rect,
                                        const QString& card_side, const QString& ctrl_value, const QString& ctrl_ID)
{
    GraphicPtr found = Selcect_Ctrl_With_ID(ctrl_ID);
    if (!found) {
        createGraphicOfClass(cls, event, use_rect, bound_rect, card_side, ctrl_value, ctrl_ID);
        return;
    }
    if (cls == GraphicKind::Text && !ctrl_value.isEmpty()) {
        found->Text_Value = ctrl_value;
        found->isDrawingStroke = false;
        found->isDrawingFill = false;
        if (auto* text = dynamic_cast<SKTText*>(found.get()))
            text->text = ctrl_value;
    } else if (cls == GraphicKind::Image) {
        if (auto* image = dynamic_cast<SKTImage*>(found.get())) {
            if (QFileInfo::exists(ctrl_value)) {
                image->setFilePath(ctrl_value);
                image->Text_Value = ctrl_value;
            } else {
                Show_NSLog_Message(ctrl_value);
            }
        }
    }
    found->Set_Ctrl_Is_Visible(true);
    _Selected_Graphic = found;
    update();
}

void SKTGraphicView::Hide_all_Text_control_FUP_Control()
{
    for (qsizetype i = _face->size() - 1; i >= 0; --i) {
        const GraphicPtr& g = _face->at(i);
        if (isTextOrImage(g) && Is_Profile_Control_ID(g->control_ID))
            g->Set_Ctrl_Is_Visible(false);
    }
    update();
}

void SKTGraphicView::startEditingGraphic(const GraphicPtr& graphic)
{
    _editingGraphic = graphic;
    update();
}

void SKTGraphicView::selectGraphic(const GraphicPtr& graphic)
{
    _selection.clear();
    if (graphic)
        _selection << graphic;
    emit selectionChanged(graphic);
    update();
}

namespace {
// Whether a click at point lands on the graphic: inside its rectangle and,
// for a picture, on a pixel that is not transparent (a frame's window lets
// the click through to what lies beneath).
bool hits(const SKTGraphic& g, const QPointF& point)
{
    const QRectF r = g.drawingBounds();
    if (!r.contains(point))
        return false;
    if (g.kind() != GraphicKind::Image || g.isDrawingFill)
        return true;
    const auto& image = static_cast<const SKTImage&>(g);
    const QImage shown = image.control_ID == QLatin1String("PARTY_IMAGE") ? Get_Main_Photo_image() : image.image;
    if (shown.isNull() || !shown.hasAlphaChannel() || r.isEmpty())
        return true;
    const int x = std::clamp(int((point.x() - r.left()) / r.width() * shown.width()), 0, shown.width() - 1);
    const int y = std::clamp(int((point.y() - r.top()) / r.height() * shown.height()), 0, shown.height() - 1);
    return qAlpha(shown.pixel(x, y)) > 0;
}
}

GraphicPtr SKTGraphicView::graphicAt(const QPointF& point) const
{
    for (const GraphicPtr& g : *_face)
        if (g && g->ctrl_is_visible && hits(*g, point))
            return g;
    return nullptr;
}

void SKTGraphicView::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    if (Card_Value_In_Process.load()) {
        // A batch is writing rows into these graphics: show the last frame.
        if (!_lastFrame.isNull())
            painter.drawImage(0, 0, _lastFrame);
        return;
    }
    QImage frame(size(), QImage::Format_ARGB32_Premultiplied);
    frame.fill(Qt::transparent);
    {
        QPainter p(&frame);
        p.setRenderHints(QPainter::Antialiasing | QPainter::TextAntialiasing | QPainter::SmoothPixmapTransform);
        SKTRenderingView::drawFace(p, *_face, _side);
        _grid->draw(p, QRectF(QPointF(0, 0), SKTRenderingView::cardSize()));
        p.setPen(QPen(QColor(40, 110, 230), 1, Qt::DashLine));
        p.setBrush(Qt::NoBrush);
        for (const GraphicPtr& g : _selection)
            p.drawRect(g->drawingBounds().adjusted(-1, -1, 1, 1));
    }
    _lastFrame = frame;
    painter.drawImage(0, 0, frame);
}

void SKTGraphicView::mousePressEvent(QMouseEvent* event)
{
    const GraphicPtr hit = graphicAt(event->position());
    selectGraphic(hit);
    _dragging = hit != nullptr;
    if (_dragging) {
        _dragStart = event->position();
        _dragOrigin = hit->bounds.topLeft();
    }
}

void SKTGraphicView::mouseDoubleClickEvent(QMouseEvent* event)
{
    if (const GraphicPtr hit = graphicAt(event->position())) {
        selectGraphic(hit);
        _dragging = false;
        emit graphicDoubleClicked(hit);
    }
}

void SKTGraphicView::mouseMoveEvent(QMouseEvent* event)
{
    if (!_dragging || _selection.isEmpty())
        return;
    const GraphicPtr& g = _selection.first();
    const QPointF to = _grid->constrainedPoint(_dragOrigin + (event->position() - _dragStart));
    g->bounds.moveTopLeft(to);
    update();
}

void SKTGraphicView::mouseReleaseEvent(QMouseEvent*)
{
    if (_dragging && !_selection.isEmpty())
        emit graphicMoved(_selection.first());
    _dragging = false;
}
