#pragma once

#include "platform/veld/ClassObject.hpp"
#include "studio/events/kite_studio_events_export.hpp"

#include <string>

namespace KITE {

// A request to leave the shown object for its container, raised by an editor with its diagram
// as target. The library itself does not act on it; clients and scripts may.
class KITE_STUDIO_EVENTS_EXPORT NavigateUpRequest {
public:
    NavigateUpRequest() = default;
    explicit NavigateUpRequest(const VELD::ImmutableClassObject& target) : target(target) {}
    // The event services may build a record from a string; it carries nothing.
    explicit NavigateUpRequest(const std::string&) {}

    const VELD::ImmutableClassObject& getTarget() const { return target; }

    bool operator==(const NavigateUpRequest&) const = default;

private:
    VELD::ImmutableClassObject target;
};

} // namespace KITE
