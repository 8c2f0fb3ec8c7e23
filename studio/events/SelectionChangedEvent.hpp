#pragma once

#include "platform/datamodel/Diagram.hpp"
#include "platform/veld/ClassObject.hpp"
#include "platform/veld/Sequence.hpp"
#include "studio/events/kite_studio_events_export.hpp"

#include <deque>
#include <string>

namespace KITE {

// What is selected now, in the order it was appended: the shared base of the tree's and the
// editor's selection events. A value sent by copy; null objects are never part of a
// selection, so a listener can use every entry (and lastSelection() is null only when the
// selection is empty).
class KITE_STUDIO_EVENTS_EXPORT SelectionChangedEvent {
public:
    SelectionChangedEvent() = default;
    explicit SelectionChangedEvent(const VELD::ImmutableClassObject& object);
    explicit SelectionChangedEvent(const VELD::ImmutableSequence<VELD::ClassObject>& objects);
    explicit SelectionChangedEvent(const VELD::ImmutableSequence<DiagramElement>& elements);
    // The event services may build a record from a string; it carries nothing.
    explicit SelectionChangedEvent(const std::string& text);
    virtual ~SelectionChangedEvent();
    SelectionChangedEvent(const SelectionChangedEvent&) = default;
    SelectionChangedEvent& operator=(const SelectionChangedEvent&) = default;
    SelectionChangedEvent(SelectionChangedEvent&&) = default;
    SelectionChangedEvent& operator=(SelectionChangedEvent&&) = default;

    // Appends the object; a null object is ignored.
    void append(const VELD::ClassObject& object);
    std::deque<VELD::ClassObject> selections() const { return queue; }
    // The last appended object, or a null object when the selection is empty.
    VELD::ClassObject lastSelection() const;
    bool isEmpty() const { return queue.empty(); }

    bool operator==(const SelectionChangedEvent&) const = default;

private:
    std::deque<VELD::ClassObject> queue;
};

} // namespace KITE
