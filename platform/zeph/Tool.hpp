#pragma once

#include "platform/tavi/ReferencedTemplate.hpp"
#include "platform/tavi/StringID.hpp"
#include "platform/zeph/EventHandler.hpp"
#include "platform/zeph/zeph_export.hpp"

namespace ZEPH {

class IToolStack;
class Scene;

// The pointer shapes a tool may ask the canvas for while it is on top of the stack.
enum class Cursor {
    NoOverride,
    Arrow,
    Cross,
    PointingHand,
    OpenHand,
    ClosedHand,
    SizeAll,
    SizeHorizontal,
    SizeVertical,
    SizeForwardDiagonal,  // top-right to bottom-left
    SizeBackwardDiagonal, // top-left to bottom-right
};

// An interaction on the canvas: gets the events the tools above it on the stack
// did not consume. Tools are counted objects, held by TAVI::Holder; the stack
// holds the tools on it. A tool that reports isDone() after handling an event
// leaves the stack and is told so through onRemoveFromStack(). The count comes
// first so that a holder releases the tool at its own address.
class ZEPH_EXPORT Tool : public TAVI::Referenced, public EventHandler {
public:
    ~Tool() override;

    // Called once the tool is off the stack, whatever took it off.
    virtual void onRemoveFromStack();
    // Asked after each event the tool handled; true takes it off the stack.
    virtual bool isDone() const;
    // The role the tool takes when added without one.
    virtual TAVI::StringID getDefaultRole() const;
    // Whether the tool wants the presses that a held key repeats.
    virtual bool requiresKeyAutoRepeat() const;
    // The pointer shape while the tool is the top tool.
    virtual Cursor overrideCursor() const;

    // The stack the tool is on; null when it is on none.
    IToolStack* getToolStack() const { return toolStack; }
    // The scene whose stack the tool is on; null when it is on none.
    Scene* getScene() const;

protected:
    Tool();

private:
    friend class ToolStack;
    IToolStack* toolStack = nullptr;
};

} // namespace ZEPH
