#pragma once

#include "platform/zeph/Tool.hpp"

namespace KITE {
class Editor;
}

namespace StudioDemo {

// The history keys of an editor's canvas: Ctrl+Z goes one change level back in the model's
// history, Ctrl+Y (or Ctrl+Shift+Z) one forward; every view of the model follows the kernel's
// report. Keys that come in the middle of a gesture (another tool above this one, or a preview
// in the editor's working copy) are left alone: the gesture would finish on what the undo
// changed. The editor must outlive the tool (its scene holds it).
class HistoryKeysTool : public ZEPH::Tool {
public:
    explicit HistoryKeysTool(KITE::Editor& editor);

    void handleKeyPressEvent(ZEPH::KeyEvent& event) override;
    TAVI::StringID getDefaultRole() const override; // "HistoryKeys"
    // Repeated Ctrl+Z walks back through the history.
    bool requiresKeyAutoRepeat() const override;

private:
    KITE::Editor& editor;
};

} // namespace StudioDemo
