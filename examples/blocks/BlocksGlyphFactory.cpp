#include "examples/blocks/BlocksGlyphFactory.hpp"

#include "examples/blocks/BlockDiagramGlyph.hpp"
#include "examples/blocks/BlockGlyph.hpp"
#include "examples/blocks/ConnectionGlyph.hpp"
#include "examples/blocks/FreeEndGlyph.hpp"

namespace Blocks {

BlocksGlyphFactory::BlocksGlyphFactory() : GlyphFactory(Table::forClass<BlocksGlyphFactory>()) {
    registerCreator(KITE::Diagram::MetaClass(), Table::member(&BlocksGlyphFactory::createDiagram));
    registerCreator(KITE::GraphNode::MetaClass(), Table::member(&BlocksGlyphFactory::createBlock));
    registerCreator(KITE::GraphEdge::MetaClass(),
                    Table::member(&BlocksGlyphFactory::createConnection));
    registerCreator(KITE::TerminalNode::MetaClass(),
                    Table::member(&BlocksGlyphFactory::createFreeEnd));
}

TAVI::Holder<KITE::Glyph> BlocksGlyphFactory::createDiagram(KITE::DiagramElement element) {
    return TAVI::Holder<KITE::Glyph>(new BlockDiagramGlyph(element));
}

TAVI::Holder<KITE::Glyph> BlocksGlyphFactory::createBlock(KITE::DiagramElement element) {
    return TAVI::Holder<KITE::Glyph>(new BlockGlyph(element));
}

TAVI::Holder<KITE::Glyph> BlocksGlyphFactory::createConnection(KITE::DiagramElement element) {
    return TAVI::Holder<KITE::Glyph>(new ConnectionGlyph(element));
}

TAVI::Holder<KITE::Glyph> BlocksGlyphFactory::createFreeEnd(KITE::DiagramElement element) {
    return TAVI::Holder<KITE::Glyph>(new FreeEndGlyph(element));
}

} // namespace Blocks
