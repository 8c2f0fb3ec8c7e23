#include "editor/GlyphFactory.hpp"

#include "editor/NullGlyph.hpp"
#include "platform/zu/zuAssert.hpp"

namespace KITE {

GlyphFactory::GlyphFactory(Table* dispatchTable) : table(dispatchTable) {
    // Classes without a creation operation of their own still get a glyph, so that what they
    // contain has somewhere to hang.
    table->setDefaultHandler([](GlyphFactory& factory, const VELD::ImmutableClassObject& object) {
        return factory.create(DiagramElement(object));
    });
}

GlyphFactory::GlyphFactory() : GlyphFactory(Table::forClass<GlyphFactory>()) {}

GlyphFactory::~GlyphFactory() = default;

TAVI::Holder<Glyph> GlyphFactory::createGlyph(const DiagramElement& element, Graphics* graphics) {
    TAVI::Holder<Glyph> glyph = table->dispatch(*this, element);
    if (!glyph)
        return glyph;
    // A glyph draws one element in one graphics: one handed out again (a cache keyed wrongly,
    // a glyph of another editor) would be torn from where it hangs.
    if (!(glyph->diagramElement() == element) ||
        (glyph->getGraphics() && glyph->getGraphics() != graphics)) {
        zuReportAssertion("glyph->diagramElement() == element", __FILE__, __LINE__,
                          "GlyphFactory::createGlyph: the factory gave a glyph of another element "
                          "or of other graphics; the element gets none");
        return {};
    }
    glyph->setGraphics(graphics);
    return glyph;
}

void GlyphFactory::registerCreator(const VELD::ImmutableClass& cls, Table::Handler creator) {
    table->registerHandler(cls, std::move(creator));
}

TAVI::Holder<Glyph> GlyphFactory::create(const DiagramElement& element) {
    return TAVI::Holder<Glyph>(new NullGlyph(element));
}

} // namespace KITE
