#pragma once

#include "platform/zeph/SelectionTool.hpp"

namespace StudioDemo {

class DiagramScene;

// The canvas's base tool for a diagram: selection, and the drags that start moving,
// resizing and marquee selection, as the base tool does; besides, Control+Z undoes the
// model's last change and Control+Y (or Control+Shift+Z) redoes it.
class DiagramSelectionTool : public ZEPH::SelectionTool {
public:
    explicit DiagramSelectionTool(DiagramScene* diagram);

    void handleKeyPressEvent(ZEPH::KeyEvent& event) override;

private:
    DiagramScene* diagram;  // not owned
};

} // namespace StudioDemo
