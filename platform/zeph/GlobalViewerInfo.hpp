#pragma once

#include "platform/nimb/Emitter.hpp"
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
    // Sent after the zoom factor changed, for what lays itself out at screen size.
    NIMB::Emitter<void>& getZoomChangedEmitter() { return zoomChanged; }

private:
    GlobalViewerInfo() = default;
    double zoomFactor = 1.0;
    NIMB::Emitter<void> zoomChanged{NIMB::SendAuto};
};

} // namespace ZEPH
