#include "studio/events/EditorClosedEvent.hpp"

namespace KITE {

EditorClosedEvent::EditorClosedEvent(Editor* editor) {
    append(editor);
}

EditorClosedEvent::EditorClosedEvent(const std::string&) {}

void EditorClosedEvent::append(Editor* editor) {
    if (!editor)
        return;
    editors.append(editor);
}

void EditorClosedEvent::clear() {
    editors.clear();
}

} // namespace KITE
