#include "examples/blocks/ConnectionGlyph.hpp"

#include "editor/DiagramGeometry.hpp"
#include "platform/veld/Exception.hpp"
#include "platform/zeph/Scene.hpp"

#include <cmath>

namespace Blocks {

namespace {

using Point = TAVI::GLPoint<double>;

const TAVI::Color kLineColor(0.36, 0.41, 0.49);
const TAVI::Color kSelectedColor(0.0, 0.47, 0.84);
constexpr double kLineWidth = 1.5;
constexpr double kSelectedLineWidth = 2.5;
constexpr double kArrowHalfAngle = 0.42; // radians

bool finite(const Point& p) {
    return std::isfinite(p.x) && std::isfinite(p.y);
}

} // namespace

ConnectionGlyph::ConnectionGlyph(const KITE::DiagramElement& element) : Glyph(element) {}

void ConnectionGlyph::create() {
    line = ZEPH::LineNode::create();
    line.setSelectable(true);
    line.setMovable(false);
    line.setZValue(1);
    line.addTag("connection");
    headLeft = ZEPH::LineNode::create();
    headRight = ZEPH::LineNode::create();
    getScene()->addNode(line);
    for (ZEPH::LineNode* head : {&headLeft, &headRight}) {
        head->setSelectable(false);
        head->setMovable(false);
        head->setParent(line);
    }
}

ZEPH::Node ConnectionGlyph::getRoot() const {
    return line;
}

void ConnectionGlyph::update() {
    if (!line.isValid())
        return;
    const KITE::GraphEdge edge(diagramElement());
    const KITE::DiagramElement src = edge.isValid() ? edge.getSrcElement() : KITE::DiagramElement();
    const KITE::DiagramElement dst = edge.isValid() ? edge.getDstElement() : KITE::DiagramElement();
    const KITE::DiagramElement container =
        edge.isValid() ? KITE::DiagramElement(edge.getContainer()) : KITE::DiagramElement();
    if (!src.isValid() || !dst.isValid() || !container.isValid()) {
        line.setVisible(false);
        return;
    }
    std::pair<Point, Point> path;
    try {
        path = KITE::DI::pathFromRectEdgeToEdgeInLocalCoordinates(container, src, dst);
    } catch (const VELD::Exception&) {
        // An end outside any diagram (deleted meanwhile) has nowhere to be drawn.
        line.setVisible(false);
        return;
    }
    const auto& [from, to] = path;
    if (!finite(from) || !finite(to)) {
        line.setVisible(false);
        return;
    }
    line.setVisible(true);
    line.setLine(from, to);
    // The arrow head's two strokes fold back from the destination along the line; a line of
    // no length points nowhere and gets none.
    const Point back = from - to;
    const bool pointed = back.x != 0 || back.y != 0;
    const double angle = std::atan2(back.y, back.x);
    const Point left{to.x + arrowLength * std::cos(angle + kArrowHalfAngle),
                     to.y + arrowLength * std::sin(angle + kArrowHalfAngle)};
    const Point right{to.x + arrowLength * std::cos(angle - kArrowHalfAngle),
                      to.y + arrowLength * std::sin(angle - kArrowHalfAngle)};
    headLeft.setLine(to, pointed ? left : to);
    headRight.setLine(to, pointed ? right : to);
    const bool selected = line.isSelected();
    for (ZEPH::LineNode* node : {&line, &headLeft, &headRight})
        node->setStroke(selected ? kSelectedColor : kLineColor,
                        selected ? kSelectedLineWidth : kLineWidth);
}

} // namespace Blocks
