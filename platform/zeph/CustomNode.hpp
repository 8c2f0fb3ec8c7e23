#pragma once

#include "platform/tavi/Holder.hpp"
#include "platform/zeph/CustomNodePainter.hpp"
#include "platform/zeph/Node.hpp"
#include "platform/zeph/zeph_export.hpp"

namespace ZEPH {

// A node that a client's painter draws. Hit tests use the painter's bounds.
class ZEPH_EXPORT CustomNode : public Node {
public:
    CustomNode() = default;
    // An invalid handle when node is not a custom node.
    explicit CustomNode(const Node& node);

    // Throws TAVI::TypedException for a null painter or one that draws another node.
    static CustomNode create(const TAVI::Holder<CustomNodePainter>& painter);

    TAVI::Holder<CustomNodePainter> getPainter() const;
    // Repaints the node (its bounds unchanged).
    void update();

private:
    friend class CustomNodePainter;
    explicit CustomNode(std::shared_ptr<NodePrivate> node) : Node(std::move(node)) {}
};

} // namespace ZEPH
