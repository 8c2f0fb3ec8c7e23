#pragma once

#include "platform/tavi/tavi_util_export.hpp"

namespace TAVI {

// A colour as it reaches the widgets. The first field says what the colour is:
// no colour at all, the toolkit's own colour for the role it is used in
// ("default": a colour made with only that field set, without RGBA
// components), or explicit RGBA components in 0..1.
class TAVI_UTIL_EXPORT Color {
public:
    enum Kind { Invalid = 0, Default = 1, RGBA = 2 };

    Color() = default;
    explicit Color(Kind kind) : colorKind(kind) {}
    Color(double red, double green, double blue, double alpha = 1.0) {
        setRGBA(red, green, blue, alpha);
    }

    // Components outside 0..1 are clamped.
    void setRGBA(double red, double green, double blue, double alpha);

    Kind kind() const { return colorKind; }
    bool isValid() const { return colorKind != Invalid; }
    bool hasRGBA() const { return colorKind == RGBA; }
    double red() const { return r; }
    double green() const { return g; }
    double blue() const { return b; }
    double alpha() const { return a; }

    bool operator==(const Color&) const = default;

private:
    Kind colorKind = Invalid;
    double r = 0.0;
    double g = 0.0;
    double b = 0.0;
    double a = 0.0;
};

} // namespace TAVI
