#include "editor/PaletteTool.hpp"

namespace KITE {

PaletteTool::PaletteTool() = default;
PaletteTool::~PaletteTool() = default;

void PaletteTool::setPersistent(bool value) {
    persistent = value;
}

const PaletteTool::Mode* PaletteTool::getCurrentMode() const {
    return currentMode;
}

void PaletteTool::setCurrentMode(const Mode* mode) {
    currentMode = mode;
}

void PaletteTool::onRemoveFromStack() {
    removedFromStack.send();
}

TAVI::StringID PaletteTool::getDefaultRole() const {
    return staticGetDefaultRole();
}

TAVI::StringID PaletteTool::staticGetDefaultRole() {
    static const TAVI::StringID role("PaletteTool");
    return role;
}

} // namespace KITE
