#pragma once

#include "editor/PaletteTool.hpp"
#include "editor/kite_editor_export.hpp"
#include "platform/datamodel/Diagram.hpp"
#include "platform/tavi/Geometry.hpp"
#include "platform/veld/Model.hpp"

#include <functional>

namespace ZEPH {
class MouseEvent;
}

namespace KITE {

class Editor;

// The base of the palette tools that make diagram content with one left-button gesture: a press
// starts it, each move redraws a preview in the editor's working copy (the interactive model),
// and the release makes the content against the root of the diagram's model. It owns every way
// a gesture is broken off, the same for each such tool: Escape (which also ends persistence),
// the canvas losing the focus, a second button going down, the left button let go where the
// tool could not hear it (a move without it), and the tool leaving the stack. Each drops the
// preview through reset(), and nothing is made. The editor must outlive the tool.
class KITE_EDITOR_EXPORT CreationTool : public PaletteTool {
public:
    ~CreationTool() override;

    // A press during a gesture ends it and is consumed; a left press otherwise goes to begin().
    void handleMousePressEvent(ZEPH::MouseEvent& event) override;
    // During a gesture: drag() while the left button is down, else the gesture ends.
    void handleMouseMoveEvent(ZEPH::MouseEvent& event) override;
    // During a gesture, the left button's release goes to finish().
    void handleMouseReleaseEvent(ZEPH::MouseEvent& event) override;
    void handleFocusOutEvent(ZEPH::Event& event) override;
    // Escape: no longer persistent, and the gesture under way, if any, reset.
    void handleKeyReleaseEvent(ZEPH::KeyEvent& event) override;
    // Drops the gesture under way, then sends the removal signal.
    void onRemoveFromStack() override;

    Editor& getEditor() const { return editor; }
    bool isInGesture() const { return gesture; }
    // The editor's working copy, where the preview is drawn; null without a diagram.
    VELD::Model getModel() const;
    // The root deviant of the diagram's model, where content is made; null without a diagram.
    VELD::Model getRootModel() const;
    // The element under the scene point as a graph element; empty over empty canvas or an edge.
    GraphElement getGraphElementAt(const TAVI::GLPoint<double>& point) const;

protected:
    explicit CreationTool(Editor& editor);

    void setInGesture(bool value) { gesture = value; }

    // Ends the gesture: none under way, nothing drawn in the working copy.
    virtual void reset();
    // A left press with no gesture under way; starting one is up to the tool.
    virtual void begin(ZEPH::MouseEvent& event) = 0;
    // A move with the left button down during the gesture.
    virtual void drag(ZEPH::MouseEvent& event) = 0;
    // The left button's release during the gesture; the tool resets itself when done.
    virtual void finish(ZEPH::MouseEvent& event) = 0;

    // Resets the gesture under way, if any, keeping the tool's persistence.
    void cancel();
    // Runs step; when it throws, the gesture is reset before the exception goes on.
    void resetOnThrow(const std::function<void()>& step);
    // Runs change in one committed transaction on model, under resetOnThrow.
    void changeIn(const VELD::Model& model, const std::function<void()>& change);
    // Drops the previous preview (the working copy synchronised from the root), then runs draw
    // in a new transaction on the working copy; both under resetOnThrow.
    void redraw(const VELD::Model& workingCopy, const std::function<void()>& draw);
    // The working copy synchronised from the root in a transaction of its own: whatever the
    // tool drew in it is gone.
    static void syncFromRoot(const VELD::Model& workingCopy);

private:
    Editor& editor;
    bool gesture = false;
};

} // namespace KITE
