#pragma once

#include "editor/Glyph.hpp"
#include "examples/blocks/kite_example_blocks_export.hpp"
#include "platform/zeph/ContainerNode.hpp"

namespace Blocks {

// The diagram itself: an empty container at the origin of the diagram's coordinates, under
// which the glyphs of its blocks and connections hang. It draws nothing and is not selected.
class KITE_EXAMPLE_BLOCKS_EXPORT BlockDiagramGlyph : public KITE::Glyph {
public:
    explicit BlockDiagramGlyph(const KITE::DiagramElement& element);

    void create() override;
    ZEPH::Node getRoot() const override;
    // The diagram's contents are in its own coordinates: nothing moves with its position.
    void update() override;

private:
    ZEPH::ContainerNode root;
};

} // namespace Blocks
