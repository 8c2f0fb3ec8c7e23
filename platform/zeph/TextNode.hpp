#pragma once

#include "platform/zeph/Node.hpp"

#include <string>

namespace ZEPH {

// One or more lines of plain text, its top-left corner at the node's origin; the
// fill colours the glyphs (black to begin with).
class TextNode : public Node {
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

private:
    explicit TextNode(std::shared_ptr<NodePrivate> node) : Node(std::move(node)) {}
};

} // namespace ZEPH
