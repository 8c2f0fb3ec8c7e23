#pragma once

#include "platform/editlayout/editlayout_export.hpp"

namespace EditLayout {

// What part of a rectangle aligns: its low edge (left or top), its high edge
// (right or bottom), or its centre.
enum FeatureType { LowEdge = 0, HighEdge = 1, Centre = 2 };

// One alignment found while dragging: a line the dragged item's feature lies on
// together with features of other items. type 0 is a horizontal line (the items
// share a y), 1 a vertical one (they share an x); position is that coordinate;
// from and to give the line's extent along it, from the dragged item to the
// farthest item it aligns with there.
struct EDITLAYOUT_EXPORT Guide {
    enum Type { Horizontal = 0, Vertical = 1 };

    int type = Horizontal;
    double position = 0;
    double from = 0;
    double to = 0;
    int fromFeatureType = LowEdge; // the dragged item's feature
    int toFeatureType = LowEdge;   // the other items' feature

    bool operator==(const Guide&) const = default;
};

} // namespace EditLayout
