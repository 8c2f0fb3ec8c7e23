#include "platform/zeph/ContainerNode.hpp"
#include "platform/zeph/EllipseNode.hpp"
#include "platform/zeph/KeyEvent.hpp"
#include "platform/zeph/MarqueeSelectionTool.hpp"
#include "platform/zeph/MouseEvent.hpp"
#include "platform/zeph/MoveTool.hpp"
#include "platform/zeph/RectNode.hpp"
#include "platform/zeph/ResizeBehavior.hpp"
#include "platform/zeph/Scene.hpp"
#include "platform/zeph/SelectionTool.hpp"
#include "platform/zeph/ToolConstructor.hpp"
#include "platform/zeph/ToolStack.hpp"
#include "tests/platform/zeph/GestureScene.hpp"
#include "tests/support/AssertionRecorder.hpp"
#include "tests/support/Gestures.hpp"

#include <gtest/gtest.h>

using namespace ZEPH;
using Point = TAVI::GLPoint<double>;
using Rect = TAVI::GLRect<double>;

namespace {

// The base tools on a scene with two selectable, movable 40x40 boxes at x = 0
// and 100, driven by injected events as a canvas would send them.
class ToolRobustnessTest : public ::testing::Test {
protected:
    void SetUp() override {
        scene->addTool(TAVI::Holder<Tool>(new SelectionTool), "Selection");
        ZephTest::addGestureToolConstructors(*scene);
        scene->addToolConstructor(
            TAVI::Holder<BaseToolConstructor>(new ToolConstructor<ResizeBehavior>("Resize")));
        boxes = ZephTest::addMovableBoxes(*scene, 2);
    }

    void selectBox(int i) { g.click(i * 100.0 + 20, 20); }
    std::size_t topLevelCount() const { return scene->getTopLevelNodes().size(); }

    TAVI::Holder<Scene> scene = Scene::createScene();
    std::vector<RectNode> boxes;
    KiteTest::SceneGestures g{*scene};
};

TEST_F(ToolRobustnessTest, ANodeRemovedInMidMoveIsLeftAloneAndTheRestMoveOn) {
    KiteTest::AssertionRecorder assertions;
    selectBox(0);
    g.press(110, 10, ShiftModifier);
    g.release(110, 10);
    g.press(10, 10);
    g.move(30, 10);
    ASSERT_TRUE(scene->hasTool("Move"));
    boxes[0].remove();
    g.move(40, 20);
    EXPECT_EQ(boxes[1].getPosition(), (Point{130, 10}));
    g.key(Key_Escape);
    EXPECT_EQ(boxes[1].getPosition(), (Point{100, 0}));
    EXPECT_FALSE(scene->hasTool("Move"));
    EXPECT_EQ(assertions.count(), 0u);
}

// A release can go missing (a dialog or another window takes the pointer in
// mid-drag): what comes next is a move without the button, another press, or
// the focus going away. The gesture ends as Escape ends it rather than
// following the bare pointer about.
TEST_F(ToolRobustnessTest, AMoveEndsLikeEscapeWhenItsReleaseNeverComes) {
    g.press(10, 10);
    g.move(30, 10);
    ASSERT_TRUE(scene->hasTool("Move"));
    g.forgetButtons();
    g.move(60, 10);
    EXPECT_FALSE(scene->hasTool("Move"));
    EXPECT_EQ(boxes[0].getPosition(), (Point{0, 0}));

    g.press(10, 10);
    g.move(30, 10);
    g.focusOut();
    EXPECT_FALSE(scene->hasTool("Move"));
    EXPECT_EQ(boxes[0].getPosition(), (Point{0, 0}));

    // A second press goes on to the selection tool below, as a fresh click.
    g.press(10, 10);
    g.move(30, 10);
    g.press(120, 20);
    EXPECT_FALSE(scene->hasTool("Move"));
    EXPECT_EQ(boxes[0].getPosition(), (Point{0, 0}));
    EXPECT_EQ(scene->getSelectedNodes(), (std::vector<Node>{boxes[1]}));
    g.release(120, 20);
    // A press of another button in mid-drag does not end it.
    g.press(120, 20);
    g.move(130, 20);
    g.press(130, 20, NoModifier, RightButton);
    g.release(130, 20, NoModifier, RightButton);
    g.move(140, 30);
    EXPECT_TRUE(scene->hasTool("Move"));
    g.release(140, 30);
    EXPECT_EQ(boxes[1].getPosition(), (Point{120, 10}));
}

TEST_F(ToolRobustnessTest, AMarqueeEndsWithoutSelectingWhenItsReleaseNeverComes) {
    const std::size_t before = topLevelCount();
    selectBox(1);
    g.press(-10, -10, ShiftModifier);
    g.move(50, 50);
    ASSERT_TRUE(scene->hasTool("MarqueeSelection"));
    g.forgetButtons();
    g.move(60, 60);
    EXPECT_FALSE(scene->hasTool("MarqueeSelection"));
    EXPECT_EQ(topLevelCount(), before);
    EXPECT_FALSE(boxes[0].isSelected());

    g.press(-10, -10, ShiftModifier);
    g.move(50, 50);
    g.focusOut();
    EXPECT_FALSE(scene->hasTool("MarqueeSelection"));
    EXPECT_EQ(topLevelCount(), before);
    g.release(50, 50);
    EXPECT_FALSE(boxes[0].isSelected());
    EXPECT_TRUE(boxes[1].isSelected());
}

TEST_F(ToolRobustnessTest, AResizeGoesBackWhenItsReleaseNeverComes) {
    selectBox(0);
    g.press(40, 40);
    g.move(60, 50);
    ASSERT_TRUE(scene->hasTool("Resize"));
    EXPECT_EQ(boxes[0].getSceneBounds(), (Rect{0, 0, 60, 50}));
    g.focusOut();
    EXPECT_FALSE(scene->hasTool("Resize"));
    EXPECT_EQ(boxes[0].getSceneBounds(), (Rect{0, 0, 40, 40}));
    g.forgetButtons();
    g.move(80, 80);
    EXPECT_EQ(boxes[0].getSceneBounds(), (Rect{0, 0, 40, 40}));

    g.press(40, 40);
    g.move(60, 50);
    g.press(200, 200);
    EXPECT_FALSE(scene->hasTool("Resize"));
    EXPECT_EQ(boxes[0].getSceneBounds(), (Rect{0, 0, 40, 40}));
}

TEST_F(ToolRobustnessTest, AScaledNodeIsResizedToThePointerAndPutBackExactly) {
    // Scene bounds (200, 200, 40, 20): a 20x10 rectangle in a container scaled
    // twice, and a 10x5 ellipse scaled four times by itself.
    ContainerNode group = ContainerNode::create();
    scene->addNode(group);
    group.scale(2.0);
    RectNode rect = RectNode::create({0, 0, 20, 10});
    rect.setParent(group);
    rect.setPosition({100, 100});
    EllipseNode ellipse = EllipseNode::create({0, 0, 10, 5});
    ellipse.scale(4.0);
    ellipse.setPosition({200, 300});
    scene->addNode(ellipse);
    for (Node node : std::vector<Node>{rect, ellipse}) {
        node.setSelectable(true);
        node.setMovable(true);
    }

    rect.setSelected(true);
    g.press(240, 220);
    g.move(260, 230);
    g.release(260, 230);
    EXPECT_EQ(rect.getSceneBounds(), (Rect{200, 200, 60, 30}));
    EXPECT_EQ(rect.getRect(), (Rect{0, 0, 30, 15}));

    scene->clearSelection();
    ellipse.setSelected(true);
    g.press(200, 300); // the top-left handle
    g.move(190, 290);
    EXPECT_EQ(ellipse.getSceneBounds(), (Rect{190, 290, 50, 30}));
    g.key(Key_Escape);
    EXPECT_EQ(ellipse.getSceneBounds(), (Rect{200, 300, 40, 20}));
    EXPECT_EQ(ellipse.getPosition(), (Point{200, 300}));
}

// A stack of its own (no scene) has nowhere to draw the band: the drag goes on
// without one.
TEST(MarqueeRobustnessTest, AMarqueeOnAStackWithoutASceneDragsWithoutABand) {
    KiteTest::AssertionRecorder assertions;
    ToolStack stack;
    TAVI::Holder<MarqueeSelectionTool> marquee(new MarqueeSelectionTool);
    marquee->setStartScenePosition({0, 0});
    stack.addTool(marquee);
    MouseEvent drag({50, 40}, NoButton, LeftButton);
    stack.handleMouseMoveEvent(drag);
    EXPECT_TRUE(drag.isConsumed());
    EXPECT_EQ(marquee->getMarqueeRect(), (Rect{0, 0, 50, 40}));
    MouseEvent release({50, 40}, LeftButton, NoButton);
    stack.handleMouseReleaseEvent(release);
    EXPECT_FALSE(stack.hasTool(TAVI::Holder<Tool>(marquee)));
    EXPECT_EQ(assertions.count(), 0u);
}

} // namespace
