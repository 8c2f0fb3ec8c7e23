#include "platform/zeph/EllipseNode.hpp"

#include "platform/zeph/Node_p.hpp"

#include <QGraphicsEllipseItem>

namespace ZEPH {

EllipseNode::EllipseNode(const Node& node) : Node(privateOfKind(node, NodePrivate::Ellipse)) {}

EllipseNode EllipseNode::create(const TAVI::GLRect<double>& rect) {
    EllipseNode node(makeNodePrivate<QGraphicsEllipseItem>(NodePrivate::Ellipse));
    node.setRect(rect);
    return node;
}

void EllipseNode::setRect(const TAVI::GLRect<double>& rect) {
    requireFinite("EllipseNode::setRect", {rect.x, rect.y, rect.width, rect.height});
    if (NodePrivate* self = checkedLive("EllipseNode::setRect"))
        static_cast<QGraphicsEllipseItem*>(self->item)
            ->setRect(rect.x, rect.y, rect.width, rect.height);
}

TAVI::GLRect<double> EllipseNode::getRect() const {
    if (!isValid())
        return {};
    const QRectF r = static_cast<QGraphicsEllipseItem*>(d_func()->item)->rect();
    return {r.x(), r.y(), r.width(), r.height()};
}

} // namespace ZEPH
