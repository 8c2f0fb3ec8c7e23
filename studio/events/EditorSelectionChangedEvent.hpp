#pragma once

#include "studio/events/SelectionChangedEvent.hpp"
#include "studio/events/kite_studio_events_export.hpp"

#include <string>

namespace KITE {

// A change of a diagram editor's selection: the elements that became selected (selected
// true) or were deselected (false). An editor announces a deletion with a null element and
// false, which is an event without selections.
class KITE_STUDIO_EVENTS_EXPORT EditorSelectionChangedEvent : public SelectionChangedEvent {
public:
    EditorSelectionChangedEvent() = default;
    EditorSelectionChangedEvent(const DiagramElement& element, bool selected);
    EditorSelectionChangedEvent(const VELD::ImmutableSequence<DiagramElement>& elements,
                                bool selected);
    // The event services may build a record from a string; it carries nothing.
    explicit EditorSelectionChangedEvent(const std::string& text);
    ~EditorSelectionChangedEvent() override;
    EditorSelectionChangedEvent(const EditorSelectionChangedEvent&) = default;
    EditorSelectionChangedEvent& operator=(const EditorSelectionChangedEvent&) = default;
    EditorSelectionChangedEvent(EditorSelectionChangedEvent&&) = default;
    EditorSelectionChangedEvent& operator=(EditorSelectionChangedEvent&&) = default;

    bool isSelected() const { return selected; }

    bool operator==(const EditorSelectionChangedEvent&) const = default;

private:
    bool selected = false;
};

} // namespace KITE
