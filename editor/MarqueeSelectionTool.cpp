#include "editor/MarqueeSelectionTool.hpp"

#include "editor/Editor.hpp"

namespace KITE {

MarqueeSelectionTool::MarqueeSelectionTool(Editor& editor) : editor(editor) {
    editor.disableSelectionNotification();
    suppressing = true;
}

MarqueeSelectionTool::~MarqueeSelectionTool() {
    // A tool made and dropped without ever leaving a stack (its gesture never started) would
    // otherwise keep the editor's selection events off for good.
    endSuppression();
}

void MarqueeSelectionTool::onRemoveFromStack() {
    ZEPH::MarqueeSelectionTool::onRemoveFromStack();
    endSuppression();
}

void MarqueeSelectionTool::endSuppression() {
    if (!suppressing)
        return;
    suppressing = false;
    editor.enableSelectionNotification();
}

} // namespace KITE
