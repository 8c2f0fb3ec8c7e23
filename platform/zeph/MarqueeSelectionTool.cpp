#include "platform/zeph/MarqueeSelectionTool.hpp"

#include "platform/zeph/KeyEvent.hpp"
#include "platform/zeph/MouseEvent.hpp"
#include "platform/zeph/Scene.hpp"
#include "platform/zeph/SelectionTool.hpp"

#include <limits>

namespace ZEPH {

MarqueeSelectionTool::MarqueeSelectionTool() = default;

MarqueeSelectionTool::~MarqueeSelectionTool() {
    dropBand();
}

TAVI::StringID MarqueeSelectionTool::staticGetDefaultRole() {
    static const TAVI::StringID role("MarqueeSelection");
    return role;
}

TAVI::StringID MarqueeSelectionTool::getDefaultRole() const {
    return staticGetDefaultRole();
}

Cursor MarqueeSelectionTool::overrideCursor() const {
    return Cursor::Cross;
}

TAVI::GLRect<double> MarqueeSelectionTool::getMarqueeRect() const {
    const TAVI::GLPoint<double> start = getStartScenePosition();
    return TAVI::GLRect<double>(start.x, start.y, current.x - start.x, current.y - start.y)
        .normalized();
}

std::vector<Node> MarqueeSelectionTool::nodesInMarquee() const {
    std::vector<Node> nodes;
    Scene* scene = getScene();
    if (!scene)
        return nodes;
    const TAVI::GLRect<double> rect = getMarqueeRect();
    for (const Node& node : scene->getNodesIn(rect))
        if (!(node == band) && isNodeSelectable(node, rect))
            nodes.push_back(node);
    return nodes;
}

bool MarqueeSelectionTool::isNodeSelectable(const Node& node, const TAVI::GLRect<double>&) const {
    return node.isSelectable();
}

SelectionTool* MarqueeSelectionTool::findSelectionTool() const {
    Scene* scene = getScene();
    return scene ? dynamic_cast<SelectionTool*>(scene->getToolByRole("Selection").get()) : nullptr;
}

void MarqueeSelectionTool::dropBand() {
    if (band.isValid())
        band.remove();
    band = RectNode();
}

void MarqueeSelectionTool::handleMouseMoveEvent(MouseEvent& event) {
    if (isDone())
        return;
    if (!(event.buttons() & LeftButton)) {
        cancelGesture(event);
        return;
    }
    current = event.scenePos();
    Scene* scene = getScene();
    if (!band.isValid() && scene) {
        band = RectNode::create();
        band.setFill(TAVI::Color(0.2, 0.4, 0.9, 0.15));
        band.setStroke(TAVI::Color(0.2, 0.4, 0.9, 1.0), 0.0);
        band.setZValue(std::numeric_limits<double>::max());
        scene->addNode(band);
    }
    // On a stack of its own there is no scene to draw the band in.
    if (band.isValid())
        band.setRect(getMarqueeRect());
    event.consume();
}

void MarqueeSelectionTool::handleMousePressEvent(MouseEvent& event) {
    // Another left press: the release of this drag never came.
    if (!isDone() && event.button() == LeftButton)
        cancelGesture(event);
}

void MarqueeSelectionTool::handleFocusOutEvent(Event& event) {
    cancelGesture(event);
}

void MarqueeSelectionTool::handleMouseReleaseEvent(MouseEvent& event) {
    if (isDone() || event.button() != LeftButton)
        return;
    current = event.scenePos();
    const std::vector<Node> covered = nodesInMarquee();
    dropBand();
    // Control wins over Shift, as it does for a click.
    const bool toggle = (getStartModifiers() & ControlModifier) != 0;
    const bool extend = toggle || (getStartModifiers() & ShiftModifier) != 0;
    if (SelectionTool* selection = findSelectionTool()) {
        if (!extend)
            selection->deselectAll();
        for (const Node& node : covered) {
            selection->setNodeSelected(node, !(toggle && node.isSelected()));
        }
    } else if (Scene* scene = getScene()) {
        if (!extend)
            scene->clearSelection();
        for (Node node : covered)
            node.setSelected(!(toggle && node.isSelected()));
    }
    finish();
    event.consume();
}

void MarqueeSelectionTool::handleKeyPressEvent(KeyEvent& event) {
    if (isDone() || event.key() != Key_Escape)
        return;
    dropBand();
    finish();
    event.consume();
}

void MarqueeSelectionTool::onRemoveFromStack() {
    // Taken off in mid-drag (the stack cleared): the band must not stay behind.
    dropBand();
}

} // namespace ZEPH
