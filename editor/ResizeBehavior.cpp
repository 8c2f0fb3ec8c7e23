#include "editor/ResizeBehavior.hpp"

#include "editor/Editor.hpp"
#include "editor/Glyph.hpp"
#include "editor/Graphics.hpp"
#include "editor/ResizeBehavior_p.hpp"
#include "platform/zeph/KeyEvent.hpp"

#include <cmath>

namespace KITE {

ResizeBehavior::ResizeBehavior(Editor& editor) : d(new ResizeBehaviorPrivate(this, editor)) {}

ResizeBehavior::~ResizeBehavior() {
    delete d;
}

const char* ResizeBehavior::getFullyQualifiedNoxTypeName() const {
    return noxTypeName;
}

Editor* ResizeBehavior::getEditor() const {
    return d_func()->editor;
}

DiagramElement ResizeBehavior::getDiagramElement() const {
    return d_func()->element;
}

void ResizeBehavior::recordStartingConditions() {
    ZEPH::ResizeBehavior::recordStartingConditions();
    ResizeBehaviorPrivate* p = d_func();
    Graphics* graphics = p->editor->getGraphics();
    const Glyph* glyph = graphics ? graphics->getGlyph(getTargetNode()) : nullptr;
    if (!glyph)
        return;
    p->element = glyph->diagramElement();
    if (!p->element.isValid()) {
        p->element = DiagramElement();
        return;
    }
    // Taken from the rectangle the base resizes, in scene coordinates: a nested element's
    // position is relative to its container, whose origin lies elsewhere on the scene.
    p->offset = getStartingRect().topLeft() - p->element.getPosition();
}

TAVI::GLPoint<double> ResizeBehavior::getMinimumSize() const {
    Graphics* graphics = d_func()->editor->getGraphics();
    const Glyph* glyph = graphics ? graphics->getGlyph(getTargetNode()) : nullptr;
    return glyph ? glyph->minSize() : ZEPH::ResizeBehavior::getMinimumSize();
}

void ResizeBehavior::modifyTarget(const TAVI::GLRect<double>& sceneRect) {
    ResizeBehaviorPrivate* p = d_func();
    // Escape: the working copy goes back to the model's root instead.
    if (p->cancelling || !p->element.isValid())
        return;
    // A pointer without finite coordinates gives no rectangle to show: the last one stays.
    if (!std::isfinite(sceneRect.x) || !std::isfinite(sceneRect.y) ||
        !std::isfinite(sceneRect.width) || !std::isfinite(sceneRect.height))
        return;
    const VELD::Model copy = p->editor->getWorkingCopy();
    if (!copy.isValid())
        return;
    VELD::Transaction transaction(copy);
    p->element.setPosition(sceneRect.topLeft() - p->offset);
    p->element.setSize({sceneRect.width, sceneRect.height});
    transaction.commit();
    p->lastRect = sceneRect;
    p->previewed = true;
}

void ResizeBehavior::commit() {
    ZEPH::ResizeBehavior::commit();
    ResizeBehaviorPrivate* p = d_func();
    if (!p->previewed)
        return;
    const VELD::Model copy = p->editor->getWorkingCopy();
    if (!copy.isValid())
        return;
    const VELD::Model root = copy.getRootDeviant();
    const DiagramElement element = p->element.asDeviant(root);
    // Deleted in the model meanwhile, or back where it started (no empty step for undo): nothing
    // to write, and the preview must go.
    if (!element.isValid() || p->lastRect == getStartingRect()) {
        p->editor->dropPreview();
        return;
    }
    VELD::Transaction transaction(root, "Resize");
    element.setPosition(p->lastRect.topLeft() - p->offset);
    element.setSize({p->lastRect.width, p->lastRect.height});
    transaction.commit();
}

void ResizeBehavior::handleKeyPressEvent(ZEPH::KeyEvent& event) {
    ResizeBehaviorPrivate* p = d_func();
    if (isDone() || event.key() != ZEPH::Key_Escape) {
        ZEPH::ResizeBehavior::handleKeyPressEvent(event);
        return;
    }
    // The base gives the node its starting rectangle back through modifyTarget; written to the
    // working copy that would leave it deviating from the root with the old values.
    p->cancelling = true;
    ZEPH::ResizeBehavior::handleKeyPressEvent(event);
    p->cancelling = false;
    if (p->previewed)
        p->editor->dropPreview();
    p->previewed = false;
}

void ResizeBehavior::onRemoveFromStack() {
    ZEPH::ResizeBehavior::onRemoveFromStack();
    // Taken off in mid-drag (the stack cleared): the preview must not stay in the working copy.
    if (!isDone() && d_func()->previewed)
        d_func()->editor->dropPreview();
}

} // namespace KITE
