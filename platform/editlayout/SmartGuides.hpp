#pragma once

#include "platform/editlayout/Guide.hpp"
#include "platform/editlayout/Item.hpp"
#include "platform/editlayout/LayoutRect.hpp"
#include "platform/editlayout/editlayout_export.hpp"

#include <vector>

namespace EditLayout {

// Snapping of a dragged rectangle to other rectangles: while it is dragged, its
// left and right edges and its centre (top, bottom, middle) snap to the edges
// (edges) and centres (centres) of the candidates that lie within the
// tolerance, by the smallest correction on each axis, and the alignments that
// result are reported as guides. The candidates are kept in sorted indexes, so a
// drag step costs a few binary searches whatever their number.
class EDITLAYOUT_EXPORT SmartGuides {
public:
    // item: the dragged item where the drag began; offsetX, offsetY: the
    // pointer's position relative to its top-left corner. Candidates equal to the
    // dragged item are left out.
    SmartGuides(const Item& item, const std::vector<Item>& candidateItems, double offsetX,
                double offsetY);

    // Adds one more candidate with all its features. A rectangle with a negative
    // size counts as the one it covers; one with a coordinate or size that is not
    // finite is left out.
    void AddRectangleAffinities(const LayoutRect& rect);
    void AddRectangleAffinities(const Item& item);
    // The dragged item's rectangle when the pointer is at (x, y).
    LayoutRect GetDragAffinities(double x, double y) const;
    // For the pointer at (x, y): the corrections that snap the dragged item
    // (0 on an axis that does not snap) and the guides after snapping. Returns
    // whether either axis snapped. Nothing snaps while the pointer, the offset or
    // the dragged item's size is not finite.
    bool DragFeedback(double x, double y, std::vector<Guide>& guides, double& correctionX,
                      double& correctionY) const;

    void setTolerance(double tolerance) { snapTolerance = tolerance; }
    double getTolerance() const { return snapTolerance; }

private:
    struct Entry {
        double value; // the feature's coordinate
        double low;   // the candidate's extent across the axis
        double high;
        int featureType;
        bool operator<(const Entry& other) const { return value < other.value; }
    };
    // One axis: edges and centres kept apart, since only like snaps to like.
    struct Axis {
        std::vector<Entry> edges;
        std::vector<Entry> centres;
    };

    void sortIfNeeded() const;
    static double bestCorrection(const Axis& axis, const double dragged[3], double tolerance);
    static void collectGuides(const Axis& axis, const double dragged[3], double low, double high,
                              int type, std::vector<Guide>& guides);

    Item dragged;
    double offsetX;
    double offsetY;
    double snapTolerance = 5.0;
    mutable Axis xAxis; // features along x (vertical guides)
    mutable Axis yAxis; // features along y (horizontal guides)
    mutable bool sorted = true;
};

} // namespace EditLayout
