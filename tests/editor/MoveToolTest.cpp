#include "tests/editor/EditorToolsFixture.hpp"

#include "editor/Glyph.hpp"
#include "editor/Graphics.hpp"
#include "platform/zeph/EllipseNode.hpp"
#include "platform/zeph/LineNode.hpp"

#include <algorithm>
#include <chrono>
#include <functional>
#include <string>
#include <thread>

using namespace KITE;
using namespace KITE::Test;
using Point = TAVI::GLPoint<double>;

namespace {

class MoveToolTest : public EditorToolsTest {
protected:
    MoveTool* moveTool() const { return toolOfRole<MoveTool>(moveRole()); }
    TAVI::GLPoint<double> glyphScenePosition(const DiagramElement& element) const {
        return editor->getGraphics()->getGlyph(element)->getRoot().getScenePosition();
    }
    // The nodes drawing guides: every line and ellipse outside the graphics' root, where the
    // glyphs hang.
    std::vector<ZEPH::Node> guideNodes() const {
        std::vector<ZEPH::Node> nodes;
        std::vector<ZEPH::Node> pending;
        for (const ZEPH::Node& node : scene().getTopLevelNodes())
            if (!(node == editor->getGraphics()->getRoot()))
                pending.push_back(node);
        while (!pending.empty()) {
            const ZEPH::Node node = pending.back();
            pending.pop_back();
            if (ZEPH::LineNode(node).isValid() || ZEPH::EllipseNode(node).isValid())
                nodes.push_back(node);
            for (const ZEPH::Node& child : node.getChildren())
                pending.push_back(child);
        }
        return nodes;
    }
    // Lets the pointer's speed fall well under the snapping limit before the next step.
    static void pause() { std::this_thread::sleep_for(std::chrono::milliseconds(120)); }

    Reports rootTransactions{blocks.model};
};

TEST_F(MoveToolTest, DragPreviewsInTheWorkingCopyAndCommitsOneRootTransactionOnRelease) {
    click(40, 35);
    press(40, 35);
    move(70, 35);
    ASSERT_NE(moveTool(), nullptr);
    EXPECT_EQ(copyPosition(blocks.a), (Point{40, 10}));
    EXPECT_EQ(rootPosition(blocks.a), (Point{10, 10}));
    EXPECT_EQ(glyphScenePosition(blocks.a), (Point{40, 10}));
    EXPECT_TRUE(editor->isInInteraction());

    move(90, 55);
    EXPECT_EQ(copyPosition(blocks.a), (Point{60, 30}));
    EXPECT_EQ(rootTransactions.count(), 0);

    release(90, 55);
    EXPECT_EQ(moveTool(), nullptr);
    EXPECT_EQ(rootTransactions.count(), 1);
    EXPECT_EQ(rootTransactions.last().getChanged().toVector(),
              (std::vector<DiagramElement>{blocks.a}));
    EXPECT_EQ(rootPosition(blocks.a), (Point{60, 30}));
    EXPECT_EQ(copyPosition(blocks.a), (Point{60, 30}));
    EXPECT_FALSE(editor->isInInteraction());
    // The contained block follows through its relative position; the other stays.
    EXPECT_EQ(rootPosition(blocks.inner), (Point{5, 5}));
    EXPECT_EQ(glyphScenePosition(blocks.inner), (Point{65, 35}));
    EXPECT_EQ(rootPosition(blocks.b), (Point{200, 10}));
    // Selection survives the move.
    EXPECT_EQ(selection(), (std::vector<DiagramElement>{blocks.a}));
}

TEST_F(MoveToolTest, DragsThatEndWhereTheyStartedOrAreCancelledChangeNothing) {
    const struct {
        const char* name;
        bool drags;   // to (140, 35) after the press on a
        bool cancels; // the preview goes at once, before the release
        std::function<void()> end;
    } cases[] = {
        {"click", false, false, [] {}},
        {"back to the start", true, false, [this] { move(40, 35); }},
        {"escape", true, true, [this] { key(ZEPH::Key_Escape); }},
        {"tool stack cleared", true, true, [this] { editor->clearToolStack(); }}, // no tools after
    };
    click(40, 35);
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        press(40, 35);
        if (c.drags) {
            move(140, 35);
            ASSERT_NE(moveTool(), nullptr);
            ASSERT_EQ(copyPosition(blocks.a), (Point{110, 10}));
        }
        c.end();
        if (c.cancels) {
            EXPECT_EQ(copyPosition(blocks.a), (Point{10, 10}));
            EXPECT_FALSE(editor->isInInteraction());
            EXPECT_TRUE(guideNodes().empty());
        }
        release(40, 35);
        EXPECT_EQ(copyPosition(blocks.a), (Point{10, 10}));
        EXPECT_EQ(glyphScenePosition(blocks.a), (Point{10, 10}));
        EXPECT_FALSE(editor->isInInteraction());
        EXPECT_EQ(moveTool(), nullptr);
        EXPECT_EQ(rootTransactions.count(), 0);
        EXPECT_EQ(rootPosition(blocks.a), (Point{10, 10}));
        // The move took the key: no request to leave the diagram.
        EXPECT_TRUE(navigateUpRequests.received.empty());
    }
}

TEST_F(MoveToolTest, ASelectedContainerMovesAloneAndItsSelectedChildFollows) {
    click(40, 35);
    click(20, 20, ZEPH::ShiftModifier);
    ASSERT_EQ(selection().size(), 2u);
    press(40, 35);
    move(140, 135);
    release(140, 135);
    EXPECT_EQ(rootTransactions.count(), 1);
    EXPECT_EQ(rootPosition(blocks.a), (Point{110, 110}));
    EXPECT_EQ(rootPosition(blocks.inner), (Point{5, 5}));
    EXPECT_EQ(glyphScenePosition(blocks.inner), (Point{115, 115}));
}

TEST_F(MoveToolTest, ADroppedNodeBelongsToTheNodeItsCentreLandsOn) {
    const DiagramElement diagram(blocks.diagram);
    const DiagramElement a(blocks.a);
    struct Case {
        const char* name;
        DiagramElement moved;
        Point from;
        Point to;
        DiagramElement container; // afterwards
        Point position;           // afterwards, relative to it
    };
    // a covers (10, 10)-(50, 40) and holds inner (15, 15)-(25, 25); b covers (200, 10)-(240, 40).
    const Case cases[] = {
        {"within its container", blocks.inner, {20, 20}, {30, 25}, a, {15, 10}},
        {"out onto the diagram", blocks.inner, {20, 20}, {120, 120}, diagram, {115, 115}},
        // Its middle snaps to inner's, two short of it.
        {"into a node that came before it", blocks.b, {220, 25}, {30, 22}, a, {0, -5}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const int before = rootTransactions.count();
        click(c.from.x, c.from.y);
        press(c.from.x, c.from.y);
        move(c.to.x, c.to.y);
        release(c.to.x, c.to.y);
        EXPECT_EQ(rootTransactions.count(), before + 1);
        EXPECT_EQ(DiagramElement(inRoot(c.moved).getContainer()), inRoot(c.container));
        EXPECT_EQ(rootPosition(c.moved), c.position);
        // Drawn inside the container's glyph, above it.
        const Glyph* glyph = editor->getGraphics()->getGlyph(c.moved);
        const Glyph* container = editor->getGraphics()->getGlyph(c.container);
        ASSERT_NE(glyph, nullptr);
        if (container) {
            EXPECT_EQ(glyph->getRoot().getParent(), container->getChildContainer());
        }
        root().undoToChangeLevel(root().getUndoStackLength() - 1);
    }
    EXPECT_EQ(rootPosition(blocks.a), (Point{10, 10}));
}

TEST_F(MoveToolTest, EdgesNeverMoveThemselvesButAreRedrawnWithTheirEnds) {
    const TAVI::GLPoint<double> edgePosition = rootPosition(blocks.ab);
    // An edge alone: a drag from it is no move at all.
    click(120, 25);
    ASSERT_EQ(selection(), (std::vector<DiagramElement>{blocks.ab}));
    press(120, 25);
    move(160, 80);
    EXPECT_EQ(moveTool(), nullptr);
    release(160, 80);
    EXPECT_EQ(rootTransactions.count(), 0);

    // With a block: the block moves, the edge keeps its own position and is redrawn.
    auto* edgeGlyph = dynamic_cast<EdgeGlyph*>(editor->getGraphics()->getGlyph(blocks.ab));
    ASSERT_NE(edgeGlyph, nullptr);
    click(40, 35, ZEPH::ShiftModifier);
    ASSERT_EQ(selection().size(), 2u);
    const int updatesBefore = edgeGlyph->updates;
    press(40, 35);
    move(40, 85);
    EXPECT_GT(edgeGlyph->updates, updatesBefore);
    release(40, 85);
    EXPECT_EQ(rootTransactions.count(), 1);
    EXPECT_EQ(rootTransactions.last().getChanged().toVector(),
              (std::vector<DiagramElement>{blocks.a}));
    EXPECT_EQ(rootPosition(blocks.a), (Point{10, 60}));
    EXPECT_EQ(rootPosition(blocks.ab), edgePosition);
}

TEST_F(MoveToolTest, SlowDragsSnapToNeighboursAndShowGuidesFastOnesDoNot) {
    click(40, 35);
    press(40, 35);
    // a's left edge 3 short of b's: the first step (speed 0) snaps it onto b's.
    move(227, 35);
    MoveTool* tool = moveTool();
    ASSERT_NE(tool, nullptr);
    EXPECT_EQ(copyPosition(blocks.a), (Point{200, 10}));
    const std::vector<EditLayout::Guide> guides = tool->getGuides();
    // a now lies on b: left, right and centre align on x, top, bottom and centre on y.
    EXPECT_EQ(guides.size(), 6u);
    const auto leftEdges =
        std::find_if(guides.begin(), guides.end(), [](const EditLayout::Guide& g) {
            return g.type == EditLayout::Guide::Vertical && g.position == 200.0;
        });
    ASSERT_NE(leftEdges, guides.end());
    // Each guide is a line with a cross at each edge end and a dot at each centre end.
    std::size_t expectedNodes = 0;
    for (const EditLayout::Guide& guide : guides)
        expectedNodes += 1 + (guide.fromFeatureType == EditLayout::Centre ? 1 : 2) +
                         (guide.toFeatureType == EditLayout::Centre ? 1 : 2);
    const std::vector<ZEPH::Node> drawn = guideNodes();
    EXPECT_EQ(drawn.size(), expectedNodes);
    const bool leftLineDrawn = std::any_of(drawn.begin(), drawn.end(), [&](const ZEPH::Node& node) {
        const ZEPH::LineNode line(node);
        return line.isValid() && line.getFrom() == Point{200, leftEdges->from} &&
               line.getTo() == Point{200, leftEdges->to};
    });
    EXPECT_TRUE(leftLineDrawn);

    // A jump of a hundred units at once: no guides, no snapping.
    move(227, 135);
    EXPECT_TRUE(tool->getGuides().empty());
    EXPECT_TRUE(guideNodes().empty());
    EXPECT_EQ(copyPosition(blocks.a), (Point{197, 110}));

    // Slowing down brings them back.
    pause();
    move(228, 135);
    EXPECT_EQ(copyPosition(blocks.a), (Point{200, 110}));
    EXPECT_FALSE(tool->getGuides().empty());
    EXPECT_FALSE(guideNodes().empty());

    release(228, 135);
    EXPECT_EQ(rootPosition(blocks.a), (Point{200, 110}));
    EXPECT_EQ(rootTransactions.count(), 1);
    EXPECT_TRUE(guideNodes().empty());
}

TEST_F(MoveToolTest, TheBlocksInsideTheMovedOneAreNoPlaceToSnapTo) {
    // Dragging inner's container a: inner moves along, so a must not snap to where inner was.
    click(40, 35);
    press(40, 35);
    // a's left edge would lie 2 right of inner's old left edge (15).
    move(47, 35);
    ASSERT_NE(moveTool(), nullptr);
    EXPECT_EQ(copyPosition(blocks.a), (Point{17, 10}));
    release(47, 35);
}

} // namespace
