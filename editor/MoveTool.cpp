#include "editor/MoveTool.hpp"

#include "editor/Editor.hpp"
#include "editor/Graphics.hpp"
#include "editor/MoveTool_p.hpp"
#include "platform/veld/Model.hpp"
#include "platform/zeph/EllipseNode.hpp"
#include "platform/zeph/LineNode.hpp"
#include "platform/zeph/LodScale.hpp"
#include "platform/zeph/Scene.hpp"
#include "platform/zu/zu.hpp"

#include <cmath>
#include <limits>

namespace KITE {

namespace {

using Point = TAVI::GLPoint<double>;

bool isFinite(const Point& point) {
    return std::isfinite(point.x) && std::isfinite(point.y);
}

// Guides draw above every glyph.
constexpr double guideZValue = 1e9;

// The glyph a node belongs to: the glyph whose root is the node or its nearest ancestor, so
// that a drag starting on a label still finds the glyph of the label's box.
Glyph* glyphOfNode(const Graphics& graphics, ZEPH::Node node) {
    for (; node.isValid(); node = node.getParent())
        if (Glyph* glyph = graphics.getGlyph(node))
            return glyph;
    return nullptr;
}

// The innermost node under the point that is not itself moving (nor inside what moves): where
// an element dropped there belongs; the diagram when the point is on no such node. Among
// overlapping siblings the later one is drawn above, so it takes the drop.
ImmutableGraphElement dropTarget(const ImmutableDiagram& diagram, const Graphics* graphics,
                                 const Point& point, const TAVI::GSet<DiagramElement>& moving) {
    ImmutableGraphElement target = diagram;
    for (;;) {
        ImmutableGraphElement inner;
        for (const DiagramElement& element : target.getContained()) {
            const ImmutableGraphNode node(element);
            if (!node.isValid() || moving.contains(element) ||
                (graphics && !graphics->getGlyph(element)))
                continue;
            const Point at = node.getAbsPosition();
            const Point size = node.getSize();
            if (point.x >= at.x && point.x <= at.x + size.x && point.y >= at.y &&
                point.y <= at.y + size.y)
                inner = node;
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
            dropTarget(shown, graphics, at + Point{size.x / 2, size.y / 2}, moved);
        if (!target.isValid() || target == node.getContainer())
            continue;
        const Point origin =
            ImmutableDiagram(target).isValid() ? Point{0, 0} : target.getAbsPosition();
        node.setContainer(target);
        node.setPosition(at - origin);
    }
}

} // namespace

void MoveToolPrivate::dropGuides() {
    for (ZEPH::Node& node : guideNodes)
        if (node.isValid())
            node.remove();
    guideNodes.clear();
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
    const Diagram diagram = p->editor.getDiagram();
    if (!graphics || !diagram.isValid())
        return;
    // Depth first, without recursion: diagrams may nest deeply. Whatever lies inside a moving
    // element moves along with it, so it is no place to snap to.
    std::vector<VELD::ImmutableSequence<DiagramElement>> pending{diagram.getContained()};
    while (!pending.empty()) {
        const VELD::ImmutableSequence<DiagramElement> level = pending.back();
        pending.pop_back();
        for (const DiagramElement& element : level) {
            if (!element.isValid() || p->elements.contains(element))
                continue;
            const Glyph* glyph = graphics->getGlyph(element);
            if (glyph && participatesInSmartGuides(element))
                candidates.push_back(glyph->layoutItem());
            const ImmutableGraphElement container(element);
            if (container.isValid())
                pending.push_back(container.getContained());
        }
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
    for (ZEPH::Node& node : p->guideNodes)
        if (node.isValid())
            node.remove();
    p->guideNodes.clear();
    p->guides = guides;
    for (const EditLayout::Guide& guide : p->guides)
        renderGuide(guide);
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

    const auto add = [&](ZEPH::Node node) {
        node.setZValue(guideZValue);
        scene->addNode(node);
        p->guideNodes.push_back(node);
    };
    const auto addLine = [&](const Point& a, const Point& b) {
        ZEPH::LineNode line = ZEPH::LineNode::create(a, b);
        line.setStroke(colour, width);
        add(line);
    };
    // A centre shows as a dot, an edge as a cross.
    const auto addMarker = [&](const Point& at, int featureType) {
        if (featureType == EditLayout::Centre) {
            ZEPH::EllipseNode dot = ZEPH::EllipseNode::create({at.x - 4, at.y - 4, 8, 8});
            dot.setStroke(colour, 0.0);
            dot.setFill(colour);
            add(dot);
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
