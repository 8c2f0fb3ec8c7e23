#pragma once

#include "platform/zeph/Node.hpp"
#include "platform/zeph/zeph_export.hpp"

namespace ZEPH {

// A straight line between two points of its own coordinates, drawn with its stroke.
class ZEPH_EXPORT LineNode : public Node {
public:
    LineNode() = default;
    // An invalid handle when node is not a line.
    explicit LineNode(const Node& node);

    static LineNode create(const TAVI::GLPoint<double>& from = {},
                           const TAVI::GLPoint<double>& to = {});

    void setLine(const TAVI::GLPoint<double>& from, const TAVI::GLPoint<double>& to);
    TAVI::GLPoint<double> getFrom() const;
    TAVI::GLPoint<double> getTo() const;

private:
    explicit LineNode(std::shared_ptr<NodePrivate> node) : Node(std::move(node)) {}
};

} // namespace ZEPH
