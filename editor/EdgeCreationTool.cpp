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

VELD::Model EdgeCreationTool::getRootModel() const {
    const VELD::Model model = getModel();
    return model.isValid() ? model.getRootDeviant() : VELD::Model();
}

GraphElement EdgeCreationTool::getGraphElementAt(const TAVI::GLPoint<double>& point) const {
    return GraphElement(getEditor().getDiagramElementAt(point));
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

void EdgeCreationTool::handleMousePressEvent(ZEPH::MouseEvent& event) {
    if (active) {
        // A second button while the edge is drawn: the user does something else; drop the edge
        // rather than leave it half made.
        cancel();
        event.consume();
        return;
    }
    if (event.button() != ZEPH::LeftButton || !isValidInitialEvent(event))
        return;
    const VELD::Model model = getModel();
    if (!model.isValid())
        return;
    const TAVI::GLPoint<double> point = event.scenePos();
    active = true;
    startPosition = point;
    startElement = getGraphElementAt(point);
    try {
        VELD::Transaction transaction(model);
        initialUpdate(GraphElement(), point, model);
        transaction.commit();
    } catch (...) {
        reset();
        throw;
    }
    event.consume();
}

void EdgeCreationTool::handleMouseMoveEvent(ZEPH::MouseEvent& event) {
    if (!active)
        return;
    if (!leftButtonStillDown(event)) {
        event.consume();
        return;
    }
    if (!isValidMoveEvent(event))
        return;
    const VELD::Model model = getModel();
    if (!model.isValid())
        return;
    try {
        dropDrawing(model);
        VELD::Transaction transaction(model);
        intermediateUpdate(getGraphElementAt(event.scenePos()), event.scenePos(), model);
        transaction.commit();
    } catch (...) {
        reset();
        throw;
    }
    event.consume();
}

void EdgeCreationTool::handleMouseReleaseEvent(ZEPH::MouseEvent& event) {
    if (!active || event.button() != ZEPH::LeftButton || !isValidReleaseEvent(event))
        return;
    const VELD::Model model = getModel();
    Command* command = nullptr;
    try {
        if (model.isValid()) {
            // The rubber band goes before the command runs: the edge is made in the root and
            // reaches the working copy by its synchronisation, never twice.
            dropDrawing(model);
            command =
                finalUpdate(getGraphElementAt(event.scenePos()), event.scenePos(), getRootModel());
        }
    } catch (...) {
        reset();
        throw;
    }
    if (command)
        getEditor().processCommand(command);
    event.consume();
    reset();
}

void EdgeCreationTool::reset() {
    active = false;
    startElement = GraphElement();
    getEditor().dropPreview();
}

} // namespace KITE
