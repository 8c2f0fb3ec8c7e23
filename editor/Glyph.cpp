#include "editor/Glyph.hpp"

#include "editor/Editor.hpp"
#include "editor/Glyph_p.hpp"
#include "editor/Graphics.hpp"
#include "platform/zeph/MouseEvent.hpp"
#include "platform/zeph/Scene.hpp"
#include "platform/zeph/TextNode.hpp"

namespace KITE {

Glyph::Glyph(const DiagramElement& element) : d(new GlyphPrivate(this, element)) {}

void Glyph::createVisualIndicatorContainer() {
    if (!d->indicators)
        d->indicators = std::make_unique<VisualIndicatorContainer>(getRoot());
}

VisualIndicatorContainer* Glyph::getVisualIndicatorsContainer() const {
    return d->indicators.get();
}

Glyph::~Glyph() {
    // Controls outlive the glyph when someone else holds them: leave them detached.
    for (auto& [tag, control] : d->controls)
        control->remove();
    delete d;
}

ZEPH::Node Glyph::getChildContainer() const {
    return getRoot();
}

TAVI::GLPoint<double> Glyph::minSize() const {
    return {10.0, 10.0};
}

void Glyph::onSelectionChanged(bool selected) {
    ZEPH::Node root = getRoot();
    if (root.isValid())
        root.setSelected(selected);
}

bool Glyph::isSelected() const {
    const GlyphPrivate* p = d_func();
    return p->editor && p->editor->isSelected(p->element);
}

bool Glyph::isMovable() const {
    if (ImmutableGraphEdge(d_func()->element).isValid())
        return false;
    return getRoot().isMovable();
}

bool Glyph::isSelectable() const {
    return getRoot().isSelectable();
}

void Glyph::onTextEditComplete(ZEPH::TextNode*) {}

EditLayout::LayoutRect Glyph::rect() const {
    const ZEPH::Node root = getRoot();
    if (!root.isValid())
        return {};
    const TAVI::GLRect<double> bounds = root.mapLocalToScene(root.getBounds());
    return EditLayout::LayoutRect(bounds.y, bounds.x, bounds.width, bounds.height);
}

DiagramElement Glyph::diagramElement() const {
    return d_func()->element;
}

Graphics* Glyph::getGraphics() const {
    return d_func()->graphics;
}

void Glyph::setGraphics(Graphics* graphics) {
    if (d_func()->graphics == graphics)
        return;
    d_func()->graphics = graphics;
}

ZEPH::Scene* Glyph::getScene() const {
    return d_func()->graphics ? d_func()->graphics->getScene() : nullptr;
}

Editor* Glyph::getEditor() const {
    return d_func()->editor;
}

void Glyph::setEditor(Editor* editor) {
    if (d_func()->editor != editor)
        d_func()->editor = editor;
    onSetEditor();
}

void Glyph::onSetEditor() {}

void Glyph::setSelected(bool selected) {
    if (!isSelectable() || selected == isSelected())
        return;
    onSelectionChanged(selected);
    runGlyphCode("Glyph::update", [this] { update(); });
}

TAVI::StringID Glyph::addControl(const TAVI::Holder<Control>& control, const ZEPH::Node& parent,
                                 const TAVI::StringID& tag) {
    GlyphPrivate* p = d_func();
    // A control serves one glyph under one tag; a second attachment would build it twice.
    if (!control || control->getGlyph() || p->controls.count(tag))
        return {};
    control->add(this, parent, tag);
    p->controls.emplace(tag, control);
    return tag;
}

TAVI::StringID Glyph::addControl(const TAVI::Holder<Control>& control, const ZEPH::Node& parent) {
    if (!control)
        return {};
    return addControl(control, parent, control->getDefaultTag());
}

bool Glyph::removeControl(const TAVI::StringID& tag) {
    GlyphPrivate* p = d_func();
    auto found = p->controls.find(tag);
    if (found == p->controls.end())
        return false;
    // Held across the erase: the map's reference may be the last one.
    const TAVI::Holder<Control> control = found->second;
    p->controls.erase(found);
    control->remove();
    return true;
}

bool Glyph::hasControl(const TAVI::StringID& tag) const {
    return d_func()->controls.count(tag) != 0;
}

std::vector<TAVI::Holder<Control>> Glyph::getControls() const {
    std::vector<TAVI::Holder<Control>> controls;
    for (const auto& [tag, control] : d_func()->controls)
        controls.push_back(control);
    return controls;
}

void Glyph::dispatchMousePress(ZEPH::MouseEvent& event) {
    const ZEPH::Node root = getRoot();
    if (ZEPH::Scene* scene = root.getScene()) {
        const ZEPH::Node hit = scene->getNodeAt(event.scenePos());
        for (const TAVI::Holder<Control>& control : getControls()) {
            if (control->contains(hit)) {
                control->onMousePress(event);
                break;
            }
        }
    }
    if (!event.isConsumed())
        handleMousePressEvent(event);
}

} // namespace KITE
