#pragma once

#include "platform/tavi/Geometry.hpp"
#include "platform/zeph/GestureTool.hpp"
#include "platform/zeph/Node.hpp"
#include "platform/zeph/zeph_export.hpp"

#include <vector>

namespace ZEPH {

// Moves nodes by the pointer's travel since the start position: the selected
// movable nodes, leaving out those whose ancestor moves already (or, in single
// move mode, only the movable node under the start position); nodes with the
// layout constraint flag stay where their layout put them. Shift keeps the
// move to the axis it goes furthest along; Escape puts the nodes back, and so
// does a release that never came (a move without the left button, another left
// press, which goes on to the tools below, or the focus gone). The tool leaves
// the stack when the button is released or the move is cancelled.
// Subclasses override the hooks to move other things (a working copy's model)
// along with, or instead of, the nodes.
class ZEPH_EXPORT MoveTool : public GestureTool {
public:
    MoveTool();
    ~MoveTool() override;

    void handleMouseMoveEvent(MouseEvent& event) override;
    void handleMousePressEvent(MouseEvent& event) override;
    void handleMouseReleaseEvent(MouseEvent& event) override;
    void handleKeyPressEvent(KeyEvent& event) override;
    void handleFocusOutEvent(Event& event) override;

    TAVI::StringID getDefaultRole() const override;
    // The role its instances take, for tool constructors made before any instance.
    static TAVI::StringID staticGetDefaultRole();
    Cursor overrideCursor() const override;

    // The travel applied to the moving set, after any axis constraint.
    const TAVI::GLPoint<double>& getDelta() const { return delta; }
    void setDelta(const TAVI::GLPoint<double>& newDelta) { delta = newDelta; }
    // Starts the move from the scene point: builds the moving set and stores where its nodes
    // are. Called by the first pointer movement (or the release) with the start position.
    virtual void beginMove(const TAVI::GLPoint<double>& start);
    void setSingleMoveMode(bool single) { singleMove = single; }
    bool isSingleMoveMode() const { return singleMove; }
    const std::vector<Node>& getMovingSet() const { return movingSet; }
    // The positions the moving set had when the move began, in the same order.
    const std::vector<TAVI::GLPoint<double>>& getStartingPositions() const {
        return startingPositions;
    }

protected:
    virtual std::vector<Node> buildMovingSet();
    virtual void storeStartingPositions();
    // Applies the delta: by default sets each node still there to its starting position plus it.
    virtual void duringMove();
    // Called once on release, after the last duringMove.
    virtual void finishMove();
    // Called on Escape: by default puts every node back where it started.
    virtual void cancelMove();
    // Whether the move keeps to the axis it goes furthest along: Shift.
    virtual bool shouldXYConstrain(const MouseEvent& event) const;

private:
    TAVI::GLPoint<double> delta;
    bool singleMove = false;
    bool started = false;
    std::vector<Node> movingSet;
    std::vector<TAVI::GLPoint<double>> startingPositions;
};

} // namespace ZEPH
