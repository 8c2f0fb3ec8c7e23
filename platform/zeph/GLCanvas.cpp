#include "platform/zeph/GLCanvas.hpp"

#include "platform/zeph/DragEvent.hpp"
#include "platform/zeph/GLCanvas_p.hpp"
#include "platform/zeph/GlobalViewerInfo.hpp"
#include "platform/zeph/KeyEvent.hpp"
#include "platform/zeph/LodScale.hpp"
#include "platform/zeph/TextNode.hpp"
#include "platform/zeph/WheelEvent.hpp"
#include "platform/zu/zuAssert.hpp"

#include <QApplication>
#include <QContextMenuEvent>
#include <QDragEnterEvent>
#include <QKeyEvent>
#include <QMimeData>
#include <QMouseEvent>
#include <QPainter>
#include <QScrollBar>
#include <QWheelEvent>

#include <algorithm>
#include <cmath>
#include <exception>

namespace ZEPH {

namespace {

Qt::CursorShape toQtCursor(Cursor cursor) {
    switch (cursor) {
    case Cursor::NoOverride:
    case Cursor::Arrow:
        break;
    case Cursor::Cross:
        return Qt::CrossCursor;
    case Cursor::PointingHand:
        return Qt::PointingHandCursor;
    case Cursor::OpenHand:
        return Qt::OpenHandCursor;
    case Cursor::ClosedHand:
        return Qt::ClosedHandCursor;
    case Cursor::SizeAll:
        return Qt::SizeAllCursor;
    case Cursor::SizeHorizontal:
        return Qt::SizeHorCursor;
    case Cursor::SizeVertical:
        return Qt::SizeVerCursor;
    case Cursor::SizeForwardDiagonal:
        return Qt::SizeBDiagCursor;
    case Cursor::SizeBackwardDiagonal:
        return Qt::SizeFDiagCursor;
    }
    return Qt::ArrowCursor;
}

int modifierFlags(Qt::KeyboardModifiers modifiers) {
    return static_cast<int>(modifiers.toInt()) & (ShiftModifier | ControlModifier | AltModifier);
}

int buttonFlags(Qt::MouseButtons buttons) {
    return static_cast<int>(buttons.toInt()) & (LeftButton | RightButton | MiddleButton);
}

// The scroll bars cover an int's range of view pixels; far from the origin at a
// high zoom a scroll goes beyond it, and converting that to an int is undefined
// (in practice it lands at the origin). Worked out in doubles and kept in range.
void scrollBy(QScrollBar* bar, double pixels) {
    if (!std::isfinite(pixels))
        return;
    const double target =
        std::clamp(bar->value() + pixels, double(bar->minimum()), double(bar->maximum()));
    bar->setValue(static_cast<int>(std::lround(target)));
}

// The point nearest to scenePoint that the view can centre on, for the same reason.
QPointF reachableCentre(const QGraphicsView& view, const QPointF& scenePoint) {
    const QPointF viewPoint = view.transform().map(scenePoint);
    const QPointF half(view.viewport()->width() / 2.0, view.viewport()->height() / 2.0);
    const QScrollBar* h = view.horizontalScrollBar();
    const QScrollBar* v = view.verticalScrollBar();
    const QPointF reachable(
        std::clamp(viewPoint.x(), h->minimum() + half.x(), h->maximum() + half.x()),
        std::clamp(viewPoint.y(), v->minimum() + half.y(), v->maximum() + half.y()));
    return view.transform().inverted().map(reachable);
}

} // namespace

void GLCanvasPrivate::endPan() {
    if (!panning)
        return;
    panning = false;
    q->viewport()->unsetCursor();
}

GLCanvas::GLCanvas(QWidget* parent) : QGraphicsView(parent), d(new GLCanvasPrivate(this)) {
    // The tools do all item interaction; Qt's own would select and move behind their backs.
    setInteractive(false);
    setMouseTracking(true);
    viewport()->setMouseTracking(true);
    setAcceptDrops(true);
    setFocusPolicy(Qt::StrongFocus);
    // Zooming keeps its own anchor (zoomAbout): Qt's needs the mouse handlers the tools replace.
    setTransformationAnchor(QGraphicsView::NoAnchor);
    setResizeAnchor(QGraphicsView::AnchorViewCenter);
    setRenderHint(QPainter::Antialiasing);
    // Resize handles reach past their nodes' bounds, which the minimal update
    // regions leave out: stale handle pixels would stay behind a moved node.
    setViewportUpdateMode(QGraphicsView::FullViewportUpdate);
}

GLCanvas* GLCanvas::create(const TAVI::StringID& toolkit, QWidget* parent) {
    if (!toolkit.equalsIgnoreCase("qt"))
        return nullptr;
    return new GLCanvas(parent);
}

GLCanvas::~GLCanvas() {
    // Let go of the scene first: focus and crossing events that going away causes
    // must not reach tools whose owners may be gone already.
    const TAVI::Holder<Scene> scene = std::move(d->scene);
    d->scene.reset();
    QGraphicsView::setScene(nullptr);
    delete d;
    d = nullptr;
}

void GLCanvas::setScene(const TAVI::Holder<Scene>& scene) {
    if (d->scene == scene)
        return;
    // Detach the view before the old scene may go.
    QGraphicsView::setScene(scene ? scene->qtScene() : nullptr);
    d->scene = scene;
    d->viewChangedEmitter.send();
}

Scene* GLCanvas::getScene() const {
    return d->scene.get();
}

void GLCanvas::showSceneRect(const TAVI::GLRect<double>& rect) {
    if (!std::isfinite(rect.x) || !std::isfinite(rect.y) || !std::isfinite(rect.width) ||
        !std::isfinite(rect.height))
        return;
    const QRectF area = QRectF(rect.x, rect.y, rect.width, rect.height).normalized();
    const double before = getZoomFactor();
    if (area.width() > 0.0 && area.height() > 0.0) {
        fitInView(area, Qt::KeepAspectRatio);
        // fitInView knows nothing of the canvas's zoom range.
        const double fitted = getZoomFactor();
        const double allowed = std::clamp(fitted, minimumZoom, maximumZoom);
        if (allowed != fitted)
            scale(allowed / fitted, allowed / fitted);
    }
    centerOn(reachableCentre(*this, area.center()));
    if (getZoomFactor() != before) {
        publishScales();
        d->viewChangedEmitter.send();
    }
}

TAVI::GLPoint<double>
GLCanvas::viewPointToScenePoint(const TAVI::GLPoint<double>& viewPoint) const {
    const QPointF p = viewportTransform().inverted().map(QPointF(viewPoint.x, viewPoint.y));
    return {p.x(), p.y()};
}

TAVI::GLPoint<double>
GLCanvas::scenePointToViewPoint(const TAVI::GLPoint<double>& scenePoint) const {
    const QPointF p = viewportTransform().map(QPointF(scenePoint.x, scenePoint.y));
    return {p.x(), p.y()};
}

double GLCanvas::getZoomFactor() const {
    // The length a scene unit along x has in the view: m11 alone is zero for a
    // view its users rotated a quarter turn, and negative for a mirrored one.
    const QTransform t = transform();
    return std::hypot(t.m11(), t.m12());
}

void GLCanvas::setZoomFactor(double factor) {
    if (!std::isfinite(factor) || factor <= 0.0)
        return;
    zoomAbout(QPointF(viewport()->width() / 2.0, viewport()->height() / 2.0), factor);
}

void GLCanvas::zoomAbout(const QPointF& viewPoint, double factor) {
    factor = std::clamp(factor, minimumZoom, maximumZoom);
    const double current = getZoomFactor();
    if (factor == current)
        return;
    const QPointF scenePoint = viewportTransform().inverted().map(viewPoint);
    scale(factor / current, factor / current);
    // Scroll so that the scene point is under the view point again.
    const QPointF drift = viewportTransform().map(scenePoint) - viewPoint;
    scrollBy(horizontalScrollBar(), drift.x());
    scrollBy(verticalScrollBar(), drift.y());
    publishScales();
    d->viewChangedEmitter.send();
}

void GLCanvas::publishScales() {
    GlobalViewerInfo::instance().setZoomFactor(getZoomFactor());
    LodScale::instance().setScales(getZoomFactor(), viewport()->devicePixelRatioF());
}

void GLCanvas::destroy() {
    setScene(TAVI::Holder<Scene>());
    hide();
    deleteLater();
}

NIMB::Emitter<TAVI::GLPoint<int>>& GLCanvas::getContextMenuEmitter() {
    return d->contextMenuEmitter;
}

NIMB::Emitter<void>& GLCanvas::getViewChangedEmitter() {
    return d->viewChangedEmitter;
}

// Builds the event for a Qt mouse event, hands it to the tools and follows the
// top tool's pointer shape. Returns whether a tool consumed it.
template <class Deliver>
static bool deliverMouse(GLCanvas* canvas, Scene* scene, QMouseEvent* qtEvent, int button,
                         Deliver deliver) {
    if (!scene)
        return false;
    const QPointF scenePoint = canvas->viewportTransform().inverted().map(qtEvent->position());
    MouseEvent event({scenePoint.x(), scenePoint.y()}, button, buttonFlags(qtEvent->buttons()),
                     modifierFlags(qtEvent->modifiers()), canvas);
    const QPoint global = qtEvent->globalPosition().toPoint();
    event.setGlobalPos({global.x(), global.y()});
    // The tools may let go of the scene (or the canvas of it): keep it for the call.
    const TAVI::Holder<Scene> keep(scene);
    (scene->*deliver)(event);
    const TAVI::Holder<Tool> top = scene->getTopTool();
    canvas->viewport()->setCursor(toQtCursor(top ? top->overrideCursor() : Cursor::NoOverride));
    return event.isConsumed();
}

void GLCanvas::mousePressEvent(QMouseEvent* event) {
    const int button = buttonFlags(event->button());
    if (deliverMouse(this, d->scene.get(), event, button, &Scene::handleMousePressEvent)) {
        event->accept();
        return;
    }
    if (button == MiddleButton) {
        d->panning = true;
        d->lastPanPosition = event->position().toPoint();
        viewport()->setCursor(Qt::ClosedHandCursor);
    }
    event->accept();
}

void GLCanvas::mouseMoveEvent(QMouseEvent* event) {
    // Without the middle button its release went elsewhere (another window took
    // the pointer): the pan is over and the move is the tools' again.
    if (d->panning && !(event->buttons() & Qt::MiddleButton))
        d->endPan();
    if (d->panning) {
        const QPoint position = event->position().toPoint();
        const QPoint delta = position - d->lastPanPosition;
        d->lastPanPosition = position;
        horizontalScrollBar()->setValue(horizontalScrollBar()->value() - delta.x());
        verticalScrollBar()->setValue(verticalScrollBar()->value() - delta.y());
        event->accept();
        return;
    }
    deliverMouse(this, d->scene.get(), event, NoButton, &Scene::handleMouseMoveEvent);
    event->accept();
}

void GLCanvas::mouseReleaseEvent(QMouseEvent* event) {
    const int button = buttonFlags(event->button());
    if (d->panning && button == MiddleButton) {
        d->endPan();
        event->accept();
        return;
    }
    deliverMouse(this, d->scene.get(), event, button, &Scene::handleMouseReleaseEvent);
    event->accept();
}

void GLCanvas::mouseDoubleClickEvent(QMouseEvent* event) {
    deliverMouse(this, d->scene.get(), event, buttonFlags(event->button()),
                 &Scene::handleMouseDoubleClickEvent);
    event->accept();
}

void GLCanvas::wheelEvent(QWheelEvent* event) {
    if (d->scene) {
        const QPointF scenePoint = viewportTransform().inverted().map(event->position());
        WheelEvent wheel({scenePoint.x(), scenePoint.y()}, event->angleDelta().y(),
                         buttonFlags(event->buttons()), modifierFlags(event->modifiers()), this);
        const QPoint global = event->globalPosition().toPoint();
        wheel.setGlobalPos({global.x(), global.y()});
        const TAVI::Holder<Scene> keep = d->scene;
        keep->handleWheelEvent(wheel);
        if (wheel.isConsumed()) {
            event->accept();
            return;
        }
    }
    const int delta = event->angleDelta().y();
    if (delta == 0) {
        event->ignore();
        return;
    }
    // About 15% per notch, about the point under the pointer.
    zoomAbout(event->position(), getZoomFactor() * std::pow(1.15, delta / 120.0));
    event->accept();
}

void GLCanvas::keyPressEvent(QKeyEvent* event) {
    // The text editor sits in the scene, which this non-interactive view passes no
    // keys: hand it what the user types. Enter and Escape go the scene's way.
    const bool endsEdit = event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter ||
                          event->key() == Qt::Key_Escape;
    if (QWidget* editor = d->scene && !endsEdit ? d->scene->getEditedText().getEditor() : nullptr) {
        QApplication::sendEvent(editor, event);
        event->accept();
        return;
    }
    if (d->scene) {
        KeyEvent key(event->key(), modifierFlags(event->modifiers()), event->isAutoRepeat(), this);
        const TAVI::Holder<Scene> keep = d->scene;
        keep->handleKeyPressEvent(key);
        if (key.isConsumed()) {
            event->accept();
            return;
        }
    }
    QGraphicsView::keyPressEvent(event);
}

void GLCanvas::keyReleaseEvent(QKeyEvent* event) {
    if (d->scene) {
        KeyEvent key(event->key(), modifierFlags(event->modifiers()), event->isAutoRepeat(), this);
        const TAVI::Holder<Scene> keep = d->scene;
        keep->handleKeyReleaseEvent(key);
        if (key.isConsumed()) {
            event->accept();
            return;
        }
    }
    QGraphicsView::keyReleaseEvent(event);
}

void GLCanvas::focusInEvent(QFocusEvent* event) {
    QGraphicsView::focusInEvent(event);
    publishScales();
    if (d->scene) {
        Event focus(this);
        const TAVI::Holder<Scene> keep = d->scene;
        keep->handleFocusInEvent(focus);
    }
}

void GLCanvas::focusOutEvent(QFocusEvent* event) {
    QGraphicsView::focusOutEvent(event);
    d->endPan();
    if (d->scene) {
        Event focus(this);
        const TAVI::Holder<Scene> keep = d->scene;
        keep->handleFocusOutEvent(focus);
    }
}

void GLCanvas::contextMenuEvent(QContextMenuEvent* event) {
    bool consumed = false;
    if (d->scene) {
        const QPointF scenePoint = viewportTransform().inverted().map(QPointF(event->pos()));
        MouseEvent menu({scenePoint.x(), scenePoint.y()}, RightButton, NoButton,
                        modifierFlags(event->modifiers()), this);
        menu.setGlobalPos({event->globalPos().x(), event->globalPos().y()});
        const TAVI::Holder<Scene> keep = d->scene;
        keep->handleContextMenuEvent(menu);
        consumed = menu.isConsumed();
    }
    if (!consumed)
        d->contextMenuEmitter.send(
            TAVI::GLPoint<int>(event->globalPos().x(), event->globalPos().y()));
    event->accept();
}

// Hands a drag or a drop to the tools; true when one accepted it.
static bool deliverDrag(GLCanvas* canvas, Scene* scene, QDropEvent* qtEvent,
                        void (Scene::*deliver)(DragEvent&)) {
    if (!scene)
        return false;
    const QPointF scenePoint = canvas->viewportTransform().inverted().map(qtEvent->position());
    DragEvent event({scenePoint.x(), scenePoint.y()}, modifierFlags(qtEvent->modifiers()), canvas);
    if (const QMimeData* mime = qtEvent->mimeData()) {
        for (const QString& format : mime->formats())
            event.setData(format.toStdString(), mime->data(format).toStdString());
    }
    const TAVI::Holder<Scene> keep(scene);
    (scene->*deliver)(event);
    return event.isConsumed();
}

void GLCanvas::dragEnterEvent(QDragEnterEvent* event) {
    if (deliverDrag(this, d->scene.get(), event, &Scene::handleDragEvent))
        event->acceptProposedAction();
    else
        event->ignore();
}

void GLCanvas::dragMoveEvent(QDragMoveEvent* event) {
    if (deliverDrag(this, d->scene.get(), event, &Scene::handleDragEvent))
        event->acceptProposedAction();
    else
        event->ignore();
}

void GLCanvas::dragLeaveEvent(QDragLeaveEvent* event) {
    event->accept();
}

void GLCanvas::dropEvent(QDropEvent* event) {
    if (deliverDrag(this, d->scene.get(), event, &Scene::handleDropEvent))
        event->acceptProposedAction();
    else
        event->ignore();
}

// Tools, nodes' handlers and release listeners are other people's code: an
// exception thrown by one must not unwind through Qt's event loop, which cannot
// take it and would end the program. It is reported, and the canvas goes on.
template <class Handle> static bool trapped(QEvent* event, Handle handle) {
    try {
        return handle();
    } catch (const std::exception& error) {
        zuReportAssertion("handling the event threw", __FILE__, __LINE__,
                          "ZEPH::GLCanvas: an event handler threw", error.what());
    } catch (...) {
        zuReportAssertion("handling the event threw", __FILE__, __LINE__,
                          "ZEPH::GLCanvas: an event handler threw", "an unknown exception");
    }
    event->accept();
    return true;
}

bool GLCanvas::event(QEvent* event) {
    return trapped(event, [&] { return QGraphicsView::event(event); });
}

bool GLCanvas::viewportEvent(QEvent* event) {
    return trapped(event, [&] {
        if (d->scene && (event->type() == QEvent::Enter || event->type() == QEvent::Leave)) {
            Event crossing(this);
            const TAVI::Holder<Scene> keep = d->scene;
            if (event->type() == QEvent::Enter)
                keep->handleEnterCanvasEvent(crossing);
            else
                keep->handleLeaveCanvasEvent(crossing);
        }
        return QGraphicsView::viewportEvent(event);
    });
}

void GLCanvas::scrollContentsBy(int dx, int dy) {
    QGraphicsView::scrollContentsBy(dx, dy);
    d->viewChangedEmitter.send();
}

void GLCanvas::drawForeground(QPainter* painter, const QRectF& rect) {
    QGraphicsView::drawForeground(painter, rect);
    if (!d->scene)
        return;
    // Handles keep their size in pixels whatever the zoom.
    const double side = handleSize / getZoomFactor();
    painter->save();
    painter->setPen(QPen(QBrush(Qt::white), 0));
    painter->setBrush(QColor::fromRgb(QRgb(handleColor)));
    for (const Node& node : d->scene->getSelectedNodes()) {
        if (!node.isMovable() || !node.isVisible())
            continue;
        const TAVI::GLRect<double> b = node.getSceneBounds();
        const double xs[3] = {b.left(), b.left() + b.width / 2, b.right()};
        const double ys[3] = {b.top(), b.top() + b.height / 2, b.bottom()};
        for (int col = 0; col < 3; ++col)
            for (int row = 0; row < 3; ++row)
                if (col != 1 || row != 1)
                    painter->drawRect(QRectF(xs[col] - side / 2, ys[row] - side / 2, side, side));
    }
    painter->restore();
}

} // namespace ZEPH
