#include "platform/zeph/Node.hpp"

#include "platform/tavi/TypedException.hpp"
#include "platform/zeph/NodeStyle_p.hpp"
#include "platform/zeph/Node_p.hpp"
#include "platform/zeph/Scene.hpp"
#include "platform/zeph/Scene_p.hpp"
#include "platform/zu/zuAssert.hpp"

#include <QAbstractGraphicsShapeItem>
#include <QGraphicsEllipseItem>
#include <QGraphicsLineItem>
#include <QGraphicsRectItem>
#include <QGraphicsScene>
#include <QGraphicsSimpleTextItem>

#include <algorithm>
#include <iterator>

namespace ZEPH {

namespace {

TAVI::GLPoint<double> toPoint(const QPointF& p) {
    return {p.x(), p.y()};
}

TAVI::GLRect<double> toRect(const QRectF& r) {
    return {r.x(), r.y(), r.width(), r.height()};
}

QRectF toQRect(const TAVI::GLRect<double>& r) {
    return {r.x, r.y, r.width, r.height};
}

// The node's own geometry, pens left out, in its coordinates.
QRectF ownGeometry(const NodePrivate& node) {
    switch (node.kind) {
    case NodePrivate::Rect:
        return static_cast<QGraphicsRectItem*>(node.item)->rect();
    case NodePrivate::Ellipse:
        return static_cast<QGraphicsEllipseItem*>(node.item)->rect();
    case NodePrivate::Line: {
        const QLineF line = static_cast<QGraphicsLineItem*>(node.item)->line();
        return QRectF(line.p1(), line.p2()).normalized();
    }
    case NodePrivate::Text:
        return static_cast<QGraphicsSimpleTextItem*>(node.item)->boundingRect();
    case NodePrivate::Image:
    case NodePrivate::Custom:
        return node.item->boundingRect();
    case NodePrivate::Container:
        break;
    }
    return {};
}

// Unlike QRectF::united, keeps the extent of a zero-height line or a zero-size point.
QRectF unite(const QRectF& a, const QRectF& b, bool aSet) {
    if (!aSet)
        return b;
    const double left = std::min(a.left(), b.left());
    const double top = std::min(a.top(), b.top());
    const double right = std::max(a.right(), b.right());
    const double bottom = std::max(a.bottom(), b.bottom());
    return {left, top, right - left, bottom - top};
}

QRectF localBounds(const NodePrivate& node) {
    QRectF bounds = ownGeometry(node);
    bool set = node.kind != NodePrivate::Container;
    for (const auto& child : node.children) {
        // Its size on the scene depends on the zoom, so it has no extent in these coordinates;
        // counting it at scale 1 would make the parent grow as the view zooms in.
        if (child->item->flags() & QGraphicsItem::ItemIgnoresTransformations)
            continue;
        const QRectF childBounds = child->item->mapRectToParent(localBounds(*child));
        bounds = unite(bounds, childBounds, set);
        set = true;
    }
    return bounds;
}

} // namespace

// NodePrivate

NodePrivate::NodePrivate(Kind kind, QGraphicsItem* item, NodeLink* link)
    : kind(kind), item(item), lifting(kind == Container) {
    link->node = this;
}

NodePrivate::~NodePrivate() {
    destroy();
}

void NodePrivate::destroy() {
    if (!item)
        return;
    // Out of the scene before anything is deleted: an item deleted while in a scene makes Qt
    // purge and rebuild its whole index at the next change, which on a large scene costs the
    // size of the scene.
    if (QGraphicsScene* qtScene = item->scene())
        qtScene->removeItem(item);
    // Children next, so that Qt does not delete their items behind their backs.
    const std::vector<std::shared_ptr<NodePrivate>> ownChildren = std::move(children);
    children.clear();
    for (const auto& child : ownChildren) {
        child->parent = nullptr;
        child->destroy();
    }
    delete item;
    item = nullptr;
    scene = nullptr;
}

void NodePrivate::abandonItems() {
    const std::vector<std::shared_ptr<NodePrivate>> ownChildren = std::move(children);
    children.clear();
    for (const auto& child : ownChildren) {
        child->parent = nullptr;
        child->abandonItems();
    }
    item = nullptr;
    scene = nullptr;
}

void NodePrivate::setSceneRecursive(ScenePrivate* newScene) {
    scene = newScene;
    for (const auto& child : children)
        child->setSceneRecursive(newScene);
}

std::shared_ptr<NodePrivate> NodePrivate::detach() {
    std::shared_ptr<NodePrivate> self = shared_from_this();
    if (parent) {
        // Searched from the end, where the nodes added last lie: a node made and removed again
        // (a preview, a rubber band) under a parent of many children costs no walk through them.
        auto& siblings = parent->children;
        const auto found = std::find(siblings.rbegin(), siblings.rend(), self);
        if (found != siblings.rend())
            siblings.erase(std::next(found).base());
        parent = nullptr;
    } else if (scene) {
        scene->releaseTopLevel(this);
    }
    return self;
}

QGraphicsItem* NodePrivate::childHost() const {
    if (lifting && (item->parentItem() || item->scene()))
        return item->parentItem();
    return item;
}

void NodePrivate::placeChildren() {
    QGraphicsItem* host = childHost();
    QGraphicsScene* qtScene = item->scene();
    for (const auto& child : children) {
        QGraphicsItem* childItem = child->item;
        if (childItem->parentItem() != host)
            childItem->setParentItem(host);
        if (!host && childItem->scene() != qtScene)
            qtScene->addItem(childItem);
        if (child->lifting && !child->children.empty())
            child->placeChildren();
    }
}

void NodePrivate::stopLifting() {
    if (!lifting)
        return;
    lifting = false;
    placeChildren();
}

bool NodePrivate::isAncestorOf(const NodePrivate* other) const {
    for (const NodePrivate* p = other ? other->parent : nullptr; p; p = p->parent)
        if (p == this)
            return true;
    return false;
}

NodePrivate* NodePrivate::fromItem(QGraphicsItem* item) {
    const NodeLink* link = dynamic_cast<const NodeLink*>(item);
    return link ? link->node : nullptr;
}

// Node

Node::Node(std::shared_ptr<NodePrivate> node) : d(std::move(node)) {}

bool Node::isValid() const {
    return d && d->isAlive();
}

NodePrivate* Node::checkedLive(const char* operation) const {
    const bool valid = isValid();
    zu_assertstr(valid, "ZEPH::Node: operation on an invalid node", operation);
    return valid ? d.get() : nullptr;
}

std::shared_ptr<NodePrivate> Node::privateOfKind(const Node& node, int kind) {
    return node.d && node.d->kind == kind ? node.d : nullptr;
}

Scene* Node::getScene() const {
    return isValid() && d->scene ? d->scene->q : nullptr;
}

void Node::setParent(const Node& parent) {
    NodePrivate* self = checkedLive("setParent");
    if (!self)
        return;
    if (!parent.isValid())
        throw TAVI::TypedException(TAVI_HERE, "Node::setParent: invalid parent node");
    NodePrivate* newParent = parent.d.get();
    if (newParent == self || self->isAncestorOf(newParent))
        throw TAVI::TypedException(TAVI_HERE,
                                   "Node::setParent: the parent is the node itself or inside it");
    if (self->scene && newParent->scene && self->scene != newParent->scene)
        throw TAVI::TypedException(TAVI_HERE, "Node::setParent: the parent is in another scene");
    if (self->parent == newParent)
        return;
    const std::shared_ptr<NodePrivate> keep = self->detach();
    QGraphicsItem* host = newParent->childHost();
    if (self->item->parentItem() != host)
        self->item->setParentItem(host);
    QGraphicsScene* qtScene = newParent->item->scene();
    if (!host && self->item->scene() != qtScene)
        qtScene->addItem(self->item);
    newParent->children.push_back(keep);
    self->parent = newParent;
    self->setSceneRecursive(newParent->scene);
    if (self->lifting && !self->children.empty())
        self->placeChildren();
    if (self->scene)
        self->scene->commitHiddenEdit();
}

Node Node::getParent() const {
    if (!isValid() || !d->parent)
        return {};
    return Node(d->parent->shared_from_this());
}

void Node::unparent() {
    NodePrivate* self = checkedLive("unparent");
    if (!self || !self->parent)
        return;
    const QPointF scenePosition = self->item->scenePos();
    ScenePrivate* scene = self->scene;
    const std::shared_ptr<NodePrivate> keep = self->detach();
    // An item taken from its parent stays in the parent's scene, as a top-level item.
    self->item->setParentItem(nullptr);
    self->item->setPos(scenePosition);
    if (scene)
        scene->adoptTopLevel(keep);
    if (self->lifting && !self->children.empty())
        self->placeChildren();
}

std::vector<Node> Node::getChildren() const {
    std::vector<Node> result;
    if (!isValid())
        return result;
    result.reserve(d->children.size());
    for (const auto& child : d->children)
        result.push_back(Node(child));
    return result;
}

std::vector<Node> Node::getChildrenWithTag(const TAVI::StringID& tag) const {
    std::vector<Node> result;
    if (!isValid())
        return result;
    for (const auto& child : d->children)
        if (std::find(child->tags.begin(), child->tags.end(), tag) != child->tags.end())
            result.push_back(Node(child));
    return result;
}

void Node::addTag(const TAVI::StringID& tag) {
    NodePrivate* self = checkedLive("addTag");
    if (self && std::find(self->tags.begin(), self->tags.end(), tag) == self->tags.end())
        self->tags.push_back(tag);
}

bool Node::hasTag(const TAVI::StringID& tag) const {
    return isValid() && std::find(d->tags.begin(), d->tags.end(), tag) != d->tags.end();
}

void Node::removeAllTags() {
    if (NodePrivate* self = checkedLive("removeAllTags"))
        self->tags.clear();
}

void Node::remove() {
    NodePrivate* self = checkedLive("remove");
    if (!self)
        return;
    const std::shared_ptr<NodePrivate> keep = self->detach();
    keep->destroy();
}

void Node::setPosition(const TAVI::GLPoint<double>& position) {
    requireFinite("Node::setPosition", {position.x, position.y});
    NodePrivate* self = checkedLive("setPosition");
    if (!self)
        return;
    if (position.x != 0.0 || position.y != 0.0)
        self->stopLifting();
    self->item->setPos(position.x, position.y);
}

TAVI::GLPoint<double> Node::getPosition() const {
    return isValid() ? toPoint(d->item->pos()) : TAVI::GLPoint<double>();
}

TAVI::GLPoint<double> Node::getScenePosition() const {
    return isValid() ? toPoint(d->item->scenePos()) : TAVI::GLPoint<double>();
}

TAVI::GLRect<double> Node::getBounds() const {
    return isValid() ? toRect(localBounds(*d)) : TAVI::GLRect<double>();
}

TAVI::GLRect<double> Node::getSceneBounds() const {
    return isValid() ? toRect(d->item->mapRectToScene(localBounds(*d))) : TAVI::GLRect<double>();
}

double Node::getHeight() const {
    return getBounds().height;
}

TAVI::GLPoint<double> Node::mapLocalToScene(const TAVI::GLPoint<double>& point) const {
    return isValid() ? toPoint(d->item->mapToScene(point.x, point.y)) : TAVI::GLPoint<double>();
}

TAVI::GLRect<double> Node::mapLocalToScene(const TAVI::GLRect<double>& rect) const {
    return isValid() ? toRect(d->item->mapRectToScene(toQRect(rect))) : TAVI::GLRect<double>();
}

TAVI::GLPoint<double> Node::mapSceneToLocal(const TAVI::GLPoint<double>& point) const {
    return isValid() ? toPoint(d->item->mapFromScene(point.x, point.y)) : TAVI::GLPoint<double>();
}

void Node::scale(double factor) {
    NodePrivate* self = checkedLive("scale");
    if (!self)
        return;
    // A zero or non-finite scale would make the node unmappable; so would a
    // product of fine factors that overflows or comes to nothing.
    if (!(factor > 0.0) || !std::isfinite(factor))
        throw TAVI::TypedException(TAVI_HERE, "Node::scale: factor must be positive and finite");
    const double scaled = self->item->scale() * factor;
    if (!std::isnormal(scaled))
        throw TAVI::TypedException(TAVI_HERE, "Node::scale: the scale would be out of range");
    if (scaled != 1.0)
        self->stopLifting();
    self->item->setScale(scaled);
}

double Node::getScale() const {
    return isValid() ? d->item->scale() : 1.0;
}

void Node::setZValue(double z) {
    NodePrivate* self = checkedLive("setZValue");
    if (!self)
        return;
    if (z != 0.0)
        self->stopLifting();
    self->item->setZValue(z);
}

void Node::setIgnoresTransformations(bool ignores) {
    NodePrivate* self = checkedLive("setIgnoresTransformations");
    if (!self)
        return;
    if (ignores)
        self->stopLifting();
    self->item->setFlag(QGraphicsItem::ItemIgnoresTransformations, ignores);
}

void Node::setVisible(bool visible) {
    NodePrivate* self = checkedLive("setVisible");
    if (!self)
        return;
    if (!visible)
        self->stopLifting();
    self->item->setVisible(visible);
    if (!visible && self->scene)
        self->scene->commitHiddenEdit();
}

bool Node::isVisible() const {
    return isValid() && d->item->isVisible();
}

void Node::setSelected(bool selected) {
    if (NodePrivate* self = checkedLive("setSelected"))
        self->item->setSelected(selected);
}

bool Node::isSelected() const {
    return isValid() && d->item->isSelected();
}

void Node::setSelectable(bool selectable) {
    if (NodePrivate* self = checkedLive("setSelectable"))
        self->item->setFlag(QGraphicsItem::ItemIsSelectable, selectable);
}

bool Node::isSelectable() const {
    return isValid() && (d->item->flags() & QGraphicsItem::ItemIsSelectable);
}

void Node::setMovable(bool movable) {
    // Kept off the item: Qt's own moving would bypass the tools.
    if (NodePrivate* self = checkedLive("setMovable"))
        self->movable = movable;
}

bool Node::isMovable() const {
    return isValid() && d->movable;
}

NIMB::Emitter<MouseEvent>& Node::getMouseReleaseEmitter() const {
    NodePrivate* self = checkedLive("getMouseReleaseEmitter");
    if (!self) {
        // Nothing sends on it: no release is ever delivered to an invalid node.
        static NIMB::Emitter<MouseEvent> detached;
        return detached;
    }
    if (!self->mouseReleaseEmitter)
        self->mouseReleaseEmitter = std::make_unique<NIMB::Emitter<MouseEvent>>();
    return *self->mouseReleaseEmitter;
}

void Node::setLayoutConstraintFlag(bool constrained) {
    if (NodePrivate* self = checkedLive("setLayoutConstraintFlag"))
        self->layoutConstrained = constrained;
}

bool Node::getLayoutConstraintFlag() const {
    return isValid() && d->layoutConstrained;
}

void Node::setFill(const TAVI::Color& color) {
    NodePrivate* self = checkedLive("setFill");
    if (!self)
        return;
    if (auto* shape = dynamic_cast<QAbstractGraphicsShapeItem*>(self->item))
        shape->setBrush(fillBrush(color));
}

void Node::setStroke(const TAVI::Color& color, double width) {
    NodePrivate* self = checkedLive("setStroke");
    if (!self)
        return;
    if (auto* shape = dynamic_cast<QAbstractGraphicsShapeItem*>(self->item))
        shape->setPen(strokePen(color, width));
    else if (auto* line = dynamic_cast<QGraphicsLineItem*>(self->item))
        line->setPen(strokePen(color, width));
}

} // namespace ZEPH
