#pragma once

#include "editor/kite_editor_export.hpp"
#include "platform/zeph/SelectionTool.hpp"

namespace KITE {

class Editor;

// The editor's pointer tool: the canvas base decides the gesture (click, modifiers, drag into
// a move, a resize or a marquee); this tool keeps the editor's selection as the one selection.
// Selecting a node selects the element of the glyph whose root it is, through the editor, which
// tells the glyph; nodes that are no glyph's root are not selected at all. Clearing deselects
// every node and empties the editor's selection without a selection event. The editor must
// outlive the tool (the editor's scene holds it).
class KITE_EDITOR_EXPORT SelectionTool : public ZEPH::SelectionTool {
public:
    explicit SelectionTool(Editor& editor);
    ~SelectionTool() override;

    void deselectAll() const override;
    void setNodeSelected(ZEPH::Node node, bool selected) const override;

    Editor& getEditor() const { return editor; }

private:
    Editor& editor;
    mutable bool clearingNodes = false;
};

} // namespace KITE
