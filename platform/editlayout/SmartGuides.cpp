#include "platform/editlayout/SmartGuides.hpp"

#include <algorithm>
#include <cmath>

namespace EditLayout {

namespace {

// Coordinates that differ by less than this are aligned: snapping arithmetic
// leaves rounding residue.
constexpr double alignedEpsilon = 1e-6;

} // namespace

SmartGuides::SmartGuides(const Item& item, const std::vector<Item>& candidateItems, double offsetX,
                         double offsetY)
    : dragged(item), offsetX(offsetX), offsetY(offsetY) {
    for (const Item& candidate : candidateItems)
        if (!(candidate == item))
            AddRectangleAffinities(candidate);
}

void SmartGuides::AddRectangleAffinities(const LayoutRect& rect) {
    AddRectangleAffinities(Item(rect));
}

void SmartGuides::AddRectangleAffinities(const Item& item) {
    LayoutRect r = item.rect;
    // Such a rectangle has no place to align to, and one NaN among the sorted
    // features breaks their order and misleads every search.
    if (!std::isfinite(r.top) || !std::isfinite(r.left) || !std::isfinite(r.width) ||
        !std::isfinite(r.height))
        return;
    // Given from another corner: its low edges are those with the lower coordinates.
    if (r.width < 0) {
        r.left += r.width;
        r.width = -r.width;
    }
    if (r.height < 0) {
        r.top += r.height;
        r.height = -r.height;
    }
    if (item.features & Item::Left)
        xAxis.edges.push_back({r.left, r.top, r.bottom(), LowEdge});
    if (item.features & Item::Right)
        xAxis.edges.push_back({r.right(), r.top, r.bottom(), HighEdge});
    if (item.features & Item::CentreX)
        xAxis.centres.push_back({r.centerX(), r.top, r.bottom(), Centre});
    if (item.features & Item::Top)
        yAxis.edges.push_back({r.top, r.left, r.right(), LowEdge});
    if (item.features & Item::Bottom)
        yAxis.edges.push_back({r.bottom(), r.left, r.right(), HighEdge});
    if (item.features & Item::CentreY)
        yAxis.centres.push_back({r.centerY(), r.left, r.right(), Centre});
    sorted = false;
}

void SmartGuides::sortIfNeeded() const {
    if (sorted)
        return;
    for (Axis* axis : {&xAxis, &yAxis}) {
        std::sort(axis->edges.begin(), axis->edges.end());
        std::sort(axis->centres.begin(), axis->centres.end());
    }
    sorted = true;
}

LayoutRect SmartGuides::GetDragAffinities(double x, double y) const {
    return LayoutRect(y - offsetY, x - offsetX, dragged.rect.width, dragged.rect.height);
}

namespace {

// The signed distance from value to the nearest entry within tolerance, or NaN.
template <class Entries> double nearest(const Entries& entries, double value, double tolerance) {
    const auto above =
        std::lower_bound(entries.begin(), entries.end(), value,
                         [](const auto& entry, double v) { return entry.value < v; });
    double best = std::nan("");
    if (above != entries.end() && above->value - value <= tolerance)
        best = above->value - value;
    if (above != entries.begin()) {
        const double below = std::prev(above)->value - value;
        if (-below <= tolerance && (std::isnan(best) || -below < std::fabs(best)))
            best = below;
    }
    return best;
}

} // namespace

// dragged[0], [1], [2]: the low edge, the high edge and the centre along the axis.
double SmartGuides::bestCorrection(const Axis& axis, const double dragged[3], double tolerance) {
    double best = std::nan("");
    const auto consider = [&best](double candidate) {
        if (!std::isnan(candidate) && (std::isnan(best) || std::fabs(candidate) < std::fabs(best)))
            best = candidate;
    };
    consider(nearest(axis.edges, dragged[0], tolerance));
    consider(nearest(axis.edges, dragged[1], tolerance));
    consider(nearest(axis.centres, dragged[2], tolerance));
    return best;
}

void SmartGuides::collectGuides(const Axis& axis, const double dragged[3], double low, double high,
                                int type, std::vector<Guide>& guides) {
    for (int feature = 0; feature < 3; ++feature) {
        const auto& entries = feature == Centre ? axis.centres : axis.edges;
        const double value = dragged[feature];
        auto it = std::lower_bound(entries.begin(), entries.end(), value - alignedEpsilon,
                                   [](const Entry& entry, double v) { return entry.value < v; });
        // One guide per kind of feature met at this position, spanning every item there.
        Guide byType[3];
        bool found[3] = {false, false, false};
        for (; it != entries.end() && it->value <= value + alignedEpsilon; ++it) {
            Guide& guide = byType[it->featureType];
            if (!found[it->featureType]) {
                found[it->featureType] = true;
                guide.type = type;
                guide.position = value;
                guide.from = low;
                guide.to = high;
                guide.fromFeatureType = feature;
                guide.toFeatureType = it->featureType;
            }
            guide.from = std::min(guide.from, it->low);
            guide.to = std::max(guide.to, it->high);
        }
        for (int t = 0; t < 3; ++t)
            if (found[t])
                guides.push_back(byType[t]);
    }
}

bool SmartGuides::DragFeedback(double x, double y, std::vector<Guide>& guides, double& correctionX,
                               double& correctionY) const {
    guides.clear();
    correctionX = 0;
    correctionY = 0;
    if (!std::isfinite(x) || !std::isfinite(y))
        return false;
    LayoutRect r = GetDragAffinities(x, y);
    // An offset or a size that is not finite leaves the item nowhere to snap from.
    if (!std::isfinite(r.left) || !std::isfinite(r.top) || !std::isfinite(r.right()) ||
        !std::isfinite(r.bottom()))
        return false;
    sortIfNeeded();
    const double xs[3] = {r.left, r.right(), r.centerX()};
    const double ys[3] = {r.top, r.bottom(), r.centerY()};
    const double dx = bestCorrection(xAxis, xs, snapTolerance);
    const double dy = bestCorrection(yAxis, ys, snapTolerance);
    if (!std::isnan(dx))
        correctionX = dx;
    if (!std::isnan(dy))
        correctionY = dy;
    r.left += correctionX;
    r.top += correctionY;
    // Guides only on the axes that snapped: there the alignment is exact.
    if (!std::isnan(dx)) {
        const double snappedXs[3] = {r.left, r.right(), r.centerX()};
        collectGuides(xAxis, snappedXs, r.top, r.bottom(), Guide::Vertical, guides);
    }
    if (!std::isnan(dy)) {
        const double snappedYs[3] = {r.top, r.bottom(), r.centerY()};
        collectGuides(yAxis, snappedYs, r.left, r.right(), Guide::Horizontal, guides);
    }
    return !std::isnan(dx) || !std::isnan(dy);
}

} // namespace EditLayout
