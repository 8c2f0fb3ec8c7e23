#pragma once

#include "editor/Glyph.hpp"
#include "editor/Graphics.hpp"

#include <unordered_map>

namespace TAVI {
class ErrorHolder;
}

namespace KITE {

class GraphicsPrivate {
public:
    explicit GraphicsPrivate(Graphics* owner) : q(owner) {}

    // The existing glyph and an error when the element has one already.
    TAVI::Holder<Glyph> createGlyph(const DiagramElement& element, TAVI::ErrorHolder& errors);
    void attach(const DiagramElement& element, Glyph& glyph);
    void removeNodeTree(const ZEPH::Node& node);

    Graphics* q;  // back pointer
    TAVI::Holder<ZEPH::Scene> scene;
    ZEPH::Node root;
    GlyphFactory* factory = nullptr;  // not owned; never replaced once set
    std::unordered_map<DiagramElement, TAVI::Holder<Glyph>, TAVI::GHasher> glyphs;
    std::unordered_map<ZEPH::Node, Glyph*> nodes;  // glyph root node -> glyph
    TAVI::GSet<DiagramElement> invalidated;
    NIMB::Emitter<Glyph*> glyphRemoved{NIMB::SendAuto};
};

} // namespace KITE
