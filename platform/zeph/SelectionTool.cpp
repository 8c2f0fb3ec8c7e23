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

void SelectionTool::selectNode(const Node& node) {
    if (node.isValid())
        Node(node).setSelected(true);
}

void SelectionTool::deselectNode(const Node& node) {
    if (node.isValid())
        Node(node).setSelected(false);
}

void SelectionTool::deselectAll() {
    if (Scene* scene = getScene())
        for (const Node& node : scene->getSelectedNodes())
            deselectNode(node);
}

bool SelectionTool::canStartMove(const Node& node) const {
    return node.isValid() && node.isMovable() && node.isSelected();
}

bool SelectionTool::canResize(const Node& node) const {
    return node.isValid() && node.isSelected() && node.isMovable();
}

void SelectionTool::handleMousePressEvent(MouseEvent& event) {
    if (event.button() != LeftButton)
        return;
    pressed = true;
    pressPoint = event.scenePos();
    pressModifiers = event.modifiers();
    selectOnlyOnRelease = false;
    resizeTarget = Node();
    resizeHandle = ResizeBehavior::NoHandle;
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
                event.consume();
                return;
            }
        }
    }
    pressedNode = getSelectableNodeAt(pressPoint);
    const bool toggle = event.hasModifier(ControlModifier);
    const bool extend = event.hasModifier(ShiftModifier);
    if (pressedNode.isValid()) {
        if (toggle) {
            pressedNode.isSelected() ? deselectNode(pressedNode) : selectNode(pressedNode);
        } else if (extend) {
            selectNode(pressedNode);
        } else if (pressedNode.isSelected()) {
            selectOnlyOnRelease = true;
        } else {
            deselectAll();
            selectNode(pressedNode);
        }
    } else if (!toggle && !extend) {
        deselectAll();
    }
    event.consume();
}

void SelectionTool::handleMouseMoveEvent(MouseEvent& event) {
    if (!pressed || !(event.buttons() & LeftButton))
        return;
    // The threshold is in view pixels, whatever the zoom.
    const double zoom = event.canvas() ? event.canvas()->getZoomFactor() : 1.0;
    const TAVI::GLPoint<double> moved = event.scenePos() - pressPoint;
    if (std::hypot(moved.x, moved.y) * zoom < dragThreshold) {
        event.consume();
        return;
    }
    if (resizeTarget.isValid()) {
        startGesture(resizeRole, event);
    } else if (pressedNode.isValid()) {
        if (!canStartMove(pressedNode)) {
            event.consume();
            return;
        }
        startGesture(moveRole, event);
    } else {
        startGesture(marqueeRole, event);
    }
}

void SelectionTool::startGesture(const TAVI::StringID& role, MouseEvent& event) {
    pressed = false;
    selectOnlyOnRelease = false;
    pressedNode = Node();
    const Node target = resizeTarget;
    const int handle = resizeHandle;
    resizeTarget = Node();
    resizeHandle = ResizeBehavior::NoHandle;
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
    if (!pressed || event.button() != LeftButton)
        return;
    pressed = false;
    if (selectOnlyOnRelease && pressedNode.isValid()) {
        const Node clicked = pressedNode;
        if (Scene* scene = getScene())
            for (const Node& node : scene->getSelectedNodes())
                if (!(node == clicked))
                    deselectNode(node);
    }
    selectOnlyOnRelease = false;
    pressedNode = Node();
    resizeTarget = Node();
    event.consume();
}

} // namespace ZEPH
