// Private to platform/zeph/: included only by its own sources and tests; not installed.
#pragma once

#include "platform/nimb/Emitter.hpp"
#include "platform/zeph/Node_p.hpp"

#include <memory>
#include <string>

class QGraphicsProxyWidget;
class QLineEdit;

namespace ZEPH {

// A text node's implementation, with what in-place editing needs.
class TextNodePrivate : public NodePrivate {
public:
    TextNodePrivate(QGraphicsItem* item, NodeLink* link) : NodePrivate(Text, item, link) {}

    static TextNodePrivate* of(NodePrivate* node) {
        return node && node->kind == Text ? static_cast<TextNodePrivate*>(node) : nullptr;
    }

    // A removed node's editor went with its item.
    bool isEditing() const { return editor != nullptr && isAlive(); }
    void startEditing();
    // Takes the editor away; with commit, the node takes its text and tells listeners.
    void endEditing(bool commit);

    bool editable = false;
    // Made on first request, as a node's release emitter is.
    std::unique_ptr<NIMB::Emitter<std::string>> editCommitEmitter;
    // A child item of the text's item, so Qt deletes it with the text; null when not editing.
    QGraphicsProxyWidget* editor = nullptr;
    QLineEdit* lineEdit = nullptr; // owned by editor
};

} // namespace ZEPH
