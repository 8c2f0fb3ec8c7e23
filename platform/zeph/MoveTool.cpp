#include "platform/zeph/MoveTool.hpp"

#include "platform/zeph/KeyEvent.hpp"
#include "platform/zeph/MouseEvent.hpp"
#include "platform/zeph/Scene.hpp"

#include <algorithm>
#include <cmath>

namespace ZEPH {

MoveTool::MoveTool() = default;
MoveTool::~MoveTool() = default;

TAVI::StringID MoveTool::staticGetDefaultRole() {
    static const TAVI::StringID role("Move");
    return role;
}

TAVI::StringID MoveTool::getDefaultRole() const {
    return staticGetDefaultRole();
}

Cursor MoveTool::overrideCursor() const {
    return Cursor::SizeAll;
}

namespace {

// Whether a move tool may change the node's position.
bool movesFreely(const Node& node) {
    return node.isMovable() && !node.getLayoutConstraintFlag();
}

} // namespace

std::vector<Node> MoveTool::buildMovingSet() {
    std::vector<Node> nodes;
    Scene* scene = getScene();
    if (!scene)
        return nodes;
    if (singleMove) {
        for (Node node = scene->getNodeAt(getStartScenePosition()); node.isValid();
             node = node.getParent())
            if (movesFreely(node))
                return {node};
        return nodes;
    }
    const std::vector<Node> selected = scene->getSelectedNodes();
    const auto isSelected = [&selected](const Node& node) {
        return std::find(selected.begin(), selected.end(), node) != selected.end();
    };
    for (const Node& node : selected) {
        if (!movesFreely(node))
            continue;
        // A node moves with a moving ancestor already; moving it too would move it twice.
        bool underMovingAncestor = false;
        for (Node up = node.getParent(); up.isValid() && !underMovingAncestor; up = up.getParent())
            underMovingAncestor = movesFreely(up) && isSelected(up);
        if (!underMovingAncestor)
            nodes.push_back(node);
    }
    return nodes;
}

void MoveTool::storeStartingPositions() {
    startingPositions.clear();
    for (const Node& node : movingSet)
        startingPositions.push_back(node.getPosition());
}

void MoveTool::duringMove() {
    // A node removed in mid-move (by a timer, a model change) has nowhere to go.
    for (std::size_t i = 0; i < movingSet.size() && i < startingPositions.size(); ++i)
        if (movingSet[i].isValid())
            movingSet[i].setPosition(startingPositions[i] + delta);
}

void MoveTool::finishMove() {}

void MoveTool::cancelMove() {
    delta = {};
    duringMove();
}

bool MoveTool::shouldXYConstrain(const MouseEvent& event) const {
    return event.hasModifier(ShiftModifier);
}

void MoveTool::beginMove(const TAVI::GLPoint<double>&) {
    started = true;
    movingSet = buildMovingSet();
    storeStartingPositions();
}

void MoveTool::handleMouseMoveEvent(MouseEvent& event) {
    if (isDone())
        return;
    if (!(event.buttons() & LeftButton)) {
        cancelGesture(event);
        return;
    }
    if (!started)
        beginMove(getStartScenePosition());
    TAVI::GLPoint<double> travel = event.scenePos() - getStartScenePosition();
    if (shouldXYConstrain(event)) {
        if (std::fabs(travel.x) >= std::fabs(travel.y))
            travel.y = 0;
        else
            travel.x = 0;
    }
    setDelta(travel);
    duringMove();
    event.consume();
}

void MoveTool::handleMousePressEvent(MouseEvent& event) {
    // Another left press: the release of this drag never came.
    if (!isDone() && event.button() == LeftButton)
        cancelGesture(event);
}

void MoveTool::handleFocusOutEvent(Event& event) {
    cancelGesture(event);
}

void MoveTool::handleMouseReleaseEvent(MouseEvent& event) {
    if (isDone() || event.button() != LeftButton)
        return;
    if (!started)
        beginMove(getStartScenePosition());
    finishMove();
    finish();
    event.consume();
}

void MoveTool::handleKeyPressEvent(KeyEvent& event) {
    if (isDone() || event.key() != Key_Escape)
        return;
    if (started)
        cancelMove();
    finish();
    event.consume();
}

} // namespace ZEPH
