#include "platform/zeph/ResizeBehavior.hpp"

#include "platform/zeph/EllipseNode.hpp"
#include "platform/zeph/KeyEvent.hpp"
#include "platform/zeph/MouseEvent.hpp"
#include "platform/zeph/RectNode.hpp"

#include <algorithm>
#include <cmath>

namespace ZEPH {

namespace {

// Which edges a handle moves: -1 the left (top) edge, 1 the right (bottom), 0 neither.
int horizontalSide(ResizeBehavior::Handle handle) {
    switch (handle) {
    case ResizeBehavior::TopLeft:
    case ResizeBehavior::Left:
    case ResizeBehavior::BottomLeft:
        return -1;
    case ResizeBehavior::TopRight:
    case ResizeBehavior::Right:
    case ResizeBehavior::BottomRight:
        return 1;
    default:
        return 0;
    }
}

int verticalSide(ResizeBehavior::Handle handle) {
    switch (handle) {
    case ResizeBehavior::TopLeft:
    case ResizeBehavior::Top:
    case ResizeBehavior::TopRight:
        return -1;
    case ResizeBehavior::BottomLeft:
    case ResizeBehavior::Bottom:
    case ResizeBehavior::BottomRight:
        return 1;
    default:
        return 0;
    }
}

} // namespace

ResizeBehavior::ResizeBehavior() = default;
ResizeBehavior::~ResizeBehavior() = default;

TAVI::StringID ResizeBehavior::staticGetDefaultRole() {
    static const TAVI::StringID role("Resize");
    return role;
}

TAVI::StringID ResizeBehavior::getDefaultRole() const {
    return staticGetDefaultRole();
}

Cursor ResizeBehavior::overrideCursor() const {
    switch (handle) {
    case TopLeft:
    case BottomRight:
        return Cursor::SizeBackwardDiagonal;
    case TopRight:
    case BottomLeft:
        return Cursor::SizeForwardDiagonal;
    case Top:
    case Bottom:
        return Cursor::SizeVertical;
    case Left:
    case Right:
        return Cursor::SizeHorizontal;
    case NoHandle:
        break;
    }
    return Cursor::NoOverride;
}

ResizeBehavior::Handle ResizeBehavior::handleAt(const TAVI::GLRect<double>& rect,
                                                const TAVI::GLPoint<double>& point,
                                                double tolerance) {
    const TAVI::GLRect<double> r = rect.normalized();
    const double xs[3] = {r.left(), r.left() + r.width / 2, r.right()};
    const double ys[3] = {r.top(), r.top() + r.height / 2, r.bottom()};
    // Corners first, so that on a small rectangle they are still reachable.
    static const Handle order[8] = {TopLeft, TopRight, BottomRight, BottomLeft,
                                    Top,     Right,    Bottom,      Left};
    for (Handle h : order) {
        const int col = horizontalSide(h) + 1;
        const int row = verticalSide(h) + 1;
        if (std::fabs(point.x - xs[col]) <= tolerance && std::fabs(point.y - ys[row]) <= tolerance)
            return h;
    }
    return NoHandle;
}

TAVI::GLRect<double> ResizeBehavior::resizedRect(const TAVI::GLRect<double>& rect, Handle handle,
                                                 const TAVI::GLPoint<double>& delta, int modifiers,
                                                 const TAVI::GLPoint<double>& minimum) {
    // A minimum that is not a positive finite size falls back to the canvas's own.
    const double minWidth =
        std::isfinite(minimum.x) && minimum.x > minimumSize ? minimum.x : minimumSize;
    const double minHeight =
        std::isfinite(minimum.y) && minimum.y > minimumSize ? minimum.y : minimumSize;
    const TAVI::GLRect<double> r = rect.normalized();
    const int hx = horizontalSide(handle);
    const int hy = verticalSide(handle);
    if (hx == 0 && hy == 0)
        return r;
    const bool aboutCentre = (modifiers & AltModifier) != 0;
    // Growth of the width and height; about the centre both sides move.
    double width = r.width + hx * delta.x * (aboutCentre ? 2 : 1);
    double height = r.height + hy * delta.y * (aboutCentre ? 2 : 1);
    width = std::max(width, minWidth);
    height = std::max(height, minHeight);
    if ((modifiers & ShiftModifier) && r.width > 0 && r.height > 0) {
        const double aspect = r.width / r.height;
        if (hx != 0 && hy != 0) {
            // A corner follows the direction that grew relatively more.
            if (width / r.width >= height / r.height)
                height = width / aspect;
            else
                width = height * aspect;
        } else if (hx != 0) {
            height = width / aspect;
        } else {
            width = height * aspect;
        }
        if (width < minWidth || height < minHeight) {
            const double grow = std::max(minWidth / width, minHeight / height);
            width *= grow;
            height *= grow;
        }
    }
    double left, top;
    const TAVI::GLPoint<double> centre = r.center();
    if (aboutCentre) {
        left = centre.x - width / 2;
        top = centre.y - height / 2;
    } else {
        // The edge opposite the handle stays; an edge handle keeps the other axis centred.
        left = hx < 0 ? r.right() - width : hx > 0 ? r.left() : centre.x - width / 2;
        top = hy < 0 ? r.bottom() - height : hy > 0 ? r.top() : centre.y - height / 2;
    }
    return {left, top, width, height};
}

void ResizeBehavior::recordStartingConditions(MouseEvent&) {
    startingRect = getTargetNode().getSceneBounds();
}

TAVI::GLRect<double> ResizeBehavior::calculateRect(MouseEvent& event) {
    const int modifiers = (shouldResizeAboutCenter(event) ? AltModifier : NoModifier) |
                          (shouldPreserveAspect(event) ? ShiftModifier : NoModifier);
    return resizedRect(startingRect, handle, event.scenePos() - getStartScenePosition(), modifiers,
                       getMinimumSize());
}

bool ResizeBehavior::shouldResizeAboutCenter(const MouseEvent& event) const {
    return event.hasModifier(AltModifier);
}

bool ResizeBehavior::shouldPreserveAspect(const MouseEvent& event) const {
    return event.hasModifier(ShiftModifier);
}

TAVI::GLPoint<double> ResizeBehavior::getMinimumSize() const {
    return {minimumSize, minimumSize};
}

void ResizeBehavior::modifyTarget(const TAVI::GLRect<double>& sceneRect) {
    Node node = getTargetNode();
    if (!node.isValid())
        return;
    // The node's origin goes to the rectangle's corner; its geometry starts there.
    const Node parent = node.getParent();
    const TAVI::GLPoint<double> corner =
        parent.isValid() ? parent.mapSceneToLocal(sceneRect.topLeft()) : sceneRect.topLeft();
    // The geometry is in the node's own units: a scaled node, or one in a scaled
    // container, takes the scene size divided by its scale on the scene.
    const TAVI::GLPoint<double> size =
        node.mapSceneToLocal({sceneRect.right(), sceneRect.bottom()}) -
        node.mapSceneToLocal(sceneRect.topLeft());
    const TAVI::GLRect<double> local(0, 0, size.x, size.y);
    if (RectNode rect(node); rect.isValid()) {
        rect.setRect(local);
        rect.setPosition(corner);
    } else if (EllipseNode ellipse(node); ellipse.isValid()) {
        ellipse.setRect(local);
        ellipse.setPosition(corner);
    }
}

void ResizeBehavior::commit(const TAVI::GLRect<double>&) {}

void ResizeBehavior::handleMouseMoveEvent(MouseEvent& event) {
    if (isDone())
        return;
    if (!getTargetNode().isValid() || handle == NoHandle) {
        finish();
        return;
    }
    if (!(event.buttons() & LeftButton)) {
        cancelGesture(event);
        return;
    }
    if (!started) {
        started = true;
        recordStartingConditions(event);
    }
    modifyTarget(calculateRect(event));
    event.consume();
}

void ResizeBehavior::handleMousePressEvent(MouseEvent& event) {
    // Another left press: the release of this drag never came.
    if (!isDone() && event.button() == LeftButton)
        cancelGesture(event);
}

void ResizeBehavior::handleFocusOutEvent(Event& event) {
    cancelGesture(event);
}

void ResizeBehavior::handleMouseReleaseEvent(MouseEvent& event) {
    if (isDone() || event.button() != LeftButton)
        return;
    if (started)
        commit(calculateRect(event));
    finish();
    event.consume();
}

void ResizeBehavior::handleKeyPressEvent(KeyEvent& event) {
    if (isDone() || event.key() != Key_Escape)
        return;
    if (started)
        modifyTarget(startingRect);
    finish();
    event.consume();
}

} // namespace ZEPH
