#pragma once

#include "platform/nimb/Emitter.hpp"
#include "platform/zeph/Node.hpp"
#include "platform/zeph/zeph_export.hpp"

#include <string>

class QWidget;

namespace ZEPH {

// One or more lines of plain text, its top-left corner at the node's origin; the
// fill colours the glyphs (black to begin with).
//
// Editable in place: a line editor opens over the text, in the scene (so on every
// canvas that shows it), with all of the text selected. The canvas the user works
// in hands it the keys typed; Enter commits, Escape cancels, and a mouse press
// anywhere on the canvas commits. Committing shows the editor's text and, when it
// differs from the text before, sends it on the commit emitter (a listener that
// refuses it sets the text back). Hiding the text, or what holds it, commits too.
// A scene edits one text at a time: starting another commits the first. While a
// text is edited, the scene's tools get no keys.
class ZEPH_EXPORT TextNode : public Node {
public:
    TextNode() = default;
    // An invalid handle when node is not a text.
    explicit TextNode(const Node& node);

    static TextNode create(const std::string& text = {});

    void setText(const std::string& text);
    std::string getText() const;
    // Point size of the font; values that are not positive are ignored.
    void setFontSize(double pointSize);
    double getFontSize() const;

    // Whether a double-click on the text that no tool consumed starts editing it;
    // off to begin with. startEditing works either way.
    void setEditable(bool editable);
    bool isEditable() const;
    // Opens the editor; does nothing when the node is not in a scene, is hidden,
    // or is being edited already.
    void startEditing();
    bool isEditing() const;
    // What the editor holds now; empty when the text is not being edited.
    std::string getEditedText() const;
    void commitEditing();
    void cancelEditing();
    // The line editor while the text is edited, for the canvas to hand it the
    // keys typed; null otherwise.
    QWidget* getEditor() const;
    // Sent with the new text on a commit that changed it.
    NIMB::Emitter<std::string>& getEditCommitEmitter() const;

private:
    explicit TextNode(std::shared_ptr<NodePrivate> node) : Node(std::move(node)) {}
};

} // namespace ZEPH
