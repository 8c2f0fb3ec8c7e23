#include "editor/DelegateToGlyphTool.hpp"

#include "editor/DelegateToGlyphTool_p.hpp"
#include "editor/Editor.hpp"
#include "editor/Glyph.hpp"
#include "editor/Graphics.hpp"
#include "platform/nimb/ConnectionImpl.hpp"
#include "platform/nimb/ConnectionLock.hpp"
#include "platform/orbis/StudioEventService.hpp"
#include "platform/zeph/KeyEvent.hpp"
#include "platform/zeph/MouseEvent.hpp"
#include "platform/zeph/Scene.hpp"
#include "platform/zeph/WheelEvent.hpp"
#include "studio/events/NavigateUpRequest.hpp"

namespace KITE {

Glyph* DelegateToGlyphToolPrivate::glyphAt(const TAVI::GLPoint<double>& scenePoint) {
    current = nullptr;
    Graphics* graphics = editor->getGraphics();
    ZEPH::Scene* scene = graphics ? graphics->getScene() : nullptr;
    if (!scene)
        return nullptr;
    // Only a glyph's root maps to the glyph; its other nodes and its controls' nodes hang
    // below that root, so the walk goes up to the nearest one.
    for (ZEPH::Node node = scene->getNodeAt(scenePoint); node.isValid() && !current;
         node = node.getParent())
        current = graphics->getGlyph(node);
    return current;
}

DelegateToGlyphTool::DelegateToGlyphTool(Editor& editor)
    : d(new DelegateToGlyphToolPrivate(this, editor)) {
    if (Graphics* graphics = editor.getGraphics()) {
        NIMB::ConnectionWriteLocker lock;
        new NIMB::ConnectionImpl1<DelegateToGlyphTool, Glyph*>(
            this, graphics->getGlyphRemovedSignal(), nullptr, &DelegateToGlyphTool::onGlyphRemoved);
    }
}

DelegateToGlyphTool::~DelegateToGlyphTool() {
    disconnect();
    delete d;
}

bool DelegateToGlyphTool::isDone() const {
    return false;
}

TAVI::StringID DelegateToGlyphTool::staticGetDefaultRole() {
    static const TAVI::StringID role("DelegateToGlyph");
    return role;
}

TAVI::StringID DelegateToGlyphTool::getDefaultRole() const {
    return staticGetDefaultRole();
}

Glyph* DelegateToGlyphTool::getCurrentGlyph() const {
    return d_func()->current;
}

void DelegateToGlyphTool::onGlyphRemoved(Glyph* glyph) {
    if (glyph == d->current)
        d->current = nullptr;
}

// Each handler holds the glyph while it runs: a handler may remove the glyph's element, and
// with it the graphics' reference to the glyph.

void DelegateToGlyphTool::handleMouseMoveEvent(ZEPH::MouseEvent& event) {
    if (const TAVI::Holder<Glyph> glyph = d->glyphAt(event.scenePos()))
        glyph->handleMouseMoveEvent(event);
}

void DelegateToGlyphTool::handleMousePressEvent(ZEPH::MouseEvent& event) {
    if (const TAVI::Holder<Glyph> glyph = d->glyphAt(event.scenePos()))
        glyph->dispatchMousePress(event);
}

void DelegateToGlyphTool::handleMouseReleaseEvent(ZEPH::MouseEvent& event) {
    if (const TAVI::Holder<Glyph> glyph = d->glyphAt(event.scenePos()))
        glyph->handleMouseReleaseEvent(event);
}

void DelegateToGlyphTool::handleMouseDoubleClickEvent(ZEPH::MouseEvent& event) {
    if (const TAVI::Holder<Glyph> glyph = d->glyphAt(event.scenePos()))
        glyph->handleMouseDoubleClickEvent(event);
}

void DelegateToGlyphTool::handleWheelEvent(ZEPH::WheelEvent& event) {
    if (const TAVI::Holder<Glyph> glyph = d->glyphAt(event.scenePos()))
        glyph->handleWheelEvent(event);
}

void DelegateToGlyphTool::handleKeyPressEvent(ZEPH::KeyEvent& event) {
    if (event.key() == ZEPH::Key_Escape) {
        if (PLATFORM::StudioEventService<NavigateUpRequest>* service =
                d->editor->getNavigateUpRequestService())
            service->raise(NavigateUpRequest(d->editor->getDiagram()));
        event.consume();
        return;
    }
    if (const TAVI::Holder<Glyph> glyph = d->current)
        glyph->handleKeyPressEvent(event);
}

void DelegateToGlyphTool::handleKeyReleaseEvent(ZEPH::KeyEvent& event) {
    if (const TAVI::Holder<Glyph> glyph = d->current)
        glyph->handleKeyReleaseEvent(event);
}

} // namespace KITE
