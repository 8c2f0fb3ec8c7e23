#include "platform/zeph/SelectionTool.hpp"

#include "platform/zeph/GLCanvas.hpp"
#include "platform/zeph/GestureTool.hpp"
#include "platform/zeph/MarqueeSelectionTool.hpp"
#include "platform/zeph/MouseEvent.hpp"
#include "platform/zeph/MoveTool.hpp"
#include "platform/zeph/ResizeBehavior.hpp"
#include "platform/zeph/Scene.hpp"

#include <cmath>

namespace ZEPH {

SelectionTool::SelectionTool()
    : moveRole(MoveTool::staticGetDefaultRole()),
      resizeRole(ResizeBehavior::staticGetDefaultRole()),
      marqueeRole(MarqueeSelectionTool::staticGetDefaultRole()) {}
SelectionTool::~SelectionTool() = default;

TAVI::StringID SelectionTool::staticGetDefaultRole() {
    static const TAVI::StringID role("Selection");
    return role;
}

TAVI::StringID SelectionTool::getDefaultRole() const {
    return staticGetDefaultRole();
}

Node SelectionTool::getSelectableNodeAt(const TAVI::GLPoint<double>& scenePoint) const {
    Scene* scene = getScene();
    if (!scene)
        return {};
    for (Node node = scene->getNodeAt(scenePoint); node.isValid(); node = node.getParent())
        if (node.isSelectable())
            return node;
    return {};
}

void SelectionTool::setNodeSelected(Node node, bool selected) const {
    if (node.isValid())
        node.setSelected(selected);
}

void SelectionTool::deselectAll() const {
    if (Scene* scene = getScene())
        for (const Node& node : scene->getSelectedNodes())
            setNodeSelected(node, false);
}

void SelectionTool::setState(int state) {
    currentState = state;
}

int SelectionTool::state() const {
    return currentState;
}

bool SelectionTool::extendSelection(const MouseEvent& event) const {
    return event.hasModifier(ShiftModifier);
}

bool SelectionTool::movedEnough(const MouseEvent& event) const {
    // The threshold is in view pixels, whatever the zoom.
    const double zoom = event.canvas() ? event.canvas()->getZoomFactor() : 1.0;
    const TAVI::GLPoint<double> moved = event.scenePos() - pressPoint;
    return std::hypot(moved.x, moved.y) * zoom >= dragThreshold;
}

bool SelectionTool::pressedNodeIsSelectable() const {
    return pressedNode.isValid() && pressedNode.isSelectable();
}

bool SelectionTool::pressedNodeIsMovable() const {
    return pressedNode.isValid() && pressedNode.isMovable() && pressedNode.isSelected();
}

bool SelectionTool::editableTextUnderMousePress() const {
    return false;
}

bool SelectionTool::shouldInvokeBehavior() const {
    return currentState == OnHandle && resizeTarget.isValid();
}

void SelectionTool::invokeMoveTool(MouseEvent& event) {
    startGesture(moveRole, event);
}

void SelectionTool::invokeMarqueeTool(MouseEvent& event) {
    startGesture(marqueeRole, event);
}

void SelectionTool::invokeTextSelectionTool() {}

bool SelectionTool::canResize(const Node& node) const {
    return node.isValid() && node.isSelected() && node.isMovable();
}

void SelectionTool::handleMousePressEvent(MouseEvent& event) {
    if (event.button() != LeftButton)
        return;
    reset();
    setState(Pressed);
    pressPoint = event.scenePos();
    pressModifiers = event.modifiers();
    // A handle of a selected node takes the press before whatever lies under it.
    if (Scene* scene = getScene()) {
        const double zoom = event.canvas() ? event.canvas()->getZoomFactor() : 1.0;
        for (const Node& node : scene->getSelectedNodes()) {
            if (!canResize(node))
                continue;
            const auto handle =
                ResizeBehavior::handleAt(node.getSceneBounds(), pressPoint, handleTolerance / zoom);
            if (handle != ResizeBehavior::NoHandle) {
                resizeTarget = node;
                resizeHandle = handle;
                pressedNode = node;
                setState(OnHandle);
                event.consume();
                return;
            }
        }
    }
    pressedNode = getSelectableNodeAt(pressPoint);
    const bool toggle = event.hasModifier(ControlModifier);
    const bool extend = extendSelection(event);
    if (pressedNodeIsSelectable()) {
        if (toggle) {
            setNodeSelected(pressedNode, !pressedNode.isSelected());
        } else if (extend) {
            setNodeSelected(pressedNode, true);
        } else if (pressedNode.isSelected()) {
            selectOnlyOnRelease = true;
        } else {
            deselectAll();
            setNodeSelected(pressedNode, true);
        }
        if (editableTextUnderMousePress())
            invokeTextSelectionTool();
    } else if (!toggle && !extend) {
        deselectAll();
    }
    event.consume();
}

void SelectionTool::handleMouseMoveEvent(MouseEvent& event) {
    if (state() == Idle || !(event.buttons() & LeftButton))
        return;
    if (!movedEnough(event)) {
        event.consume();
        return;
    }
    if (shouldInvokeBehavior()) {
        startGesture(resizeRole, event);
    } else if (pressedNode.isValid()) {
        if (!pressedNodeIsMovable()) {
            event.consume();
            return;
        }
        invokeMoveTool(event);
    } else {
        invokeMarqueeTool(event);
    }
}

void SelectionTool::reset() {
    setState(Idle);
    selectOnlyOnRelease = false;
    pressedNode = Node();
    resizeTarget = Node();
    resizeHandle = ResizeBehavior::NoHandle;
}

void SelectionTool::startGesture(const TAVI::StringID& role, MouseEvent& event) {
    const Node target = resizeTarget;
    const int handle = resizeHandle;
    reset();
    Scene* scene = getScene();
    TAVI::Holder<Tool> tool = scene ? scene->createToolByRole(role) : TAVI::Holder<Tool>();
    if (!tool) {
        event.consume();
        return;
    }
    if (auto* gesture = dynamic_cast<GestureTool*>(tool.get())) {
        gesture->setStartScenePosition(pressPoint);
        gesture->setStartModifiers(pressModifiers);
    }
    if (auto* resize = dynamic_cast<ResizeBehavior*>(tool.get())) {
        resize->setTargetNode(target);
        resize->setHandle(static_cast<ResizeBehavior::Handle>(handle));
    }
    scene->delegateToTool(tool);
}

void SelectionTool::handleMouseReleaseEvent(MouseEvent& event) {
    if (state() == Idle || event.button() != LeftButton)
        return;
    if (selectOnlyOnRelease && pressedNode.isValid()) {
        const Node clicked = pressedNode;
        if (Scene* scene = getScene())
            for (const Node& node : scene->getSelectedNodes())
                if (!(node == clicked))
                    setNodeSelected(node, false);
    }
    reset();
    event.consume();
}

} // namespace ZEPH
