#pragma once

#include "platform/zeph/ResizeBehavior.hpp"

namespace StudioDemo {

class DiagramScene;

// Resizes a block by a handle as the base behaviour does, from the block's own rectangle
// (not its bounds, which a nested block moved outside it would widen) and never below a
// size that still shows a label; the label and the lines follow, and on release the new
// position and size go into the model in one transaction. Escape puts the block back.
class DiagramResizeBehavior : public ZEPH::ResizeBehavior {
public:
    explicit DiagramResizeBehavior(DiagramScene* diagram);

    void handleKeyPressEvent(ZEPH::KeyEvent& event) override;

    static constexpr double minimumWidth = 40.0;
    static constexpr double minimumHeight = 24.0;

protected:
    void recordStartingConditions() override;
    TAVI::GLRect<double> calculateRect(const TAVI::GLPoint<double>& delta, int modifiers) const override;
    void modifyTarget(const TAVI::GLRect<double>& sceneRect) override;
    void commit() override;

private:
    DiagramScene* diagram;  // not owned
    bool recorded = false;
    TAVI::GLRect<double> startRect;  // the block's rectangle on the scene when the drag began
};

} // namespace StudioDemo
