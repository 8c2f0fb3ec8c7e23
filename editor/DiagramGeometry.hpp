#pragma once

// Geometry of diagram elements: bounding rectangles, mappings between an element's local
// coordinates (origin at its own top-left corner), the diagram's coordinates and another
// element's local coordinates, tests of a change report for changed size or relative
// position, and the straight path that joins the borders of two elements.
//
// Functions that read an element throw VELD::Exception for a null or destroyed element,
// except the change tests, which take an element that is gone as changed.

#include "editor/kite_diagram_geometry_export.hpp"
#include "platform/datamodel/Diagram.hpp"
#include "platform/tavi/Geometry.hpp"
#include "platform/veld/Report.hpp"

#include <utility>

namespace KITE::DI {

using Point = TAVI::GLPoint<double>;
using Rect = TAVI::GLRect<double>;
using DiagramReport = VELD::ReportOfChanges<DiagramElement, false>;

// (0, 0, width, height) of the element's size.
KITE_DIAGRAM_GEOMETRY_EXPORT Rect boundingRect(const ImmutableDiagramElement& element);

// Where the element's origin lies in the coordinates of its diagram: its position plus the
// positions of its containers up to, not including, the diagram. The diagram is the frame
// of those coordinates, so a diagram's own offset is (0, 0) and its position (a place on
// whatever shows it) does not move its contents. An element outside any diagram adds up
// every container it has.
KITE_DIAGRAM_GEOMETRY_EXPORT Point originOffsetInDiagram(const ImmutableDiagramElement& element);

KITE_DIAGRAM_GEOMETRY_EXPORT Point mapLocalToDiagram(const ImmutableDiagramElement& element,
                                                     const Point& point);
KITE_DIAGRAM_GEOMETRY_EXPORT Rect mapLocalToDiagram(const ImmutableDiagramElement& element,
                                                    const Rect& rect);
KITE_DIAGRAM_GEOMETRY_EXPORT Point mapDiagramToLocal(const Point& point,
                                                     const ImmutableDiagramElement& element);
KITE_DIAGRAM_GEOMETRY_EXPORT Rect mapDiagramToLocal(const Rect& rect,
                                                    const ImmutableDiagramElement& element);
// From the local coordinates of one element to those of another.
KITE_DIAGRAM_GEOMETRY_EXPORT Point mapLocalToOther(const ImmutableDiagramElement& from,
                                                   const Point& point,
                                                   const ImmutableDiagramElement& to);
KITE_DIAGRAM_GEOMETRY_EXPORT Rect mapLocalToOther(const ImmutableDiagramElement& from,
                                                  const Rect& rect,
                                                  const ImmutableDiagramElement& to);

KITE_DIAGRAM_GEOMETRY_EXPORT Rect boundingRectInDiagram(const ImmutableDiagramElement& element);

// Whether the transaction of report changed the element's size. An element made or
// destroyed by it has changed; one that exists neither before nor after has not. Sizes
// compare with TAVI::isApproxEqual, so a non-finite size never counts as unchanged. An
// element of another model is reported by the kernel's asserter and counts as changed.
KITE_DIAGRAM_GEOMETRY_EXPORT bool hasChangedSize(const ImmutableDiagramElement& element,
                                                 const DiagramReport& report);

// Whether the origin of a, seen from b's local coordinates, moved in the transaction of
// report. Made or destroyed elements count as moved, as above.
KITE_DIAGRAM_GEOMETRY_EXPORT bool hasChangedPositionRelativeTo(const ImmutableDiagramElement& a,
                                                               const ImmutableDiagramElement& b,
                                                               const DiagramReport& report);

// The straight segment from a's border to b's border along the line joining their centres,
// in the local coordinates of local. Where that line gives no crossing (both centres in one
// place, a rectangle without area), the end is the border point nearest to the other centre.
// Non-finite geometry gives non-finite points, never a made-up crossing.
KITE_DIAGRAM_GEOMETRY_EXPORT std::pair<Point, Point>
pathFromRectEdgeToEdgeInLocalCoordinates(const ImmutableDiagramElement& local,
                                         const ImmutableDiagramElement& a,
                                         const ImmutableDiagramElement& b);

// --- The routines behind the path ------------------------------------------------------------

enum class RayStatus {
    Success = 0,
    Miss = 2,         // the ray does not meet the rectangle's border
    InvalidInput = 4, // no area, a non-finite coordinate, or no direction
};

struct KITE_DIAGRAM_GEOMETRY_EXPORT RayHit {
    Point point; // (0, 0) unless Success
    RayStatus status = RayStatus::InvalidInput;
};

// Where the ray from p1 through p2 (and beyond) first meets the border of rect. A start
// inside rect gives the exit point; a start on the border facing outwards gives the start.
// A line that meets the rectangle only behind p1 is a Miss. Points closer than
// about 1.5e-8 give no direction: InvalidInput, as do rectangles without area and any
// non-finite coordinate.
KITE_DIAGRAM_GEOMETRY_EXPORT RayHit intersectRayWithRectBorder(const Point& p1, const Point& p2,
                                                               const Rect& rect);

// The point of rect's border nearest to point, for points inside as well as outside. On the
// sides adjacent to the nearest corner (corners tried top-left, bottom-left, top-right,
// bottom-right; the first wins a tie), the nearer foot point, the first side on a tie.
KITE_DIAGRAM_GEOMETRY_EXPORT Point nearestPointOnRectBorder(const Point& point, const Rect& rect);

// The point of the side from corner towards otherEnd nearest to point: the foot of the
// perpendicular when point lies on otherEnd's side of corner (not clamped at otherEnd; from
// the nearest corner it never passes the middle), else the nearer end (otherEnd on a tie).
// Directions shorter than 0.0001 count as none, so a very short side gives its corner.
KITE_DIAGRAM_GEOMETRY_EXPORT Point nearestPointOnSide(const Point& corner, const Point& otherEnd,
                                                      const Point& point);

} // namespace KITE::DI
