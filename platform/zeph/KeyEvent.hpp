#pragma once

#include "platform/zeph/Event.hpp"
#include "platform/zeph/zeph_export.hpp"

namespace ZEPH {

// Key codes used by the library's tools (the widget toolkit's values).
enum Key : int {
    Key_Escape = 0x01000000,
    Key_Return = 0x01000004,
    Key_Enter = 0x01000005,
    Key_Delete = 0x01000007,
    Key_Shift = 0x01000020,
    Key_Control = 0x01000021,
    Key_Alt = 0x01000023,
};

// A key pressed or released while the canvas has the focus.
class ZEPH_EXPORT KeyEvent : public Event {
public:
    explicit KeyEvent(int key, int modifiers = NoModifier, bool autoRepeat = false,
                      GLCanvas* canvas = nullptr)
        : Event(canvas), keyCode(key), keyModifiers(modifiers), repeated(autoRepeat) {}

    int key() const { return keyCode; }
    int modifiers() const { return keyModifiers; }
    // True for the presses a held key repeats; tools that do not ask for them never see them.
    bool isAutoRepeat() const { return repeated; }

private:
    int keyCode;
    int keyModifiers;
    bool repeated;
};

} // namespace ZEPH
