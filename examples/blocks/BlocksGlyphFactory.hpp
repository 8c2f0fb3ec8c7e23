#pragma once

#include "editor/GlyphFactory.hpp"

namespace Blocks {

// Draws block diagrams: the diagram as a BlockDiagramGlyph, every node as a BlockGlyph, every
// edge as a ConnectionGlyph. It registers the diagram model's own classes, so node and edge
// classes a meta-model adds later are drawn as well.
class BlocksGlyphFactory : public KITE::GlyphFactory {
public:
    BlocksGlyphFactory();

    TAVI::Holder<KITE::Glyph> createDiagram(KITE::DiagramElement element);
    TAVI::Holder<KITE::Glyph> createBlock(KITE::DiagramElement element);
    TAVI::Holder<KITE::Glyph> createConnection(KITE::DiagramElement element);
};

} // namespace Blocks
