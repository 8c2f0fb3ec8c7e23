#pragma once

#include "platform/nimb/Emitter.hpp"
#include "platform/tavi/Geometry.hpp"
#include "platform/tavi/Holder.hpp"
#include "platform/tavi/StringID.hpp"
#include "platform/zeph/Scene.hpp"
#include "platform/zeph/zeph_export.hpp"

#include <QGraphicsView>

namespace ZEPH {

class GLCanvasPrivate;

// The widget that shows a scene. It turns the widget toolkit's input into ZEPH
// events for the scene's tool stack; what no tool consumes it uses itself: the
// wheel zooms about the pointer, the middle button pans, an unconsumed context
// menu request goes to the context-menu signal. Selected movable nodes get the
// eight resize handles drawn around their bounds. The canvas holds its scene.
// The canvas whose zoom changed, or that got the focus, last keeps
// GlobalViewerInfo and LodScale up to date.
class ZEPH_EXPORT GLCanvas : public QGraphicsView {
public:
    explicit GLCanvas(QWidget* parent = nullptr);
    // A canvas of the named widget toolkit; "qt" is the only one. Null for others.
    static GLCanvas* create(const TAVI::StringID& toolkit, QWidget* parent = nullptr);
    ~GLCanvas() override;
    GLCanvas(const GLCanvas&) = delete;
    GLCanvas& operator=(const GLCanvas&) = delete;

    // Shows scene (none when empty) and delivers the canvas's events to it.
    void setScene(const TAVI::Holder<Scene>& scene);
    Scene* getScene() const;

    // Zooms and centres so that rect fills the view, keeping its aspect ratio. A
    // rectangle without width or height is centred at the current zoom; one with
    // coordinates that are not finite is ignored.
    void showSceneRect(const TAVI::GLRect<double>& rect);
    TAVI::GLPoint<double> viewPointToScenePoint(const TAVI::GLPoint<double>& viewPoint) const;
    TAVI::GLPoint<double> scenePointToViewPoint(const TAVI::GLPoint<double>& scenePoint) const;

    // Scene units per view pixel inverted: 2 shows the scene twice its size,
    // whether or not the view is rotated or mirrored.
    double getZoomFactor() const;
    // Clamped to the canvas's range (1/50 to 50); other values, and values that
    // are not finite, are ignored. Zooms about the view's centre.
    void setZoomFactor(double factor);
    static constexpr double minimumZoom = 0.02;
    static constexpr double maximumZoom = 50.0;
    // Side of a resize handle in view pixels, and its fill colour (RGB).
    static constexpr double handleSize = 7.0;
    static constexpr unsigned handleColor = 0x0078d7;

    // Lets go of the scene and deletes the canvas once control returns to the event loop.
    void destroy();

    // Sent with the screen position of a context-menu request no tool consumed.
    NIMB::Emitter<TAVI::GLPoint<int>>& getContextMenuEmitter();
    // Sent whenever what the canvas shows of the scene changes: zoom or scroll.
    NIMB::Emitter<void>& getViewChangedEmitter();

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void keyReleaseEvent(QKeyEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dragMoveEvent(QDragMoveEvent* event) override;
    void dragLeaveEvent(QDragLeaveEvent* event) override;
    void dropEvent(QDropEvent* event) override;
    bool event(QEvent* event) override;
    bool viewportEvent(QEvent* event) override;
    void scrollContentsBy(int dx, int dy) override;
    void drawForeground(QPainter* painter, const QRectF& rect) override;

private:
    void zoomAbout(const QPointF& viewPoint, double factor);
    // Makes this canvas's zoom the one GlobalViewerInfo and LodScale give.
    void publishScales();
    GLCanvasPrivate* d_func() { return d; }
    const GLCanvasPrivate* d_func() const { return d; }
    GLCanvasPrivate* d; // owned
};

} // namespace ZEPH
