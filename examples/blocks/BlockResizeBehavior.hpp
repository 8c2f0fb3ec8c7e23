#pragma once

#include "editor/ResizeBehavior.hpp"

namespace Blocks {

// Resizes a block by a handle as the library's behaviour does (a preview in the editor's working
// copy, one transaction on release), but never below the smallest size its glyph allows: the
// rectangle grows back away from the edge that stays (about the centre with Alt). Nodes of no
// glyph keep the canvas's own minimum. The editor must outlive the behaviour.
class BlockResizeBehavior : public KITE::ResizeBehavior {
public:
    explicit BlockResizeBehavior(KITE::Editor& editor);

protected:
    TAVI::GLRect<double> calculateRect(const TAVI::GLPoint<double>& delta,
                                       int modifiers) const override;
};

} // namespace Blocks
