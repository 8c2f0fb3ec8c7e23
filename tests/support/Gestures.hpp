#pragma once

#include "platform/tavi/Geometry.hpp"
#include "platform/zeph/Event.hpp"

#include <Qt>

namespace ZEPH {
class GLCanvas;
class Scene;
} // namespace ZEPH

namespace KiteTest {

// Drives a scene's tool stack with canvas events injected at scene points, as a canvas would
// hand them over, without a window. press/release change the left button unless told
// otherwise; move carries the buttons held since the last press.
class SceneGestures {
public:
    explicit SceneGestures(ZEPH::Scene& scene) : scene(scene) {}

    void press(double x, double y, int modifiers = ZEPH::NoModifier, int button = ZEPH::LeftButton);
    void move(double x, double y, int modifiers = ZEPH::NoModifier);
    void release(double x, double y, int modifiers = ZEPH::NoModifier,
                 int button = ZEPH::LeftButton);
    void click(double x, double y, int modifiers = ZEPH::NoModifier);
    void doubleClick(double x, double y, int modifiers = ZEPH::NoModifier);
    // Press, moves in steps to the end point, release.
    void drag(const TAVI::GLPoint<double>& from, const TAVI::GLPoint<double>& to,
              int modifiers = ZEPH::NoModifier, int steps = 4);
    // Whether the key press was consumed.
    bool key(int code, int modifiers = ZEPH::NoModifier);
    bool keyRelease(int code, int modifiers = ZEPH::NoModifier);
    void focusOut();
    // Forgets the buttons held, as when a release happened where the scene could not hear it
    // (another window took it): the next move carries none.
    void forgetButtons() { held = ZEPH::NoButton; }

    // Whether the last mouse event was consumed by a tool.
    bool lastConsumed() const { return consumed; }

private:
    ZEPH::Scene& scene;
    int held = ZEPH::NoButton;
    bool consumed = false;
};

// Sends real Qt mouse and key events to a canvas's viewport at scene points, so that the
// canvas's own translation into canvas events is part of what a test exercises. The canvas
// must be shown (a window under the offscreen platform will do) and keep its view while the
// gesture runs.
class CanvasGestures {
public:
    explicit CanvasGestures(ZEPH::GLCanvas& canvas) : canvas(canvas) {}

    void press(double x, double y, Qt::KeyboardModifiers modifiers = Qt::NoModifier,
               Qt::MouseButton button = Qt::LeftButton);
    void move(double x, double y, Qt::KeyboardModifiers modifiers = Qt::NoModifier);
    void release(double x, double y, Qt::KeyboardModifiers modifiers = Qt::NoModifier,
                 Qt::MouseButton button = Qt::LeftButton);
    void click(double x, double y, Qt::KeyboardModifiers modifiers = Qt::NoModifier);
    void doubleClick(double x, double y, Qt::KeyboardModifiers modifiers = Qt::NoModifier);
    void drag(const TAVI::GLPoint<double>& from, const TAVI::GLPoint<double>& to,
              Qt::KeyboardModifiers modifiers = Qt::NoModifier, int steps = 4);
    void key(Qt::Key code, Qt::KeyboardModifiers modifiers = Qt::NoModifier);
    // A context-menu request, as a right click asks for one.
    void contextMenu(double x, double y);
    void focusOut();

private:
    void send(int type, double x, double y, Qt::MouseButton button,
              Qt::KeyboardModifiers modifiers);

    ZEPH::GLCanvas& canvas;
    Qt::MouseButtons held = Qt::NoButton;
};

} // namespace KiteTest
