// Gestures that ask the canvas's index for what lies near them instead of walking the diagram:
// they must still find what a walk would have found.
#include "tests/editor/EditorToolsFixture.hpp"

#include "editor/Glyph.hpp"
#include "editor/Graphics.hpp"

#include <algorithm>

using namespace KITE;
using namespace KITE::Test;
using Point = TAVI::GLPoint<double>;

namespace {

// Beside the fixture's blocks: two containers overlapping from x = 360 to 400, the later one
// (front) drawn above the earlier (back), and a block far out on the diagram, level with b.
class EditorScaleTest : public EditorToolsTest {
protected:
    void SetUp() override {
        EditorToolsTest::SetUp();
        VELD::Transaction t(root());
        back = blocks.addBlock(blocks.diagram, {300, 100}, {100, 100});
        front = blocks.addBlock(blocks.diagram, {360, 120}, {100, 100});
        far = blocks.addBlock(blocks.diagram, {100000, 10}, {40, 30});
        t.commit();
    }
    MoveTool* moveTool() const { return toolOfRole<MoveTool>(moveRole()); }
    // Drags b (40x30, grabbed 10 right of and 5 below its centre) so that its centre ends at
    // centre, in one fast jump after the first step: nothing snaps on the way.
    void dragBTo(const Point& centre) {
        click(230, 30);
        press(230, 30);
        move(240, 40);
        move(centre.x + 10, centre.y + 5);
        release(centre.x + 10, centre.y + 5);
    }

    GraphNode back, front, far;
};

TEST_F(EditorScaleTest, ADroppedNodeGoesIntoTheTopMostNodeUnderItsCentre) {
    const DiagramElement diagram(blocks.diagram);
    struct Case {
        const char* name;
        Point centre;
        DiagramElement container;
    };
    const Case cases[] = {
        {"where both containers lie, the one drawn above", {380, 150}, front},
        {"on the lower container alone", {320, 150}, back},
        {"on the upper container alone", {440, 185}, front},
        {"on empty canvas", {600, 400}, diagram},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        dragBTo(c.centre);
        const DiagramElement moved = inRoot(blocks.b);
        EXPECT_EQ(DiagramElement(moved.getContainer()), inRoot(c.container));
        EXPECT_EQ(ImmutableGraphNode(moved).getAbsPosition(), (c.centre - Point{20, 15}));
        // Drawn inside the container's glyph, so above it.
        const Glyph* container = editor->getGraphics()->getGlyph(c.container);
        ASSERT_NE(container, nullptr);
        EXPECT_EQ(editor->getGraphics()->getGlyph(blocks.b)->getRoot().getParent(),
                  container->getChildContainer());
        root().undoToChangeLevel(root().getUndoStackLength() - 1);
        EXPECT_EQ(rootPosition(blocks.b), (Point{200, 10}));
    }
}

TEST_F(EditorScaleTest, GuidesReachTheBlocksNearTheDragNotTheFarEndOfTheDiagram) {
    // a, dragged slowly with its top 3 below b's, snaps level with b; far is level with both
    // but a hundred thousand units away, out of view.
    click(40, 35);
    press(40, 35);
    move(140, 38);
    ASSERT_NE(moveTool(), nullptr);
    EXPECT_EQ(copyPosition(blocks.a), (Point{110, 10}));
    const std::vector<EditLayout::Guide> guides = moveTool()->getGuides();
    const auto topGuide = std::find_if(guides.begin(), guides.end(), [](const auto& g) {
        return g.type == EditLayout::Guide::Horizontal && g.position == 10.0;
    });
    ASSERT_NE(topGuide, guides.end());
    // The guide spans a and b.
    EXPECT_EQ(topGuide->from, 110.0);
    EXPECT_EQ(topGuide->to, 240.0);
    release(140, 38);
}

} // namespace
