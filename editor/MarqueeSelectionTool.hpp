#pragma once

#include "editor/kite_editor_export.hpp"
#include "platform/zeph/MarqueeSelectionTool.hpp"
#include "platform/zeph/ToolConstructor.hpp"

namespace KITE {

class Editor;

// The rubber band of the editor: selects through the editor's selection tool as the canvas base
// does, with the editor's selection events held back while the tool exists on the stack, so a
// band over many elements sends one event for the whole selection when the tool leaves the
// stack. Made by the tool constructor of its role (ZEPH::ToolConstructor<MarqueeSelectionTool,
// Editor&>) or by subclasses. The editor must outlive the tool.
class KITE_EDITOR_EXPORT MarqueeSelectionTool : public ZEPH::MarqueeSelectionTool {
public:
    ~MarqueeSelectionTool() override;

    void onRemoveFromStack() override;

    Editor& getEditor() const { return editor; }

protected:
    explicit MarqueeSelectionTool(Editor& editor);

private:
    friend class ZEPH::ToolConstructor<MarqueeSelectionTool, Editor&>;
    void endSuppression();

    Editor& editor;
    bool suppressing = false;
};

} // namespace KITE
