#include "platform/zeph/LodScale.hpp"

#include <cmath>

namespace ZEPH {

LodScale& LodScale::instance() {
    static LodScale scale;
    return scale;
}

void LodScale::setScales(double zoom, double device) {
    // Glyphs compare and divide by the scale: zero or non-finite would poison both.
    if (std::isfinite(zoom) && zoom > 0.0)
        zoomFactor = zoom;
    if (std::isfinite(device) && device > 0.0)
        deviceScale = device;
}

} // namespace ZEPH
