#pragma once

#include "editor/SimpleEdgeCreationTool.hpp"
#include "examples/blocks/kite_example_blocks_export.hpp"

namespace Blocks {

// Draws connections where the blocks domain's rules allow them: a drag from a block (no key
// needed while the palette's connection button is checked) to another block or to a sink.
class KITE_EXAMPLE_BLOCKS_EXPORT ConnectionTool : public KITE::SimpleEdgeCreationTool {
public:
    explicit ConnectionTool(KITE::Editor& editor);
};

} // namespace Blocks
