#pragma once

#include "platform/tavi/Holder.hpp"
#include "platform/tavi/ReferencedTemplate.hpp"
#include "platform/tavi/StringID.hpp"
#include "platform/zeph/Tool.hpp"
#include "platform/zeph/zeph_export.hpp"

namespace ZEPH {

// Makes the tool of one role on request (Scene::addToolByRole). Counted; a scene
// holds the constructors registered with it. ToolConstructor makes tools of a
// class; AbstractToolConstructor only makes its role known.
class ZEPH_EXPORT BaseToolConstructor : public TAVI::Referenced {
public:
    ~BaseToolConstructor() override = default;

    virtual TAVI::StringID getRole() const = 0;
    // A new tool; an empty holder when none can be made now.
    virtual TAVI::Holder<Tool> createTool() const = 0;
};

} // namespace ZEPH
