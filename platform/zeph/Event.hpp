#pragma once

#include "platform/zeph/zeph_export.hpp"

namespace ZEPH {

class GLCanvas;

// Mouse buttons and keyboard modifiers as events carry them. The values are the
// widget toolkit's own, so a canvas passes them through unchanged.
enum MouseButton : int {
    NoButton = 0x0,
    LeftButton = 0x1,
    RightButton = 0x2,
    MiddleButton = 0x4,
};

enum KeyboardModifier : int {
    NoModifier = 0x0,
    ShiftModifier = 0x02000000,
    ControlModifier = 0x04000000,
    AltModifier = 0x08000000,
};

// The base of everything a canvas hands to the tool stack. A handler that acts on
// an event consumes it, which stops the delivery to the tools below it.
class ZEPH_EXPORT Event {
public:
    // canvas: the canvas the event came from; null for events injected without one.
    explicit Event(GLCanvas* canvas = nullptr) : sourceCanvas(canvas) {}
    virtual ~Event() = default;

    void consume() { consumed = true; }
    bool isConsumed() const { return consumed; }

    GLCanvas* canvas() const { return sourceCanvas; }
    void setCanvas(GLCanvas* canvas) { sourceCanvas = canvas; }

private:
    GLCanvas* sourceCanvas;
    bool consumed = false;
};

} // namespace ZEPH
