#pragma once

#include "platform/tavi/Geometry.hpp"
#include "platform/zeph/Event.hpp"
#include "platform/zeph/Tool.hpp"
#include "platform/zeph/zeph_export.hpp"

namespace ZEPH {

// A tool that carries on a drag another tool recognised (the selection tool
// starts the move and marquee tools this way): it is told where the button went
// down, and with which modifiers, before it gets the drag's first move.
class ZEPH_EXPORT GestureTool : public Tool {
public:
    ~GestureTool() override;

    void setStartScenePosition(const TAVI::GLPoint<double>& position) { startPosition = position; }
    const TAVI::GLPoint<double>& getStartScenePosition() const { return startPosition; }
    void setStartModifiers(int modifiers) { pressModifiers = modifiers; }
    int getStartModifiers() const { return pressModifiers; }

    bool isDone() const override { return finished; }

protected:
    GestureTool();
    // Takes the tool off the stack after the event it is handling.
    void finish() { finished = true; }
    // Ends the gesture as Escape does, through the tool's own key handler so that
    // a subclass's cancelling applies, and finishes it even if that kept it. For a
    // drag whose release never came: a move without the left button, another left
    // press, or the focus gone. cause: the event that showed it, for its canvas.
    void cancelGesture(const Event& cause);

private:
    TAVI::GLPoint<double> startPosition;
    int pressModifiers = NoModifier;
    bool finished = false;
};

} // namespace ZEPH
