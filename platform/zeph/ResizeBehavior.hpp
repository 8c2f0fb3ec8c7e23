#pragma once

#include "platform/tavi/Geometry.hpp"
#include "platform/zeph/GestureTool.hpp"
#include "platform/zeph/Node.hpp"
#include "platform/zeph/zeph_export.hpp"

namespace ZEPH {

// Resizes one node by dragging one of the eight handles of its scene bounds:
// the handle's edges follow the pointer, the others stay. Alt resizes about the
// centre, Shift keeps the aspect ratio. A rectangle never gets smaller than
// minimumSize in either direction (a handle dragged past the opposite edge
// stops there). Escape puts the node back, and so does a release that never
// came (a move without the left button, another left press, which goes on to
// the tools below, or the focus gone). The tool leaves the stack on release or
// Escape. By default rectangles and ellipses are resized; subclasses
// override modifyTarget (and commit) for other nodes or to change a model.
class ZEPH_EXPORT ResizeBehavior : public GestureTool {
public:
    enum Handle {
        NoHandle = -1,
        TopLeft,
        Top,
        TopRight,
        Right,
        BottomRight,
        Bottom,
        BottomLeft,
        Left,
    };

    ResizeBehavior();
    ~ResizeBehavior() override;

    void handleMouseMoveEvent(MouseEvent& event) override;
    void handleMousePressEvent(MouseEvent& event) override;
    void handleMouseReleaseEvent(MouseEvent& event) override;
    void handleKeyPressEvent(KeyEvent& event) override;
    void handleFocusOutEvent(Event& event) override;

    TAVI::StringID getDefaultRole() const override;
    // The role its instances take, for tool constructors made before any instance.
    static TAVI::StringID staticGetDefaultRole();
    Cursor overrideCursor() const override;

    void setTargetNode(const Node& node) { target = node; }
    virtual Node getTargetNode() const { return target; }
    void setHandle(Handle which) { handle = which; }
    Handle getHandle() const { return handle; }
    const TAVI::GLRect<double>& getStartingRect() const { return startingRect; }

    // The handle of rect within tolerance of point; the corners win over the edges.
    static Handle handleAt(const TAVI::GLRect<double>& rect, const TAVI::GLPoint<double>& point,
                           double tolerance);
    // The rectangle that dragging handle of rect by delta gives, with the modifiers.
    // Never narrower or lower than minimum (nor than minimumSize).
    static TAVI::GLRect<double>
    resizedRect(const TAVI::GLRect<double>& rect, Handle handle, const TAVI::GLPoint<double>& delta,
                int modifiers, const TAVI::GLPoint<double>& minimum = {minimumSize, minimumSize});
    static constexpr double minimumSize = 1.0;

protected:
    // Remembers the target's scene bounds as the starting rectangle; event is the first move.
    virtual void recordStartingConditions(MouseEvent& event);
    // The rectangle for the pointer of event: the starting rectangle with the handle dragged by
    // the pointer's travel, about the centre and keeping the aspect as the hooks below say.
    virtual TAVI::GLRect<double> calculateRect(MouseEvent& event);
    // The smallest width and height calculateRect gives; minimumSize both ways by default.
    virtual TAVI::GLPoint<double> getMinimumSize() const;
    // Gives the target the scene rectangle.
    virtual void modifyTarget(const TAVI::GLRect<double>& sceneRect);
    // Called once on release with the final rectangle, after the last modifyTarget.
    virtual void commit(const TAVI::GLRect<double>& sceneRect);
    // Alt resizes about the centre; Shift keeps the aspect ratio.
    virtual bool shouldResizeAboutCenter(const MouseEvent& event) const;
    virtual bool shouldPreserveAspect(const MouseEvent& event) const;

private:
    Node target;
    Handle handle = NoHandle;
    bool started = false;
    TAVI::GLRect<double> startingRect;
};

} // namespace ZEPH
