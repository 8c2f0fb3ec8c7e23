#pragma once

#include "platform/tavi/Geometry.hpp"
#include "platform/zeph/Node.hpp"
#include "platform/zeph/zeph_export.hpp"

#include <vector>

namespace ZEPH {

// Geometry of groups of nodes.
class ZEPH_EXPORT Bounds {
public:
    // The smallest scene rectangle around the nodes' scene bounds; invalid nodes
    // add nothing, and no valid node gives an empty rectangle at the origin.
    static TAVI::GLRect<double> boundingRect(const std::vector<Node>& nodes);
};

} // namespace ZEPH
