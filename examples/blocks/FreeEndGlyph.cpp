#include "examples/blocks/FreeEndGlyph.hpp"

#include "platform/zeph/Scene.hpp"

namespace Blocks {

FreeEndGlyph::FreeEndGlyph(const KITE::DiagramElement& element) : Glyph(element) {}

void FreeEndGlyph::create() {
    point = ZEPH::ContainerNode::create();
    point.setSelectable(false);
    point.setMovable(false);
    getScene()->addNode(point);
}

ZEPH::Node FreeEndGlyph::getRoot() const {
    return point;
}

void FreeEndGlyph::update() {
    const KITE::DiagramElement end = diagramElement();
    if (end.isValid() && point.isValid())
        point.setPosition(end.getPosition());
}

bool FreeEndGlyph::isSelectable() const {
    return false;
}

} // namespace Blocks
