#pragma once

#include "editor/Control.hpp"
#include "editor/Glyph.hpp"
#include "platform/tavi/Holder.hpp"

#include <map>

namespace KITE {

class GlyphPrivate {
public:
    GlyphPrivate(Glyph* owner, const DiagramElement& element) : q(owner), element(element) {}

    Glyph* q;  // back pointer
    DiagramElement element;
    // Ordered by tag, so presses try the controls in a fixed order.
    std::map<TAVI::StringID, TAVI::Holder<Control>> controls;
    Graphics* graphics = nullptr;  // not owned
    Editor* editor = nullptr;      // not owned
};

} // namespace KITE
