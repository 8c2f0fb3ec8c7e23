#include "platform/zeph/Scene.hpp"

#include "platform/tavi/TypedException.hpp"
#include "platform/zeph/KeyEvent.hpp"
#include "platform/zeph/Node_p.hpp"
#include "platform/zeph/Scene_p.hpp"
#include "platform/zeph/TextNode.hpp"
#include "platform/zeph/TextNode_p.hpp"

#include <QPainterPath>

namespace ZEPH {

ScenePrivate::ScenePrivate(Scene* owner) : q(owner), tools(owner) {}

ScenePrivate::~ScenePrivate() {
    // Tools first: they may hold nodes and act on being taken off.
    tools.clearOnDestruction();
    // Each node is let go right after its items are abandoned, while it is
    // still in the cache; handles held elsewhere keep theirs, invalid.
    std::vector<std::shared_ptr<NodePrivate>> nodes = std::move(topLevel);
    topLevel.clear();
    for (auto& node : nodes) {
        node->abandonItems();
        node.reset();
    }
    qtScene.clear();
}

void ScenePrivate::adoptTopLevel(const std::shared_ptr<NodePrivate>& node) {
    node->topLevelSlot = topLevel.size();
    topLevel.push_back(node);
    node->setSceneRecursive(this);
}

void ScenePrivate::releaseTopLevel(NodePrivate* node) {
    const std::size_t slot = node->topLevelSlot;
    if (slot >= topLevel.size() || topLevel[slot].get() != node)
        return;
    if (slot + 1 != topLevel.size()) {
        topLevel[slot] = std::move(topLevel.back());
        topLevel[slot]->topLevelSlot = slot;
    }
    topLevel.pop_back();
    node->topLevelSlot = NodePrivate::NotTopLevel;
}

void ScenePrivate::sendMouseRelease(const MouseEvent& event) {
    // After the tools, so that a tool's own nodes (a marquee's band) are gone and
    // handlers see the selection the release made. Handles keep the nodes alive
    // while handlers run: one may remove them.
    std::vector<Node> receivers;
    for (Node node = q->getNodeAt(event.scenePos()); node.isValid(); node = node.getParent())
        if (node.d->mouseReleaseEmitter && node.d->mouseReleaseEmitter->numberOfConnections() > 0)
            receivers.push_back(node);
    for (const Node& node : receivers)
        if (node.isValid())
            node.d->mouseReleaseEmitter->send(event);
}

TextNodePrivate* ScenePrivate::editedText() const {
    const std::shared_ptr<NodePrivate> node = editingText.lock();
    TextNodePrivate* text = TextNodePrivate::of(node.get());
    return text && text->isEditing() && text->scene == this ? text : nullptr;
}

void ScenePrivate::commitHiddenEdit() {
    TextNodePrivate* text = editedText();
    if (text && !text->item->isVisible())
        text->endEditing(true);
}

TAVI::Holder<Scene> Scene::createScene() {
    return TAVI::Holder<Scene>(new Scene);
}

Scene::Scene() : d(new ScenePrivate(this)) {}

Scene::~Scene() {
    delete d;
}

void Scene::addNode(const Node& node) {
    if (!node.isValid())
        throw TAVI::TypedException(TAVI_HERE, "Scene::addNode: invalid node");
    NodePrivate* impl = node.d.get();
    if (impl->scene && impl->scene != d)
        throw TAVI::TypedException(TAVI_HERE, "Scene::addNode: the node is in another scene");
    if (impl->parent)
        throw TAVI::TypedException(TAVI_HERE, "Scene::addNode: the node is a child node");
    if (impl->scene == d)
        return;
    d->qtScene.addItem(impl->item);
    d->adoptTopLevel(node.d);
    if (impl->lifting && !impl->children.empty())
        impl->placeChildren();
}

void Scene::removeNode(const Node& node) {
    if (!node.isValid())
        throw TAVI::TypedException(TAVI_HERE, "Scene::removeNode: invalid node");
    if (node.d->scene != d)
        throw TAVI::TypedException(TAVI_HERE, "Scene::removeNode: the node is not in this scene");
    node.d->detach()->destroy();
}

namespace {

// The visible nodes under the point, top-most first (the scene's index gives the candidates in
// that order), until visit answers false.
template <typename Visit>
void visitNodesAt(const QGraphicsScene& scene, const TAVI::GLPoint<double>& point, Visit visit) {
    const QList<QGraphicsItem*> items =
        scene.items(QPointF(point.x, point.y), Qt::IntersectsItemShape, Qt::DescendingOrder);
    for (QGraphicsItem* item : items) {
        if (!item->isVisible())
            continue;
        NodePrivate* node = NodePrivate::fromItem(item);
        if (node && !visit(node))
            return;
    }
}

} // namespace

Node Scene::getNodeAt(const TAVI::GLPoint<double>& point) const {
    Node found;
    visitNodesAt(d->qtScene, point, [&found](NodePrivate* node) {
        found = Node(node->shared_from_this());
        return false;
    });
    return found;
}

std::vector<Node> Scene::getNodesAt(const TAVI::GLPoint<double>& point) const {
    std::vector<Node> result;
    visitNodesAt(d->qtScene, point, [&result](NodePrivate* node) {
        result.push_back(Node(node->shared_from_this()));
        return true;
    });
    return result;
}

std::vector<Node> Scene::getNodesIn(const TAVI::GLRect<double>& rect, bool intersecting) const {
    std::vector<Node> result;
    const QRectF area = QRectF(rect.x, rect.y, rect.width, rect.height).normalized();
    // An item's shape lies within its bounding rectangle, so a rectangle holds the shape when it
    // holds the bounding rectangle: asking Qt for the shapes stroked every outline under a
    // marquee, most of the cost of selecting thousands of nodes. Only an item whose rectangle
    // is degenerate may have an empty shape, which nothing holds: its shape is still asked.
    const QList<QGraphicsItem*> items = d->qtScene.items(
        area, intersecting ? Qt::IntersectsItemShape : Qt::ContainsItemBoundingRect,
        Qt::DescendingOrder);
    QPainterPath areaPath;
    areaPath.addRect(area);
    for (QGraphicsItem* item : items) {
        if (!item->isVisible())
            continue;
        NodePrivate* node = NodePrivate::fromItem(item);
        if (!node)
            continue;
        const QRectF own = item->boundingRect();
        if (!intersecting && (own.width() <= 0 || own.height() <= 0) &&
            !item->collidesWithPath(item->mapFromScene(areaPath), Qt::ContainsItemShape))
            continue;
        result.push_back(Node(node->shared_from_this()));
    }
    return result;
}

std::vector<Node> Scene::getTopLevelNodes() const {
    std::vector<Node> result;
    for (QGraphicsItem* item : d->qtScene.items(Qt::AscendingOrder))
        // Children of a lifting container hang at the top level too, yet are not top-level.
        if (NodePrivate* node = item->parentItem() ? nullptr : NodePrivate::fromItem(item))
            if (!node->parent)
                result.push_back(Node(node->shared_from_this()));
    return result;
}

std::vector<Node> Scene::getSelectedNodes() const {
    std::vector<Node> result;
    for (QGraphicsItem* item : d->qtScene.selectedItems())
        if (NodePrivate* node = NodePrivate::fromItem(item))
            result.push_back(Node(node->shared_from_this()));
    return result;
}

void Scene::clearSelection() {
    d->qtScene.clearSelection();
}

TextNode Scene::getEditedText() const {
    TextNodePrivate* text = d->editedText();
    return text ? TextNode(Node(text->shared_from_this())) : TextNode();
}

TAVI::GLRect<double> Scene::getItemsBounds() const {
    const QRectF r = d->qtScene.itemsBoundingRect();
    return {r.x(), r.y(), r.width(), r.height()};
}

void Scene::addToolConstructor(const TAVI::Holder<BaseToolConstructor>& constructor) {
    if (!constructor)
        throw TAVI::TypedException(TAVI_HERE, "Scene::addToolConstructor: null constructor");
    const TAVI::StringID role = constructor->getRole();
    if (role.isEmpty())
        throw TAVI::TypedException(TAVI_HERE, "Scene::addToolConstructor: empty role");
    d->constructors[role] = constructor;
}

bool Scene::hasToolConstructor(const TAVI::StringID& role) const {
    return d->constructors.count(role) != 0;
}

void Scene::clearToolConstructors() {
    d->constructors.clear();
}

TAVI::Holder<Tool> Scene::addToolByRole(const TAVI::StringID& role) {
    if (TAVI::Holder<Tool> existing = d->tools.getToolByRole(role))
        return existing;
    TAVI::Holder<Tool> tool = createToolByRole(role);
    if (tool)
        d->tools.addTool(tool, role);
    return tool;
}

TAVI::Holder<Tool> Scene::createToolByRole(const TAVI::StringID& role) const {
    const auto it = d->constructors.find(role);
    if (it == d->constructors.end())
        return {};
    // Keep the constructor while it works: it may replace its own registration.
    const TAVI::Holder<BaseToolConstructor> constructor = it->second;
    return constructor->createTool();
}

TAVI::StringID Scene::addTool(const TAVI::Holder<Tool>& tool) {
    return d->tools.addTool(tool);
}
void Scene::addTool(const TAVI::Holder<Tool>& tool, const TAVI::StringID& role) {
    d->tools.addTool(tool, role);
}
TAVI::StringID Scene::delegateToTool(const TAVI::Holder<Tool>& tool) {
    return d->tools.delegateToTool(tool);
}
TAVI::StringID Scene::getUniqueToolRoleBasedOn(const TAVI::StringID& role) const {
    return d->tools.getUniqueToolRoleBasedOn(role);
}
bool Scene::hasTool(const TAVI::Holder<Tool>& tool) const {
    return d->tools.hasTool(tool);
}
bool Scene::hasTool(const TAVI::StringID& role) const {
    return d->tools.hasTool(role);
}
bool Scene::removeTool(const TAVI::Holder<Tool>& tool) {
    return d->tools.removeTool(tool);
}
bool Scene::removeToolByRole(const TAVI::StringID& role) {
    return d->tools.removeToolByRole(role);
}
TAVI::Holder<Tool> Scene::getToolByRole(const TAVI::StringID& role) const {
    return d->tools.getToolByRole(role);
}
TAVI::StringID Scene::getRoleByTool(const TAVI::Holder<Tool>& tool) const {
    return d->tools.getRoleByTool(tool);
}
void Scene::clearToolStack() {
    d->tools.clearToolStack();
}
std::vector<TAVI::Holder<Tool>> Scene::getTools() const {
    return d->tools.getTools();
}
TAVI::Holder<Tool> Scene::getTopTool() const {
    return d->tools.getTopTool();
}

void Scene::handleMouseMoveEvent(MouseEvent& e) {
    d->tools.handleMouseMoveEvent(e);
}
void Scene::handleMousePressEvent(MouseEvent& e) {
    // A press elsewhere is the user moving on: keep what they typed.
    if (TextNodePrivate* text = d->editedText())
        text->endEditing(true);
    d->tools.handleMousePressEvent(e);
}
void Scene::handleMouseReleaseEvent(MouseEvent& e) {
    d->tools.handleMouseReleaseEvent(e);
    d->sendMouseRelease(e);
}
void Scene::handleMouseDoubleClickEvent(MouseEvent& e) {
    d->tools.handleMouseDoubleClickEvent(e);
    if (e.isConsumed() || e.button() != LeftButton)
        return;
    const Node hit = getNodeAt(e.scenePos());
    TextNodePrivate* text = hit.isValid() ? TextNodePrivate::of(hit.d.get()) : nullptr;
    if (text && text->editable) {
        text->startEditing();
        e.consume();
    }
}
void Scene::handleDragEvent(DragEvent& e) {
    d->tools.handleDragEvent(e);
}
void Scene::handleDropEvent(DragEvent& e) {
    d->tools.handleDropEvent(e);
}
void Scene::handleFocusInEvent(Event& e) {
    d->tools.handleFocusInEvent(e);
}
void Scene::handleFocusOutEvent(Event& e) {
    d->tools.handleFocusOutEvent(e);
}
void Scene::handleEnterCanvasEvent(Event& e) {
    d->tools.handleEnterCanvasEvent(e);
}
void Scene::handleLeaveCanvasEvent(Event& e) {
    d->tools.handleLeaveCanvasEvent(e);
}
void Scene::handleContextMenuEvent(MouseEvent& e) {
    d->tools.handleContextMenuEvent(e);
}
void Scene::handleWheelEvent(WheelEvent& e) {
    d->tools.handleWheelEvent(e);
}
void Scene::handleKeyPressEvent(KeyEvent& e) {
    // Keys belong to the editor while a text is edited: Delete must not remove nodes.
    if (TextNodePrivate* text = d->editedText()) {
        if (e.key() == Key_Return || e.key() == Key_Enter)
            text->endEditing(true);
        else if (e.key() == Key_Escape)
            text->endEditing(false);
        e.consume();
        return;
    }
    d->tools.handleKeyPressEvent(e);
}

void Scene::handleKeyReleaseEvent(KeyEvent& e) {
    if (d->editedText()) {
        e.consume();
        return;
    }
    d->tools.handleKeyReleaseEvent(e);
}

QGraphicsScene* Scene::qtScene() const {
    return &d->qtScene;
}

} // namespace ZEPH
