#include "utils/DiagramRendering.hpp"

#include "application/AbstractKiteDomain.hpp"
#include "application/DomainRegistry.hpp"
#include "editor/Glyph.hpp"
#include "editor/Graphics.hpp"
#include "platform/tavi/ErrorHolder.hpp"

#include <memory>
#include <vector>

namespace KITE::Util {

namespace {

// The elements of the diagram below element, parents first; an element shown on another
// diagram is left out with everything below it.
void collect(const DiagramElement& element, const ImmutableDiagram& diagram,
             TAVI::GSet<DiagramElement>& out) {
    if (!element.isValid() || element.getDiagram() != diagram)
        return;
    out.insert(element);
    const ImmutableGraphElement container(element);
    if (container.isNull())
        return;
    for (DiagramElement child : container.getContained())
        collect(child, diagram, out);
}

// The node and everything below it: a picture takes no clicks and no drags.
void makeStatic(ZEPH::Node node) {
    std::vector<ZEPH::Node> pending{std::move(node)};
    while (!pending.empty()) {
        ZEPH::Node next = pending.back();
        pending.pop_back();
        if (!next.isValid())
            continue;
        next.setSelectable(false);
        next.setMovable(false);
        for (ZEPH::Node child : next.getChildren())
            pending.push_back(child);
    }
}

void render(Graphics& graphics, const Diagram& diagram) {
    if (diagram.isNull() || !diagram.isValid())
        return;
    TAVI::ErrorHolder ignored; // no domain draws nothing: the picture stays empty
    AbstractKiteDomain* domain = DomainRegistry::instance()->getStaticDomainForModel(
        VELD::Model(diagram.getRootModel()), ignored);
    if (domain)
        graphics.setGlyphFactory(domain->getGlyphFactory());
    if (!graphics.getGlyphFactory())
        return;
    TAVI::GSet<DiagramElement> elements;
    for (DiagramElement element : diagram.getContained())
        collect(element, diagram, elements);
    graphics.createGlyphs(elements);
    // The glyphs draw themselves first: an update may make or reset nodes. With no state before,
    // each element is its own old state, as in an editor's first population.
    const DiagramChangeReport firstShow(VELD::ImmutableModel(diagram.getModelVELD()),
                                        VELD::ImmutableModel());
    graphics.updateGlyphs(elements, firstShow);
    for (const TAVI::Holder<Glyph>& glyph : graphics.getGlyphs())
        makeStatic(glyph->getRoot());
}

} // namespace

void addGraphicalChildrenRecursively(Graphics* graphics, DiagramElement element,
                                     TAVI::GSet<DiagramElement>& out) {
    out.insert(element);
    const ImmutableGraphElement container(element);
    if (!graphics || container.isNull() || !container.isValid())
        return;
    for (DiagramElement child : container.getContained())
        if (graphics->getGlyph(child))
            addGraphicalChildrenRecursively(graphics, child, out);
}

void renderDiagramIntoNode(Diagram diagram, ZEPH::Node node) {
    const std::unique_ptr<Graphics> graphics(Graphics::createGraphicsWithRoot(node));
    render(*graphics, diagram);
}

TAVI::Holder<ZEPH::Scene> diagram2Scene(Diagram diagram) {
    const std::unique_ptr<Graphics> graphics(Graphics::createGraphics());
    TAVI::Holder<ZEPH::Scene> scene(graphics->getScene());
    render(*graphics, diagram);
    return scene;
}

} // namespace KITE::Util
