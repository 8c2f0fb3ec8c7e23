#pragma once

#include "platform/zeph/zeph_export.hpp"

namespace ZEPH {

// What glyphs drawing at a size independent of the zoom need to know: the zoom
// factor of the canvas the user works in, that is the one whose zoom changed or
// that got the focus last (1 before any canvas). One per process, UI thread only.
class ZEPH_EXPORT GlobalViewerInfo {
public:
    static GlobalViewerInfo& instance();

    double getZoomFactor() const { return zoomFactor; }
    void setZoomFactor(double factor);

private:
    GlobalViewerInfo() = default;
    double zoomFactor = 1.0;
};

} // namespace ZEPH
