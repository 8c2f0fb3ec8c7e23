#include "examples/blocks/BlockGlyph.hpp"

#include "editor/VisualIndicatorContainer.hpp"
#include "examples/blocks/BlocksDomain.hpp"
#include "platform/veld/DomainRegistry.hpp"
#include "platform/veld/Object.hpp"
#include "platform/zeph/EllipseNode.hpp"
#include "platform/zeph/Scene.hpp"

#include <algorithm>
#include <cmath>

namespace Blocks {

namespace {

using Point = TAVI::GLPoint<double>;
using Rect = TAVI::GLRect<double>;

// Blue-grey outlines, pale fills and dark text; the selection takes the canvas's handle blue,
// so that outline and handles read as one.
const TAVI::Color kBlockFill(0.91, 0.95, 1.0);
const TAVI::Color kSinkFill(1.0, 0.93, 0.84);
const TAVI::Color kCountFill(0.33, 0.45, 0.62);
const TAVI::Color kCountText(1.0, 1.0, 1.0);
const TAVI::Color kContainerFill(1.0, 1.0, 1.0);
const TAVI::Color kSelectedFill(0.82, 0.90, 1.0);
const TAVI::Color kStroke(0.33, 0.45, 0.62);
const TAVI::Color kSelectedStroke(0.0, 0.47, 0.84);
const TAVI::Color kLabelColor(0.10, 0.14, 0.20);
constexpr double kStrokeWidth = 1.5;
constexpr double kSelectedStrokeWidth = 3.0;
constexpr double kLabelSize = 10.0;
constexpr double kLabelPadding = 6.0;

// A size the canvas can draw: a broken model (a negative or non-finite size) shows an empty
// rectangle rather than handing Qt geometry it cannot use.
double drawable(double length) {
    return std::isfinite(length) && length > 0 ? length : 0.0;
}

bool holdsBlocks(const KITE::GraphNode& node) {
    for (const KITE::DiagramElement& inner : node.getContained())
        if (KITE::GraphNode(inner).isValid())
            return true;
    return false;
}

// Shortens text with "..." until the label is at most width wide; empty when nothing fits.
void fitText(ZEPH::TextNode& label, const std::string& text, double width) {
    label.setText(text);
    if (label.getBounds().width <= width)
        return;
    for (std::size_t keep = text.size(); keep > 0; --keep) {
        // Never inside a UTF-8 sequence.
        if ((static_cast<unsigned char>(text[keep]) & 0xC0) == 0x80)
            continue;
        label.setText(text.substr(0, keep) + "...");
        if (label.getBounds().width <= width)
            return;
    }
    label.setText("");
}

bool isSink(const KITE::ImmutableGraphNode& node) {
    static const VELD::ImmutableClass sink =
        VELD::DomainRegistry::instance().findClass(BlocksDomain::sinkClassName);
    return sink.isValid() && node.getMetaClass() == sink;
}

// A filled circle with a number in it.
ZEPH::Node countBadge(int count) {
    ZEPH::EllipseNode circle = ZEPH::EllipseNode::create({0, 0, 16, 16});
    circle.setFill(kCountFill);
    circle.setStroke(TAVI::Color());
    ZEPH::TextNode text = ZEPH::TextNode::create(count > 99 ? "99+" : std::to_string(count));
    text.setFontSize(count > 9 ? 6.0 : 8.0);
    text.setFill(kCountText);
    text.setSelectable(false);
    text.setParent(circle);
    const Rect bounds = text.getBounds();
    text.setPosition({(16 - bounds.width) / 2, (16 - bounds.height) / 2});
    return circle;
}

} // namespace

BlockGlyph::BlockGlyph(const KITE::DiagramElement& element) : Glyph(element) {}

void BlockGlyph::create() {
    box = ZEPH::RectNode::create();
    box.setSelectable(true);
    box.setMovable(true);
    box.setStroke(kStroke, kStrokeWidth);
    box.setFill(kBlockFill);
    box.addTag("block");
    label = ZEPH::TextNode::create();
    label.setFontSize(kLabelSize);
    label.setFill(kLabelColor);
    label.setSelectable(false);
    label.setMovable(false);
    label.addTag("label");
    getScene()->addNode(box);
    label.setParent(box);
    createVisualIndicatorContainer();
}

ZEPH::Node BlockGlyph::getRoot() const {
    return box;
}

void BlockGlyph::update() {
    const KITE::GraphNode node(diagramElement());
    if (!node.isValid() || !box.isValid())
        return;
    const Point size = node.getSize();
    box.setRect({0, 0, drawable(size.x), drawable(size.y)});
    box.setPosition(node.getPosition());
    const bool container = holdsBlocks(node);
    // The node's state, not the editor's: the editor tells the glyph before it records the change.
    const bool selected = box.isSelected();
    box.setStroke(selected ? kSelectedStroke : kStroke,
                  selected ? kSelectedStrokeWidth : kStrokeWidth);
    box.setFill(selected       ? kSelectedFill
                : isSink(node) ? kSinkFill
                : container    ? kContainerFill
                               : kBlockFill);
    layOutLabel(nameOf(node), container);
    showBadges(node, container);
}

std::string BlockGlyph::iconPath(const std::string& file) {
    return std::string(KITE_EXAMPLE_BLOCKS_ICONS) + "/" + file;
}

void BlockGlyph::showBadges(const KITE::GraphNode& node, bool container) {
    KITE::VisualIndicatorContainer* badges = getVisualIndicatorsContainer();
    if (!badges)
        return;
    int in = 0;
    int out = 0;
    for (const KITE::GraphEdge& edge : node.getEdges()) {
        if (edge.getDstElement() == node)
            ++in;
        if (edge.getSrcElement() == node)
            ++out;
    }
    const int count = node.getEdges().size();
    const bool sink = isSink(node);
    const std::string state = std::to_string(count) + (in ? "i" : "") + (out ? "o" : "") +
                              (container ? "n" : "") + (sink ? "s" : "");
    // The strip follows the block's size either way; its badges change only with what they say.
    if (state == shownBadges) {
        badges->relayout();
        return;
    }
    shownBadges = state;
    for (const char* tag : {"connections", "in", "out", "nested", "sink"})
        badges->remove(TAVI::StringID(tag));
    badges->add(TAVI::StringID("connections"), countBadge(count));
    auto image = [&](const char* tag, const char* file) {
        std::string path = iconPath(file);
        badges->add(TAVI::StringID(tag), path);
    };
    if (in)
        image("in", "in.png");
    if (out)
        image("out", "out.png");
    if (container)
        image("nested", "nested.png");
    if (sink)
        image("sink", "sinkBadge.png");
    badges->relayout();
}

TAVI::GLPoint<double> BlockGlyph::minSize() const {
    return {minimumWidth, minimumHeight};
}

void BlockGlyph::layOutLabel(const std::string& name, bool container) {
    const Rect r = box.getRect();
    fitText(label, name, std::max(0.0, r.width - 2 * kLabelPadding));
    Rect text = label.getBounds();
    if (text.height > r.height) {
        label.setText("");
        text = label.getBounds();
    }
    // A container names itself above what it holds; a plain block in its middle.
    const double x = (r.width - text.width) / 2;
    const double y = container ? std::min(kLabelPadding / 2, r.height - text.height)
                               : (r.height - text.height) / 2;
    label.setPosition({std::max(0.0, x), std::max(0.0, y)});
}

std::string BlockGlyph::nameOf(const VELD::ImmutableClassObject& object) {
    if (!object.isValid())
        return {};
    const VELD::ImmutableProperty name = object.getMetaClass().getProperty("name");
    if (!name.isValid() || !object.isSet(name))
        return {};
    return object.getOne(name).toString();
}

} // namespace Blocks
