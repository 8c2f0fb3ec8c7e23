#pragma once

#include "studio/events/SelectionChangedEvent.hpp"
#include "studio/events/kite_studio_events_export.hpp"

#include <cstdint>
#include <string>

namespace KITE {

// Why a model tree's selection changed.
enum class SelectionTrigger : std::int32_t {
    // A user selected rows in a tree view (model tree, explorer bar), or the studio created an
    // object that should become selected.
    User = 0,
    // The tree follows a selection made in a diagram editor.
    EditorSelection = 1,
    // The tree follows a change of the active editor.
    ActiveEditor = 2,
};

// The selection of one model tree. The source is the tree's component name, also when the
// explorer bar or the studio application speaks for that tree: a tree reacts only to events
// carrying its own name.
class KITE_STUDIO_EVENTS_EXPORT TreeSelectionChangedEvent : public SelectionChangedEvent {
public:
    TreeSelectionChangedEvent() = default;
    TreeSelectionChangedEvent(const VELD::ImmutableClassObject& object, std::string source,
                              SelectionTrigger trigger);
    TreeSelectionChangedEvent(const VELD::ImmutableSequence<VELD::ClassObject>& objects,
                              std::string source, SelectionTrigger trigger);
    TreeSelectionChangedEvent(const VELD::ImmutableSequence<DiagramElement>& elements,
                              std::string source, SelectionTrigger trigger);
    // The event services may build a record from a string; it carries nothing.
    explicit TreeSelectionChangedEvent(const std::string& text);
    ~TreeSelectionChangedEvent() override;
    TreeSelectionChangedEvent(const TreeSelectionChangedEvent&) = default;
    TreeSelectionChangedEvent& operator=(const TreeSelectionChangedEvent&) = default;
    TreeSelectionChangedEvent(TreeSelectionChangedEvent&&) = default;
    TreeSelectionChangedEvent& operator=(TreeSelectionChangedEvent&&) = default;

    const std::string& getSource() const { return source; }
    SelectionTrigger getTrigger() const { return trigger; }

    bool operator==(const TreeSelectionChangedEvent&) const = default;

private:
    std::string source;
    SelectionTrigger trigger = SelectionTrigger::User;
};

} // namespace KITE
