#pragma once

#include "platform/host/host_export.hpp"

#include <stdexcept>
#include <string>

// A host error: what a script sees when a host call fails, an id such as
// "QUASAR:nox_factory:null_self" and a text. vxErrMsgIdAndTxt throws it.
class HOST_EXPORT vxHostError : public std::runtime_error {
public:
    vxHostError(std::string id, const std::string& text)
        : std::runtime_error(text), errorId(std::move(id)) {}
    const std::string& id() const { return errorId; }
    std::string text() const { return what(); }

private:
    std::string errorId;
};
