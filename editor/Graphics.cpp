#include "editor/Graphics.hpp"

#include "application/MessageCatalog.hpp"
#include "editor/Control.hpp"
#include "editor/GlyphFactory.hpp"
#include "editor/Glyph_p.hpp"
#include "editor/Graphics_p.hpp"
#include "platform/tavi/ErrorHolder.hpp"
#include "platform/tavi/TypedException.hpp"
#include "platform/zeph/ContainerNode.hpp"
#include "platform/zu/zu.hpp"

#include <QGraphicsScene>
#include <QTimer>

namespace KITE {

namespace {

// Draws every element with a NullGlyph: what graphics use when nobody gave them a factory, so
// that the element tree still has its nodes and later reports still find their glyphs.
class FallbackGlyphFactory : public GlyphFactory {
public:
    FallbackGlyphFactory() : GlyphFactory(Table::forClass<FallbackGlyphFactory>()) {}
};

GlyphFactory& fallbackFactory() {
    static FallbackGlyphFactory factory;
    return factory;
}

// Grows the map once for what is coming rather than rehashing it step by step as a diagram's
// population fills it. Only ever grows: reserving a smaller size rehashes the map too.
template <typename Map> void makeRoom(Map& map, std::size_t more) {
    const std::size_t wanted = map.size() + more;
    if (double(wanted) > double(map.bucket_count()) * double(map.max_load_factor()))
        map.reserve(wanted);
}

} // namespace

Graphics::Graphics() : d(new GraphicsPrivate(this)) {}

Graphics* Graphics::createGraphics() {
    Graphics* graphics = new Graphics();
    GraphicsPrivate* p = graphics->d_func();
    p->scene = ZEPH::Scene::createScene();
    p->root = ZEPH::ContainerNode::create();
    p->scene->addNode(p->root);
    p->ownsScene = true;
    return graphics;
}

Graphics* Graphics::createGraphicsWithRoot(const ZEPH::Node& root) {
    if (!root.isValid() || !root.getScene())
        throw TAVI::TypedException(
            TAVI_HERE, "Graphics::createGraphicsWithRoot: the root node is in no scene");
    Graphics* graphics = new Graphics();
    GraphicsPrivate* p = graphics->d_func();
    p->scene = TAVI::Holder<ZEPH::Scene>(root.getScene());
    p->root = root;
    return graphics;
}

Graphics::~Graphics() {
    delete d;
}

ZEPH::Scene* Graphics::getScene() const {
    return d_func()->scene.get();
}

ZEPH::Node Graphics::getRoot() const {
    return d_func()->root;
}

Glyph* Graphics::getGlyph(const ImmutableDiagramElement& element) const {
    const auto& glyphs = d_func()->glyphs;
    const auto found = glyphs.find(DiagramElement(element));
    return found == glyphs.end() ? nullptr : found->second.get();
}

Glyph* Graphics::getGlyph(const ZEPH::Node& node) const {
    const auto& nodes = d_func()->nodes;
    const auto found = nodes.find(node);
    return found == nodes.end() ? nullptr : found->second;
}

TAVI::GList<TAVI::Holder<Glyph>> Graphics::getGlyphs() const {
    TAVI::GList<TAVI::Holder<Glyph>> list;
    for (const auto& [element, glyph] : d_func()->glyphs)
        list.append(glyph);
    return list;
}

void Graphics::setGlyphFactory(GlyphFactory* factory) {
    if (!d_func()->factory)
        d_func()->factory = factory;
}

GlyphFactory* Graphics::getGlyphFactory() const {
    return d_func()->factory;
}

void Graphics::invalidateGlyph(const ImmutableDiagramElement& element) {
    if (!element.isNull())
        d_func()->invalidated.insert(DiagramElement(element));
}

void Graphics::invalidateGlyphs(const VELD::ImmutableSequence<DiagramElement>& elements) {
    for (const DiagramElement& element : elements)
        invalidateGlyph(element);
}

bool Graphics::isInvalidated(const ImmutableDiagramElement& element) const {
    return d_func()->invalidated.contains(DiagramElement(element));
}

TAVI::GSet<DiagramElement> Graphics::takeInvalidated() {
    TAVI::GSet<DiagramElement> taken = d_func()->invalidated;
    d_func()->invalidated.clear();
    return taken;
}

TAVI::Holder<Glyph> GraphicsPrivate::createGlyph(const DiagramElement& element,
                                                 TAVI::ErrorHolder& errors) {
    if (const auto found = glyphs.find(element); found != glyphs.end()) {
        reportError(errors, TAVI_HERE, Message::GlyphAlreadyExists);
        return found->second;
    }
    GlyphFactory* maker = factory;
    if (!maker) {
        zu_assert(
            factory,
            "Graphics: glyphs are made before a glyph factory was set; elements get empty glyphs");
        maker = &fallbackFactory();
    }
    TAVI::Holder<Glyph> glyph = maker->createGlyph(element, q);
    if (glyph)
        glyphs.emplace(element, glyph);
    return glyph;
}

void GraphicsPrivate::attach(const DiagramElement& element, Glyph& glyph) {
    ZEPH::Node node = glyph.getRoot();
    if (!node.isValid())
        return;
    ZEPH::Node parent;
    const GraphElement container = element.getContainer();
    if (container.isValid()) {
        if (Glyph* containerGlyph = q->getGlyph(container);
            containerGlyph && containerGlyph != &glyph)
            parent = containerGlyph->getChildContainer();
    }
    if (!parent.isValid())
        parent = root;
    if (node.getParent() == parent)
        return;
    try {
        node.setParent(parent);
    } catch (const TAVI::TypedException& error) {
        // A glyph whose child container lies inside the glyph being attached (a containment
        // cycle the model should not have) stays where it is rather than corrupting the tree.
        zu_assertstr(false, "Graphics: a glyph could not be attached under its container's glyph",
                     error.what());
    }
}

void Graphics::createGlyphs(const TAVI::GSet<DiagramElement>& elements) {
    GraphicsPrivate* p = d_func();
    makeRoom(p->glyphs, elements.size());
    makeRoom(p->nodes, elements.size());
    std::vector<std::pair<DiagramElement, TAVI::Holder<Glyph>>> made;
    made.reserve(elements.size());
    for (const DiagramElement& element : elements) {
        if (!element.isValid())
            continue;
        TAVI::ErrorHolder erh;
        TAVI::Holder<Glyph> glyph = p->createGlyph(element, erh);
        zu_assert(!erh.hasError(), "");
        if (!glyph || erh.hasError())
            continue;
        ZEPH::Node node;
        const bool built = runGlyphCode("Glyph::create", [&] {
            glyph->create();
            node = glyph->getRoot();
        });
        // A root that is the graphics' own or another glyph's would hand that node's whole tree
        // to this glyph (removing the glyph would take the others with it). Claimed in the
        // same look-up that finds it taken.
        const bool nodeTaken = built && node.isValid() &&
                               (node == p->root || !p->nodes.try_emplace(node, glyph.get()).second);
        zu_assert(!nodeTaken, "Graphics: a glyph's root node is the graphics' root or another "
                              "glyph's; the glyph is dropped");
        if (!built || nodeTaken) {
            // The element goes without a glyph; what it contains hangs under the root.
            p->glyphs.erase(element);
            continue;
        }
        made.emplace_back(element, glyph);
    }
    // A second pass, so that a contained element finds its container's glyph whatever the
    // order of the set.
    for (const auto& [element, glyph] : made)
        p->attach(element, *glyph);
    if (!p->ownsScene || !p->sceneRectPinned || made.empty())
        return;
    const bool posted = !p->uncovered.empty();
    for (const auto& [element, glyph] : made)
        p->uncovered.push_back(element);
    if (posted)
        return;
    if (!p->coverLater)
        p->coverLater = std::make_unique<QObject>();
    QTimer::singleShot(0, p->coverLater.get(), [p] { p->coverMadeGlyphs(); });
}

void Graphics::updateGlyphs(const TAVI::GSet<DiagramElement>& elements,
                            const DiagramChangeReport& report) {
    GraphicsPrivate* p = d_func();
    for (const DiagramElement& element : elements) {
        // Held for the update: a glyph's update may change the model and so drop the glyph.
        const TAVI::Holder<Glyph> glyph(getGlyph(element));
        if (!glyph || !element.isValid())
            continue;
        const DiagramElement old = report.getOldState(element);
        const VELD::ImmutableClassObject container = element.getContainer();
        const VELD::ImmutableClassObject oldContainer =
            old.isNull() ? VELD::ImmutableClassObject() : old.getContainer();
        if (!(container == oldContainer))
            p->attach(element, *glyph);
        runGlyphCode("Glyph::update", [&] { glyph->update(); });
        for (const TAVI::Holder<Control>& control : glyph->getControls())
            runGlyphCode("Control::update", [&] { control->update(); });
    }
    p->coverGlyphs(elements);
}

void GraphicsPrivate::removeNodeTree(const ZEPH::Node& node) {
    for (const ZEPH::Node& child : node.getChildren())
        removeNodeTree(child);
    const auto found = nodes.find(node);
    if (found == nodes.end())
        return;
    // Held until the end: the element map may hold the last reference.
    const TAVI::Holder<Glyph> glyph(found->second);
    if (announcing.count(glyph.get()))
        return;
    // The nodes go first, the entries after the announcement: listeners meet a glyph without
    // nodes that the graphics still give for its element.
    if (node.isValid() && node.getScene())
        node.getScene()->removeNode(node);
    if (!announceRemoval(glyph))
        return;
    // Looked up again: the listeners may have changed the maps.
    if (const auto still = nodes.find(node); still != nodes.end() && still->second == glyph.get())
        nodes.erase(still);
    forget(glyph);
}

bool GraphicsPrivate::announceRemoval(const TAVI::Holder<Glyph>& glyph) {
    // Announced while the graphics still map it, so that a listener's getGlyph finds it; a
    // listener that removes it again (directly or with its container) is not heard twice.
    if (!announcing.insert(glyph.get()).second)
        return false;
    try {
        glyphRemoved.send(glyph.get(), NIMB::SendDefault);
    } catch (...) {
        announcing.erase(glyph.get());
        throw;
    }
    announcing.erase(glyph.get());
    return true;
}

void GraphicsPrivate::forget(const TAVI::Holder<Glyph>& glyph) {
    const auto it = glyphs.find(glyph->diagramElement());
    if (it != glyphs.end() && it->second.get() == glyph.get())
        glyphs.erase(it);
}

void Graphics::removeGlyphs(const TAVI::GSet<DiagramElement>& elements) {
    GraphicsPrivate* p = d_func();
    // Asked before anything goes: an element below another of the set loses its glyph with it.
    bool withoutGlyph = false;
    for (const DiagramElement& element : elements)
        withoutGlyph = withoutGlyph || !getGlyph(element);
    for (const DiagramElement& element : elements) {
        const TAVI::Holder<Glyph> glyph(getGlyph(element));
        if (!glyph)
            continue;
        const ZEPH::Node node = glyph->getRoot();
        if (node.isValid() && p->nodes.count(node)) {
            p->removeNodeTree(node);
        } else {
            // A glyph without nodes of its own still leaves the graphics, and says so.
            if (p->announceRemoval(glyph))
                p->forget(glyph);
        }
    }
    // An element that had no glyph (its glyph failed, or its factory made none) took what it
    // held with it, but their glyphs hang elsewhere and no node tree leads to them: those of
    // elements that are gone go now. Only then, so that removal stays as cheap as what it
    // removes.
    if (!withoutGlyph)
        return;
    TAVI::GSet<DiagramElement> gone;
    for (const auto& [element, glyph] : p->glyphs)
        if (!element.isValid())
            gone.insert(element);
    if (!gone.isEmpty())
        removeGlyphs(gone);
}

NIMB::Emitter<Glyph*>& Graphics::getGlyphRemovedSignal() {
    return d_func()->glyphRemoved;
}

void GraphicsPrivate::coverMadeGlyphs() {
    coverGlyphs({});
}

void GraphicsPrivate::coverGlyphs(const TAVI::GSet<DiagramElement>& elements) {
    if (!ownsScene || !scene)
        return;
    QGraphicsScene* qtScene = scene->qtScene();
    // Unpinned, this is Qt's own rectangle: every item measured, once.
    QRectF covered = qtScene->sceneRect();
    for (const DiagramElement& element : elements) {
        // The diagram's glyph holds every other glyph, and measuring it would cost the size of
        // the diagram at each change of its contents (a rubber band drawn, a block made); the
        // glyphs inside it are covered by their own updates.
        if (ImmutableDiagram(element).isValid())
            continue;
        if (const Glyph* glyph = q->getGlyph(element))
            coverNode(glyph->getRoot(), covered);
    }
    for (const DiagramElement& element : uncovered)
        if (const Glyph* glyph = q->getGlyph(element))
            coverNode(glyph->getRoot(), covered);
    uncovered.clear();
    if (!sceneRectPinned || covered != qtScene->sceneRect()) {
        qtScene->setSceneRect(covered);
        sceneRectPinned = true;
    }
}

void GraphicsPrivate::coverNode(const ZEPH::Node& node, QRectF& covered) const {
    if (!node.isValid())
        return;
    const TAVI::GLRect<double> bounds = node.getSceneBounds();
    covered |= QRectF(bounds.x, bounds.y, bounds.width, bounds.height);
    // Other glyphs' roots are covered by their own updates.
    for (const ZEPH::Node& child : node.getChildren())
        if (!nodes.count(child))
            coverNode(child, covered);
}

} // namespace KITE
