#pragma once

#include "editor/GlyphFactory.hpp"
#include "examples/blocks/kite_example_blocks_export.hpp"

namespace Blocks {

// Draws block diagrams: the diagram as a BlockDiagramGlyph, every node as a BlockGlyph (the free
// end of a connection being drawn as a FreeEndGlyph), every edge as a ConnectionGlyph. It registers
// the diagram model's own classes, so node and edge classes a meta-model adds later are drawn as
// well.
class KITE_EXAMPLE_BLOCKS_EXPORT BlocksGlyphFactory : public KITE::GlyphFactory {
public:
    BlocksGlyphFactory();

    TAVI::Holder<KITE::Glyph> createDiagram(KITE::DiagramElement element);
    TAVI::Holder<KITE::Glyph> createBlock(KITE::DiagramElement element);
    TAVI::Holder<KITE::Glyph> createConnection(KITE::DiagramElement element);
    TAVI::Holder<KITE::Glyph> createFreeEnd(KITE::DiagramElement element);
};

} // namespace Blocks
