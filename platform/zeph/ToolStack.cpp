#include "platform/zeph/ToolStack.hpp"

#include "platform/tavi/TypedException.hpp"
#include "platform/zeph/DragEvent.hpp"
#include "platform/zeph/KeyEvent.hpp"
#include "platform/zeph/WheelEvent.hpp"
#include "platform/zu/zuAssert.hpp"

#include <algorithm>
#include <exception>
#include <string>
#include <type_traits>

namespace ZEPH {

// One event being delivered; deliveries nest when a handler injects another event.
struct ToolStack::Delivery {
    Delivery* outer = nullptr;
    TAVI::Holder<Tool> delegate; // set by delegateToTool during this delivery
};

ToolStack::ToolStack(IToolStack* owner) : owner(owner ? owner : this) {}

ToolStack::~ToolStack() {
    // A tool put on now, by one told of its removal, would be left pointing at
    // the stack once it is gone.
    closing = true;
    clearOnDestruction();
}

bool ToolStack::refusedWhileClosing(const char* operation) const {
    zu_assertstr(!closing, "ZEPH::ToolStack: a tool put on a stack being destroyed", operation);
    return closing;
}

std::vector<ToolStack::Entry>::const_iterator ToolStack::find(const Tool* tool) const {
    return std::find_if(entries.begin(), entries.end(),
                        [tool](const Entry& entry) { return entry.tool.get() == tool; });
}

void ToolStack::checkNewTool(const TAVI::Holder<Tool>& tool, const char* operation) const {
    if (!tool)
        throw TAVI::TypedException(TAVI_HERE,
                                   std::string("ToolStack::") + operation + ": null tool");
    if (tool->getToolStack())
        throw TAVI::TypedException(TAVI_HERE, std::string("ToolStack::") + operation +
                                                  ": the tool is on a stack already");
}

void ToolStack::pushTool(const TAVI::Holder<Tool>& tool, const TAVI::StringID& role) {
    entries.push_back({tool, role});
    tool->toolStack = owner;
}

TAVI::StringID ToolStack::addTool(const TAVI::Holder<Tool>& tool) {
    checkNewTool(tool, "addTool");
    if (refusedWhileClosing("addTool"))
        return {};
    const TAVI::StringID role = getUniqueToolRoleBasedOn(tool->getDefaultRole());
    pushTool(tool, role);
    return role;
}

void ToolStack::addTool(const TAVI::Holder<Tool>& tool, const TAVI::StringID& role) {
    checkNewTool(tool, "addTool");
    if (role.isEmpty())
        throw TAVI::TypedException(TAVI_HERE, "ToolStack::addTool: empty role");
    if (hasTool(role))
        throw TAVI::TypedException(TAVI_HERE,
                                   "ToolStack::addTool: role '" + role.getString() + "' is taken");
    if (refusedWhileClosing("addTool"))
        return;
    pushTool(tool, role);
}

TAVI::StringID ToolStack::delegateToTool(const TAVI::Holder<Tool>& tool) {
    checkNewTool(tool, "delegateToTool");
    const TAVI::StringID role = addTool(tool);
    if (currentDelivery && hasTool(tool))
        currentDelivery->delegate = tool;
    return role;
}

TAVI::StringID ToolStack::getUniqueToolRoleBasedOn(const TAVI::StringID& role) const {
    if (!hasTool(role))
        return role;
    for (unsigned number = 1;; ++number) {
        TAVI::StringID candidate(role.getString() + std::to_string(number));
        if (!hasTool(candidate))
            return candidate;
    }
}

bool ToolStack::hasTool(const TAVI::Holder<Tool>& tool) const {
    return tool && find(tool.get()) != entries.end();
}

bool ToolStack::hasTool(const TAVI::StringID& role) const {
    return std::any_of(entries.begin(), entries.end(),
                       [&role](const Entry& entry) { return entry.role == role; });
}

bool ToolStack::removeTool(const TAVI::Holder<Tool>& tool) {
    if (!tool)
        return false;
    const auto it = find(tool.get());
    if (it == entries.end())
        return false;
    // Off the stack before it is told, so that it may add itself or others again.
    const TAVI::Holder<Tool> keep = tool;
    entries.erase(it);
    keep->toolStack = nullptr;
    keep->onRemoveFromStack();
    return true;
}

bool ToolStack::removeToolByRole(const TAVI::StringID& role) {
    return removeTool(getToolByRole(role));
}

TAVI::Holder<Tool> ToolStack::getToolByRole(const TAVI::StringID& role) const {
    for (const Entry& entry : entries)
        if (entry.role == role)
            return entry.tool;
    return {};
}

TAVI::StringID ToolStack::getRoleByTool(const TAVI::Holder<Tool>& tool) const {
    if (!tool)
        return {};
    const auto it = find(tool.get());
    return it == entries.end() ? TAVI::StringID() : it->role;
}

void ToolStack::clearToolStack() {
    // The tools on it now, one at a time from the top: a tool told of its removal
    // may take others off, or put tools on, itself even, which would keep a
    // clear that ran until the stack was empty going for ever.
    for (const TAVI::Holder<Tool>& tool : getTools())
        removeTool(tool);
}

void ToolStack::clearOnDestruction() noexcept {
    for (const TAVI::Holder<Tool>& tool : getTools()) {
        try {
            removeTool(tool);
        } catch (const std::exception& error) {
            zuReportAssertion("telling a tool of its removal threw", __FILE__, __LINE__,
                              "ZEPH::ToolStack: a tool threw when taken off a stack going away",
                              error.what());
        } catch (...) {
            zuReportAssertion("telling a tool of its removal threw", __FILE__, __LINE__,
                              "ZEPH::ToolStack: a tool threw when taken off a stack going away",
                              "an unknown exception");
        }
    }
}

std::vector<TAVI::Holder<Tool>> ToolStack::getTools() const {
    std::vector<TAVI::Holder<Tool>> tools;
    tools.reserve(entries.size());
    for (auto it = entries.rbegin(); it != entries.rend(); ++it)
        tools.push_back(it->tool);
    return tools;
}

TAVI::Holder<Tool> ToolStack::getTopTool() const {
    return entries.empty() ? TAVI::Holder<Tool>() : entries.back().tool;
}

template <class E>
void ToolStack::callTool(const TAVI::Holder<Tool>& tool, E& event,
                         void (EventHandler::*handler)(E&)) {
    (static_cast<EventHandler*>(tool.get())->*handler)(event);
    if (tool->isDone())
        removeTool(tool);
}

template <class E> void ToolStack::deliver(E& event, void (EventHandler::*handler)(E&)) {
    const std::vector<TAVI::Holder<Tool>> tools = getTools();
    Delivery delivery;
    delivery.outer = currentDelivery;
    currentDelivery = &delivery;
    struct Restore {
        ToolStack* stack;
        Delivery* outer;
        ~Restore() { stack->currentDelivery = outer; }
    } restore{this, delivery.outer};

    for (const TAVI::Holder<Tool>& tool : tools) {
        if (!hasTool(tool))
            continue; // taken off by a handler above it
        if constexpr (std::is_same_v<E, KeyEvent>) {
            if (event.isAutoRepeat() && !tool->requiresKeyAutoRepeat())
                continue;
        }
        callTool(tool, event, handler);
        if (delivery.delegate) {
            // The gesture goes on in the delegate (which may hand it on again).
            while (delivery.delegate) {
                const TAVI::Holder<Tool> next = delivery.delegate;
                delivery.delegate.reset();
                if (hasTool(next))
                    callTool(next, event, handler);
            }
            event.consume();
        }
        if (event.isConsumed())
            break;
    }
}

void ToolStack::handleMouseMoveEvent(MouseEvent& e) {
    deliver(e, &EventHandler::handleMouseMoveEvent);
}
void ToolStack::handleMousePressEvent(MouseEvent& e) {
    deliver(e, &EventHandler::handleMousePressEvent);
}
void ToolStack::handleMouseReleaseEvent(MouseEvent& e) {
    deliver(e, &EventHandler::handleMouseReleaseEvent);
}
void ToolStack::handleMouseDoubleClickEvent(MouseEvent& e) {
    deliver(e, &EventHandler::handleMouseDoubleClickEvent);
}
void ToolStack::handleDragEvent(DragEvent& e) {
    deliver(e, &EventHandler::handleDragEvent);
}
void ToolStack::handleDropEvent(DragEvent& e) {
    deliver(e, &EventHandler::handleDropEvent);
}
void ToolStack::handleFocusInEvent(Event& e) {
    deliver(e, &EventHandler::handleFocusInEvent);
}
void ToolStack::handleFocusOutEvent(Event& e) {
    deliver(e, &EventHandler::handleFocusOutEvent);
}
void ToolStack::handleEnterCanvasEvent(Event& e) {
    deliver(e, &EventHandler::handleEnterCanvasEvent);
}
void ToolStack::handleLeaveCanvasEvent(Event& e) {
    deliver(e, &EventHandler::handleLeaveCanvasEvent);
}
void ToolStack::handleContextMenuEvent(MouseEvent& e) {
    deliver(e, &EventHandler::handleContextMenuEvent);
}
void ToolStack::handleWheelEvent(WheelEvent& e) {
    deliver(e, &EventHandler::handleWheelEvent);
}
void ToolStack::handleKeyPressEvent(KeyEvent& e) {
    deliver(e, &EventHandler::handleKeyPressEvent);
}
void ToolStack::handleKeyReleaseEvent(KeyEvent& e) {
    deliver(e, &EventHandler::handleKeyReleaseEvent);
}

} // namespace ZEPH
