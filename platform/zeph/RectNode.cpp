#include "platform/zeph/RectNode.hpp"

#include "platform/zeph/Node_p.hpp"

#include <QGraphicsRectItem>

namespace ZEPH {

RectNode::RectNode(const Node& node) : Node(privateOfKind(node, NodePrivate::Rect)) {}

RectNode RectNode::create(const TAVI::GLRect<double>& rect) {
    RectNode node(makeNodePrivate<QGraphicsRectItem>(NodePrivate::Rect));
    node.setRect(rect);
    return node;
}

void RectNode::setRect(const TAVI::GLRect<double>& rect) {
    requireFinite("RectNode::setRect", {rect.x, rect.y, rect.width, rect.height});
    if (NodePrivate* self = checkedLive("RectNode::setRect"))
        static_cast<QGraphicsRectItem*>(self->item)
            ->setRect(rect.x, rect.y, rect.width, rect.height);
}

TAVI::GLRect<double> RectNode::getRect() const {
    if (!isValid())
        return {};
    const QRectF r = static_cast<QGraphicsRectItem*>(d_func()->item)->rect();
    return {r.x(), r.y(), r.width(), r.height()};
}

} // namespace ZEPH
