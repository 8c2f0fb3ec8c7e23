#include "platform/zeph/ContainerNode.hpp"

#include "platform/zeph/Node_p.hpp"

namespace ZEPH {

ContainerNode::ContainerNode(const Node& node)
    : Node(privateOfKind(node, NodePrivate::Container)) {}

ContainerNode ContainerNode::create() {
    return ContainerNode(makeNodePrivate<EmptyItem>(NodePrivate::Container));
}

} // namespace ZEPH
