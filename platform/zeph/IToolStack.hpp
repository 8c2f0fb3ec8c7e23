#pragma once

#include "platform/tavi/Holder.hpp"
#include "platform/tavi/StringID.hpp"
#include "platform/zeph/Tool.hpp"
#include "platform/zeph/zeph_export.hpp"

#include <vector>

namespace ZEPH {

// The tools of one scene, each under a role that is unique on the stack. Events
// go to the top tool first and on down until one consumes them.
class ZEPH_EXPORT IToolStack {
public:
    virtual ~IToolStack() = default;

    // Pushes the tool on top under its default role, made unique with
    // getUniqueToolRoleBasedOn, and returns the role it got. Throws
    // TAVI::TypedException for a null tool or one already on the stack.
    virtual TAVI::StringID addTool(const TAVI::Holder<Tool>& tool) = 0;
    // Pushes the tool on top under the given role. Throws TAVI::TypedException for
    // a null tool, one already on the stack, an empty role or one already taken.
    virtual void addTool(const TAVI::Holder<Tool>& tool, const TAVI::StringID& role) = 0;
    // Pushes the tool as addTool does and hands it the event being delivered, so
    // that a gesture one tool recognised carries on in another: once the current
    // handler returns, the new tool gets the same event and delivery ends there.
    // Outside a delivery this is addTool. Returns the role the tool got.
    virtual TAVI::StringID delegateToTool(const TAVI::Holder<Tool>& tool) = 0;
    // The role itself when free, else the role followed by the smallest number
    // that makes it free ("Move", "Move1", "Move2"...).
    virtual TAVI::StringID getUniqueToolRoleBasedOn(const TAVI::StringID& role) const = 0;
    virtual bool hasTool(const TAVI::Holder<Tool>& tool) const = 0;
    virtual bool hasTool(const TAVI::StringID& role) const = 0;
    // Take a tool off the stack and tell it (onRemoveFromStack). False when it was not there.
    virtual bool removeTool(const TAVI::Holder<Tool>& tool) = 0;
    virtual bool removeToolByRole(const TAVI::StringID& role) = 0;
    // An empty holder when no tool has the role.
    virtual TAVI::Holder<Tool> getToolByRole(const TAVI::StringID& role) const = 0;
    // The empty id when the tool is not on the stack.
    virtual TAVI::StringID getRoleByTool(const TAVI::Holder<Tool>& tool) const = 0;
    // Takes every tool on the stack off, top first, telling each; tools that
    // their removal puts on (one putting itself back, say) stay.
    virtual void clearToolStack() = 0;
    // The tools, top first.
    virtual std::vector<TAVI::Holder<Tool>> getTools() const = 0;
};

} // namespace ZEPH
