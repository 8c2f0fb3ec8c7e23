#include "studio/events/TreeSelectionChangedEvent.hpp"

#include <utility>

namespace KITE {

TreeSelectionChangedEvent::TreeSelectionChangedEvent(const VELD::ImmutableClassObject& object,
                                                     std::string source, SelectionTrigger trigger)
    : SelectionChangedEvent(object), source(std::move(source)), trigger(trigger) {}

TreeSelectionChangedEvent::TreeSelectionChangedEvent(
    const VELD::ImmutableSequence<VELD::ClassObject>& objects, std::string source,
    SelectionTrigger trigger)
    : SelectionChangedEvent(objects), source(std::move(source)), trigger(trigger) {}

TreeSelectionChangedEvent::TreeSelectionChangedEvent(
    const VELD::ImmutableSequence<DiagramElement>& elements, std::string source,
    SelectionTrigger trigger)
    : SelectionChangedEvent(elements), source(std::move(source)), trigger(trigger) {}

TreeSelectionChangedEvent::TreeSelectionChangedEvent(const std::string&) {}

TreeSelectionChangedEvent::~TreeSelectionChangedEvent() = default;

} // namespace KITE
