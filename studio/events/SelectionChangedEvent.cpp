#include "studio/events/SelectionChangedEvent.hpp"

namespace KITE {

SelectionChangedEvent::SelectionChangedEvent(const VELD::ImmutableClassObject& object) {
    append(VELD::ClassObject(object));
}

SelectionChangedEvent::SelectionChangedEvent(
    const VELD::ImmutableSequence<VELD::ClassObject>& objects) {
    // Iterating a null sequence is reported by the kernel and yields nothing.
    for (const VELD::ClassObject& object : objects)
        append(object);
}

SelectionChangedEvent::SelectionChangedEvent(
    const VELD::ImmutableSequence<DiagramElement>& elements) {
    for (const DiagramElement& element : elements)
        append(VELD::ClassObject(element));
}

SelectionChangedEvent::SelectionChangedEvent(const std::string&) {}

SelectionChangedEvent::~SelectionChangedEvent() = default;

void SelectionChangedEvent::append(const VELD::ClassObject& object) {
    // A null entry would make listeners select nothing while the selection looks non-empty.
    if (object.isNull())
        return;
    queue.push_back(object);
}

VELD::ClassObject SelectionChangedEvent::lastSelection() const {
    return queue.empty() ? VELD::ClassObject() : queue.back();
}

} // namespace KITE
