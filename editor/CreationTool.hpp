#pragma once

#include "editor/PaletteTool.hpp"
#include "editor/kite_editor_export.hpp"
#include "platform/veld/Model.hpp"

namespace ZEPH {
class MouseEvent;
}

namespace KITE {

class Editor;

// The base of the palette's creation tools: a gesture draws what it makes in the editor's
// working copy (the interactive model) while it runs and makes it in the model's root at its
// end. Whatever a gesture drew is dropped and nothing is made when Escape is released (which
// also ends the tool's persistence), when the canvas loses the focus, when the tool leaves the
// stack, and when the left button was let go where the tool could not hear it. The editor must
// outlive the tool.
class KITE_EDITOR_EXPORT CreationTool : public PaletteTool {
public:
    ~CreationTool() override;

    void handleFocusOutEvent(ZEPH::Event& event) override;
    // Escape: no longer persistent, and the gesture under way, if any, is dropped.
    void handleKeyReleaseEvent(ZEPH::KeyEvent& event) override;
    void onRemoveFromStack() override;

    Editor& getEditor() const { return editor; }
    // The editor's working copy, where gestures draw; null without a diagram.
    VELD::Model getModel() const;

protected:
    explicit CreationTool(Editor& editor);

    // Whether a gesture is under way.
    virtual bool isGestureUnderWay() const = 0;
    // Ends the gesture, dropping whatever it drew in the working copy.
    virtual void reset() = 0;
    // Ends the gesture under way, if any, keeping the tool's persistence.
    void cancel();
    // Whether a move during a gesture still has the left button down; when it has not (the
    // release went to another window, a dialog that grabbed the mouse) the gesture is cancelled.
    bool leftButtonStillDown(const ZEPH::MouseEvent& event);
    // Brings the working copy back to the model's root in a transaction of its own: the previous
    // step's drawing goes.
    static void dropDrawing(const VELD::Model& model);

private:
    Editor& editor;
};

} // namespace KITE
