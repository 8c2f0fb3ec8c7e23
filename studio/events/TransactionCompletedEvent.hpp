#pragma once

#include "platform/datamodel/ChangeReports.hpp"
#include "studio/events/kite_studio_events_export.hpp"

#include <string>

namespace KITE {

// One committed kernel transaction of a model of the studio. The report is the kernel's, not
// owned, and valid only while the event is being delivered: listeners copy what they keep.
class KITE_STUDIO_EVENTS_EXPORT TransactionCompletedEvent {
public:
    TransactionCompletedEvent() = default;
    explicit TransactionCompletedEvent(const ModelChangeReport* report) : report(report) {}
    // The event services may build a record from a string; it carries nothing.
    explicit TransactionCompletedEvent(const std::string&) {}

    const ModelChangeReport* getReport() const { return report; } // null in a default record

    bool operator==(const TransactionCompletedEvent&) const = default;

private:
    const ModelChangeReport* report = nullptr; // not owned
};

} // namespace KITE
