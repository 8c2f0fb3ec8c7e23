#pragma once

#include "editor/Glyph.hpp"
#include "examples/blocks/kite_example_blocks_export.hpp"
#include "platform/zeph/ContainerNode.hpp"

namespace Blocks {

// The free end of a connection being drawn: an empty point at the end's position, where the
// rubber band ends when the pointer is over nothing it may connect to. Never selected or moved.
class KITE_EXAMPLE_BLOCKS_EXPORT FreeEndGlyph : public KITE::Glyph {
public:
    explicit FreeEndGlyph(const KITE::DiagramElement& element);

    void create() override;
    ZEPH::Node getRoot() const override;
    void update() override;
    bool isSelectable() const override;

private:
    ZEPH::ContainerNode point;
};

} // namespace Blocks
