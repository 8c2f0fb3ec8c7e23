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

    TransactionCounter rootTransactions{blocks.model};
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
    EXPECT_EQ(rootTransactions.count, 0);

    release(250, 45);
    EXPECT_EQ(resizeTool(), nullptr);
    EXPECT_EQ(rootTransactions.count, 1);
    EXPECT_EQ(rootTransactions.lastChanged, (std::vector<DiagramElement>{blocks.b}));
    EXPECT_EQ(rootSize(blocks.b), (Point{50, 35}));
    EXPECT_EQ(rootPosition(blocks.b), (Point{200, 10}));
    EXPECT_EQ(copySize(blocks.b), (Point{50, 35}));
    EXPECT_FALSE(editor->isInInteraction());
    EXPECT_EQ(editor->getGraphics()->getGlyph(blocks.b)->getRoot().getSceneBounds(),
              (TAVI::GLRect<double>{200, 10, 50, 35}));
}

TEST_F(ResizeBehaviorTest, TheTopLeftHandleMovesTheElementAsWellAsResizingIt) {
    click(220, 35);
    press(200, 10);
    move(190, 0);
    release(190, 0);
    EXPECT_EQ(rootTransactions.count, 1);
    EXPECT_EQ(rootPosition(blocks.b), (Point{190, 0}));
    EXPECT_EQ(rootSize(blocks.b), (Point{50, 40}));
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
    EXPECT_EQ(rootTransactions.count, 2);
    EXPECT_EQ(rootPosition(blocks.inner), (Point{2, 1}));
    EXPECT_EQ(rootSize(blocks.inner), (Point{23, 24}));
    EXPECT_EQ(editor->getGraphics()->getGlyph(blocks.inner)->getRoot().getSceneBounds(),
              (TAVI::GLRect<double>{12, 11, 23, 24}));
}

TEST_F(ResizeBehaviorTest, AnElementIsNeverMadeSmallerThanItsGlyphAllows) {
    // The block glyph's minimum is the default 10 by 10; the bottom-right handle goes far past
    // the top-left corner.
    click(220, 35);
    press(240, 40);
    move(150, -50);
    release(150, -50);
    EXPECT_EQ(rootTransactions.count, 1);
    EXPECT_EQ(rootPosition(blocks.b), (Point{200, 10}));
    EXPECT_EQ(rootSize(blocks.b), (Point{10, 10}));
}

TEST_F(ResizeBehaviorTest, AResizeThatEndsWhereItStartedWritesNothing) {
    click(220, 35);
    press(240, 40);
    move(260, 60);
    move(240, 40);
    release(240, 40);
    EXPECT_EQ(rootTransactions.count, 0);
    EXPECT_EQ(rootSize(blocks.b), (Point{40, 30}));
    EXPECT_EQ(copySize(blocks.b), (Point{40, 30}));
    EXPECT_FALSE(editor->isInInteraction());
}

TEST_F(ResizeBehaviorTest, EscapeLeavesModelAndWorkingCopyAsBefore) {
    click(220, 35);
    press(240, 40);
    move(280, 80);
    ASSERT_EQ(copySize(blocks.b), (Point{80, 70}));
    key(ZEPH::Key_Escape);
    EXPECT_EQ(resizeTool(), nullptr);
    EXPECT_EQ(copySize(blocks.b), (Point{40, 30}));
    EXPECT_FALSE(editor->isInInteraction());
    EXPECT_TRUE(navigateUpRequests.received.empty());
    release(280, 80);
    EXPECT_EQ(rootTransactions.count, 0);
    EXPECT_EQ(rootSize(blocks.b), (Point{40, 30}));
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
    EXPECT_EQ(rootTransactions.count, 0);
    EXPECT_FALSE(workingCopy().hasObjectsDeviatingFromRoot());
}

} // namespace
