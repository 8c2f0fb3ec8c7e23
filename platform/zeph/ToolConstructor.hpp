#pragma once

#include "platform/zeph/BaseToolConstructor.hpp"

namespace ZEPH {

// Makes tools of class T from one argument kept by value (typically the editor
// the tools work for, as a pointer): new T(argument).
template <class T, class Argument>
class ToolConstructor : public BaseToolConstructor {
public:
    ToolConstructor(const TAVI::StringID& role, Argument argument)
        : BaseToolConstructor(role), toolArgument(argument)
    {
    }

    TAVI::Holder<Tool> createTool() const override { return TAVI::Holder<Tool>(new T(toolArgument)); }

private:
    Argument toolArgument;
};

} // namespace ZEPH
