#include "platform/zeph/GlobalViewerInfo.hpp"

#include <cmath>

namespace ZEPH {

GlobalViewerInfo& GlobalViewerInfo::instance() {
    static GlobalViewerInfo info;
    return info;
}

void GlobalViewerInfo::setZoomFactor(double factor) {
    // Glyphs divide by it: a zero or non-finite factor would poison their sizes.
    if (!std::isfinite(factor) || factor <= 0.0 || factor == zoomFactor)
        return;
    zoomFactor = factor;
    zoomChanged.send();
}

} // namespace ZEPH
