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
// selection operations to keep their own selection model in step.
class ZEPH_EXPORT SelectionTool : public Tool {
public:
    SelectionTool();
    ~SelectionTool() override;

    void handleMouseMoveEvent(MouseEvent& event) override;
    void handleMousePressEvent(MouseEvent& event) override;
    void handleMouseReleaseEvent(MouseEvent& event) override;

    TAVI::StringID getDefaultRole() const override;
    // The role its instances take, for tool constructors made before any instance.
    static TAVI::StringID staticGetDefaultRole();

    // The node a click at the point selects; invalid when none.
    virtual Node getSelectableNodeAt(const TAVI::GLPoint<double>& scenePoint) const;
    virtual void selectNode(const Node& node);
    virtual void deselectNode(const Node& node);
    virtual void deselectAll();
    // Whether a drag that starts on node moves the selection.
    virtual bool canStartMove(const Node& node) const;
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

    TAVI::StringID moveRole;
    TAVI::StringID resizeRole;
    TAVI::StringID marqueeRole;
    bool pressed = false;
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
