#include "examples/studio_demo/DiagramScene.hpp"

#include "examples/studio_demo/DemoModel.hpp"
#include "examples/studio_demo/DiagramMoveTool.hpp"
#include "examples/studio_demo/DiagramResizeBehavior.hpp"
#include "examples/studio_demo/DiagramSelectionTool.hpp"
#include "platform/veld/Exception.hpp"
#include "platform/zeph/MarqueeSelectionTool.hpp"
#include "platform/zeph/ToolConstructor.hpp"

#include <QGraphicsScene>
#include <QObject>

#include <algorithm>
#include <cmath>

namespace StudioDemo {

namespace {

using Point = TAVI::GLPoint<double>;
using Rect = TAVI::GLRect<double>;

// A light, quiet palette: blue-grey outlines, pale fills, dark text; the selection takes the
// canvas's handle blue so that outline and handles read as one.
const TAVI::Color kBlockFill(0.91, 0.95, 1.0);
const TAVI::Color kContainerFill(0.975, 0.985, 1.0);
const TAVI::Color kSelectedFill(0.82, 0.90, 1.0);
const TAVI::Color kBlockStroke(0.33, 0.45, 0.62);
const TAVI::Color kSelectedStroke(0.0, 0.47, 0.84);
const TAVI::Color kLabelColor(0.10, 0.14, 0.20);
const TAVI::Color kLineColor(0.36, 0.41, 0.49);
constexpr double kBlockStrokeWidth = 1.5;
constexpr double kSelectedStrokeWidth = 3.0;
constexpr double kLineWidth = 1.5;
constexpr double kLabelSize = 10.0;
constexpr double kLabelPadding = 6.0;
constexpr double kArrowLength = 10.0;
constexpr double kArrowHalfAngle = 0.42;  // radians
constexpr double kMargin = 30.0;

// Where the ray from the rectangle's centre towards target leaves the rectangle; the
// centre itself when target is inside.
Point borderPoint(const Rect& rect, const Point& target)
{
    const Point c = rect.center();
    const Point d = target - c;
    if (d.x == 0 && d.y == 0)
        return c;
    const double tx = d.x != 0 ? (rect.width / 2) / std::fabs(d.x) : INFINITY;
    const double ty = d.y != 0 ? (rect.height / 2) / std::fabs(d.y) : INFINITY;
    const double t = std::min({tx, ty, 1.0});
    return c + d * t;
}

Rect sceneRectOf(const ZEPH::RectNode& node)
{
    return node.mapLocalToScene(node.getRect());
}

// Elides text with "..." until the label fits width; the bounds of a block include its
// label, so a label wider than its block would make the block's handles stand off it.
void fitText(ZEPH::TextNode& label, const std::string& text, double width)
{
    label.setText(text);
    if (label.getBounds().width <= width)
        return;
    for (std::size_t keep = text.size(); keep > 0; --keep) {
        // Not inside a UTF-8 sequence.
        if ((static_cast<unsigned char>(text[keep]) & 0xC0) == 0x80)
            continue;
        label.setText(text.substr(0, keep) + "...");
        if (label.getBounds().width <= width)
            return;
    }
    label.setText("");
}

} // namespace

DiagramScene::DiagramScene(const VELD::Model& model, const KITE::Diagram& diagram)
    : model(model), diagram(diagram), scene(ZEPH::Scene::createScene()), listener(this)
{
    addBlocks(diagram, ZEPH::Node());
    addConnections(diagram);
    for (const Connection& connection : connections)
        route(connection);
    setUpTools();
    // Every way of selecting (click, marquee, code) goes through the Qt scene's selection.
    selectionConnection = QObject::connect(scene->qtScene(), &QGraphicsScene::selectionChanged, [this] {
        for (const Block& block : blocks)
            showSelected(block.rect, block.rect.isSelected());
        if (!selectingBlocks && onSelection)
            onSelection(getSelectedBlocks());
    });
    this->model.registerObservingListener(&listener);
}

DiagramScene::~DiagramScene()
{
    model.unregisterObservingListener(&listener);
    QObject::disconnect(selectionConnection);
    // The tools point back here; the scene may outlive this object in a canvas.
    scene->clearToolStack();
}

void DiagramScene::addBlocks(const KITE::ImmutableGraphElement& container, const ZEPH::Node& parent)
{
    for (const KITE::DiagramElement& element : container.getContained()) {
        const KITE::GraphNode node(element);
        if (!node.isValid())
            continue;
        Block block;
        block.element = node;
        const Point size = node.getSize();
        block.rect = ZEPH::RectNode::create({0, 0, size.x, size.y});
        block.rect.setPosition(node.getPosition());
        block.rect.setSelectable(true);
        block.rect.setMovable(true);
        block.rect.setStroke(kBlockStroke, kBlockStrokeWidth);
        block.rect.addTag("block");
        if (parent.isValid())
            block.rect.setParent(parent);
        else
            scene->addNode(block.rect);
        block.label = ZEPH::TextNode::create();
        block.label.setFontSize(kLabelSize);
        block.label.setFill(kLabelColor);
        block.label.setSelectable(false);
        block.label.setMovable(false);
        block.label.addTag("label");
        block.label.setParent(block.rect);
        for (const KITE::DiagramElement& inner : node.getContained())
            if (KITE::GraphNode(inner).isValid())
                block.container = true;
        block.rect.setFill(block.container ? kContainerFill : kBlockFill);
        const std::size_t index = blocks.size();
        blockIndex.emplace(node, index);
        nodeIndex.emplace(block.rect, index);
        blocks.push_back(block);
        layOutLabel(blocks.back());
        addBlocks(node, blocks[index].rect);
    }
}

void DiagramScene::addConnections(const KITE::ImmutableGraphElement& container)
{
    for (const KITE::DiagramElement& element : container.getContained()) {
        if (const KITE::GraphEdge edge(element); edge.isValid()) {
            const auto from = blockIndex.find(edge.getSrcElement());
            const auto to = blockIndex.find(edge.getDstElement());
            // An edge without both ends on blocks of this diagram has nowhere to go.
            if (from == blockIndex.end() || to == blockIndex.end())
                continue;
            Connection connection;
            connection.element = edge;
            connection.from = from->second;
            connection.to = to->second;
            connection.line = ZEPH::LineNode::create();
            connection.line.addTag("connection");
            connection.headLeft = ZEPH::LineNode::create();
            connection.headRight = ZEPH::LineNode::create();
            for (ZEPH::LineNode* line : {&connection.line, &connection.headLeft, &connection.headRight}) {
                line->setStroke(kLineColor, kLineWidth);
                line->setSelectable(false);
                line->setMovable(false);
            }
            // Above the blocks, so that a line into a nested block stays visible over its container.
            connection.line.setZValue(1);
            scene->addNode(connection.line);
            connection.headLeft.setParent(connection.line);
            connection.headRight.setParent(connection.line);
            const std::size_t index = connections.size();
            connectionIndex.emplace(edge, index);
            blocks[connection.from].connections.push_back(index);
            if (connection.to != connection.from)
                blocks[connection.to].connections.push_back(index);
            connections.push_back(connection);
        } else if (const KITE::GraphNode node(element); node.isValid()) {
            addConnections(node);
        }
    }
}

void DiagramScene::setUpTools()
{
    scene->addTool(TAVI::Holder<ZEPH::Tool>(new DiagramSelectionTool(this)), "Selection");
    scene->addToolConstructor(TAVI::Holder<ZEPH::AbstractToolConstructor>(
        new ZEPH::ToolConstructor<DiagramMoveTool, DiagramScene*>("Move", this)));
    scene->addToolConstructor(TAVI::Holder<ZEPH::AbstractToolConstructor>(
        new ZEPH::ToolConstructor<DiagramResizeBehavior, DiagramScene*>("Resize", this)));
    scene->addToolConstructor(TAVI::Holder<ZEPH::AbstractToolConstructor>(
        new ZEPH::ToolConstructor<ZEPH::MarqueeSelectionTool>("MarqueeSelection")));
}

void DiagramScene::layOutLabel(const Block& block)
{
    ZEPH::TextNode label = block.label;
    const Rect r = block.rect.getRect();
    fitText(label, DemoModel::nameOf(block.element), std::max(0.0, r.width - 2 * kLabelPadding));
    const Rect text = label.getBounds();
    // A container names itself above what it holds; a plain block in its middle.
    const double x = r.x + (r.width - text.width) / 2;
    const double y = block.container ? r.y + kLabelPadding / 2 : r.y + (r.height - text.height) / 2;
    label.setPosition({x, std::max(r.y, y)});
    label.setVisible(text.height <= r.height);
}

void DiagramScene::route(const Connection& connection)
{
    const Rect from = sceneRectOf(blocks[connection.from].rect);
    const Rect to = sceneRectOf(blocks[connection.to].rect);
    const Point start = borderPoint(from, to.center());
    const Point end = borderPoint(to, from.center());
    ZEPH::LineNode line = connection.line;
    line.setLine(start, end);
    // The arrow head at the destination, its two strokes folded back along the line.
    const double angle = std::atan2(start.y - end.y, start.x - end.x);
    const Point left{end.x + kArrowLength * std::cos(angle + kArrowHalfAngle),
                     end.y + kArrowLength * std::sin(angle + kArrowHalfAngle)};
    const Point right{end.x + kArrowLength * std::cos(angle - kArrowHalfAngle),
                      end.y + kArrowLength * std::sin(angle - kArrowHalfAngle)};
    ZEPH::LineNode(connection.headLeft).setLine(end, left);
    ZEPH::LineNode(connection.headRight).setLine(end, right);
}

const DiagramScene::Block* DiagramScene::blockOf(const ZEPH::Node& node) const
{
    const auto found = nodeIndex.find(node);
    return found == nodeIndex.end() ? nullptr : &blocks[found->second];
}

void DiagramScene::rerouteAround(const ZEPH::Node& node)
{
    if (const Block* block = blockOf(node))
        for (std::size_t index : block->connections)
            route(connections[index]);
    for (const ZEPH::Node& child : node.getChildrenWithTag("block"))
        rerouteAround(child);
}

ZEPH::RectNode DiagramScene::getNode(const VELD::ImmutableClassObject& block) const
{
    const auto found = blockIndex.find(block);
    return found == blockIndex.end() ? ZEPH::RectNode() : blocks[found->second].rect;
}

ZEPH::LineNode DiagramScene::getLine(const VELD::ImmutableClassObject& connection) const
{
    const auto found = connectionIndex.find(connection);
    return found == connectionIndex.end() ? ZEPH::LineNode() : connections[found->second].line;
}

ZEPH::TextNode DiagramScene::getLabel(const ZEPH::Node& blockNode) const
{
    const Block* block = blockOf(blockNode);
    return block ? block->label : ZEPH::TextNode();
}

KITE::GraphNode DiagramScene::getBlock(const ZEPH::Node& node) const
{
    const Block* block = blockOf(node);
    return block ? block->element : KITE::GraphNode();
}

TAVI::GLRect<double> DiagramScene::getDiagramRect() const
{
    bool any = false;
    double left = 0, top = 0, right = 0, bottom = 0;
    for (const Block& block : blocks) {
        const Rect r = block.rect.getSceneBounds();
        left = any ? std::min(left, r.left()) : r.left();
        top = any ? std::min(top, r.top()) : r.top();
        right = any ? std::max(right, r.right()) : r.right();
        bottom = any ? std::max(bottom, r.bottom()) : r.bottom();
        any = true;
    }
    if (!any)
        return {};
    return {left - kMargin, top - kMargin, right - left + 2 * kMargin, bottom - top + 2 * kMargin};
}

void DiagramScene::nodeGeometryChanged(const ZEPH::Node& node)
{
    if (const Block* block = blockOf(node))
        layOutLabel(*block);
    rerouteAround(node);
}

bool DiagramScene::commitGeometry(const std::vector<ZEPH::Node>& nodes, std::string_view what)
{
    struct Change {
        KITE::GraphNode element;
        Point position;
        Point size;
    };
    std::vector<Change> changes;
    for (const ZEPH::Node& node : nodes) {
        const Block* block = blockOf(node);
        if (!block)
            continue;
        const Rect r = block->rect.getRect();
        // The rectangle's origin is the block's corner: a resize puts its geometry at 0, 0.
        const Point position = block->rect.getPosition() + r.topLeft();
        const Point size{r.width, r.height};
        if (position == block->element.getPosition() && size == block->element.getSize())
            continue;
        changes.push_back({block->element, position, size});
    }
    if (changes.empty())
        return true;
    try {
        VELD::Transaction transaction(model, what);
        for (const Change& change : changes) {
            change.element.setPosition(change.position);
            change.element.setSize(change.size);
        }
        transaction.commit();
    } catch (const VELD::Exception&) {
        // The transaction rolled back; show the model as it is.
        for (const Change& change : changes) {
            ZEPH::RectNode rect = getNode(change.element);
            const Point size = change.element.getSize();
            rect.setRect({0, 0, size.x, size.y});
            rect.setPosition(change.element.getPosition());
            nodeGeometryChanged(rect);
        }
        return false;
    }
    return true;
}

void DiagramScene::showSelected(const ZEPH::Node& node, bool selected)
{
    const Block* block = blockOf(node);
    if (!block)
        return;
    ZEPH::Node rect = block->rect;
    rect.setStroke(selected ? kSelectedStroke : kBlockStroke, selected ? kSelectedStrokeWidth : kBlockStrokeWidth);
    rect.setFill(selected ? kSelectedFill : block->container ? kContainerFill : kBlockFill);
}

std::vector<KITE::GraphNode> DiagramScene::getSelectedBlocks() const
{
    std::vector<KITE::GraphNode> selected;
    for (const Block& block : blocks)
        if (block.rect.isSelected())
            selected.push_back(block.element);
    return selected;
}

void DiagramScene::selectBlocks(const std::vector<VELD::ImmutableClassObject>& objects)
{
    selectingBlocks = true;
    scene->clearSelection();
    for (const VELD::ImmutableClassObject& object : objects)
        if (ZEPH::RectNode rect = getNode(object); rect.isValid())
            rect.setSelected(true);
    selectingBlocks = false;
}

bool DiagramScene::undo()
{
    if (model.getUndoStackLength() == 0 || model.isInTransaction())
        return false;
    model.undoToChangeLevel(model.getUndoStackLength() - 1);
    return true;
}

bool DiagramScene::redo()
{
    if (model.getRedoStackLength() == 0 || model.isInTransaction())
        return false;
    model.redoToChangeLevel(model.getUndoStackLength() + 1);
    return true;
}

void DiagramScene::transactionCompleted(const VELD::ReportOfChanges<KITE::DiagramElement>& report)
{
    for (const KITE::DiagramElement& element : report.getModified()) {
        const auto found = blockIndex.find(element);
        if (found == blockIndex.end())
            continue;
        Block& block = blocks[found->second];
        const Point size = block.element.getSize();
        block.rect.setRect({0, 0, size.x, size.y});
        block.rect.setPosition(block.element.getPosition());
        nodeGeometryChanged(block.rect);
    }
}

} // namespace StudioDemo
