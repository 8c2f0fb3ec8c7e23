#include "examples/blocks/ConnectionTool.hpp"

#include "examples/blocks/BlocksDomain.hpp"
#include "platform/veld/DomainRegistry.hpp"

namespace Blocks {

ConnectionTool::ConnectionTool(KITE::Editor& editor) : SimpleEdgeCreationTool(editor) {
    setEdgeClass(VELD::DomainRegistry::instance().findClass(BlocksDomain::connectionClassName));
    // The palette button says what a drag does: no modifier is needed.
    setMousePressModifiers(ZEPH::NoModifier);
}

} // namespace Blocks
