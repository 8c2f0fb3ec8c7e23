#include "platform/zeph/ContainerNode.hpp"
#include "platform/zeph/KeyEvent.hpp"
#include "platform/zeph/MarqueeSelectionTool.hpp"
#include "platform/zeph/MouseEvent.hpp"
#include "platform/zeph/MoveTool.hpp"
#include "platform/zeph/RectNode.hpp"
#include "platform/zeph/Scene.hpp"
#include "platform/zeph/SelectionTool.hpp"
#include "platform/zeph/TextNode.hpp"
#include "platform/zeph/ToolConstructor.hpp"
#include "tests/platform/zeph/GestureScene.hpp"

#include <gtest/gtest.h>

using namespace ZEPH;
using Point = TAVI::GLPoint<double>;

namespace {

// A selection tool that records what its selection operations are asked to do.
class RecordingSelectionTool : public SelectionTool {
public:
    void setNodeSelected(Node node, bool select) const override {
        if (select)
            selected.push_back(node);
        SelectionTool::setNodeSelected(node, select);
    }
    void deselectAll() const override {
        ++deselectAllCalls;
        SelectionTool::deselectAll();
    }
    mutable std::vector<Node> selected;
    mutable int deselectAllCalls = 0;
};

// A scene with the selection tool at the bottom of the stack, the move and
// marquee tools known by role, and three selectable, movable 40x40 boxes at
// x = 0, 100 and 200 (the first with a label that is not selectable itself).
class BaseToolsTest : public ::testing::Test {
protected:
    void SetUp() override {
        scene->addTool(selection, "Selection");
        ZephTest::addGestureToolConstructors(*scene);
        boxes = ZephTest::addMovableBoxes(*scene, 3);
        label = TextNode::create("A");
        label.setPosition({5, 5});
        label.setParent(boxes[0]);
    }

    void press(double x, double y, int modifiers = NoModifier) {
        MouseEvent event({x, y}, LeftButton, LeftButton, modifiers);
        scene->handleMousePressEvent(event);
    }
    void move(double x, double y, int modifiers = NoModifier) {
        MouseEvent event({x, y}, NoButton, LeftButton, modifiers);
        scene->handleMouseMoveEvent(event);
    }
    void release(double x, double y, int modifiers = NoModifier) {
        MouseEvent event({x, y}, LeftButton, NoButton, modifiers);
        scene->handleMouseReleaseEvent(event);
    }
    void click(double x, double y, int modifiers = NoModifier) {
        press(x, y, modifiers);
        release(x, y, modifiers);
    }
    std::vector<Node> selected() const { return scene->getSelectedNodes(); }
    std::size_t selectedCount() const { return scene->getSelectedNodes().size(); }

    TAVI::Holder<Scene> scene = Scene::createScene();
    TAVI::Holder<RecordingSelectionTool> selection{new RecordingSelectionTool};
    std::vector<RectNode> boxes;
    TextNode label;
};

TEST_F(BaseToolsTest, ClicksSelectTheNearestSelectableNodeWithShiftExtendingAndControlToggling) {
    ASSERT_EQ(scene->getNodeAt({8, 8}), label);
    click(8, 8);
    EXPECT_EQ(selected(), (std::vector<Node>{boxes[0]}));
    click(110, 10);
    EXPECT_EQ(selected(), (std::vector<Node>{boxes[1]}));
    EXPECT_EQ(scene->getTools().size(), 1u);
    click(10, 10, ShiftModifier);
    EXPECT_EQ(selectedCount(), 2u);
    // A plain click on a selected node selects only it, on release.
    press(10, 10);
    EXPECT_EQ(selectedCount(), 2u);
    release(10, 10);
    EXPECT_EQ(selected(), (std::vector<Node>{boxes[0]}));
    click(110, 10, ShiftModifier);
    click(10, 10, ControlModifier);
    EXPECT_FALSE(boxes[0].isSelected());
    EXPECT_TRUE(boxes[1].isSelected());
    click(10, 10, ControlModifier);
    EXPECT_TRUE(boxes[0].isSelected());
    // Modified clicks on empty space keep the selection; a plain one clears it.
    click(70, 70, ShiftModifier);
    EXPECT_EQ(selectedCount(), 2u);
    click(70, 70);
    EXPECT_EQ(selectedCount(), 0u);
}

TEST_F(BaseToolsTest, DragOnASelectedMovableNodeMovesTheWholeSelection) {
    click(10, 10);
    click(110, 10, ShiftModifier);
    press(10, 10);
    move(11, 11); // under the threshold: nothing moves yet
    EXPECT_EQ(scene->getTools().size(), 1u);
    EXPECT_EQ(boxes[0].getPosition(), (Point{0, 0}));

    move(20, 15);
    ASSERT_TRUE(scene->hasTool("Move"));
    EXPECT_EQ(boxes[0].getPosition(), (Point{10, 5}));
    EXPECT_EQ(boxes[1].getPosition(), (Point{110, 5}));
    EXPECT_EQ(boxes[2].getPosition(), (Point{200, 0}));
    auto* mover = dynamic_cast<MoveTool*>(scene->getToolByRole("Move").get());
    ASSERT_NE(mover, nullptr);
    EXPECT_EQ(mover->getStartScenePosition(), (Point{10, 10}));
    EXPECT_EQ(mover->getMovingSet().size(), 2u);

    move(40, 30);
    release(40, 30);
    EXPECT_EQ(boxes[0].getPosition(), (Point{30, 20}));
    EXPECT_EQ(boxes[1].getPosition(), (Point{130, 20}));
    EXPECT_FALSE(scene->hasTool("Move"));
    EXPECT_EQ(scene->getTools().size(), 1u);
    // The drag kept the selection.
    EXPECT_EQ(selectedCount(), 2u);
}

TEST_F(BaseToolsTest, ShiftKeepsAMoveOnItsLongerAxisAndEscapePutsTheNodesBack) {
    press(10, 10);
    move(30, 14, ShiftModifier);
    EXPECT_EQ(boxes[0].getPosition(), (Point{20, 0}));
    move(14, 40, ShiftModifier);
    EXPECT_EQ(boxes[0].getPosition(), (Point{0, 30}));
    move(14, 40);
    EXPECT_EQ(boxes[0].getPosition(), (Point{4, 30}));
    KeyEvent escape(Key_Escape);
    scene->handleKeyPressEvent(escape);
    EXPECT_EQ(boxes[0].getPosition(), (Point{0, 0}));
    EXPECT_FALSE(scene->hasTool("Move"));
    release(50, 50);
    EXPECT_EQ(boxes[0].getPosition(), (Point{0, 0}));
}

// A selected node inside a selected node: it moves once, with its parent, unless a layout
// places the parent, when it moves by itself.
TEST_F(BaseToolsTest, ASelectedChildOfASelectedNodeMovesOnce) {
    for (const bool constrained : {false, true}) {
        SCOPED_TRACE(constrained ? "parent placed by a layout" : "free parent");
        RectNode inner = RectNode::create({0, 0, 10, 10});
        inner.setPosition({20, 20});
        inner.setSelectable(true);
        inner.setMovable(true);
        inner.setParent(boxes[2]);
        boxes[2].setLayoutConstraintFlag(constrained);
        click(210, 10);
        click(225, 25, ShiftModifier);
        EXPECT_EQ(selectedCount(), 2u);
        press(225, 25);
        move(235, 25);
        release(235, 25);
        EXPECT_EQ(boxes[2].getPosition(), (Point{constrained ? 200.0 : 210.0, 0}));
        EXPECT_EQ(inner.getPosition(), (Point{constrained ? 30.0 : 20.0, 20}));
        inner.remove();
        boxes[2].setPosition({200, 0});
    }
}

TEST_F(BaseToolsTest, NodesThatAreNotMovableStay) {
    boxes[1].setMovable(false);
    press(110, 10);
    move(150, 10);
    release(150, 10);
    EXPECT_EQ(boxes[1].getPosition(), (Point{100, 0}));
    EXPECT_FALSE(scene->hasTool("Move"));
    EXPECT_EQ(scene->getTools().size(), 1u);
}

TEST_F(BaseToolsTest, NodesPlacedByALayoutStayWhenTheSelectionMoves) {
    EXPECT_FALSE(boxes[1].getLayoutConstraintFlag());
    boxes[1].setLayoutConstraintFlag(true);
    EXPECT_TRUE(boxes[1].getLayoutConstraintFlag());
    click(10, 10);
    click(110, 10, ShiftModifier);
    press(10, 10);
    move(30, 20);
    release(30, 20);
    EXPECT_EQ(boxes[0].getPosition(), (Point{20, 10}));
    EXPECT_EQ(boxes[1].getPosition(), (Point{100, 0}));
    EXPECT_TRUE(boxes[1].isMovable());

    // Alone, or grabbed in single move mode, it stays too.
    click(110, 10);
    press(110, 10);
    move(150, 10);
    release(150, 10);
    EXPECT_EQ(boxes[1].getPosition(), (Point{100, 0}));
    TAVI::Holder<MoveTool> single(new MoveTool);
    single->setSingleMoveMode(true);
    single->setStartScenePosition({110, 10});
    scene->addTool(single, "Move");
    move(150, 10);
    release(150, 10);
    EXPECT_TRUE(single->getMovingSet().empty());
    EXPECT_EQ(boxes[1].getPosition(), (Point{100, 0}));
    EXPECT_FALSE(scene->hasTool("Move"));
}

TEST_F(BaseToolsTest, MarqueeSelectsTheNodesItCoversThroughTheSelectionTool) {
    const std::size_t before = scene->getTopLevelNodes().size();
    press(-10, -10);
    move(150, 50);
    ASSERT_TRUE(scene->hasTool("MarqueeSelection"));
    // The band is drawn while the drag goes on.
    EXPECT_EQ(scene->getTopLevelNodes().size(), before + 1);
    auto* marquee =
        dynamic_cast<MarqueeSelectionTool*>(scene->getToolByRole("MarqueeSelection").get());
    ASSERT_NE(marquee, nullptr);
    EXPECT_EQ(marquee->getMarqueeRect(), (TAVI::GLRect<double>{-10, -10, 160, 60}));

    selection->selected.clear();
    selection->deselectAllCalls = 0;
    release(150, 50);
    EXPECT_EQ(selected().size(), 2u);
    EXPECT_TRUE(boxes[0].isSelected());
    EXPECT_TRUE(boxes[1].isSelected());
    EXPECT_FALSE(boxes[2].isSelected());
    EXPECT_EQ(selection->deselectAllCalls, 1);
    EXPECT_EQ(selection->selected.size(), 2u);
    EXPECT_EQ(scene->getTopLevelNodes().size(), before);
    EXPECT_FALSE(scene->hasTool("MarqueeSelection"));
}

TEST_F(BaseToolsTest, MarqueeWithShiftAddsAndACancelledOneSelectsNothing) {
    click(210, 10);
    press(-10, -10, ShiftModifier);
    move(50, 50, ShiftModifier);
    release(50, 50, ShiftModifier);
    EXPECT_TRUE(boxes[0].isSelected());
    EXPECT_TRUE(boxes[2].isSelected());

    const std::size_t before = scene->getTopLevelNodes().size();
    press(90, -10);
    move(150, 50);
    KeyEvent escape(Key_Escape);
    scene->handleKeyPressEvent(escape);
    EXPECT_EQ(scene->getTopLevelNodes().size(), before);
    EXPECT_FALSE(scene->hasTool("MarqueeSelection"));
    // The press on empty space cleared the selection; the cancelled band selected nothing.
    EXPECT_EQ(selectedCount(), 0u);

    // Clearing the stack in mid-drag takes the band away.
    press(-10, -10);
    move(150, 50);
    EXPECT_EQ(scene->getTopLevelNodes().size(), before + 1);
    scene->clearToolStack();
    EXPECT_EQ(scene->getTopLevelNodes().size(), before);
}

TEST_F(BaseToolsTest, MarqueeWithControlTogglesTheCoveredNodes) {
    click(10, 10);
    click(210, 10, ShiftModifier);
    selection->deselectAllCalls = 0;
    press(-10, -10, ControlModifier);
    move(150, 50, ControlModifier);
    release(150, 50, ControlModifier);
    EXPECT_FALSE(boxes[0].isSelected());
    EXPECT_TRUE(boxes[1].isSelected());
    EXPECT_TRUE(boxes[2].isSelected());
    EXPECT_EQ(selection->deselectAllCalls, 0);

    // Without a selection tool on the stack the band toggles the nodes itself.
    scene->removeTool(TAVI::Holder<Tool>(selection));
    TAVI::Holder<MarqueeSelectionTool> marquee(new MarqueeSelectionTool);
    marquee->setStartScenePosition({90, -10});
    marquee->setStartModifiers(ControlModifier);
    scene->addTool(marquee);
    move(250, 50);
    release(250, 50);
    EXPECT_FALSE(boxes[0].isSelected());
    EXPECT_FALSE(boxes[1].isSelected());
    EXPECT_FALSE(boxes[2].isSelected());
    EXPECT_FALSE(scene->hasTool(TAVI::Holder<Tool>(marquee)));
}

} // namespace
