// Private to editor/: included only by its own sources and tests; not installed.
#pragma once

#include "editor/Glyph.hpp"
#include "editor/MoveTool.hpp"
#include "platform/editlayout/SmartGuides.hpp"
#include "platform/tavi/Holder.hpp"

#include <cstdint>

namespace KITE {

class MoveToolPrivate {
public:
    MoveToolPrivate(MoveTool* owner, Editor& editor) : q(owner), editor(editor) {}

    // Removes the guide nodes and forgets the guides and the snapping state.
    void dropGuides();

    MoveTool* q; // back pointer
    Editor& editor;
    TAVI::GSet<DiagramElement> elements;
    EditLayout::SmartGuides* smartGuides = nullptr; // owned; null when the move has no guides
    // Held for the drag: a glyph dropped by the graphics meanwhile stays a valid object.
    TAVI::Holder<Glyph> primaryGlyph;
    std::vector<EditLayout::Guide> guides;
    std::vector<ZEPH::Node> guideNodes;
    bool invalidateEdgesDuringMove = true;
    TAVI::GLPoint<double> lastDelta;
    std::uint64_t lastTick = 0; // 0 before the first speed sample
};

} // namespace KITE
