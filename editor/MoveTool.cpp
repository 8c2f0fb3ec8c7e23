#include "editor/MoveTool.hpp"

#include "editor/Editor.hpp"
#include "editor/Graphics.hpp"
#include "editor/MoveTool_p.hpp"
#include "platform/veld/Model.hpp"
#include "platform/zeph/EllipseNode.hpp"
#include "platform/zeph/GLCanvas.hpp"
#include "platform/zeph/LineNode.hpp"
#include "platform/zeph/LodScale.hpp"
#include "platform/zeph/Scene.hpp"
#include "platform/zu/zu.hpp"

#include <QRectF>
#include <QWidget>

#include <algorithm>
#include <cmath>
#include <limits>
#include <type_traits>
#include <unordered_set>

namespace KITE {

namespace {

using Point = TAVI::GLPoint<double>;

bool isFinite(const Point& point) {
    return std::isfinite(point.x) && std::isfinite(point.y);
}

// Guides draw above every glyph.
constexpr double guideZValue = 1e9;
// How far around the dragged glyph, in scene units, other glyphs are snapped to besides those
// in view.
constexpr double guideReach = 1000;

// The glyph a node belongs to: the glyph whose root is the node or its nearest ancestor, so
// that a drag starting on a label still finds the glyph of the label's box.
Glyph* glyphOfNode(const Graphics& graphics, ZEPH::Node node) {
    for (; node.isValid(); node = node.getParent())
        if (Glyph* glyph = graphics.getGlyph(node))
            return glyph;
    return nullptr;
}

// Whether the node's rectangle on the diagram holds the point.
bool holds(const ImmutableGraphNode& node, const Point& point) {
    const Point at = node.getAbsPosition();
    const Point size = node.getSize();
    return point.x >= at.x && point.x <= at.x + size.x && point.y >= at.y &&
           point.y <= at.y + size.y;
}

// The innermost node under the point that is not itself moving (nor inside what moves): where
// an element dropped there belongs; the diagram when the point is on no such node. Among
// overlapping siblings the one drawn above takes the drop. The candidates are the elements
// whose glyphs draw at the point and their containers, asked of the scene's index: a drop
// costs what lies under it, not the size of the diagram.
ImmutableGraphElement dropTarget(const VELD::Model& root, const ImmutableDiagram& diagram,
                                 const Graphics& graphics, const Point& point,
                                 const TAVI::GSet<DiagramElement>& moving) {
    ZEPH::Scene* scene = graphics.getScene();
    if (!scene)
        return diagram;
    const Point onScene = graphics.getRoot().mapLocalToScene(point);
    // Top-most first; a container comes after the first element drawn inside it, which is
    // where it stands among its siblings: what lies inside a node is drawn above it and below
    // the siblings drawn above it.
    std::vector<ImmutableGraphNode> candidates;
    TAVI::GSet<DiagramElement> seen;
    for (const ZEPH::Node& hit : scene->getNodesAt(onScene)) {
        const Glyph* glyph = glyphOfNode(graphics, hit);
        if (!glyph)
            continue;
        // The glyphs show the working copy; the drop goes to the model's root.
        for (ImmutableDiagramElement e = glyph->diagramElement().asDeviant(root); e.isValid();
             e = e.getContainer())
            if (const ImmutableGraphNode node(e); node.isValid() && seen.insert(DiagramElement(e)))
                candidates.push_back(node);
    }
    ImmutableGraphElement target = diagram;
    for (;;) {
        ImmutableGraphElement inner;
        for (const ImmutableGraphNode& node : candidates) {
            if (!(node.getContainer() == target) || moving.contains(DiagramElement(node)) ||
                !graphics.getGlyph(node) || !holds(node, point))
                continue;
            inner = node;
            break;
        }
        if (!inner.isValid())
            return target;
        target = inner;
    }
}

// Moves each dropped node into the node its centre landed on (or out onto the diagram), where
// it stays on the canvas: otherwise a node dropped onto a bigger one that came earlier in the
// diagram would be drawn behind it and be lost from sight.
void dropIntoContainers(const VELD::Model& root, const Diagram& diagram, const Graphics* graphics,
                        const TAVI::GSet<DiagramElement>& moved) {
    const ImmutableDiagram shown = diagram.asDeviant(root);
    if (!shown.isValid())
        return;
    for (const DiagramElement& stored : moved) {
        const GraphNode node(stored.asDeviant(root));
        if (!node.isValid())
            continue;
        const Point at = node.getAbsPosition();
        const Point size = node.getSize();
        const ImmutableGraphElement target =
            graphics ? dropTarget(root, shown, *graphics, at + Point{size.x / 2, size.y / 2}, moved)
                     : ImmutableGraphElement(shown);
        if (!target.isValid() || target == node.getContainer())
            continue;
        const Point origin =
            ImmutableDiagram(target).isValid() ? Point{0, 0} : target.getAbsPosition();
        node.setContainer(target);
        node.setPosition(at - origin);
    }
}

template <class NodeType> void removeFrom(std::vector<NodeType>& nodes, std::size_t kept) {
    for (std::size_t i = kept; i < nodes.size(); ++i)
        if (nodes[i].isValid())
            nodes[i].remove();
    nodes.resize(std::min(kept, nodes.size()));
}

} // namespace

void MoveToolPrivate::dropUnusedGuideNodes() {
    removeFrom(guideLines, guideLinesUsed);
    removeFrom(guideDots, guideDotsUsed);
}

void MoveToolPrivate::dropGuides() {
    guideLinesUsed = 0;
    guideDotsUsed = 0;
    dropUnusedGuideNodes();
    if (guideLayer.isValid())
        guideLayer.remove();
    guideLayer = ZEPH::ContainerNode();
    guides.clear();
    delete smartGuides;
    smartGuides = nullptr;
    primaryGlyph.reset();
}

MoveTool::MoveTool(Editor& editor) : d(new MoveToolPrivate(this, editor)) {}

MoveTool::~MoveTool() {
    d->dropGuides();
    delete d;
}

Editor& MoveTool::getEditor() const {
    return d_func()->editor;
}

void MoveTool::setInvalidateEdgesDuringMove(bool invalidate) {
    d_func()->invalidateEdgesDuringMove = invalidate;
}

const std::vector<EditLayout::Guide>& MoveTool::getGuides() const {
    return d_func()->guides;
}

const TAVI::GSet<DiagramElement>& MoveTool::elements() const {
    return d_func()->elements;
}

void MoveTool::onRemoveFromStack() {
    ZEPH::MoveTool::onRemoveFromStack();
    // Taken off in mid-drag (the stack cleared): neither release nor Escape came, and the
    // preview must not stay in the working copy as if it were the model.
    if (!isDone())
        d->editor.dropPreview();
    teardownSmartGuides();
}

std::vector<ZEPH::Node> MoveTool::buildMovingSet() {
    MoveToolPrivate* p = d_func();
    p->elements.clear();
    Graphics* graphics = p->editor.getGraphics();
    if (!graphics)
        return {};
    TAVI::GSet<DiagramElement> selected;
    p->editor.getSelectedElements(selected);
    // Only the outermost selected elements, and of those only the ones whose glyph moves: an
    // element inside a selected container goes where its container goes, so it stays put when
    // the container cannot move.
    for (const DiagramElement& element : selected) {
        bool inside = false;
        for (ImmutableGraphElement up = element.getContainer(); up.isValid() && !inside;
             up = up.getContainer())
            inside = selected.contains(DiagramElement(up));
        if (inside)
            continue;
        const Glyph* glyph = element.isValid() ? graphics->getGlyph(element) : nullptr;
        if (glyph && glyph->isMovable())
            p->elements.insert(element);
    }
    setupSmartGuides();
    return {};
}

void MoveTool::storeStartingPositions() {}

bool MoveTool::participatesInSmartGuides(const ImmutableDiagramElement& element) const {
    if (ImmutableGraphEdge(element).isValid())
        return false;
    Graphics* graphics = d_func()->editor.getGraphics();
    const Glyph* glyph = graphics ? graphics->getGlyph(element) : nullptr;
    return glyph && glyph->isSelectable();
}

void MoveTool::setupSmartGuides() {
    MoveToolPrivate* p = d_func();
    ZEPH::Scene* scene = p->editor.getScene();
    Graphics* graphics = p->editor.getGraphics();
    if (!scene || !graphics)
        return;
    const Point start = getStartScenePosition();
    Glyph* glyph = glyphOfNode(*graphics, scene->getNodeAt(start));
    if (!glyph || !participatesInSmartGuides(glyph->diagramElement()))
        return;
    // Snapping a glyph that stays where it is would only show guides for a move that is not.
    bool moves = false;
    for (ImmutableDiagramElement e = glyph->diagramElement(); e.isValid() && !moves;
         e = e.getContainer())
        moves = p->elements.contains(DiagramElement(e));
    if (!moves)
        return;
    p->primaryGlyph = glyph;
    glyph->update();
    std::vector<EditLayout::Item> candidates;
    buildSmartGuideCandidateList(candidates);
    const EditLayout::LayoutRect rect = glyph->rect();
    // The offset is the pointer's position within the dragged rectangle.
    delete p->smartGuides;
    p->smartGuides = new EditLayout::SmartGuides(glyph->layoutItem(), candidates,
                                                 start.x - rect.left, start.y - rect.top);
    addSmartGuideAffinities(*p->smartGuides);
}

void MoveTool::addSmartGuideAffinities(EditLayout::SmartGuides&) {}

void MoveTool::teardownSmartGuides() {
    d_func()->dropGuides();
}

void MoveTool::buildSmartGuideCandidateList(std::vector<EditLayout::Item>& candidates) {
    MoveToolPrivate* p = d_func();
    Graphics* graphics = p->editor.getGraphics();
    ZEPH::Scene* scene = p->editor.getScene();
    if (!graphics || !scene || !p->primaryGlyph)
        return;
    // The glyphs near the dragged one and those in view, found through the scene's index: the
    // guides a user can see, gathered at a cost that does not grow with the diagram.
    const EditLayout::LayoutRect dragged = p->primaryGlyph->rect();
    QRectF area(dragged.left - guideReach, dragged.top - guideReach, dragged.width + 2 * guideReach,
                dragged.height + 2 * guideReach);
    if (const ZEPH::GLCanvas* canvas = p->editor.getCanvas(); canvas && canvas->isVisible())
        area |= canvas->mapToScene(canvas->viewport()->rect()).boundingRect();
    if (!area.isValid())
        return;
    std::unordered_set<const Glyph*> seen;
    for (const ZEPH::Node& node :
         scene->getNodesIn({area.x(), area.y(), area.width(), area.height()}, true)) {
        const Glyph* glyph = glyphOfNode(*graphics, node);
        if (!glyph || !seen.insert(glyph).second)
            continue;
        // Whatever lies inside a moving element moves along with it, so it is no place to
        // snap to.
        bool moves = false;
        for (ImmutableDiagramElement e = glyph->diagramElement(); e.isValid() && !moves;
             e = e.getContainer())
            moves = p->elements.contains(DiagramElement(e));
        if (!moves && participatesInSmartGuides(glyph->diagramElement()))
            candidates.push_back(glyph->layoutItem());
    }
}

double MoveTool::getCursorSpeed() {
    MoveToolPrivate* p = d_func();
    const bool first = p->lastTick == 0;
    const double elapsed = first ? 0.0 : zuPERFtoc(0, p->lastTick, zuGetPERFspeed());
    const Point moved = getDelta() - p->lastDelta;
    p->lastTick = zuPERFtic(0);
    p->lastDelta = getDelta();
    if (first)
        return 0.0;
    if (elapsed == 0.0)
        return std::numeric_limits<double>::max();
    return std::hypot(moved.x, moved.y) / elapsed;
}

void MoveTool::duringMove() {
    MoveToolPrivate* p = d_func();
    const VELD::Model copy = p->editor.getWorkingCopy();
    if (!copy.isValid())
        return;
    // Each step starts again from the model's root, which drops the previous step's preview.
    VELD::Transaction transaction(copy);
    copy.syncFromRoot();
    ZEPH::MoveTool::duringMove();
    // A pointer without finite coordinates (a runaway zoom, a script's event) moves nothing.
    if (!isFinite(getDelta())) {
        clearGuides();
        transaction.commit();
        return;
    }
    if (p->smartGuides) {
        std::vector<EditLayout::Guide> guides;
        // A fast pointer is on its way elsewhere: snapping would only make it stick.
        if (getCursorSpeed() < snappingSpeedLimit) {
            const Point pointer = getStartScenePosition() + getDelta();
            double correctionX = 0;
            double correctionY = 0;
            p->smartGuides->DragFeedback(pointer.x, pointer.y, guides, correctionX, correctionY);
            setDelta(getDelta() + Point{correctionX, correctionY});
        }
        updateGuides(guides);
    }
    applyPositionDelta(nullptr);
    if (p->invalidateEdgesDuringMove) {
        if (Graphics* graphics = p->editor.getGraphics()) {
            for (const DiagramElement& element : p->elements) {
                const ImmutableGraphNode node(element);
                if (!node.isValid())
                    continue;
                for (const GraphEdge& edge : node.getEdges())
                    graphics->invalidateGlyph(edge);
            }
        }
    }
    transaction.commit();
}

void MoveTool::applyPositionDelta(const VELD::ImmutableModel* model) {
    const Point delta = getDelta();
    for (const DiagramElement& stored : d_func()->elements) {
        const DiagramElement element = model ? stored.asDeviant(*model) : stored;
        // Deleted meanwhile (by a script, another editor): nothing left to move.
        if (!element.isValid())
            continue;
        element.setPosition(element.getPosition() + delta);
    }
}

void MoveTool::finishMove() {
    ZEPH::MoveTool::finishMove();
    MoveToolPrivate* p = d_func();
    teardownSmartGuides();
    const VELD::Model copy = p->editor.getWorkingCopy();
    if (!copy.isValid())
        return;
    if (getDelta() == Point{0, 0} || !isFinite(getDelta())) {
        // Dragged back to where it began (or to nowhere): the model stays as it is, and so
        // must the copy.
        if (copy.hasObjectsDeviatingFromRoot())
            p->editor.dropPreview();
        return;
    }
    const VELD::Model root = copy.getRootDeviant();
    VELD::Transaction transaction(root, "Move");
    applyPositionDelta(&root);
    dropIntoContainers(root, p->editor.getDiagram(), p->editor.getGraphics(), p->elements);
    transaction.commit();
}

void MoveTool::cancelMove() {
    // Not the base's: it would replay a step at the start position, which may snap.
    setDelta({0, 0});
    teardownSmartGuides();
    d_func()->editor.dropPreview();
}

void MoveTool::clearGuides() {
    updateGuides({});
}

void MoveTool::updateGuides(const std::vector<EditLayout::Guide>& guides) {
    MoveToolPrivate* p = d_func();
    if (guides == p->guides)
        return;
    p->guides = guides;
    p->guideLinesUsed = 0;
    p->guideDotsUsed = 0;
    for (const EditLayout::Guide& guide : p->guides)
        renderGuide(guide);
    p->dropUnusedGuideNodes();
}

void MoveTool::renderGuide(const EditLayout::Guide& guide) {
    MoveToolPrivate* p = d_func();
    ZEPH::Scene* scene = p->editor.getScene();
    if (!scene)
        return;
    const TAVI::Color colour(0.5, 0.8, 1.0, 0.5);
    // Two pixels wide on the screen whatever the zoom.
    const double lodScale = ZEPH::LodScale::instance().getScale();
    const double width = 2.0 / (lodScale > 0 ? lodScale : 1.0);
    const bool horizontal = guide.type == EditLayout::Guide::Horizontal;
    const Point from =
        horizontal ? Point{guide.from, guide.position} : Point{guide.position, guide.from};
    const Point to = horizontal ? Point{guide.to, guide.position} : Point{guide.position, guide.to};

    // The next unused node of the kind, made when every one is in use (or was removed by
    // someone else meanwhile).
    const auto next = [&](auto& nodes, std::size_t& used) -> auto& {
        using NodeType = std::decay_t<decltype(nodes.front())>;
        if (used < nodes.size() && !nodes[used].isValid())
            nodes.erase(nodes.begin() + std::ptrdiff_t(used), nodes.end());
        if (used == nodes.size()) {
            if (!p->guideLayer.isValid()) {
                p->guideLayer = ZEPH::ContainerNode::create();
                p->guideLayer.setZValue(guideZValue);
                scene->addNode(p->guideLayer);
            }
            NodeType node = NodeType::create();
            node.setParent(p->guideLayer);
            nodes.push_back(node);
        }
        return nodes[used++];
    };
    const auto addLine = [&](const Point& a, const Point& b) {
        ZEPH::LineNode& line = next(p->guideLines, p->guideLinesUsed);
        line.setLine(a, b);
        line.setStroke(colour, width);
    };
    // A centre shows as a dot, an edge as a cross.
    const auto addMarker = [&](const Point& at, int featureType) {
        if (featureType == EditLayout::Centre) {
            ZEPH::EllipseNode& dot = next(p->guideDots, p->guideDotsUsed);
            dot.setRect({at.x - 4, at.y - 4, 8, 8});
            dot.setStroke(colour, 0.0);
            dot.setFill(colour);
        } else {
            addLine(at - Point{6, 0}, at + Point{6, 0});
            addLine(at - Point{0, 6}, at + Point{0, 6});
        }
    };
    addLine(from, to);
    addMarker(from, guide.fromFeatureType);
    addMarker(to, guide.toFeatureType);
}

} // namespace KITE
