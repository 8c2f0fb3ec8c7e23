#include "studio/events/EditorSelectionChangedEvent.hpp"

namespace KITE {

EditorSelectionChangedEvent::EditorSelectionChangedEvent(const DiagramElement& element,
                                                         bool selected)
    : SelectionChangedEvent(static_cast<const VELD::ImmutableClassObject&>(element)),
      selected(selected) {}

EditorSelectionChangedEvent::EditorSelectionChangedEvent(
    const VELD::ImmutableSequence<DiagramElement>& elements, bool selected)
    : SelectionChangedEvent(elements), selected(selected) {}

EditorSelectionChangedEvent::EditorSelectionChangedEvent(const std::string&) {}

EditorSelectionChangedEvent::~EditorSelectionChangedEvent() = default;

} // namespace KITE
