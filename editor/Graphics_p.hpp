// Private to editor/: included only by its own sources and tests; not installed.
#pragma once

#include "editor/Glyph.hpp"
#include "editor/Graphics.hpp"

#include <QObject>
#include <QRectF>

#include <memory>
#include <unordered_map>
#include <unordered_set>
#include <vector>

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
    // Sends the glyph-removed signal for glyph unless its removal is being announced already;
    // false then.
    bool announceRemoval(const TAVI::Holder<Glyph>& glyph);
    // Drops the element's entry when it is still this glyph's.
    void forget(const TAVI::Holder<Glyph>& glyph);

    // A scene without a rectangle of its own measures every item whenever its index or a view
    // asks for the rectangle after a change, which made a drag step on a large diagram cost
    // the size of the diagram; so does letting go of the rectangle, or changing it, which
    // makes Qt rebuild its whole index. Graphics that own their scene pin its rectangle to
    // what it covers and grow it by the glyphs they update. Made glyphs are placed by updates
    // that not all pass through here: they are covered at their next update through the
    // graphics or, at the latest, once control is back in the event loop.
    void coverGlyphs(const TAVI::GSet<DiagramElement>& elements);
    void coverMadeGlyphs();
    // The node's drawing and that of the nodes below it down to other glyphs' roots.
    void coverNode(const ZEPH::Node& node, QRectF& covered) const;

    Graphics* q; // back pointer
    TAVI::Holder<ZEPH::Scene> scene;
    ZEPH::Node root;
    GlyphFactory* factory = nullptr; // not owned; never replaced once set
    std::unordered_map<DiagramElement, TAVI::Holder<Glyph>, TAVI::GHasher> glyphs;
    std::unordered_map<ZEPH::Node, Glyph*> nodes; // glyph root node -> glyph
    TAVI::GSet<DiagramElement> invalidated;
    NIMB::Emitter<Glyph*> glyphRemoved{NIMB::SendAuto};
    // The glyphs whose removal is being announced: a listener that removes glyphs itself finds
    // them still mapped, and must not have them announced twice.
    std::unordered_set<const Glyph*> announcing;
    bool ownsScene = false;       // made with createGraphics: another's scene is left alone
    bool sceneRectPinned = false; // the scene's rectangle is set by the graphics
    // Elements whose glyphs were made since the rectangle was last grown.
    std::vector<DiagramElement> uncovered;
    // Receives the deferred covering of made glyphs; goes with the graphics.
    std::unique_ptr<QObject> coverLater;
};

} // namespace KITE
