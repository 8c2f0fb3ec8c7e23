#include "editor/MarqueeZoomTool.hpp"

#include "platform/tavi/Color.hpp"
#include "platform/zeph/GLCanvas.hpp"
#include "platform/zeph/MouseEvent.hpp"
#include "platform/zeph/Scene.hpp"

#include <algorithm>
#include <cmath>

namespace KITE {

namespace {

TAVI::GLRect<double> between(const TAVI::GLPoint<double>& a, const TAVI::GLPoint<double>& b) {
    return {std::min(a.x, b.x), std::min(a.y, b.y), std::abs(a.x - b.x), std::abs(a.y - b.y)};
}

} // namespace

MarqueeZoomTool::MarqueeZoomTool() = default;

MarqueeZoomTool::~MarqueeZoomTool() {
    // Dropped without leaving a stack (its scene cleared, say): the marquee must not stay.
    dropMarquee();
}

void MarqueeZoomTool::handleMousePressEvent(ZEPH::MouseEvent& event) {
    event.consume();
    ZEPH::GLCanvas* canvas = event.canvas();
    ZEPH::Scene* scene = canvas ? canvas->getScene() : nullptr;
    if (event.button() != ZEPH::LeftButton || !scene)
        return;
    // A second press without a release in between starts over: one marquee at a time.
    dropMarquee();
    start = event.scenePos();
    dragging = true;
    marquee = ZEPH::RectNode::create({start.x, start.y, 0.0, 0.0});
    marquee.setFill(TAVI::Color(1.0, 0.8, 0.6, 0.7));
    // Width 0 is the canvas's hairline: one device pixel whatever the zoom.
    marquee.setStroke(TAVI::Color(0.6, 0.8, 1.0, 1.0), 0.0);
    scene->addNode(marquee);
}

void MarqueeZoomTool::handleMouseMoveEvent(ZEPH::MouseEvent& event) {
    event.consume();
    if (dragging && marquee.isValid())
        marquee.setRect(between(start, event.scenePos()));
}

void MarqueeZoomTool::handleMouseReleaseEvent(ZEPH::MouseEvent& event) {
    event.consume();
    ZEPH::GLCanvas* canvas = event.canvas();
    // A release without a press of ours (the button was down when the tool came) has no
    // rectangle to zoom to.
    if (event.button() != ZEPH::LeftButton || !canvas || !dragging)
        return;
    dragging = false;
    done = true;
    canvas->showSceneRect(between(start, event.scenePos()));
}

void MarqueeZoomTool::handleMouseDoubleClickEvent(ZEPH::MouseEvent& event) {
    event.consume();
}

void MarqueeZoomTool::onRemoveFromStack() {
    dropMarquee();
    dragging = false;
    PaletteTool::onRemoveFromStack();
}

bool MarqueeZoomTool::isDone() const {
    return done;
}

TAVI::StringID MarqueeZoomTool::getDefaultRole() const {
    static const TAVI::StringID role("MarqueeZoomTool");
    return role;
}

void MarqueeZoomTool::dropMarquee() {
    if (marquee.isValid())
        marquee.remove();
    marquee = ZEPH::RectNode();
}

} // namespace KITE
