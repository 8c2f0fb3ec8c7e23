#pragma once

#include "platform/tavi/GList.hpp"
#include "studio/events/kite_studio_events_export.hpp"

#include <string>

namespace KITE {

class Editor;

// Editors that were closed. Sent before their components are removed, so listeners may still
// ask the editors for their diagrams. The editors are not owned by the record.
class KITE_STUDIO_EVENTS_EXPORT EditorClosedEvent {
public:
    EditorClosedEvent() = default;
    explicit EditorClosedEvent(Editor* editor);
    // The event services may build a record from a string; it carries nothing.
    explicit EditorClosedEvent(const std::string& text);

    // Appends the editor; a null editor is ignored, so listeners can call every entry.
    void append(Editor* editor);
    void clear();
    const TAVI::GList<Editor*>& getEditors() const { return editors; }

    bool operator==(const EditorClosedEvent&) const = default;

private:
    TAVI::GList<Editor*> editors; // not owned
};

} // namespace KITE
