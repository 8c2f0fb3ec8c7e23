#pragma once

#include "studio/events/kite_studio_events_export.hpp"

#include <string>
#include <utility>

namespace KITE {

// The mode of a control filter changed; views that show filtered objects show them again.
class KITE_STUDIO_EVENTS_EXPORT FilterModeChangedEvent {
public:
    FilterModeChangedEvent() = default;
    FilterModeChangedEvent(std::string filterName, std::string filterMode)
        : filterName(std::move(filterName)), filterMode(std::move(filterMode)) {}
    // The event services may build a record from a string; it carries nothing.
    explicit FilterModeChangedEvent(const std::string&) {}

    const std::string& getFilterName() const { return filterName; }
    const std::string& getFilterMode() const { return filterMode; }

    bool operator==(const FilterModeChangedEvent&) const = default;

private:
    std::string filterName;
    std::string filterMode;
};

} // namespace KITE
