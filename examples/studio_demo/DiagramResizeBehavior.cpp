#include "examples/studio_demo/DiagramResizeBehavior.hpp"

#include "examples/studio_demo/DiagramScene.hpp"
#include "platform/zeph/KeyEvent.hpp"
#include "platform/zeph/RectNode.hpp"

namespace StudioDemo {

namespace {

bool movesLeftEdge(ZEPH::ResizeBehavior::Handle handle)
{
    return handle == ZEPH::ResizeBehavior::TopLeft || handle == ZEPH::ResizeBehavior::Left ||
           handle == ZEPH::ResizeBehavior::BottomLeft;
}

bool movesTopEdge(ZEPH::ResizeBehavior::Handle handle)
{
    return handle == ZEPH::ResizeBehavior::TopLeft || handle == ZEPH::ResizeBehavior::Top ||
           handle == ZEPH::ResizeBehavior::TopRight;
}

} // namespace

DiagramResizeBehavior::DiagramResizeBehavior(DiagramScene* diagram) : diagram(diagram) {}

void DiagramResizeBehavior::recordStartingConditions()
{
    ResizeBehavior::recordStartingConditions();
    const ZEPH::RectNode rect(getTargetNode());
    startRect = rect.isValid() ? rect.mapLocalToScene(rect.getRect()) : getStartingRect();
    recorded = true;
}

TAVI::GLRect<double> DiagramResizeBehavior::calculateRect(const TAVI::GLPoint<double>& delta, int modifiers) const
{
    TAVI::GLRect<double> r = resizedRect(startRect, getHandle(), delta, modifiers);
    const bool aboutCentre = (modifiers & ZEPH::AltModifier) != 0;
    // Grow back to the minimum away from the edge that stays (about the centre, both ways).
    if (r.width < minimumWidth) {
        const double grow = minimumWidth - r.width;
        r.x -= aboutCentre ? grow / 2 : movesLeftEdge(getHandle()) ? grow : 0;
        r.width = minimumWidth;
    }
    if (r.height < minimumHeight) {
        const double grow = minimumHeight - r.height;
        r.y -= aboutCentre ? grow / 2 : movesTopEdge(getHandle()) ? grow : 0;
        r.height = minimumHeight;
    }
    return r;
}

void DiagramResizeBehavior::modifyTarget(const TAVI::GLRect<double>& sceneRect)
{
    ResizeBehavior::modifyTarget(sceneRect);
    diagram->nodeGeometryChanged(getTargetNode());
}

void DiagramResizeBehavior::commit()
{
    diagram->commitGeometry({getTargetNode()}, "Resize");
}

void DiagramResizeBehavior::handleKeyPressEvent(ZEPH::KeyEvent& event)
{
    if (!isDone() && event.key() == ZEPH::Key_Escape && recorded) {
        modifyTarget(startRect);
        finish();
        event.consume();
        return;
    }
    ResizeBehavior::handleKeyPressEvent(event);
}

} // namespace StudioDemo
