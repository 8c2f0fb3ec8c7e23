#include "platform/zeph/Bounds.hpp"

#include <algorithm>

namespace ZEPH {

TAVI::GLRect<double> Bounds::boundingRect(const std::vector<Node>& nodes) {
    // Not GLRect::united: a line's bounds have no height and would count for nothing.
    bool any = false;
    double left = 0, top = 0, right = 0, bottom = 0;
    for (const Node& node : nodes) {
        if (!node.isValid())
            continue;
        const TAVI::GLRect<double> r = node.getSceneBounds();
        if (!any) {
            left = r.left();
            top = r.top();
            right = r.right();
            bottom = r.bottom();
            any = true;
            continue;
        }
        left = std::min(left, r.left());
        top = std::min(top, r.top());
        right = std::max(right, r.right());
        bottom = std::max(bottom, r.bottom());
    }
    return {left, top, right - left, bottom - top};
}

} // namespace ZEPH
