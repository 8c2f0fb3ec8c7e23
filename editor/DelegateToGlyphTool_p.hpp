// Private to editor/: included only by its own sources and tests; not installed.
#pragma once

#include "editor/DelegateToGlyphTool.hpp"
#include "platform/tavi/Geometry.hpp"

namespace KITE {

class DelegateToGlyphToolPrivate {
public:
    DelegateToGlyphToolPrivate(DelegateToGlyphTool* owner, Editor& editor)
        : q(owner), editor(&editor) {}

    // Finds the glyph under the pointer and makes it current.
    Glyph* glyphAt(const TAVI::GLPoint<double>& scenePoint);

    DelegateToGlyphTool* q;   // back pointer
    Editor* editor;           // not owned
    Glyph* current = nullptr; // not owned; forgotten when the graphics drop it
};

} // namespace KITE
