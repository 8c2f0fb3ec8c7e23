#pragma once

#include "platform/orbis/orbis_export.hpp"

#include <string>

namespace PLATFORM::Util {

// An event record carrying one integer: the index of the tab the user closed
// on the window's "TabCloseEvents" service.
struct ORBIS_EXPORT IntRequest {
    IntRequest() = default;
    explicit IntRequest(int value) : value(value) {}
    // The event-service template may build records from a string; it carries nothing.
    explicit IntRequest(const std::string&) {}

    int getValue() const { return value; }
    bool operator==(const IntRequest&) const = default;

    int value = 0;
};

} // namespace PLATFORM::Util
