#pragma once

#include "editor/kite_editor_export.hpp"
#include "platform/zeph/Tool.hpp"

namespace KITE {

class Editor;

// Deletes the editor's selection when the Delete key is pressed on the canvas: first it collects
// what goes, then it deletes it. Subclasses say what and how (DeleteToolImpl is the library's
// way). The tool never finishes: it stays on the stack until removed. The editor must outlive
// the tool.
class KITE_EDITOR_EXPORT DeleteTool : public ZEPH::Tool {
public:
    ~DeleteTool() override;

    // The Delete key (no other key, whatever the modifiers): collect, delete, consume.
    void handleKeyPressEvent(ZEPH::KeyEvent& event) override;
    bool isDone() const override;
    // The role "Delete".
    TAVI::StringID getDefaultRole() const override;
    static TAVI::StringID staticGetDefaultRole();

    // What the Delete key does, for other ways of asking (a menu entry, a script).
    void deleteSelection();

    Editor& getEditor() const { return editor; }

protected:
    explicit DeleteTool(Editor& editor);

    virtual void collectElementsToDelete() = 0;
    virtual void deleteElements() = 0;

private:
    Editor& editor;
};

} // namespace KITE
