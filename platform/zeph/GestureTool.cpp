#include "platform/zeph/GestureTool.hpp"

#include "platform/zeph/KeyEvent.hpp"

namespace ZEPH {

GestureTool::GestureTool() = default;
GestureTool::~GestureTool() = default;

void GestureTool::cancelGesture(const Event& cause) {
    if (finished)
        return;
    KeyEvent escape(Key_Escape, NoModifier, false, cause.canvas());
    handleKeyPressEvent(escape);
    finish();
}

} // namespace ZEPH
