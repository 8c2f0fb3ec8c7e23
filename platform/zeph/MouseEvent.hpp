#pragma once

#include "platform/tavi/Geometry.hpp"
#include "platform/zeph/Event.hpp"
#include "platform/zeph/zeph_export.hpp"

namespace ZEPH {

// A pointer event at a point of the scene. button is the button that changed
// (NoButton for a move), buttons those held down afterwards; both are MouseButton
// flags, modifiers KeyboardModifier flags.
class ZEPH_EXPORT MouseEvent : public Event {
public:
    MouseEvent(const TAVI::GLPoint<double>& scenePos, int button = NoButton, int buttons = NoButton,
               int modifiers = NoModifier, GLCanvas* canvas = nullptr)
        : Event(canvas), position(scenePos), changedButton(button), heldButtons(buttons),
          keyModifiers(modifiers) {}

    const TAVI::GLPoint<double>& scenePos() const { return position; }
    int button() const { return changedButton; }
    int buttons() const { return heldButtons; }
    int modifiers() const { return keyModifiers; }
    bool hasModifier(int modifier) const { return (keyModifiers & modifier) != 0; }

    // Screen coordinates, for popups; the origin when the event has no canvas.
    const TAVI::GLPoint<int>& globalPos() const { return globalPosition; }
    void setGlobalPos(const TAVI::GLPoint<int>& pos) { globalPosition = pos; }

private:
    TAVI::GLPoint<double> position;
    int changedButton;
    int heldButtons;
    int keyModifiers;
    TAVI::GLPoint<int> globalPosition;
};

} // namespace ZEPH
