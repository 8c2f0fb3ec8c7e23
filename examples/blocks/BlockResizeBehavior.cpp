#include "examples/blocks/BlockResizeBehavior.hpp"

#include "editor/Editor.hpp"
#include "editor/Glyph.hpp"
#include "editor/Graphics.hpp"
#include "platform/zeph/MouseEvent.hpp"

namespace Blocks {

namespace {

bool movesLeftEdge(ZEPH::ResizeBehavior::Handle handle) {
    return handle == ZEPH::ResizeBehavior::TopLeft || handle == ZEPH::ResizeBehavior::Left ||
           handle == ZEPH::ResizeBehavior::BottomLeft;
}

bool movesTopEdge(ZEPH::ResizeBehavior::Handle handle) {
    return handle == ZEPH::ResizeBehavior::TopLeft || handle == ZEPH::ResizeBehavior::Top ||
           handle == ZEPH::ResizeBehavior::TopRight;
}

} // namespace

BlockResizeBehavior::BlockResizeBehavior(KITE::Editor& editor) : ResizeBehavior(editor) {}

TAVI::GLRect<double> BlockResizeBehavior::calculateRect(const TAVI::GLPoint<double>& delta,
                                                        int modifiers) const {
    TAVI::GLRect<double> r = ResizeBehavior::calculateRect(delta, modifiers);
    KITE::Graphics* graphics = getEditor() ? getEditor()->getGraphics() : nullptr;
    const KITE::Glyph* glyph = graphics ? graphics->getGlyph(getTargetNode()) : nullptr;
    if (!glyph)
        return r;
    const TAVI::GLPoint<double> minimum = glyph->minSize();
    const bool aboutCentre = (modifiers & ZEPH::AltModifier) != 0;
    if (r.width < minimum.x) {
        const double grow = minimum.x - r.width;
        r.x -= aboutCentre ? grow / 2 : movesLeftEdge(getHandle()) ? grow : 0;
        r.width = minimum.x;
    }
    if (r.height < minimum.y) {
        const double grow = minimum.y - r.height;
        r.y -= aboutCentre ? grow / 2 : movesTopEdge(getHandle()) ? grow : 0;
        r.height = minimum.y;
    }
    return r;
}

} // namespace Blocks
