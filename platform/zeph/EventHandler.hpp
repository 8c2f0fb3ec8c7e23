#pragma once

#include "platform/zeph/zeph_export.hpp"

namespace ZEPH {

class DragEvent;
class Event;
class KeyEvent;
class MouseEvent;
class WheelEvent;

// Something that takes canvas events: the tools and the tool stack. Every
// handler does nothing unless overridden; a handler that acts on an event
// consumes it.
class ZEPH_EXPORT EventHandler {
public:
    virtual ~EventHandler();

    virtual void handleMouseMoveEvent(MouseEvent& event);
    virtual void handleMousePressEvent(MouseEvent& event);
    virtual void handleMouseReleaseEvent(MouseEvent& event);
    virtual void handleMouseDoubleClickEvent(MouseEvent& event);
    virtual void handleDragEvent(DragEvent& event);
    virtual void handleDropEvent(DragEvent& event);
    virtual void handleFocusInEvent(Event& event);
    virtual void handleFocusOutEvent(Event& event);
    virtual void handleEnterCanvasEvent(Event& event);
    virtual void handleLeaveCanvasEvent(Event& event);
    virtual void handleContextMenuEvent(MouseEvent& event);
    virtual void handleWheelEvent(WheelEvent& event);
    virtual void handleKeyPressEvent(KeyEvent& event);
    virtual void handleKeyReleaseEvent(KeyEvent& event);
};

} // namespace ZEPH
