#include "editor/NullGlyph.hpp"

#include "platform/zeph/Scene.hpp"

namespace KITE {

NullGlyph::NullGlyph(const DiagramElement& element)
    : Glyph(element), root(ZEPH::ContainerNode::create()) {}

NullGlyph::~NullGlyph() = default;

void NullGlyph::create() {
    if (ZEPH::Scene* scene = getScene(); scene && root.isValid() && !root.getScene())
        scene->addNode(root);
}

ZEPH::Node NullGlyph::getRoot() const {
    return root;
}

void NullGlyph::update() {
    const DiagramElement element = diagramElement();
    if (root.isValid() && element.isValid())
        root.setPosition(element.getPosition());
}

} // namespace KITE
