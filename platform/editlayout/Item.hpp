#pragma once

#include "platform/editlayout/LayoutRect.hpp"
#include "platform/editlayout/editlayout_export.hpp"

namespace EditLayout {

// A rectangle taking part in alignment, and which of its features may align:
// a combination of the feature flags (all of them unless told otherwise).
struct EDITLAYOUT_EXPORT Item {
    enum Feature {
        Left = 0x1,
        Right = 0x2,
        CentreX = 0x4,
        Top = 0x8,
        Bottom = 0x10,
        CentreY = 0x20,
        AllFeatures = 0x3f,
    };

    LayoutRect rect;
    int features = AllFeatures;

    Item() = default;
    explicit Item(const LayoutRect& rect, int features = AllFeatures)
        : rect(rect), features(features) {}

    bool operator==(const Item&) const = default;
};

} // namespace EditLayout
