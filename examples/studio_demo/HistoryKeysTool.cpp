#include "examples/studio_demo/HistoryKeysTool.hpp"

#include "editor/Editor.hpp"
#include "platform/zeph/KeyEvent.hpp"
#include "platform/zeph/Scene.hpp"

#include <Qt>

namespace StudioDemo {

HistoryKeysTool::HistoryKeysTool(KITE::Editor& editor) : editor(editor) {}

TAVI::StringID HistoryKeysTool::getDefaultRole() const {
    static const TAVI::StringID role("HistoryKeys");
    return role;
}

bool HistoryKeysTool::requiresKeyAutoRepeat() const {
    return true;
}

void HistoryKeysTool::handleKeyPressEvent(ZEPH::KeyEvent& event) {
    const int modifiers =
        event.modifiers() & (ZEPH::ControlModifier | ZEPH::ShiftModifier | ZEPH::AltModifier);
    const bool undo = event.key() == Qt::Key_Z && modifiers == ZEPH::ControlModifier;
    const bool redo =
        (event.key() == Qt::Key_Y && modifiers == ZEPH::ControlModifier) ||
        (event.key() == Qt::Key_Z && modifiers == (ZEPH::ControlModifier | ZEPH::ShiftModifier));
    if (!undo && !redo)
        return;
    if (ZEPH::Scene* scene = getScene();
        !scene || scene->getTopTool().get() != this || editor.isInInteraction())
        return;
    const KITE::Diagram diagram = editor.getDiagram();
    if (!diagram.isValid())
        return;
    VELD::Model model(diagram.getRootModel());
    if (!model.isValid() || model.isInTransaction())
        return;
    if (undo && model.getUndoStackLength() > 0)
        model.undoToChangeLevel(model.getUndoStackLength() - 1);
    else if (redo && model.getRedoStackLength() > 0)
        model.redoToChangeLevel(model.getUndoStackLength() + 1);
    event.consume();
}

} // namespace StudioDemo
