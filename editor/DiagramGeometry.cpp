#include "editor/DiagramGeometry.hpp"

#include "platform/veld/Exception.hpp"

#include <array>
#include <cmath>
#include <limits>
#include <optional>
#include <string>

namespace KITE::DI {

namespace {

constexpr double kEpsilon = std::numeric_limits<double>::epsilon();
// Shorter vectors have no usable direction in the border-point search.
constexpr double kMinUnitLength = 0.0001;

void requireValid(const ImmutableDiagramElement& element, const char* operation) {
    if (!element.isValid())
        throw VELD::Exception(std::string("DI::") + operation + ": invalid diagram element");
}

double dot(const Point& a, const Point& b) {
    return a.x * b.x + a.y * b.y;
}
double cross(const Point& a, const Point& b) {
    return a.x * b.y - a.y * b.x;
}
double squaredDistance(const Point& a, const Point& b) {
    const Point d = a - b;
    return dot(d, d);
}
bool isFinite(const Point& p) {
    return std::isfinite(p.x) && std::isfinite(p.y);
}

Point unitVector(const Point& v) {
    const double length = std::hypot(v.x, v.y);
    if (!(length >= kMinUnitLength) || !std::isfinite(length))
        return {};
    return {v.x / length, v.y / length};
}

Point centre(const Rect& r) {
    return {r.x + r.width * 0.5, r.y + r.height * 0.5};
}

// The diagram's frame: the walk adds no position of it or of anything above it.
bool isDiagram(const ImmutableDiagramElement& element) {
    return element.isa(ImmutableDiagram::MetaClass());
}

Point borderPointTowards(const Rect& rect, const Point& from, const Point& towards) {
    const RayHit hit = intersectRayWithRectBorder(from, towards, rect);
    if (hit.status == RayStatus::Success)
        return hit.point;
    return nearestPointOnRectBorder(towards, rect);
}

// The handles' validity decides, not the report's sequences: an element the transaction did
// not touch still has an old state, one it made has none, one it destroyed has no present.
// Whether existence alone decides a change: made or destroyed is a change, neither is none;
// empty when the element exists before and after, and its geometry must decide.
std::optional<bool> changedByExistence(const ImmutableDiagramElement& now,
                                       const ImmutableDiagramElement& before) {
    const bool n = now.isValid();
    const bool b = before.isValid();
    if (n && b)
        return std::nullopt;
    return n || b;
}

} // namespace

Rect boundingRect(const ImmutableDiagramElement& element) {
    requireValid(element, "boundingRect");
    const Point size = element.getSize();
    return {0.0, 0.0, size.x, size.y};
}

Point originOffsetInDiagram(const ImmutableDiagramElement& element) {
    requireValid(element, "originOffsetInDiagram");
    if (isDiagram(element))
        return {};
    // The kernel refuses to put an object into its own descendant, so this walk ends.
    Point offset = element.getPosition();
    for (ImmutableGraphElement c = element.getContainer(); c.isValid() && !isDiagram(c);
         c = c.getContainer())
        offset += c.getPosition();
    return offset;
}

Point mapLocalToDiagram(const ImmutableDiagramElement& element, const Point& point) {
    return point + originOffsetInDiagram(element);
}

// A translation: the size stays exactly as it was instead of going through the corners.
Rect mapLocalToDiagram(const ImmutableDiagramElement& element, const Rect& rect) {
    return rect.translated(originOffsetInDiagram(element));
}

Point mapDiagramToLocal(const Point& point, const ImmutableDiagramElement& element) {
    return point - originOffsetInDiagram(element);
}

Rect mapDiagramToLocal(const Rect& rect, const ImmutableDiagramElement& element) {
    return rect.translated(-originOffsetInDiagram(element));
}

Point mapLocalToOther(const ImmutableDiagramElement& from, const Point& point,
                      const ImmutableDiagramElement& to) {
    return point + (originOffsetInDiagram(from) - originOffsetInDiagram(to));
}

Rect mapLocalToOther(const ImmutableDiagramElement& from, const Rect& rect,
                     const ImmutableDiagramElement& to) {
    return rect.translated(originOffsetInDiagram(from) - originOffsetInDiagram(to));
}

Rect boundingRectInDiagram(const ImmutableDiagramElement& element) {
    return mapLocalToDiagram(element, boundingRect(element));
}

bool hasChangedSize(const ImmutableDiagramElement& element, const DiagramReport& report) {
    const ImmutableDiagramElement old = report.getOldState(element);
    if (const std::optional<bool> decided = changedByExistence(element, old))
        return *decided;
    return !TAVI::isApproxEqual(element.getSize(), old.getSize());
}

bool hasChangedPositionRelativeTo(const ImmutableDiagramElement& a,
                                  const ImmutableDiagramElement& b, const DiagramReport& report) {
    const ImmutableDiagramElement oldA = report.getOldState(a);
    if (const std::optional<bool> decided = changedByExistence(a, oldA))
        return *decided;
    const ImmutableDiagramElement oldB = report.getOldState(b);
    if (const std::optional<bool> decided = changedByExistence(b, oldB))
        return *decided;
    const Point origin{0.0, 0.0};
    return !TAVI::isApproxEqual(mapLocalToOther(a, origin, b), mapLocalToOther(oldA, origin, oldB));
}

std::pair<Point, Point>
pathFromRectEdgeToEdgeInLocalCoordinates(const ImmutableDiagramElement& local,
                                         const ImmutableDiagramElement& a,
                                         const ImmutableDiagramElement& b) {
    const Rect ra = mapLocalToOther(a, boundingRect(a), local);
    const Rect rb = mapLocalToOther(b, boundingRect(b), local);
    const Point ca = centre(ra);
    const Point cb = centre(rb);
    return {borderPointTowards(ra, ca, cb), borderPointTowards(rb, cb, ca)};
}

RayHit intersectRayWithRectBorder(const Point& p1, const Point& p2, const Rect& rect) {
    const RayHit invalid{{}, RayStatus::InvalidInput};
    const RayHit miss{{}, RayStatus::Miss};
    // Non-finite values would turn every test below into a silent false and report a
    // made-up point as a hit.
    if (!(rect.width > 0) || !(rect.height > 0) || !isFinite(rect.topLeft()) ||
        !isFinite(rect.size()) || !isFinite(p1) || !isFinite(p2))
        return invalid;
    const Point d = p2 - p1;
    if (std::fabs(d.x) <= kEpsilon && std::fabs(d.y) <= kEpsilon)
        return invalid;
    // A direction too short to normalise would put every crossing at distance 0, so the
    // start itself would come back as a hit.
    const double length = std::hypot(d.x, d.y);
    if (!(length * length > kEpsilon) || !std::isfinite(length))
        return invalid;
    const Point u{d.x / length, d.y / length};
    const Point normal{u.y, -u.x};

    const std::array<Point, 4> corners{Point{rect.x, rect.y}, Point{rect.x + rect.width, rect.y},
                                       Point{rect.x + rect.width, rect.y + rect.height},
                                       Point{rect.x, rect.y + rect.height}};
    double lowest = std::numeric_limits<double>::max();
    double highest = std::numeric_limits<double>::lowest();
    for (const Point& c : corners) {
        const double projection = dot(c, normal);
        lowest = std::fmin(lowest, projection);
        highest = std::fmax(highest, projection);
    }
    const double start = dot(p1, normal);
    if (start > highest || start < lowest)
        return miss;

    double nearest = std::numeric_limits<double>::max();
    bool found = false;
    for (std::size_t i = 0; i < corners.size(); ++i) {
        const Point& s0 = corners[i];
        const Point side = corners[(i + 1) % corners.size()] - s0;
        const double denominator = cross(d, side);
        if (denominator == 0)
            continue;
        const Point w = s0 - p1;
        const double t = cross(w, side) / denominator; // along the ray, 0 at p1, 1 at p2
        const double s = cross(w, d) / denominator;    // along the side
        if (!(t >= 0) || !(s >= 0 && s <= 1))
            continue;
        const double distance = dot(u, d * t);
        if (distance < nearest) {
            nearest = distance;
            found = true;
        }
    }
    // The line crosses the rectangle only behind the start.
    if (!found)
        return miss;
    return {p1 + u * nearest, RayStatus::Success};
}

Point nearestPointOnSide(const Point& corner, const Point& otherEnd, const Point& point) {
    if (point == corner || point == otherEnd)
        return point;
    if (corner == otherEnd)
        return corner;
    const Point towardsPoint = point - corner;
    const Point along = unitVector(otherEnd - corner);
    const double cosine = dot(unitVector(towardsPoint), along);
    if (cosine >= 0)
        return corner + along * (std::hypot(towardsPoint.x, towardsPoint.y) * cosine);
    return squaredDistance(point, corner) < squaredDistance(point, otherEnd) ? corner : otherEnd;
}

Point nearestPointOnRectBorder(const Point& point, const Rect& rect) {
    const Point topLeft{rect.x, rect.y};
    const Point topRight{rect.x + rect.width, rect.y};
    const Point bottomLeft{rect.x, rect.y + rect.height};
    const Point bottomRight{rect.x + rect.width, rect.y + rect.height};
    // Per corner, the two sides that meet there, each running away from the corner.
    struct Corner {
        Point at, first, second;
    };
    const std::array<Corner, 4> corners{
        Corner{topLeft, bottomLeft, topRight}, Corner{bottomLeft, bottomRight, topLeft},
        Corner{topRight, topLeft, bottomRight}, Corner{bottomRight, bottomLeft, topRight}};
    const Corner* best = &corners[0];
    double bestDistance = squaredDistance(point, best->at);
    for (const Corner& c : corners) {
        const double distance = squaredDistance(point, c.at);
        if (distance < bestDistance) {
            best = &c;
            bestDistance = distance;
        }
    }
    const Point first = nearestPointOnSide(best->at, best->first, point);
    const Point second = nearestPointOnSide(best->at, best->second, point);
    return squaredDistance(point, second) < squaredDistance(point, first) ? second : first;
}

} // namespace KITE::DI
