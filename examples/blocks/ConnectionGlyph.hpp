#pragma once

#include "editor/Glyph.hpp"
#include "examples/blocks/kite_example_blocks_export.hpp"
#include "platform/zeph/LineNode.hpp"

namespace Blocks {

// A connection: a straight line from the border of its source block to the border of its
// destination block, along the line between their centres, with an arrow head at the
// destination. Drawn in the coordinates of the element that contains the connection, under
// whose glyph it hangs, and above the blocks, so that a line into a nested block stays visible
// over its container. Selectable, never moved. The editor updates it when either end moves or
// changes size; a connection missing an end, or whose ends give no line, is hidden.
class KITE_EXAMPLE_BLOCKS_EXPORT ConnectionGlyph : public KITE::Glyph {
public:
    explicit ConnectionGlyph(const KITE::DiagramElement& element);

    void create() override;
    ZEPH::Node getRoot() const override;
    void update() override;

    ZEPH::LineNode getLine() const { return line; }

    static constexpr double arrowLength = 10.0;

private:
    ZEPH::LineNode line;
    ZEPH::LineNode headLeft;
    ZEPH::LineNode headRight;
};

} // namespace Blocks
