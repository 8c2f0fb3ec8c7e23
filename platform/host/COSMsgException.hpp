#pragma once

#include "platform/host/host_export.hpp"
#include "platform/tavi/ErrorHolder.hpp"

#include <stdexcept>
#include <string>

namespace NOX {

// Thrown by a method adapter to report a library error to the script: the caller receives a
// host error with this id and text.
class HOST_EXPORT COSMsgException : public std::runtime_error {
public:
    COSMsgException(std::string id, const std::string& message)
        : std::runtime_error(message), errorId(std::move(id)) {}
    const std::string& id() const { return errorId; }
    std::string message() const { return what(); }

private:
    std::string errorId;
};

// Turns an error a library operation reported into the script's host error.
inline void raiseIfError(const TAVI::ErrorHolder& errors) {
    if (errors.hasError())
        throw COSMsgException(errors.id(), errors.what());
}

} // namespace NOX
