#pragma once

#include "editor/PaletteTool.hpp"
#include "editor/kite_editor_export.hpp"
#include "platform/tavi/Geometry.hpp"
#include "platform/zeph/RectNode.hpp"

namespace KITE {

// Zooms the canvas to a rectangle dragged with the left button: a press starts a marquee on
// the scene of the event's canvas, the release shows the rectangle between press and release
// on that canvas and the tool is done, so it leaves the stack once a zoom is applied. It takes
// the canvas from each event, so it needs no editor. It consumes every pointer event while it
// is on the stack, so the tools below do not select or move meanwhile.
class KITE_EDITOR_EXPORT MarqueeZoomTool : public PaletteTool {
public:
    MarqueeZoomTool();
    ~MarqueeZoomTool() override;

    void handleMouseMoveEvent(ZEPH::MouseEvent& event) override;
    void handleMousePressEvent(ZEPH::MouseEvent& event) override;
    void handleMouseReleaseEvent(ZEPH::MouseEvent& event) override;
    void handleMouseDoubleClickEvent(ZEPH::MouseEvent& event) override;
    // Takes the marquee off the scene.
    void onRemoveFromStack() override;
    bool isDone() const override;
    // The role "MarqueeZoomTool".
    TAVI::StringID getDefaultRole() const override;

    // The marquee drawn during the drag; invalid before a press and once the tool is off the
    // stack.
    ZEPH::RectNode getMarquee() const { return marquee; }

private:
    void dropMarquee();

    TAVI::GLPoint<double> start;
    bool dragging = false;
    bool done = false;
    ZEPH::RectNode marquee;
};

} // namespace KITE
