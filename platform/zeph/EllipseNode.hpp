#pragma once

#include "platform/zeph/Node.hpp"
#include "platform/zeph/zeph_export.hpp"

namespace ZEPH {

// An ellipse inscribed in a rectangle of its own coordinates.
class ZEPH_EXPORT EllipseNode : public Node {
public:
    EllipseNode() = default;
    // An invalid handle when node is not a ellipse.
    explicit EllipseNode(const Node& node);

    static EllipseNode create(const TAVI::GLRect<double>& rect = {});

    void setRect(const TAVI::GLRect<double>& rect);
    TAVI::GLRect<double> getRect() const;

private:
    explicit EllipseNode(std::shared_ptr<NodePrivate> node) : Node(std::move(node)) {}
};

} // namespace ZEPH
