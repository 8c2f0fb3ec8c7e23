#pragma once

#include "platform/tavi/Geometry.hpp"
#include "platform/zeph/GestureTool.hpp"
#include "platform/zeph/RectNode.hpp"
#include "platform/zeph/zeph_export.hpp"

#include <vector>

namespace ZEPH {

class SelectionTool;

// Drags a rubber band from the start position; on release selects the
// selectable nodes the band covers wholly, through the selection tool on the
// stack (role "Selection") when there is one so that its overrides apply. With
// Shift held when the drag began they are added to the selection, with Control
// each one's selection is toggled; else they replace the selection. Escape
// drops the band without selecting, and so does a release that never came (a
// move without the left button, another left press, which goes on to the tools
// below, or the focus gone). The tool leaves the stack after release or Escape.
class ZEPH_EXPORT MarqueeSelectionTool : public GestureTool {
public:
    MarqueeSelectionTool();
    ~MarqueeSelectionTool() override;

    void handleMouseMoveEvent(MouseEvent& event) override;
    void handleMousePressEvent(MouseEvent& event) override;
    void handleMouseReleaseEvent(MouseEvent& event) override;
    void handleKeyPressEvent(KeyEvent& event) override;
    void handleFocusOutEvent(Event& event) override;
    void onRemoveFromStack() override;

    TAVI::StringID getDefaultRole() const override;
    // The role its instances take, for tool constructors made before any instance.
    static TAVI::StringID staticGetDefaultRole();
    Cursor overrideCursor() const override;

    // The band's rectangle in scene coordinates, normalised.
    TAVI::GLRect<double> getMarqueeRect() const;

protected:
    // The nodes the band selects: those it covers wholly for which isNodeSelectable holds.
    virtual std::vector<Node> nodesInMarquee() const;
    // Whether a node the band (rect, in scene coordinates) covers is selected by it: when the
    // node is selectable.
    virtual bool isNodeSelectable(const Node& node, const TAVI::GLRect<double>& rect) const;

private:
    SelectionTool* findSelectionTool() const;
    void dropBand();

    TAVI::GLPoint<double> current;
    RectNode band;
};

} // namespace ZEPH
