#include "editor/CreationTool.hpp"

#include "editor/Editor.hpp"
#include "platform/zeph/KeyEvent.hpp"
#include "platform/zeph/MouseEvent.hpp"

namespace KITE {

CreationTool::CreationTool(Editor& editor) : editor(editor) {}

CreationTool::~CreationTool() = default;

VELD::Model CreationTool::getModel() const {
    const Diagram diagram = editor.getDiagram();
    return diagram.isValid() ? VELD::Model(diagram.getModelVELD()) : VELD::Model();
}

void CreationTool::handleKeyReleaseEvent(ZEPH::KeyEvent& event) {
    if (event.key() != ZEPH::Key_Escape)
        return;
    setPersistent(false);
    reset();
    event.consume();
}

void CreationTool::handleFocusOutEvent(ZEPH::Event&) {
    cancel();
}

void CreationTool::onRemoveFromStack() {
    cancel();
    PaletteTool::onRemoveFromStack();
}

void CreationTool::cancel() {
    if (isGestureUnderWay())
        reset();
}

bool CreationTool::leftButtonStillDown(const ZEPH::MouseEvent& event) {
    if (event.buttons() & ZEPH::LeftButton)
        return true;
    cancel();
    return false;
}

void CreationTool::dropDrawing(const VELD::Model& model) {
    VELD::Transaction transaction(model);
    model.syncFromRoot();
    transaction.commit();
}

} // namespace KITE
