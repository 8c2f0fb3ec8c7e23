#include "editor/DeleteTool.hpp"

#include "platform/zeph/KeyEvent.hpp"

namespace KITE {

DeleteTool::DeleteTool(Editor& editor) : editor(editor) {}

DeleteTool::~DeleteTool() = default;

void DeleteTool::handleKeyPressEvent(ZEPH::KeyEvent& event) {
    if (event.key() != ZEPH::Key_Delete)
        return;
    deleteSelection();
    event.consume();
}

void DeleteTool::deleteSelection() {
    collectElementsToDelete();
    deleteElements();
}

bool DeleteTool::isDone() const {
    return false;
}

TAVI::StringID DeleteTool::getDefaultRole() const {
    return staticGetDefaultRole();
}

TAVI::StringID DeleteTool::staticGetDefaultRole() {
    static const TAVI::StringID role("Delete");
    return role;
}

} // namespace KITE
