#include "platform/zeph/LineNode.hpp"

#include "platform/zeph/Node_p.hpp"

#include <QGraphicsLineItem>

namespace ZEPH {

LineNode::LineNode(const Node& node) : Node(privateOfKind(node, NodePrivate::Line)) {}

LineNode LineNode::create(const TAVI::GLPoint<double>& from, const TAVI::GLPoint<double>& to) {
    LineNode node(makeNodePrivate<QGraphicsLineItem>(NodePrivate::Line));
    node.setLine(from, to);
    return node;
}

void LineNode::setLine(const TAVI::GLPoint<double>& from, const TAVI::GLPoint<double>& to) {
    requireFinite("LineNode::setLine", {from.x, from.y, to.x, to.y});
    if (NodePrivate* self = checkedLive("LineNode::setLine"))
        static_cast<QGraphicsLineItem*>(self->item)->setLine(from.x, from.y, to.x, to.y);
}

TAVI::GLPoint<double> LineNode::getFrom() const {
    if (!isValid())
        return {};
    const QPointF p = static_cast<QGraphicsLineItem*>(d_func()->item)->line().p1();
    return {p.x(), p.y()};
}

TAVI::GLPoint<double> LineNode::getTo() const {
    if (!isValid())
        return {};
    const QPointF p = static_cast<QGraphicsLineItem*>(d_func()->item)->line().p2();
    return {p.x(), p.y()};
}

} // namespace ZEPH
