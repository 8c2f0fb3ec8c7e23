#include "platform/zeph/CustomNode.hpp"

#include "platform/tavi/TypedException.hpp"
#include "platform/zeph/Node_p.hpp"

#include <QPainter>

namespace ZEPH {

namespace {

class CustomItem : public QGraphicsItem {
public:
    QRectF boundingRect() const override {
        if (!painter)
            return {};
        const TAVI::GLRect<double> r = painter->getBounds();
        return {r.x, r.y, r.width, r.height};
    }
    void paint(QPainter* qtPainter, const QStyleOptionGraphicsItem*, QWidget*) override {
        if (!painter)
            return;
        qtPainter->save();
        painter->paint(*qtPainter);
        qtPainter->restore();
    }
    void boundsChanging() { prepareGeometryChange(); }

    TAVI::Holder<CustomNodePainter> painter;
};

CustomItem* customItem(NodePrivate* node) {
    return static_cast<CustomItem*>(node->item);
}

} // namespace

CustomNodePainter::CustomNodePainter() = default;
CustomNodePainter::~CustomNodePainter() = default;

void CustomNodePainter::boundsChanging() {
    if (const std::shared_ptr<NodePrivate> owner = node.lock(); owner && owner->isAlive())
        customItem(owner.get())->boundsChanging();
}

Node CustomNodePainter::getNode() const {
    const std::shared_ptr<NodePrivate> owner = node.lock();
    return owner && owner->isAlive() ? Node(CustomNode(owner)) : Node();
}

CustomNode::CustomNode(const Node& node) : Node(privateOfKind(node, NodePrivate::Custom)) {}

CustomNode CustomNode::create(const TAVI::Holder<CustomNodePainter>& painter) {
    if (!painter)
        throw TAVI::TypedException(TAVI_HERE, "CustomNode::create: null painter");
    if (painter->getNode().isValid())
        throw TAVI::TypedException(TAVI_HERE, "CustomNode::create: the painter draws another node");
    std::shared_ptr<NodePrivate> impl = makeNodePrivate<CustomItem>(NodePrivate::Custom);
    customItem(impl.get())->painter = painter;
    painter->node = impl;
    return CustomNode(std::move(impl));
}

TAVI::Holder<CustomNodePainter> CustomNode::getPainter() const {
    return isValid() ? customItem(d_func())->painter : TAVI::Holder<CustomNodePainter>();
}

void CustomNode::update() {
    if (NodePrivate* self = checkedLive("CustomNode::update"))
        self->item->update();
}

} // namespace ZEPH
