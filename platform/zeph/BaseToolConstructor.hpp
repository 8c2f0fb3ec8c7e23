#pragma once

#include "platform/zeph/AbstractToolConstructor.hpp"
#include "platform/zeph/zeph_export.hpp"

namespace ZEPH {

// A tool constructor that knows its role; subclasses make the tool.
class ZEPH_EXPORT BaseToolConstructor : public AbstractToolConstructor {
public:
    explicit BaseToolConstructor(const TAVI::StringID& role) : constructorRole(role) {}

    TAVI::StringID getRole() const override { return constructorRole; }

private:
    TAVI::StringID constructorRole;
};

} // namespace ZEPH
