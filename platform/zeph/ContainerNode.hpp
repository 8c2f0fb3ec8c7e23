#pragma once

#include "platform/zeph/Node.hpp"
#include "platform/zeph/zeph_export.hpp"

namespace ZEPH {

// A node that draws nothing and groups its children: moving, hiding or removing
// it does the same to them. Its bounds are its children's.
class ZEPH_EXPORT ContainerNode : public Node {
public:
    ContainerNode() = default;
    // An invalid handle when node is not a container.
    explicit ContainerNode(const Node& node);

    static ContainerNode create();

private:
    explicit ContainerNode(std::shared_ptr<NodePrivate> node) : Node(std::move(node)) {}
};

} // namespace ZEPH
