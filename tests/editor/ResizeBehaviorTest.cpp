#include "tests/editor/EditorToolsFixture.hpp"

#include "platform/zeph/RectNode.hpp"

using namespace KITE;
using namespace KITE::Test;
using Point = TAVI::GLPoint<double>;

namespace {

class ResizeBehaviorTest : public EditorToolsTest {
protected:
    ResizeBehavior* resizeTool() const { return toolOfRole<ResizeBehavior>(resizeRole()); }
    Point copySize(const DiagramElement& element) const { return inCopy(element).getSize(); }
    Point rootSize(const DiagramElement& element) const { return inRoot(element).getSize(); }

    Reports rootTransactions{blocks.model};
};

TEST_F(ResizeBehaviorTest, DraggingACornerPreviewsInTheWorkingCopyAndCommitsOnce) {
    click(220, 35);
    press(240, 40);
    move(260, 60);
    ASSERT_NE(resizeTool(), nullptr);
    EXPECT_EQ(copySize(blocks.b), (Point{60, 50}));
    EXPECT_EQ(copyPosition(blocks.b), (Point{200, 10}));
    EXPECT_EQ(rootSize(blocks.b), (Point{40, 30}));
    EXPECT_TRUE(editor->isInInteraction());
    move(250, 45);
    EXPECT_EQ(copySize(blocks.b), (Point{50, 35}));
    EXPECT_EQ(rootTransactions.count(), 0);

    release(250, 45);
    EXPECT_EQ(resizeTool(), nullptr);
    EXPECT_EQ(rootTransactions.count(), 1);
    EXPECT_EQ(rootTransactions.last().getChanged().toVector(),
              (std::vector<DiagramElement>{blocks.b}));
    EXPECT_EQ(rootSize(blocks.b), (Point{50, 35}));
    EXPECT_EQ(rootPosition(blocks.b), (Point{200, 10}));
    EXPECT_EQ(copySize(blocks.b), (Point{50, 35}));
    EXPECT_FALSE(editor->isInInteraction());
    EXPECT_EQ(editor->getGraphics()->getGlyph(blocks.b)->getRoot().getSceneBounds(),
              (TAVI::GLRect<double>{200, 10, 50, 35}));
}

TEST_F(ResizeBehaviorTest, EachHandleResizesWithinTheGlyphsMinimumOrChangesNothing) {
    // b covers (200, 10)-(240, 40); the block glyph's minimum is the default 10 by 10.
    const struct {
        const char* name;
        Point press, to;
        bool escape;
        int transactions;
        Point position, size;
    } cases[] = {
        {"top left moves it too", {200, 10}, {190, 0}, false, 1, {190, 0}, {50, 40}},
        {"far past the other corner", {240, 40}, {150, -50}, false, 1, {200, 10}, {10, 10}},
        {"back where it started", {240, 40}, {240, 40}, false, 0, {200, 10}, {40, 30}},
        {"escape", {240, 40}, {280, 80}, true, 0, {200, 10}, {40, 30}},
    };
    click(220, 35);
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const int before = rootTransactions.count();
        press(c.press.x, c.press.y);
        move(c.press.x + 30, c.press.y + 40);
        ASSERT_NE(resizeTool(), nullptr);
        move(c.to.x, c.to.y);
        if (c.escape) {
            key(ZEPH::Key_Escape);
            EXPECT_EQ(resizeTool(), nullptr);
            EXPECT_EQ(copySize(blocks.b), (Point{40, 30}));
            EXPECT_TRUE(navigateUpRequests.received.empty());
        }
        release(c.to.x, c.to.y);
        EXPECT_EQ(rootTransactions.count(), before + c.transactions);
        EXPECT_EQ(rootPosition(blocks.b), c.position);
        EXPECT_EQ(rootSize(blocks.b), c.size);
        EXPECT_EQ(copySize(blocks.b), c.size);
        EXPECT_FALSE(editor->isInInteraction());
        if (c.transactions)
            root().undoToChangeLevel(root().getUndoStackLength() - 1);
    }
}

TEST_F(ResizeBehaviorTest, AContainedElementKeepsItsPositionRelativeToItsContainer) {
    // inner lies at (5, 5) in a, at (15, 15) on the scene.
    click(20, 20);
    ASSERT_EQ(selection(), (std::vector<DiagramElement>{blocks.inner}));
    press(25, 25);
    move(35, 35);
    release(35, 35);
    EXPECT_EQ(rootPosition(blocks.inner), (Point{5, 5}));
    EXPECT_EQ(rootSize(blocks.inner), (Point{20, 20}));

    press(15, 15);
    move(12, 11);
    release(12, 11);
    EXPECT_EQ(rootTransactions.count(), 2);
    EXPECT_EQ(rootPosition(blocks.inner), (Point{2, 1}));
    EXPECT_EQ(rootSize(blocks.inner), (Point{23, 24}));
    EXPECT_EQ(editor->getGraphics()->getGlyph(blocks.inner)->getRoot().getSceneBounds(),
              (TAVI::GLRect<double>{12, 11, 23, 24}));
}

TEST_F(ResizeBehaviorTest, AResizeOfANodeThatIsNoGlyphsRootChangesNoElement) {
    ZEPH::RectNode stray = ZEPH::RectNode::create({0, 0, 20, 20});
    stray.setPosition({300, 300});
    scene().addNode(stray);
    const TAVI::Holder<ZEPH::Tool> tool = scene().createToolByRole(resizeRole());
    auto* resize = dynamic_cast<ResizeBehavior*>(tool.get());
    ASSERT_NE(resize, nullptr);
    resize->setTargetNode(stray);
    resize->setHandle(ZEPH::ResizeBehavior::BottomRight);
    resize->setStartScenePosition({320, 320});
    editor->addTool(tool);
    move(340, 340);
    release(340, 340);
    EXPECT_FALSE(editor->hasTool(tool));
    EXPECT_EQ(rootTransactions.count(), 0);
    EXPECT_FALSE(workingCopy().hasObjectsDeviatingFromRoot());
}

} // namespace
