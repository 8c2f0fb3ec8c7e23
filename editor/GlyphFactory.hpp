#pragma once

#include "editor/Glyph.hpp"
#include "editor/kite_editor_export.hpp"
#include "platform/veld/VisitorTable.hpp"

namespace KITE {

class Graphics;

// Decides which glyph draws which kind of diagram element. A domain's factory derives from it
// and registers, for each diagram class it draws, a creation operation taking that class;
// creation dispatches on the element's meta-class to the most specific registered class.
// Elements of classes with no registered operation get a NullGlyph.
//
//   class BlockGlyphFactory : public GlyphFactory {
//   public:
//       BlockGlyphFactory() : GlyphFactory(Table::forClass<BlockGlyphFactory>()) {
//           registerCreator(Block::MetaClass(), Table::member(&BlockGlyphFactory::createBlock));
//       }
//       TAVI::Holder<Glyph> createBlock(Block block) { ... }
//   };
class KITE_EDITOR_EXPORT GlyphFactory {
public:
    using Table = VELD::VisitorTable<GlyphFactory, TAVI::Holder<Glyph>>;

    virtual ~GlyphFactory();
    GlyphFactory(const GlyphFactory&) = delete;
    GlyphFactory& operator=(const GlyphFactory&) = delete;

    // A new glyph for element, given its graphics. A null element is reported by the kernel
    // ("Visitation on null object") and gives an empty holder; so does, reported as a host
    // assertion, a glyph made for another element or belonging to other graphics.
    TAVI::Holder<Glyph> createGlyph(const DiagramElement& element, Graphics* graphics);

protected:
    // table: the dispatch table of the concrete factory class (Table::forClass<Concrete>()).
    explicit GlyphFactory(Table* table);
    GlyphFactory();
    void registerCreator(const VELD::ImmutableClass& cls, Table::Handler creator);
    // The fallback: a NullGlyph.
    TAVI::Holder<Glyph> create(const DiagramElement& element);

private:
    Table* table; // shared by every instance of the concrete class; not owned
};

} // namespace KITE
