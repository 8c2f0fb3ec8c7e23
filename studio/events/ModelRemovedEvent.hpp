#pragma once

#include "platform/veld/Model.hpp"
#include "studio/events/kite_studio_events_export.hpp"

#include <string>

namespace KITE {

// A model is being removed from the studio; it is still valid while the event is delivered. The
// model is the studio's, not owned by the record.
class KITE_STUDIO_EVENTS_EXPORT ModelRemovedEvent {
public:
    ModelRemovedEvent() = default;
    explicit ModelRemovedEvent(const VELD::Model* model) : model(model) {}
    // The event services may build a record from a string; it carries nothing.
    explicit ModelRemovedEvent(const std::string&) {}

    const VELD::Model* getModel() const { return model; } // null in a default record

    bool operator==(const ModelRemovedEvent&) const = default;

private:
    const VELD::Model* model = nullptr; // not owned
};

} // namespace KITE
