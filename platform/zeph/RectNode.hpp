#pragma once

#include "platform/zeph/Node.hpp"
#include "platform/zeph/zeph_export.hpp"

namespace ZEPH {

// A rectangle: its geometry in its own coordinates, filled and outlined.
class ZEPH_EXPORT RectNode : public Node {
public:
    RectNode() = default;
    // An invalid handle when node is not a rectangle.
    explicit RectNode(const Node& node);

    static RectNode create(const TAVI::GLRect<double>& rect = {});

    void setRect(const TAVI::GLRect<double>& rect);
    TAVI::GLRect<double> getRect() const;

private:
    explicit RectNode(std::shared_ptr<NodePrivate> node) : Node(std::move(node)) {}
};

} // namespace ZEPH
