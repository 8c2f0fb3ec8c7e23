#pragma once

#include "studio/events/kite_studio_events_export.hpp"

#include <string>

namespace KITE {

// The studio application is terminating: its models are released, its components follow.
// The library itself does not listen; clients and scripts may.
class KITE_STUDIO_EVENTS_EXPORT StudioClosedEvent {
public:
    StudioClosedEvent() = default;
    // The event services may build a record from a string; it carries nothing.
    explicit StudioClosedEvent(const std::string&) {}

    bool operator==(const StudioClosedEvent&) const = default;
};

} // namespace KITE
