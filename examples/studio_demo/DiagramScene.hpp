#pragma once

#include "platform/datamodel/Diagram.hpp"
#include "platform/tavi/Geometry.hpp"
#include "platform/tavi/Holder.hpp"
#include "platform/veld/Report.hpp"
#include "platform/zeph/LineNode.hpp"
#include "platform/zeph/RectNode.hpp"
#include "platform/zeph/Scene.hpp"
#include "platform/zeph/TextNode.hpp"

#include <QMetaObject>

#include <functional>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace StudioDemo {

// A diagram drawn on a canvas scene: each block a rectangle with its name, nested blocks as
// children of their container's rectangle, each connection a line with an arrow head between
// the borders of its end blocks, in scene coordinates. The scene's tools are the canvas's
// base tools, set up so that moves and resizes end up in the model as one transaction each.
// The scene follows the model: any change of a block's position or size (an undo, say)
// moves its rectangle and re-routes its lines.
class DiagramScene {
public:
    DiagramScene(const VELD::Model& model, const KITE::Diagram& diagram);
    ~DiagramScene();
    DiagramScene(const DiagramScene&) = delete;
    DiagramScene& operator=(const DiagramScene&) = delete;

    const TAVI::Holder<ZEPH::Scene>& getScene() const { return scene; }
    const VELD::Model& getModel() const { return model; }
    const KITE::Diagram& getDiagram() const { return diagram; }

    // The rectangle of a block, the line of a connection; invalid for other objects.
    ZEPH::RectNode getNode(const VELD::ImmutableClassObject& block) const;
    ZEPH::LineNode getLine(const VELD::ImmutableClassObject& connection) const;
    ZEPH::TextNode getLabel(const ZEPH::Node& blockNode) const;
    // The block a rectangle shows; invalid for other nodes.
    KITE::GraphNode getBlock(const ZEPH::Node& node) const;
    std::size_t getBlockCount() const { return blocks.size(); }
    std::size_t getConnectionCount() const { return connections.size(); }

    // What the diagram covers on the scene, with a margin around it.
    TAVI::GLRect<double> getDiagramRect() const;

    // Lays a block out again for its rectangle's size (its label) and re-routes the lines
    // of the block and of every block inside it: the canvas calls it as the user drags.
    void nodeGeometryChanged(const ZEPH::Node& node);
    // Writes the positions (relative to their containers) and sizes of the blocks these
    // rectangles show into the model, in one transaction named what. Nothing happens (no
    // transaction, no undo level) when none of them changed. False when the model refused.
    bool commitGeometry(const std::vector<ZEPH::Node>& nodes, std::string_view what);
    // Shows a block's rectangle as selected (a strong outline) or not.
    void showSelected(const ZEPH::Node& node, bool selected);
    // The blocks whose rectangles are selected, in diagram order.
    std::vector<KITE::GraphNode> getSelectedBlocks() const;
    // Selects the rectangles of these blocks and no others; other objects are ignored. The
    // selection handler is not called.
    void selectBlocks(const std::vector<VELD::ImmutableClassObject>& objects);
    using SelectionHandler = std::function<void(const std::vector<KITE::GraphNode>&)>;
    // Called with the selected blocks whenever the canvas's selection changes otherwise.
    void setSelectionHandler(SelectionHandler handler) { onSelection = std::move(handler); }

    // One step back or forth in the model's history; false when there is none.
    bool undo();
    bool redo();

    // The model's report of a completed transaction (or undo or redo).
    void transactionCompleted(const VELD::ReportOfChanges<KITE::DiagramElement>& report);

private:
    struct Block {
        KITE::GraphNode element;
        ZEPH::RectNode rect;
        ZEPH::TextNode label;
        bool container = false;
        std::vector<std::size_t> connections;  // indices into connections
    };
    struct Connection {
        KITE::GraphEdge element;
        ZEPH::LineNode line;
        ZEPH::LineNode headLeft;
        ZEPH::LineNode headRight;
        std::size_t from = 0;  // indices into blocks
        std::size_t to = 0;
    };

    void addBlocks(const KITE::ImmutableGraphElement& container, const ZEPH::Node& parent);
    void addConnections(const KITE::ImmutableGraphElement& container);
    void setUpTools();
    void layOutLabel(const Block& block);
    void route(const Connection& connection);
    void rerouteAround(const ZEPH::Node& node);
    const Block* blockOf(const ZEPH::Node& node) const;

    VELD::Model model;
    KITE::Diagram diagram;
    TAVI::Holder<ZEPH::Scene> scene;
    std::vector<Block> blocks;
    std::vector<Connection> connections;
    std::unordered_map<VELD::ImmutableClassObject, std::size_t> blockIndex;
    std::unordered_map<VELD::ImmutableClassObject, std::size_t> connectionIndex;
    std::unordered_map<ZEPH::Node, std::size_t> nodeIndex;
    QMetaObject::Connection selectionConnection;
    SelectionHandler onSelection;
    bool selectingBlocks = false;
    VELD::internal::ListenerHolder<VELD::ImmutableModel, DiagramScene, KITE::DiagramElement> listener;
};

} // namespace StudioDemo
