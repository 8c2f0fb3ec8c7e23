#pragma once

#include "platform/editlayout/editlayout_export.hpp"

namespace EditLayout {

// A rectangle as the guides see it: top first, then left, width and height.
struct EDITLAYOUT_EXPORT LayoutRect {
    double top = 0;
    double left = 0;
    double width = 0;
    double height = 0;

    LayoutRect() = default;
    LayoutRect(double top, double left, double width, double height)
        : top(top), left(left), width(width), height(height) {}

    double right() const { return left + width; }
    double bottom() const { return top + height; }
    double centerX() const { return left + width / 2; }
    double centerY() const { return top + height / 2; }

    bool operator==(const LayoutRect&) const = default;
};

} // namespace EditLayout
