#include "platform/zeph/EventHandler.hpp"

namespace ZEPH {

EventHandler::~EventHandler() = default;

void EventHandler::handleMouseMoveEvent(MouseEvent&) {}
void EventHandler::handleMousePressEvent(MouseEvent&) {}
void EventHandler::handleMouseReleaseEvent(MouseEvent&) {}
void EventHandler::handleMouseDoubleClickEvent(MouseEvent&) {}
void EventHandler::handleDragEvent(DragEvent&) {}
void EventHandler::handleDropEvent(DragEvent&) {}
void EventHandler::handleFocusInEvent(Event&) {}
void EventHandler::handleFocusOutEvent(Event&) {}
void EventHandler::handleEnterCanvasEvent(Event&) {}
void EventHandler::handleLeaveCanvasEvent(Event&) {}
void EventHandler::handleContextMenuEvent(MouseEvent&) {}
void EventHandler::handleWheelEvent(WheelEvent&) {}
void EventHandler::handleKeyPressEvent(KeyEvent&) {}
void EventHandler::handleKeyReleaseEvent(KeyEvent&) {}

} // namespace ZEPH
