#pragma once

#include "editor/CreationTool.hpp"
#include "editor/kite_editor_export.hpp"
#include "platform/datamodel/Diagram.hpp"
#include "platform/tavi/Geometry.hpp"
#include "platform/veld/Model.hpp"

namespace ZEPH {
class MouseEvent;
}

namespace KITE {

// The base of tools that place a node by press, drag and release (or a double click): the press
// and each move preview the node in the editor's working copy (the interactive model); the
// release makes it in one transaction on the model's root, with no command. A tool that is not
// persistent is done after one node (or after Escape), so it leaves the stack. Nothing is made
// when the release lands outside the canvas's visible area, nor on any of the interruptions
// CreationTool handles (Escape, focus loss, a second button, ...); the preview is dropped in
// each case. The editor must outlive the tool.
class KITE_EDITOR_EXPORT NodeCreationTool : public CreationTool {
public:
    ~NodeCreationTool() override;

    // A left press during the drag (its release went unheard) is consumed and carries the drag
    // on; any other press is CreationTool's.
    void handleMousePressEvent(ZEPH::MouseEvent& event) override;
    // Every release during the drag, and every left release, is consumed.
    void handleMouseReleaseEvent(ZEPH::MouseEvent& event) override;
    // The press handling, then the release handling, of the same event.
    void handleMouseDoubleClickEvent(ZEPH::MouseEvent& event) override;
    bool isDone() const override { return done; }

    bool isPressed() const { return isInGesture(); }
    const TAVI::GLPoint<double>& getPressPoint() const { return pressPoint; }

protected:
    explicit NodeCreationTool(Editor& editor);

    // Each gets the element under the pointer, the press point, the pointer's scene point and
    // the model to change, inside a transaction on it: the working copy for the preview (the
    // previous preview gone already), the model's root for the final node.
    virtual void initialUpdate(GraphElement element, const TAVI::GLPoint<double>& pressPoint,
                               const TAVI::GLPoint<double>& point, VELD::Model model) = 0;
    virtual void intermediateUpdate(GraphElement element, const TAVI::GLPoint<double>& pressPoint,
                                    const TAVI::GLPoint<double>& point, VELD::Model model) = 0;
    virtual void finalUpdate(GraphElement element, const TAVI::GLPoint<double>& pressPoint,
                             const TAVI::GLPoint<double>& point, VELD::Model model) = 0;
    // Ends the gesture: done unless persistent, not pressed, no preview in the working copy.
    void reset() override;
    // The node's rectangle when it is placed by a click; all 0 here.
    virtual TAVI::GLRect<double> defaultSize() const;
    // The smallest and largest size a dragged rectangle gets; empty rectangles set no bound.
    virtual TAVI::GLRect<double> minimumRect() const;
    virtual TAVI::GLRect<double> maximumRect() const;

    // The rectangle between the press point and point, normalised and kept within the bounds
    // above; a click (point at the press point) gives defaultSize() placed at the press point.
    TAVI::GLRect<double> creationRect(const TAVI::GLPoint<double>& pressPoint,
                                      const TAVI::GLPoint<double>& point) const;
    // Whether the release at the event's point may place the node: not outside the visible area
    // of the canvas the event came from (events without a canvas are always inside).
    virtual bool isInsideDiagram(const ZEPH::MouseEvent& event) const;

    void begin(ZEPH::MouseEvent& event) override;
    void drag(ZEPH::MouseEvent& event) override;
    void finish(ZEPH::MouseEvent& event) override;

private:
    bool done = false;
    TAVI::GLPoint<double> pressPoint;
};

} // namespace KITE
