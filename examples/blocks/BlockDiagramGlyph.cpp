#include "examples/blocks/BlockDiagramGlyph.hpp"

#include "platform/zeph/Scene.hpp"

namespace Blocks {

BlockDiagramGlyph::BlockDiagramGlyph(const KITE::DiagramElement& element) : Glyph(element) {}

void BlockDiagramGlyph::create() {
    root = ZEPH::ContainerNode::create();
    getScene()->addNode(root);
}

ZEPH::Node BlockDiagramGlyph::getRoot() const {
    return root;
}

void BlockDiagramGlyph::update() {}

} // namespace Blocks
