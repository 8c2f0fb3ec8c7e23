#pragma once

#include "platform/tavi/Geometry.hpp"
#include "platform/tavi/StringID.hpp"
#include "platform/zeph/Node.hpp"
#include "platform/zeph/Tool.hpp"
#include "platform/zeph/zeph_export.hpp"

namespace ZEPH {

// The base tool of an editor: a click selects the selectable node under the
// pointer (or its nearest selectable ancestor); Shift adds to the selection,
// Control toggles; a click on empty space clears it. A drag that passes a few
// pixels starts another tool by its role, from the scene's tool constructors:
// on a handle of a resizable selected node the resize behaviour, on a movable
// selected node the move tool, on empty space the marquee tool.
// The selection tool never leaves the stack by itself. Subclasses override the
// hooks below (each named for the question it answers or the step it takes) to
// keep their own selection model in step or to change a rule of the gesture.
class ZEPH_EXPORT SelectionTool : public Tool {
public:
    // What the tool is doing between events (state(), setState()).
    enum State {
        Idle = 0,     // no press of its own is under way
        Pressed = 1,  // the left button went down; a drag may follow
        OnHandle = 2, // the press grabbed a handle of a selected node
    };

    SelectionTool();
    ~SelectionTool() override;

    void handleMouseMoveEvent(MouseEvent& event) override;
    void handleMousePressEvent(MouseEvent& event) override;
    void handleMouseReleaseEvent(MouseEvent& event) override;

    TAVI::StringID getDefaultRole() const override;
    // The role its instances take, for tool constructors made before any instance.
    static TAVI::StringID staticGetDefaultRole();

    // Deselects every selected node, each through setNodeSelected.
    virtual void deselectAll() const;
    // Selects or deselects one node; every selection change of the tool (and of the marquee
    // tool working for it) goes through here.
    virtual void setNodeSelected(Node node, bool selected) const;
    virtual void setState(int state);
    virtual int state() const;
    // Whether the press adds to the selection instead of replacing it: Shift.
    virtual bool extendSelection(const MouseEvent& event) const;
    // Whether the pointer has gone far enough from the press to be a drag: dragThreshold view
    // pixels, whatever the zoom.
    virtual bool movedEnough(const MouseEvent& event) const;
    // Whether there is a selectable node under the press.
    virtual bool pressedNodeIsSelectable() const;
    // Whether a drag from the press moves the selection: the pressed node is movable and
    // selected.
    virtual bool pressedNodeIsMovable() const;
    // Whether the press landed on text the user may edit in place; never here.
    virtual bool editableTextUnderMousePress() const;
    // Whether the drag starts the behaviour of the handle the press grabbed (the resize).
    virtual bool shouldInvokeBehavior() const;
    // Start the move tool and the marquee tool by their roles, with the press's position and
    // modifiers, and hand them the drag.
    virtual void invokeMoveTool(MouseEvent& event);
    virtual void invokeMarqueeTool(MouseEvent& event);
    // Starts editing the text under the press; nothing here.
    virtual void invokeTextSelectionTool();

    // The node a click at the point selects; invalid when none.
    virtual Node getSelectableNodeAt(const TAVI::GLPoint<double>& scenePoint) const;
    // Whether the handles of node resize it (its scene bounds' corners and edge middles).
    virtual bool canResize(const Node& node) const;

    void setMoveToolRole(const TAVI::StringID& role) { moveRole = role; }
    TAVI::StringID getMoveToolRole() const { return moveRole; }
    void setResizeToolRole(const TAVI::StringID& role) { resizeRole = role; }
    TAVI::StringID getResizeToolRole() const { return resizeRole; }
    void setMarqueeToolRole(const TAVI::StringID& role) { marqueeRole = role; }
    TAVI::StringID getMarqueeToolRole() const { return marqueeRole; }

    // How far (in view pixels) the pointer goes before a press becomes a drag.
    static constexpr double dragThreshold = 3.0;
    // How near (in view pixels) to a handle a press must be to grab it.
    static constexpr double handleTolerance = 4.0;

private:
    void startGesture(const TAVI::StringID& role, MouseEvent& event);
    void reset();

    TAVI::StringID moveRole;
    TAVI::StringID resizeRole;
    TAVI::StringID marqueeRole;
    int currentState = Idle;
    TAVI::GLPoint<double> pressPoint;
    int pressModifiers = 0;
    Node pressedNode;
    Node resizeTarget; // valid when the press grabbed a handle
    int resizeHandle = -1;
    // A plain click on a node already selected keeps the selection (it may start
    // a move of all of it) and selects only that node if no drag follows.
    bool selectOnlyOnRelease = false;
};

} // namespace ZEPH
