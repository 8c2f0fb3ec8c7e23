#include "editor/NodeCreationTool.hpp"

#include "platform/zeph/GLCanvas.hpp"
#include "platform/zeph/MouseEvent.hpp"

#include <algorithm>
#include <cmath>

namespace KITE {

namespace {

using Point = TAVI::GLPoint<double>;
using Rect = TAVI::GLRect<double>;

} // namespace

NodeCreationTool::NodeCreationTool(Editor& editor) : CreationTool(editor) {}

NodeCreationTool::~NodeCreationTool() = default;

Rect NodeCreationTool::defaultSize() const {
    return {0, 0, 0, 0};
}

Rect NodeCreationTool::minimumRect() const {
    return {};
}

Rect NodeCreationTool::maximumRect() const {
    return {};
}

Rect NodeCreationTool::creationRect(const Point& from, const Point& to) const {
    if (from == to) {
        const Rect size = defaultSize();
        return {from.x, from.y, size.width, size.height};
    }
    double width = std::abs(to.x - from.x);
    double height = std::abs(to.y - from.y);
    if (const Rect least = minimumRect(); !least.isEmpty()) {
        width = std::max(width, least.width);
        height = std::max(height, least.height);
    }
    if (const Rect most = maximumRect(); !most.isEmpty()) {
        width = std::min(width, most.width);
        height = std::min(height, most.height);
    }
    // The corner under the press stays; the rectangle grows towards the pointer.
    const double x = to.x < from.x ? from.x - width : from.x;
    const double y = to.y < from.y ? from.y - height : from.y;
    return {x, y, width, height};
}

bool NodeCreationTool::isInsideDiagram(const ZEPH::MouseEvent& event) const {
    const ZEPH::GLCanvas* canvas = event.canvas();
    if (!canvas)
        return true;
    const Point topLeft = canvas->viewPointToScenePoint({0, 0});
    const Point bottomRight = canvas->viewPointToScenePoint(
        {double(canvas->viewport()->width()), double(canvas->viewport()->height())});
    const Point p = event.scenePos();
    return p.x >= std::min(topLeft.x, bottomRight.x) && p.x <= std::max(topLeft.x, bottomRight.x) &&
           p.y >= std::min(topLeft.y, bottomRight.y) && p.y <= std::max(topLeft.y, bottomRight.y);
}

void NodeCreationTool::handleMousePressEvent(ZEPH::MouseEvent& event) {
    if (isPressed() && event.button() == ZEPH::LeftButton) {
        event.consume();
        return;
    }
    CreationTool::handleMousePressEvent(event);
}

void NodeCreationTool::handleMouseReleaseEvent(ZEPH::MouseEvent& event) {
    // The tool keeps the releases of its own gestures from the tools below it.
    if (isPressed() || event.button() == ZEPH::LeftButton)
        event.consume();
    CreationTool::handleMouseReleaseEvent(event);
}

void NodeCreationTool::handleMouseDoubleClickEvent(ZEPH::MouseEvent& event) {
    handleMousePressEvent(event);
    handleMouseReleaseEvent(event);
}

void NodeCreationTool::begin(ZEPH::MouseEvent& event) {
    event.consume();
    const VELD::Model model = getModel();
    if (!model.isValid())
        return;
    pressPoint = event.scenePos();
    setInGesture(true);
    changeIn(model, [&] {
        initialUpdate(getGraphElementAt(pressPoint), pressPoint, event.scenePos(), model);
    });
}

void NodeCreationTool::drag(ZEPH::MouseEvent& event) {
    event.consume();
    const VELD::Model model = getModel();
    if (!model.isValid())
        return;
    redraw(model, [&] {
        intermediateUpdate(getGraphElementAt(event.scenePos()), pressPoint, event.scenePos(),
                           model);
    });
}

void NodeCreationTool::finish(ZEPH::MouseEvent& event) {
    const VELD::Model model = getModel();
    if (model.isValid() && isInsideDiagram(event)) {
        const VELD::Model root = model.getRootDeviant();
        changeIn(root, [&] {
            finalUpdate(getGraphElementAt(event.scenePos()), pressPoint, event.scenePos(), root);
        });
    }
    reset();
}

void NodeCreationTool::reset() {
    if (!isPersistent())
        done = true;
    CreationTool::reset();
}

} // namespace KITE
