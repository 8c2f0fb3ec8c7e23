#pragma once

#include "editor/kite_editor_export.hpp"
#include "platform/datamodel/ChangeReports.hpp"
#include "platform/datamodel/Diagram.hpp"
#include "platform/nimb/Emitter.hpp"
#include "platform/tavi/GList.hpp"
#include "platform/tavi/GSet.hpp"
#include "platform/tavi/Holder.hpp"
#include "platform/zeph/Node.hpp"
#include "platform/zeph/Scene.hpp"

namespace KITE {

class Glyph;
class GlyphFactory;
class GraphicsPrivate;

// The glyphs of one editor: which glyph draws which element, and where its nodes hang. Owns
// the canvas scene; glyphs of elements on the diagram hang under a root node, glyphs of
// contained elements under their container's glyph. Holds one reference to each glyph.
class KITE_EDITOR_EXPORT Graphics {
public:
    // New graphics on a new scene whose first node is the root.
    static Graphics* createGraphics();
    // New graphics whose glyphs hang under root, in root's scene (to draw a diagram into a
    // node of another scene). Throws TAVI::TypedException for a node in no scene.
    static Graphics* createGraphicsWithRoot(const ZEPH::Node& root);
    ~Graphics();
    Graphics(const Graphics&) = delete;
    Graphics& operator=(const Graphics&) = delete;

    ZEPH::Scene* getScene() const;
    ZEPH::Node getRoot() const;

    // Null when the element (or the node, which must be a glyph's root) has no glyph.
    Glyph* getGlyph(const ImmutableDiagramElement& element) const;
    Glyph* getGlyph(const ZEPH::Node& node) const;
    TAVI::GList<TAVI::Holder<Glyph>> getGlyphs() const;

    // Kept only when no factory is set yet. Not owned: the domain keeps its factory.
    void setGlyphFactory(GlyphFactory* factory);
    GlyphFactory* getGlyphFactory() const;

    // Elements whose glyphs the next report handling updates.
    void invalidateGlyph(const ImmutableDiagramElement& element);
    void invalidateGlyphs(const VELD::ImmutableSequence<DiagramElement>& elements);
    bool isInvalidated(const ImmutableDiagramElement& element) const;
    // The invalidated elements; the set is empty afterwards.
    TAVI::GSet<DiagramElement> takeInvalidated();

    // Makes, builds and attaches a glyph for each element: a contained element's glyph hangs
    // under its container's glyph whatever the order of the set. Without a factory, or for an
    // element that has a glyph already, the element is reported and left alone. A glyph whose
    // create() throws, or whose root node is the graphics' root or another glyph's, is reported
    // and dropped: its element has no glyph.
    void createGlyphs(const TAVI::GSet<DiagramElement>& elements);
    // Updates each element's glyph (and its controls), re-attaching it first when the element
    // changed container since report's old state. An update that throws is reported; the others
    // go on.
    void updateGlyphs(const TAVI::GSet<DiagramElement>& elements,
                      const DiagramChangeReport& report);
    // Removes each element's glyph and the glyphs of all elements below it, innermost first,
    // sending the glyph-removed signal for each while it is still alive. When an element of the
    // set has no glyph, the glyphs of every element that is gone leave too: such an element took
    // what it held with it, and their glyphs hang elsewhere.
    void removeGlyphs(const TAVI::GSet<DiagramElement>& elements);

    // Sent with each glyph once its nodes are gone, while it is still alive and the graphics
    // still give it for its element (getGlyph(element)); they let go of it afterwards. A listener
    // may remove further glyphs (each is announced once). An editor keeps its graphics until
    // its handling of the report ends, so a listener may close or let go of the editor; whoever
    // made graphics of their own (createGraphics) must not delete them from a listener.
    NIMB::Emitter<Glyph*>& getGlyphRemovedSignal();

private:
    Graphics();
    GraphicsPrivate* d_func() { return d; }
    const GraphicsPrivate* d_func() const { return d; }
    GraphicsPrivate* d; // owned
};

} // namespace KITE
