#pragma once

#include "platform/veld/veld_export.hpp"

#include <stdexcept>
#include <string>

namespace VELD {

// Thrown for kernel misuse: unknown names, values that do not convert, writes outside a
// transaction, invalid handles. The model is unchanged after the failed operation.
class VELD_EXPORT Exception : public std::runtime_error {
public:
    explicit Exception(const std::string& message) : std::runtime_error(message) {}
};

} // namespace VELD
