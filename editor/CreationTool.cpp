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

VELD::Model CreationTool::getRootModel() const {
    const VELD::Model model = getModel();
    return model.isValid() ? model.getRootDeviant() : VELD::Model();
}

GraphElement CreationTool::getGraphElementAt(const TAVI::GLPoint<double>& point) const {
    return GraphElement(editor.getDiagramElementAt(point));
}

void CreationTool::handleMousePressEvent(ZEPH::MouseEvent& event) {
    if (gesture) {
        // Another press while the gesture runs: the user does something else; drop it rather
        // than leave anything half made.
        cancel();
        event.consume();
        return;
    }
    if (event.button() == ZEPH::LeftButton)
        begin(event);
}

void CreationTool::handleMouseMoveEvent(ZEPH::MouseEvent& event) {
    if (!gesture)
        return;
    // The release went elsewhere (another window, a dialog that grabbed the mouse).
    if (!(event.buttons() & ZEPH::LeftButton)) {
        cancel();
        event.consume();
        return;
    }
    drag(event);
}

void CreationTool::handleMouseReleaseEvent(ZEPH::MouseEvent& event) {
    if (gesture && event.button() == ZEPH::LeftButton)
        finish(event);
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

void CreationTool::reset() {
    gesture = false;
    editor.dropPreview();
}

void CreationTool::cancel() {
    if (gesture)
        reset();
}

void CreationTool::resetOnThrow(const std::function<void()>& step) {
    try {
        step();
    } catch (...) {
        reset();
        throw;
    }
}

void CreationTool::changeIn(const VELD::Model& model, const std::function<void()>& change) {
    resetOnThrow([&] {
        VELD::Transaction transaction(model);
        change();
        transaction.commit();
    });
}

void CreationTool::redraw(const VELD::Model& workingCopy, const std::function<void()>& draw) {
    resetOnThrow([&] {
        syncFromRoot(workingCopy);
        VELD::Transaction transaction(workingCopy);
        draw();
        transaction.commit();
    });
}

void CreationTool::syncFromRoot(const VELD::Model& workingCopy) {
    VELD::Transaction transaction(workingCopy);
    workingCopy.syncFromRoot();
    transaction.commit();
}

} // namespace KITE
