#include "examples/blocks/BlockCreationTool.hpp"

#include "editor/Editor.hpp"
#include "examples/blocks/BlockGlyph.hpp"

namespace Blocks {

namespace {

int countBlocks(const KITE::ImmutableGraphElement& container) {
    int count = 0;
    for (const KITE::DiagramElement& element : container.getContained()) {
        if (const KITE::ImmutableGraphNode node(element);
            node.isValid() && !KITE::ImmutableTerminalNode(element).isValid()) {
            count += 1 + countBlocks(node);
        }
    }
    return count;
}

// The short name of a qualified class name ("blocks.Sink" gives "Sink").
std::string shortName(const std::string& className) {
    const std::size_t dot = className.rfind('.');
    return dot == std::string::npos ? className : className.substr(dot + 1);
}

} // namespace

BlockCreationTool::BlockCreationTool(KITE::Editor& editor, std::string className)
    : NodeCreationTool(editor), className(std::move(className)) {}

TAVI::GLRect<double> BlockCreationTool::defaultSize() const {
    return {0, 0, defaultWidth, defaultHeight};
}

TAVI::GLRect<double> BlockCreationTool::minimumRect() const {
    return {0, 0, BlockGlyph::minimumWidth, BlockGlyph::minimumHeight};
}

void BlockCreationTool::initialUpdate(KITE::GraphElement element, const TAVI::GLPoint<double>& from,
                                      const TAVI::GLPoint<double>& to, VELD::Model model) {
    // The block goes into what was under the press, whatever the pointer passes over later
    // (the preview itself, among others).
    pressedOn = element;
    place(pressedOn, from, to, model);
}

void BlockCreationTool::intermediateUpdate(KITE::GraphElement, const TAVI::GLPoint<double>& from,
                                           const TAVI::GLPoint<double>& to, VELD::Model model) {
    place(pressedOn, from, to, model);
}

void BlockCreationTool::finalUpdate(KITE::GraphElement, const TAVI::GLPoint<double>& from,
                                    const TAVI::GLPoint<double>& to, VELD::Model model) {
    place(pressedOn, from, to, model);
}

void BlockCreationTool::place(const KITE::GraphElement& under, const TAVI::GLPoint<double>& from,
                              const TAVI::GLPoint<double>& to, const VELD::Model& model) const {
    const KITE::Diagram diagram = getEditor().getDiagram().asDeviant(model);
    // Inside the block under the press; on the diagram over empty canvas or an edge.
    const KITE::GraphNode host(under.asDeviant(model));
    const KITE::GraphElement container =
        host.isValid() ? KITE::GraphElement(host) : KITE::GraphElement(diagram);
    const TAVI::GLRect<double> rect = creationRect(from, to);
    const KITE::GraphNode block(model.getFactory().createFromString(className));
    if (!block.isValid())
        return;
    const int number = countBlocks(diagram) + 1;
    container.addContained(block);
    const TAVI::GLPoint<double> origin =
        host.isValid() ? host.getAbsPosition() : TAVI::GLPoint<double>{0, 0};
    block.setPosition({rect.x - origin.x, rect.y - origin.y});
    block.setSize({rect.width, rect.height});
    const VELD::ClassObject object(block);
    object.setString(object.getMetaClass().getProperty("name"),
                     shortName(className) + " " + std::to_string(number));
}

} // namespace Blocks
