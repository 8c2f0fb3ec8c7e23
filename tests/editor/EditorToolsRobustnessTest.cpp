#include "tests/editor/EditorToolsFixture.hpp"

#include "editor/Glyph.hpp"
#include "editor/Graphics.hpp"
#include "tests/support/AssertionRecorder.hpp"

#include <chrono>
#include <cmath>
#include <limits>
#include <thread>

using namespace KITE;
using namespace KITE::Test;
using Point = TAVI::GLPoint<double>;

namespace {

class EditorToolsRobustnessTest : public EditorToolsTest {
protected:
    Point rootSize(const DiagramElement& element) const { return inRoot(element).getSize(); }
    // A new block on the diagram, committed to the model's root.
    GraphNode addBlock(const Point& position) {
        VELD::Transaction t(root());
        const GraphNode block = blocks.addBlock(blocks.diagram, position, {20, 20});
        t.commit();
        return block;
    }
    void undoRoot() const { root().undoToChangeLevel(root().getCurrentChangeLevel() - 1); }
    static void pause() { std::this_thread::sleep_for(std::chrono::milliseconds(120)); }

    Reports rootTransactions{blocks.model};
};

// --- the editor going in the middle of a gesture ----------------------------------------------

TEST_F(EditorToolsRobustnessTest, AnEditorClosedInMidDragLeavesTheModelAsBefore) {
    click(40, 35);
    press(40, 35);
    move(140, 35);
    ASSERT_TRUE(editor->isInInteraction());
    closeEditor();
    EXPECT_EQ(rootPosition(blocks.a), (Point{10, 10}));
    EXPECT_EQ(rootTransactions.count(), 0);
    // The model goes on without the editor that was following it.
    VELD::Transaction t(root());
    blocks.b.setPosition({0, 100});
    t.commit();
    EXPECT_EQ(rootTransactions.count(), 1);
}

TEST_F(EditorToolsRobustnessTest,
       AnEditorTerminatedInMidResizeDropsThePreviewAndIgnoresTheRelease) {
    KiteTest::AssertionRecorder assertions;
    click(220, 35);
    press(240, 40);
    move(260, 60);
    ASSERT_TRUE(editor->isInInteraction());
    ZEPH::Scene* canvasScene = editor->getScene();
    TAVI::ErrorHolder errors;
    editor->terminate(errors);
    EXPECT_FALSE(editor->isInInteraction());
    ZEPH::MouseEvent event({250, 45}, ZEPH::LeftButton, ZEPH::NoButton, ZEPH::NoModifier);
    canvasScene->handleMouseReleaseEvent(event);
    EXPECT_EQ(rootTransactions.count(), 0);
    EXPECT_EQ(rootSize(blocks.b), (Point{40, 30}));
    EXPECT_EQ(assertions.count(), 0u);
    editor.reset();
}

TEST_F(EditorToolsRobustnessTest, AnEditorClosedInMidMarqueeLeavesAQuietSceneWithoutItsTools) {
    press(100, 100);
    move(5, 5);
    ASSERT_NE(editor->getToolByRole(marqueeRole()), nullptr);
    const TAVI::Holder<ZEPH::Scene> kept(editor->getScene());
    const std::size_t before = selectionEvents.received.size();
    closeEditor();
    EXPECT_EQ(selectionEvents.received.size(), before);
    // Only the graphics' root is left on the scene: no marquee.
    EXPECT_EQ(kept->getTopLevelNodes().size(), 1u);

    // The scene, kept after its editor, makes no tools for the editor that went.
    KiteTest::AssertionRecorder assertions;
    EXPECT_FALSE(kept->hasToolConstructor(moveRole()));
    EXPECT_FALSE(kept->addToolByRole(moveRole()));
    EXPECT_FALSE(kept->addToolByRole(resizeRole()));
    EXPECT_FALSE(kept->addToolByRole(marqueeRole()));
    // Events on it reach no tool of the editor.
    ZEPH::MouseEvent pressEvent({40, 35}, ZEPH::LeftButton, ZEPH::LeftButton, ZEPH::NoModifier);
    kept->handleMousePressEvent(pressEvent);
    ZEPH::MouseEvent moveEvent({90, 35}, ZEPH::NoButton, ZEPH::LeftButton, ZEPH::NoModifier);
    kept->handleMouseMoveEvent(moveEvent);
    EXPECT_TRUE(kept->getTools().empty());
    EXPECT_EQ(rootTransactions.count(), 0);
}

// --- the model changing under a gesture -------------------------------------------------------

TEST_F(EditorToolsRobustnessTest, UndoingTheDraggedElementsCreationInMidDragWritesNothing) {
    const GraphNode c = addBlock({300, 100});
    click(310, 110);
    ASSERT_EQ(selection(), (std::vector<DiagramElement>{DiagramElement(c)}));
    press(310, 110);
    move(330, 130);
    ASSERT_EQ(copyPosition(c), (Point{320, 120}));
    const int before = rootTransactions.count();
    undoRoot();
    EXPECT_EQ(rootTransactions.count(), before + 1);
    EXPECT_TRUE(selection().empty());
    EXPECT_EQ(editor->getGraphics()->getGlyph(c), nullptr);
    move(350, 150);
    release(350, 150);
    EXPECT_EQ(rootTransactions.count(), before + 1);
    EXPECT_FALSE(inRoot(c).isValid());
    EXPECT_FALSE(editor->isInInteraction());
    EXPECT_EQ(rootPosition(blocks.a), (Point{10, 10}));
}

TEST_F(EditorToolsRobustnessTest, UndoingAnEarlierChangeInMidDragKeepsTheDragAndTheUndo) {
    {
        VELD::Transaction t(root());
        blocks.b.setPosition({200, 200});
        t.commit();
    }
    click(40, 35);
    press(40, 35);
    move(60, 35);
    undoRoot();
    EXPECT_EQ(rootPosition(blocks.b), (Point{200, 10}));
    move(80, 35);
    EXPECT_EQ(copyPosition(blocks.a), (Point{50, 10}));
    EXPECT_EQ(copyPosition(blocks.b), (Point{200, 10}));
    release(80, 35);
    EXPECT_EQ(rootPosition(blocks.a), (Point{50, 10}));
    EXPECT_EQ(rootPosition(blocks.b), (Point{200, 10}));
    EXPECT_FALSE(editor->isInInteraction());
}

TEST_F(EditorToolsRobustnessTest, AWorkingCopyRemovedInMidDragEndsTheGestureWithoutWriting) {
    click(40, 35);
    press(40, 35);
    move(60, 35);
    const std::string name = workingCopy().getName();
    ASSERT_TRUE(root().removeDeviantWithName(name));
    KiteTest::AssertionRecorder assertions;
    move(80, 35);
    release(80, 35);
    EXPECT_EQ(rootTransactions.count(), 0);
    EXPECT_EQ(rootPosition(blocks.a), (Point{10, 10}));
    EXPECT_EQ(assertions.count(), 0u);
    // The editor shows nothing of the model any more, and refuses to select in it.
    editor->select(blocks.b);
    EXPECT_EQ(assertions.count(), 1u);
    EXPECT_TRUE(editor->getSelection().empty() || !editor->isSelected(blocks.b));
}

// Without a listener on the model's root, which would not survive the model.
using EditorToolsModelEndTest = EditorToolsTest;

TEST_F(EditorToolsModelEndTest, AModelEndedInMidDragEndsTheGestureQuietly) {
    click(40, 35);
    press(40, 35);
    move(60, 35);
    blocks.model.destroy();
    KiteTest::AssertionRecorder assertions;
    move(80, 35);
    release(80, 35);
    click(220, 35);
    press(240, 40);
    move(260, 60);
    key(ZEPH::Key_Escape);
    release(260, 60);
    EXPECT_FALSE(editor->isInInteraction());
    EXPECT_EQ(assertions.count(), 0u) << ::testing::PrintToString(
        assertions.reports().size() ? assertions.reports().front().message : "");
}

TEST_F(EditorToolsRobustnessTest, NeighboursWithNonFiniteGeometryAreNoPlaceToSnapTo) {
    const double nan = std::numeric_limits<double>::quiet_NaN();
    const double inf = std::numeric_limits<double>::infinity();
    {
        VELD::Transaction t(root());
        blocks.b.setPosition({nan, 10});
        blocks.addBlock(blocks.diagram, {inf, -inf}, {10, 10});
        blocks.addBlock(blocks.diagram, {100, 300}, {1e300, 1e300});
        blocks.addBlock(blocks.diagram, {200, 100}, {40, 30});
        t.commit();
    }
    KiteTest::AssertionRecorder assertions; // the canvas refuses to draw the non-finite ones
    click(40, 35);
    press(40, 35);
    // a's top-left corner 3 short of the finite block's on both axes: it snaps onto it.
    move(227, 122);
    EXPECT_EQ(copyPosition(blocks.a), (Point{200, 100}));
    pause();
    move(228, 123);
    EXPECT_EQ(copyPosition(blocks.a), (Point{200, 100}));
    release(228, 123);
    // Dropped onto that block, a went into it: where it is on the canvas is what snapped.
    EXPECT_EQ(inRoot(blocks.a).getAbsPosition(), (Point{200, 100}));
    EXPECT_EQ(rootTransactions.count(), 2);
}

TEST_F(EditorToolsRobustnessTest, DraggingOrResizingToANonFinitePointWritesNothing) {
    const double inf = std::numeric_limits<double>::infinity();
    click(40, 35);
    press(40, 35);
    move(60, 35);
    move(inf, 35);
    EXPECT_EQ(copyPosition(blocks.a), (Point{10, 10}));
    release(inf, 35);
    EXPECT_EQ(rootPosition(blocks.a), (Point{10, 10}));
    EXPECT_EQ(rootTransactions.count(), 0);
    EXPECT_FALSE(editor->isInInteraction());

    click(220, 35);
    press(240, 40);
    move(inf, 60);
    release(inf, 60);
    const Point size = rootSize(blocks.b);
    EXPECT_TRUE(std::isfinite(size.x) && std::isfinite(size.y)) << size.x << ", " << size.y;
    EXPECT_FALSE(editor->isInInteraction());
}

} // namespace
