#pragma once

#include "editor/kite_editor_export.hpp"

namespace KITE {

class Editor;

// Gives the editor the library's default tools: constructors of the marquee selection, move
// and resize tools for the roles the selection tool starts them by, then the selection tool
// and the delegate-to-glyph tool on its stack. Domains reach it through
// AbstractKiteDomain::installTools, which every editor registers it with.
KITE_EDITOR_EXPORT void installDefaultTools(Editor& editor);

} // namespace KITE
