#include "tests/support/Gestures.hpp"

#include "platform/zeph/GLCanvas.hpp"
#include "platform/zeph/KeyEvent.hpp"
#include "platform/zeph/MouseEvent.hpp"
#include "platform/zeph/Scene.hpp"

#include <QApplication>
#include <QContextMenuEvent>
#include <QFocusEvent>
#include <QKeyEvent>
#include <QMouseEvent>

namespace KiteTest {

// --- scene points --------------------------------------------------------------------------------

void SceneGestures::press(double x, double y, int modifiers, int button) {
    held |= button;
    ZEPH::MouseEvent event({x, y}, button, held, modifiers);
    scene.handleMousePressEvent(event);
    consumed = event.isConsumed();
}

void SceneGestures::move(double x, double y, int modifiers) {
    ZEPH::MouseEvent event({x, y}, ZEPH::NoButton, held, modifiers);
    scene.handleMouseMoveEvent(event);
    consumed = event.isConsumed();
}

void SceneGestures::release(double x, double y, int modifiers, int button) {
    held &= ~button;
    ZEPH::MouseEvent event({x, y}, button, held, modifiers);
    scene.handleMouseReleaseEvent(event);
    consumed = event.isConsumed();
}

void SceneGestures::click(double x, double y, int modifiers) {
    press(x, y, modifiers);
    release(x, y, modifiers);
}

void SceneGestures::doubleClick(double x, double y, int modifiers) {
    click(x, y, modifiers);
    ZEPH::MouseEvent event({x, y}, ZEPH::LeftButton, ZEPH::LeftButton, modifiers);
    scene.handleMouseDoubleClickEvent(event);
    release(x, y, modifiers);
}

void SceneGestures::drag(const TAVI::GLPoint<double>& from, const TAVI::GLPoint<double>& to,
                         int modifiers, int steps) {
    press(from.x, from.y, modifiers);
    for (int i = 1; i <= steps; ++i)
        move(from.x + (to.x - from.x) * i / steps, from.y + (to.y - from.y) * i / steps, modifiers);
    release(to.x, to.y, modifiers);
}

bool SceneGestures::key(int code, int modifiers) {
    ZEPH::KeyEvent event(code, modifiers);
    scene.handleKeyPressEvent(event);
    return event.isConsumed();
}

bool SceneGestures::keyRelease(int code, int modifiers) {
    ZEPH::KeyEvent event(code, modifiers);
    scene.handleKeyReleaseEvent(event);
    return event.isConsumed();
}

void SceneGestures::focusOut() {
    ZEPH::Event event;
    scene.handleFocusOutEvent(event);
}

// --- a canvas's widget ---------------------------------------------------------------------------

void CanvasGestures::send(int type, double x, double y, Qt::MouseButton button,
                          Qt::KeyboardModifiers modifiers) {
    const TAVI::GLPoint<double> view = canvas.scenePointToViewPoint({x, y});
    const QPointF at(view.x, view.y);
    QWidget* viewport = canvas.viewport();
    QMouseEvent event(static_cast<QEvent::Type>(type), at, viewport->mapToGlobal(at), button, held,
                      modifiers);
    QApplication::sendEvent(viewport, &event);
}

void CanvasGestures::press(double x, double y, Qt::KeyboardModifiers modifiers,
                           Qt::MouseButton button) {
    held |= button;
    send(QEvent::MouseButtonPress, x, y, button, modifiers);
}

void CanvasGestures::move(double x, double y, Qt::KeyboardModifiers modifiers) {
    send(QEvent::MouseMove, x, y, Qt::NoButton, modifiers);
}

void CanvasGestures::release(double x, double y, Qt::KeyboardModifiers modifiers,
                             Qt::MouseButton button) {
    held &= ~button;
    send(QEvent::MouseButtonRelease, x, y, button, modifiers);
}

void CanvasGestures::click(double x, double y, Qt::KeyboardModifiers modifiers) {
    press(x, y, modifiers);
    release(x, y, modifiers);
}

void CanvasGestures::doubleClick(double x, double y, Qt::KeyboardModifiers modifiers) {
    click(x, y, modifiers);
    held |= Qt::LeftButton;
    send(QEvent::MouseButtonDblClick, x, y, Qt::LeftButton, modifiers);
    release(x, y, modifiers);
}

void CanvasGestures::drag(const TAVI::GLPoint<double>& from, const TAVI::GLPoint<double>& to,
                          Qt::KeyboardModifiers modifiers, int steps) {
    press(from.x, from.y, modifiers);
    for (int i = 1; i <= steps; ++i)
        move(from.x + (to.x - from.x) * i / steps, from.y + (to.y - from.y) * i / steps, modifiers);
    release(to.x, to.y, modifiers);
}

void CanvasGestures::key(Qt::Key code, Qt::KeyboardModifiers modifiers) {
    QKeyEvent pressEvent(QEvent::KeyPress, code, modifiers);
    QApplication::sendEvent(&canvas, &pressEvent);
    QKeyEvent releaseEvent(QEvent::KeyRelease, code, modifiers);
    QApplication::sendEvent(&canvas, &releaseEvent);
}

void CanvasGestures::contextMenu(double x, double y) {
    const TAVI::GLPoint<double> view = canvas.scenePointToViewPoint({x, y});
    const QPoint at(int(view.x), int(view.y));
    QContextMenuEvent event(QContextMenuEvent::Mouse, at, canvas.viewport()->mapToGlobal(at));
    QApplication::sendEvent(canvas.viewport(), &event);
}

void CanvasGestures::focusOut() {
    QFocusEvent event(QEvent::FocusOut, Qt::ActiveWindowFocusReason);
    QApplication::sendEvent(&canvas, &event);
}

} // namespace KiteTest
