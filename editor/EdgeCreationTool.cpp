#include "editor/EdgeCreationTool.hpp"

#include "editor/Editor.hpp"
#include "platform/zeph/MouseEvent.hpp"

namespace KITE {

EdgeCreationTool::EdgeCreationTool(Editor& editor) : CreationTool(editor) {}

EdgeCreationTool::~EdgeCreationTool() = default;

TAVI::StringID EdgeCreationTool::getDefaultRole() const {
    return staticGetDefaultRole();
}

TAVI::StringID EdgeCreationTool::staticGetDefaultRole() {
    static const TAVI::StringID role("EdgeCreation");
    return role;
}

bool EdgeCreationTool::isDone() const {
    return false;
}

bool EdgeCreationTool::isValidInitialEvent(ZEPH::MouseEvent&) const {
    return true;
}

bool EdgeCreationTool::isValidMoveEvent(ZEPH::MouseEvent&) const {
    return true;
}

bool EdgeCreationTool::isValidReleaseEvent(ZEPH::MouseEvent&) const {
    return true;
}

void EdgeCreationTool::begin(ZEPH::MouseEvent& event) {
    if (!isValidInitialEvent(event))
        return;
    const VELD::Model model = getModel();
    if (!model.isValid())
        return;
    const TAVI::GLPoint<double> point = event.scenePos();
    setInGesture(true);
    startPosition = point;
    startElement = getGraphElementAt(point);
    changeIn(model, [&] { initialUpdate(GraphElement(), point, model); });
    event.consume();
}

void EdgeCreationTool::drag(ZEPH::MouseEvent& event) {
    if (!isValidMoveEvent(event))
        return;
    const VELD::Model model = getModel();
    if (!model.isValid())
        return;
    redraw(model, [&] {
        intermediateUpdate(getGraphElementAt(event.scenePos()), event.scenePos(), model);
    });
    event.consume();
}

void EdgeCreationTool::finish(ZEPH::MouseEvent& event) {
    if (!isValidReleaseEvent(event))
        return;
    const VELD::Model model = getModel();
    Command* command = nullptr;
    resetOnThrow([&] {
        if (!model.isValid())
            return;
        // The rubber band goes before the command runs: the edge is made in the root and
        // reaches the working copy by its synchronisation, never twice.
        syncFromRoot(model);
        command =
            finalUpdate(getGraphElementAt(event.scenePos()), event.scenePos(), getRootModel());
    });
    if (command)
        getEditor().processCommand(command);
    event.consume();
    reset();
}

void EdgeCreationTool::reset() {
    startElement = GraphElement();
    CreationTool::reset();
}

} // namespace KITE
