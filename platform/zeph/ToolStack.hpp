#pragma once

#include "platform/zeph/EventHandler.hpp"
#include "platform/zeph/IToolStack.hpp"
#include "platform/zeph/zeph_export.hpp"

#include <vector>

namespace ZEPH {

// The tool stack of a scene. Its event handlers deliver each event to the tools,
// top first, until one consumes it; a tool that is done after an event leaves.
// Tools added while an event is delivered do not get that event (except through
// delegateToTool); tools removed meanwhile get it no more.
class ZEPH_EXPORT ToolStack : public IToolStack, public EventHandler {
public:
    // owner: what the tools see as their stack (the scene); null for this stack itself.
    explicit ToolStack(IToolStack* owner = nullptr);
    ~ToolStack() override;
    ToolStack(const ToolStack&) = delete;
    ToolStack& operator=(const ToolStack&) = delete;

    TAVI::StringID addTool(const TAVI::Holder<Tool>& tool) override;
    void addTool(const TAVI::Holder<Tool>& tool, const TAVI::StringID& role) override;
    TAVI::StringID delegateToTool(const TAVI::Holder<Tool>& tool) override;
    TAVI::StringID getUniqueToolRoleBasedOn(const TAVI::StringID& role) const override;
    bool hasTool(const TAVI::Holder<Tool>& tool) const override;
    bool hasTool(const TAVI::StringID& role) const override;
    bool removeTool(const TAVI::Holder<Tool>& tool) override;
    bool removeToolByRole(const TAVI::StringID& role) override;
    TAVI::Holder<Tool> getToolByRole(const TAVI::StringID& role) const override;
    TAVI::StringID getRoleByTool(const TAVI::Holder<Tool>& tool) const override;
    void clearToolStack() override;
    std::vector<TAVI::Holder<Tool>> getTools() const override;

    // The top tool; empty when the stack is empty.
    TAVI::Holder<Tool> getTopTool() const;
    // As clearToolStack, for a stack (or its scene) going away, where nothing may
    // throw: what a tool throws when told of its removal is reported as a host
    // assertion, and the other tools are still taken off.
    void clearOnDestruction() noexcept;

    void handleMouseMoveEvent(MouseEvent& event) override;
    void handleMousePressEvent(MouseEvent& event) override;
    void handleMouseReleaseEvent(MouseEvent& event) override;
    void handleMouseDoubleClickEvent(MouseEvent& event) override;
    void handleDragEvent(DragEvent& event) override;
    void handleDropEvent(DragEvent& event) override;
    void handleFocusInEvent(Event& event) override;
    void handleFocusOutEvent(Event& event) override;
    void handleEnterCanvasEvent(Event& event) override;
    void handleLeaveCanvasEvent(Event& event) override;
    void handleContextMenuEvent(MouseEvent& event) override;
    void handleWheelEvent(WheelEvent& event) override;
    void handleKeyPressEvent(KeyEvent& event) override;
    void handleKeyReleaseEvent(KeyEvent& event) override;

private:
    struct Entry {
        TAVI::Holder<Tool> tool;
        TAVI::StringID role;
    };
    struct Delivery;

    template <class E> void deliver(E& event, void (EventHandler::*handler)(E&));
    template <class E>
    void callTool(const TAVI::Holder<Tool>& tool, E& event, void (EventHandler::*handler)(E&));
    void checkNewTool(const TAVI::Holder<Tool>& tool, const char* operation) const;
    // Reports a tool put on while the stack is destroyed; true when it must not go on.
    bool refusedWhileClosing(const char* operation) const;
    void pushTool(const TAVI::Holder<Tool>& tool, const TAVI::StringID& role);
    std::vector<Entry>::const_iterator find(const Tool* tool) const;

    IToolStack* owner;
    std::vector<Entry> entries;          // bottom first
    Delivery* currentDelivery = nullptr; // innermost delivery under way, if any
    bool closing = false;                // being destroyed
};

} // namespace ZEPH
