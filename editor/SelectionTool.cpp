#include "editor/SelectionTool.hpp"

#include "editor/Editor.hpp"
#include "editor/Glyph.hpp"
#include "editor/Graphics.hpp"

namespace KITE {

SelectionTool::SelectionTool(Editor& editor) : editor(editor) {}

SelectionTool::~SelectionTool() = default;

void SelectionTool::setNodeSelected(ZEPH::Node node, bool selected) const {
    // The canvas base's deselectAll visits the selected nodes one by one; clearing is silent,
    // so those nodes only lose their canvas selection and the editor empties its own after.
    if (clearingNodes) {
        ZEPH::SelectionTool::setNodeSelected(node, false);
        return;
    }
    Graphics* graphics = editor.getGraphics();
    Glyph* glyph = graphics ? graphics->getGlyph(node) : nullptr;
    // A glyph still drawn for an element that is gone (its model ended) has nothing to select.
    if (!glyph || !glyph->diagramElement().isValid())
        return;
    editor.setSelected(glyph->diagramElement(), selected);
}

void SelectionTool::deselectAll() const {
    clearingNodes = true;
    ZEPH::SelectionTool::deselectAll();
    clearingNodes = false;
    editor.clearSelection();
}

} // namespace KITE
