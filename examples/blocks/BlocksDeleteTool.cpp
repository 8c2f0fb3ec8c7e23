#include "examples/blocks/BlocksDeleteTool.hpp"

namespace Blocks {

BlocksDeleteTool::BlocksDeleteTool(KITE::Editor& editor) : DeleteToolImpl(editor) {}

} // namespace Blocks
