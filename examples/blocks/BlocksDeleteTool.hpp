#pragma once

#include "editor/DeleteToolImpl.hpp"
#include "examples/blocks/kite_example_blocks_export.hpp"

namespace Blocks {

// Deletes the selected blocks and connections with the Delete key, and with the editor's
// context-menu entry "Delete": blocks take their connections and the blocks inside them along.
class KITE_EXAMPLE_BLOCKS_EXPORT BlocksDeleteTool : public KITE::DeleteToolImpl {
public:
    explicit BlocksDeleteTool(KITE::Editor& editor);
};

} // namespace Blocks
