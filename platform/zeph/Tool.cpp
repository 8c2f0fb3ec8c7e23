#include "platform/zeph/Tool.hpp"

#include "platform/zeph/Scene.hpp"

namespace ZEPH {

Tool::Tool() = default;
Tool::~Tool() = default;

void Tool::onRemoveFromStack() {}

bool Tool::isDone() const {
    return false;
}

TAVI::StringID Tool::getDefaultRole() const {
    return TAVI::StringID("Tool");
}

bool Tool::requiresKeyAutoRepeat() const {
    return false;
}

Scene* Tool::getScene() const {
    return dynamic_cast<Scene*>(toolStack);
}

Cursor Tool::overrideCursor() const {
    return Cursor::NoOverride;
}

} // namespace ZEPH
