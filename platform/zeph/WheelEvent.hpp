#pragma once

#include "platform/zeph/MouseEvent.hpp"
#include "platform/zeph/zeph_export.hpp"

namespace ZEPH {

// A wheel turn at a point of the scene. delta is in eighths of a degree, as most
// wheels report: 120 for one notch away from the user, -120 towards.
class ZEPH_EXPORT WheelEvent : public MouseEvent {
public:
    WheelEvent(const TAVI::GLPoint<double>& scenePos, int delta, int buttons = NoButton,
               int modifiers = NoModifier, GLCanvas* canvas = nullptr)
        : MouseEvent(scenePos, NoButton, buttons, modifiers, canvas), wheelDelta(delta) {}

    int delta() const { return wheelDelta; }

private:
    int wheelDelta;
};

} // namespace ZEPH
