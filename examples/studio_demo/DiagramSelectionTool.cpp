#include "examples/studio_demo/DiagramSelectionTool.hpp"

#include "examples/studio_demo/DiagramScene.hpp"
#include "platform/zeph/KeyEvent.hpp"
#include "platform/zeph/Scene.hpp"

#include <Qt>

namespace StudioDemo {

DiagramSelectionTool::DiagramSelectionTool(DiagramScene* diagram) : diagram(diagram) {}

void DiagramSelectionTool::handleKeyPressEvent(ZEPH::KeyEvent& event)
{
    const int modifiers = event.modifiers() & (ZEPH::ControlModifier | ZEPH::ShiftModifier | ZEPH::AltModifier);
    const bool undo = event.key() == Qt::Key_Z && modifiers == ZEPH::ControlModifier;
    const bool redo = (event.key() == Qt::Key_Y && modifiers == ZEPH::ControlModifier) ||
                      (event.key() == Qt::Key_Z && modifiers == (ZEPH::ControlModifier | ZEPH::ShiftModifier));
    if (!undo && !redo)
        return;
    // Not in the middle of a drag: the gesture would finish on positions the undo changed.
    if (ZEPH::Scene* scene = getScene(); scene && scene->getTopTool().get() != this)
        return;
    if (undo)
        diagram->undo();
    else
        diagram->redo();
    event.consume();
}

} // namespace StudioDemo
