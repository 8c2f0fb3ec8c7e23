// Private to platform/zeph/: included only by its own sources and tests; not installed.
#pragma once

#include "platform/nimb/Emitter.hpp"
#include "platform/tavi/StringID.hpp"
#include "platform/tavi/TypedException.hpp"
#include "platform/zeph/MouseEvent.hpp"

#include <QGraphicsItem>

#include <cmath>
#include <initializer_list>
#include <memory>
#include <string>
#include <vector>

namespace ZEPH {

class NodePrivate;
class ScenePrivate;

// Ties a graphics item back to the node that owns it, so that hit tests on the
// scene's index find nodes without a lookup table.
struct NodeLink {
    NodePrivate* node = nullptr;
    virtual ~NodeLink() = default;
};

template <class Item> class LinkedItem : public Item, public NodeLink {
public:
    using Item::Item;
};

// An item that draws nothing: the scene's root and container nodes.
class EmptyItem : public QGraphicsItem {
public:
    EmptyItem() { setFlag(ItemHasNoContents); }
    QRectF boundingRect() const override { return {}; }
    void paint(QPainter*, const QStyleOptionGraphicsItem*, QWidget*) override {}
};

// The implementation behind Node handles. It owns its item and its child nodes;
// a scene owns its top-level nodes; handles share it. Once removed, the item is
// gone and every handle to it reports invalid.
class NodePrivate : public std::enable_shared_from_this<NodePrivate> {
public:
    enum Kind { Container, Rect, Ellipse, Line, Text, Image, Custom };

    NodePrivate(Kind kind, QGraphicsItem* item, NodeLink* link);
    virtual ~NodePrivate();
    NodePrivate(const NodePrivate&) = delete;
    NodePrivate& operator=(const NodePrivate&) = delete;

    bool isAlive() const { return item != nullptr; }
    // Deletes the item after the children's, and leaves every handle invalid.
    void destroy();
    // As destroy, but leaves the items to whoever deletes them all at once (the
    // scene going away): deleting items one by one from a scene costs far more.
    void abandonItems();
    void setSceneRecursive(ScenePrivate* newScene);
    // Takes this node out of its parent's or scene's keeping; the caller holds it.
    std::shared_ptr<NodePrivate> detach();
    bool isAncestorOf(const NodePrivate* other) const;
    // The item the children's items hang under: the node's own, or for a lifting container
    // in a scene or under another item, the one its own item hangs under (null: the scene's
    // top level).
    QGraphicsItem* childHost() const;
    // Hangs the children's items under childHost(), and theirs through lifting containers.
    void placeChildren();
    // The container is placed other than plainly now: its children's items go under its own.
    void stopLifting();

    static NodePrivate* fromItem(QGraphicsItem* item);

    const Kind kind;
    QGraphicsItem* item; // owned; null once removed
    NodePrivate* parent = nullptr;
    std::vector<std::shared_ptr<NodePrivate>> children; // in stacking order
    ScenePrivate* scene = nullptr;
    static constexpr std::size_t NotTopLevel = std::size_t(-1);
    std::size_t topLevelSlot = NotTopLevel; // the node's index in its scene's top level
    std::vector<TAVI::StringID> tags;
    bool movable = false;
    // A container lifts its children while it sits plainly where its item hangs (at the
    // origin, unscaled, visible, not raised): their items then hang where the container's own
    // does, which looks the same. Qt's scene index culls hit tests and painting only at the
    // top level and visits every child of an item it reaches, so the glyphs of a diagram
    // under its containers would otherwise be visited one by one at every click and paint.
    // Placing the container any other way ends it for good.
    bool lifting = false;
    bool layoutConstrained = false;
    // Made on first request: most nodes never have a listener, and large scenes
    // should not pay for an emitter each.
    std::unique_ptr<NIMB::Emitter<MouseEvent>> mouseReleaseEmitter;
};

// Qt keeps a NaN or an infinite coordinate without complaint and every bounds,
// hit test and guide computed from it afterwards is meaningless: refuse it here.
inline void requireFinite(const char* operation, std::initializer_list<double> values) {
    for (double value : values)
        if (!std::isfinite(value))
            throw TAVI::TypedException(TAVI_HERE,
                                       std::string(operation) + ": coordinates must be finite");
}

template <class Item> std::shared_ptr<NodePrivate> makeNodePrivate(NodePrivate::Kind kind) {
    auto* item = new LinkedItem<Item>();
    return std::make_shared<NodePrivate>(kind, item, item);
}

} // namespace ZEPH
