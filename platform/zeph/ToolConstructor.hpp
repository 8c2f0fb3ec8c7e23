#pragma once

#include "platform/zeph/BaseToolConstructor.hpp"

namespace ZEPH {

// Makes tools of class T from one argument kept by value (typically the editor
// the tools work for, as a pointer): new T(argument). ToolConstructor<T> makes
// them with new T().
template <class T, class Argument = void> class ToolConstructor : public BaseToolConstructor {
public:
    ToolConstructor(const TAVI::StringID& role, Argument argument)
        : constructorRole(role), toolArgument(argument) {}

    TAVI::StringID getRole() const override { return constructorRole; }
    TAVI::Holder<Tool> createTool() const override {
        return TAVI::Holder<Tool>(new T(toolArgument));
    }

private:
    TAVI::StringID constructorRole;
    Argument toolArgument;
};

template <class T> class ToolConstructor<T, void> : public BaseToolConstructor {
public:
    explicit ToolConstructor(const TAVI::StringID& role) : constructorRole(role) {}

    TAVI::StringID getRole() const override { return constructorRole; }
    TAVI::Holder<Tool> createTool() const override { return TAVI::Holder<Tool>(new T()); }

private:
    TAVI::StringID constructorRole;
};

} // namespace ZEPH
