#pragma once

#include "editor/kite_editor_export.hpp"
#include "platform/nimb/Listener.hpp"
#include "platform/zeph/Tool.hpp"

namespace KITE {

class DelegateToGlyphToolPrivate;
class Editor;
class Glyph;

// Hands pointer, wheel and key events to the glyph under the pointer, so that glyphs and their
// controls react to clicks, wheel turns and keys: a press goes to the glyph's controls first.
// The glyph under the pointer is the one whose nodes hold the top-most node there; keys go to
// the glyph found by the last pointer event. The tool consumes none of these events itself:
// the tools below still get them unless a glyph consumes them. Escape is the exception: it
// becomes one navigate-up request for the editor's diagram and goes no further. A glyph the
// graphics drop gets no event afterwards. The tool never finishes; the editor must outlive it.
class KITE_EDITOR_EXPORT DelegateToGlyphTool : public ZEPH::Tool, public NIMB::Listener {
public:
    explicit DelegateToGlyphTool(Editor& editor);
    ~DelegateToGlyphTool() override;

    void handleMouseMoveEvent(ZEPH::MouseEvent& event) override;
    void handleMousePressEvent(ZEPH::MouseEvent& event) override;
    void handleMouseReleaseEvent(ZEPH::MouseEvent& event) override;
    void handleMouseDoubleClickEvent(ZEPH::MouseEvent& event) override;
    void handleWheelEvent(ZEPH::WheelEvent& event) override;
    void handleKeyPressEvent(ZEPH::KeyEvent& event) override;
    void handleKeyReleaseEvent(ZEPH::KeyEvent& event) override;

    bool isDone() const override;
    TAVI::StringID getDefaultRole() const override;
    // "DelegateToGlyph".
    static TAVI::StringID staticGetDefaultRole();

    // The glyph that the last pointer event found; null when none.
    Glyph* getCurrentGlyph() const;

private:
    void onGlyphRemoved(Glyph* glyph);

    DelegateToGlyphToolPrivate* d_func() { return d; }
    const DelegateToGlyphToolPrivate* d_func() const { return d; }
    DelegateToGlyphToolPrivate* d; // owned
};

} // namespace KITE
