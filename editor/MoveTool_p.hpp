// Private to editor/: included only by its own sources and tests; not installed.
#pragma once

#include "editor/Glyph.hpp"
#include "editor/MoveTool.hpp"
#include "platform/editlayout/SmartGuides.hpp"
#include "platform/tavi/Holder.hpp"
#include "platform/zeph/ContainerNode.hpp"
#include "platform/zeph/EllipseNode.hpp"
#include "platform/zeph/LineNode.hpp"

#include <cstdint>

namespace KITE {

class MoveToolPrivate {
public:
    MoveToolPrivate(MoveTool* owner, Editor& editor) : q(owner), editor(editor) {}

    // Removes the guide nodes and forgets the guides and the snapping state.
    void dropGuides();
    // Removes the guide nodes the guides drawn last did not use.
    void dropUnusedGuideNodes();

    MoveTool* q; // back pointer
    Editor& editor;
    TAVI::GSet<DiagramElement> elements;
    EditLayout::SmartGuides* smartGuides = nullptr; // owned; null when the move has no guides
    // Held for the drag: a glyph dropped by the graphics meanwhile stays a valid object.
    TAVI::Holder<Glyph> primaryGlyph;
    std::vector<EditLayout::Guide> guides;
    // The guides' nodes hang in a layer of their own above the glyphs, made with the first
    // guide of the drag: Qt re-sorts every top-level item of the scene after one is added or
    // removed, so the guides coming and going as the pointer moves must not be top-level.
    ZEPH::ContainerNode guideLayer;
    // Kept from one step to the next and only moved: moving a node costs Qt's index less than
    // removing it and adding another.
    std::vector<ZEPH::LineNode> guideLines;
    std::vector<ZEPH::EllipseNode> guideDots;
    std::size_t guideLinesUsed = 0;
    std::size_t guideDotsUsed = 0;
    bool invalidateEdgesDuringMove = true;
    TAVI::GLPoint<double> lastDelta;
    std::uint64_t lastTick = 0; // 0 before the first speed sample
};

} // namespace KITE
