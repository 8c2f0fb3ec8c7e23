#pragma once

#include "studio/events/kite_studio_events_export.hpp"

#include <string>

namespace KITE {

// Another editor of the studio became the active one; listeners ask the studio which.
class KITE_STUDIO_EVENTS_EXPORT ActiveEditorChangedEvent {
public:
    ActiveEditorChangedEvent() = default;
    explicit ActiveEditorChangedEvent(bool flag) : flag(flag) {}
    // The event services may build a record from a string; it carries nothing.
    explicit ActiveEditorChangedEvent(const std::string&) {}
    // Without this a string literal would convert to bool and set the flag.
    explicit ActiveEditorChangedEvent(const char*) {}

    bool getFlag() const { return flag; }

    bool operator==(const ActiveEditorChangedEvent&) const = default;

private:
    bool flag = false;
};

} // namespace KITE
