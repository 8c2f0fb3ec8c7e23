#pragma once

#include "platform/zeph/zeph_export.hpp"

namespace ZEPH {

// The level-of-detail scale glyphs choose their detail by: device pixels per
// scene unit in the canvas the user works in, that is its zoom factor times the
// device's pixel ratio. Canvases keep it up to date with GlobalViewerInfo (the
// one whose zoom changed or that got the focus last); 1 before any canvas. One
// per process, UI thread only.
class ZEPH_EXPORT LodScale {
public:
    static LodScale& instance();

    double getScale() const { return zoomFactor * deviceScale; }
    double getZoomFactor() const { return zoomFactor; }
    double getDeviceScale() const { return deviceScale; }
    // Values that are not positive and finite are ignored, each on its own.
    void setScales(double zoom, double device);

private:
    LodScale() = default;
    double zoomFactor = 1.0;
    double deviceScale = 1.0;
};

} // namespace ZEPH
