#pragma once

#include "editor/Glyph.hpp"
#include "examples/blocks/kite_example_blocks_export.hpp"
#include "platform/zeph/RectNode.hpp"
#include "platform/zeph/TextNode.hpp"

#include <string>

namespace Blocks {

// A block: a rectangle at the block's position (relative to its container) and of its size,
// with the block's name as a label, in the middle, or along the top when the block holds other
// blocks, whose glyphs hang inside the rectangle. Badges along its lower edge tell how many
// connections it has, whether some come in and some go out, whether it holds blocks and whether
// it is a sink (drawn in a warmer colour too); those that do not fit hide behind an expander.
// Selectable, movable, and resizable by the canvas's handles. The label never reaches outside the
// rectangle (it is shortened with "..." or left empty): the handles sit on the rectangle's bounds,
// and the resize behaviour takes the block's size from them.
class KITE_EXAMPLE_BLOCKS_EXPORT BlockGlyph : public KITE::Glyph {
public:
    explicit BlockGlyph(const KITE::DiagramElement& element);

    void create() override;
    ZEPH::Node getRoot() const override;
    void update() override;
    // Room for a short label.
    TAVI::GLPoint<double> minSize() const override;

    ZEPH::RectNode getBox() const { return box; }
    ZEPH::TextNode getLabel() const { return label; }

    // The object's "name" attribute; empty when it has none.
    static std::string nameOf(const VELD::ImmutableClassObject& object);

    static constexpr double minimumWidth = 40.0;
    static constexpr double minimumHeight = 24.0;

    // The badges' file names, in the icons folder of the example.
    static std::string iconPath(const std::string& file);

private:
    void layOutLabel(const std::string& name, bool container);
    void showBadges(const KITE::GraphNode& node, bool container);

    ZEPH::RectNode box;
    ZEPH::TextNode label;
    std::string shownBadges; // what the badges say now, to rebuild them only on a change
};

} // namespace Blocks
