#include "platform/tavi/Color.hpp"

#include <algorithm>
#include <cmath>

namespace TAVI {

namespace {
double unit(double v) {
    return std::isnan(v) ? 0.0 : std::clamp(v, 0.0, 1.0);
}
} // namespace

void Color::setRGBA(double red, double green, double blue, double alpha) {
    colorKind = RGBA;
    r = unit(red);
    g = unit(green);
    b = unit(blue);
    a = unit(alpha);
}

} // namespace TAVI
