// A client changes a rule of the canvas's gestures by overriding the hook that names it.
#include "platform/zeph/MouseEvent.hpp"
#include "platform/zeph/ResizeBehavior.hpp"
#include "platform/zeph/SelectionTool.hpp"
#include "tests/platform/zeph/GestureScene.hpp"
#include "tests/support/Gestures.hpp"

#include <gtest/gtest.h>

#include <functional>

using namespace ZEPH;
using Point = TAVI::GLPoint<double>;

namespace {

// A selection tool whose hooks answer what a test tells them.
class HookedSelectionTool : public SelectionTool {
public:
    std::function<bool(const MouseEvent&)> extend;
    std::function<bool(const MouseEvent&)> farEnough;
    bool movable = true;
    mutable std::vector<std::pair<Node, bool>> changes;
    int marquees = 0;

    bool extendSelection(const MouseEvent& event) const override {
        return extend ? extend(event) : SelectionTool::extendSelection(event);
    }
    bool movedEnough(const MouseEvent& event) const override {
        return farEnough ? farEnough(event) : SelectionTool::movedEnough(event);
    }
    bool pressedNodeIsMovable() const override {
        return movable && SelectionTool::pressedNodeIsMovable();
    }
    void setNodeSelected(Node node, bool selected) const override {
        changes.emplace_back(node, selected);
        SelectionTool::setNodeSelected(node, selected);
    }
    void invokeMarqueeTool(MouseEvent& event) override {
        ++marquees;
        SelectionTool::invokeMarqueeTool(event);
    }
};

class ToolHooksTest : public ::testing::Test {
protected:
    void SetUp() override {
        ZephTest::addGestureToolConstructors(*scene);
        boxes = ZephTest::addMovableBoxes(*scene, 2);
        scene->addTool(TAVI::Holder<Tool>(tool.get()));
    }
    TAVI::Holder<Scene> scene = Scene::createScene();
    TAVI::Holder<HookedSelectionTool> tool{new HookedSelectionTool};
    std::vector<RectNode> boxes;
    KiteTest::SceneGestures gestures{*scene};
};

} // namespace

TEST_F(ToolHooksTest, EverySelectionChangeGoesThroughSetNodeSelected) {
    gestures.click(20, 20);
    gestures.click(120, 20, ShiftModifier);
    gestures.click(300, 300); // empty space: deselectAll, one node at a time
    ASSERT_EQ(tool->changes.size(), 4u);
    EXPECT_EQ(tool->changes[0], std::make_pair(Node(boxes[0]), true));
    EXPECT_EQ(tool->changes[1], std::make_pair(Node(boxes[1]), true));
    EXPECT_FALSE(tool->changes[2].second);
    EXPECT_FALSE(tool->changes[3].second);
    EXPECT_FALSE(tool->changes[2].first == tool->changes[3].first);
}

TEST_F(ToolHooksTest, ExtendSelectionDecidesWhichModifierAdds) {
    tool->extend = [](const MouseEvent& event) { return event.hasModifier(AltModifier); };
    gestures.click(20, 20);
    gestures.click(120, 20, ShiftModifier);
    EXPECT_FALSE(boxes[0].isSelected()) << "Shift replaces the selection now";
    gestures.click(20, 20, AltModifier);
    EXPECT_TRUE(boxes[0].isSelected());
    EXPECT_TRUE(boxes[1].isSelected());
}

TEST_F(ToolHooksTest, MovedEnoughAndPressedNodeIsMovableDecideWhenADragMoves) {
    tool->farEnough = [](const MouseEvent& event) { return event.scenePos().x > 60; };
    gestures.press(20, 20);
    gestures.move(50, 50);
    gestures.release(50, 50);
    EXPECT_EQ(boxes[0].getPosition(), (Point{0, 0})) << "not far enough for this tool";
    gestures.drag({20, 20}, {80, 20});
    EXPECT_EQ(boxes[0].getPosition(), (Point{60, 0}));

    tool->movable = false;
    gestures.drag({80, 20}, {140, 20});
    EXPECT_EQ(boxes[0].getPosition(), (Point{60, 0})) << "the tool says it cannot move";
    EXPECT_EQ(tool->state(), SelectionTool::Idle);
}

TEST_F(ToolHooksTest, ADragOnEmptySpaceInvokesTheMarqueeTool) {
    gestures.drag({-20, -20}, {150, 50});
    EXPECT_EQ(tool->marquees, 1);
    EXPECT_TRUE(boxes[0].isSelected());
    EXPECT_TRUE(boxes[1].isSelected());
}

namespace {
class SquareResize : public ResizeBehavior {
protected:
    bool shouldPreserveAspect(const MouseEvent&) const override { return true; }
};
} // namespace

TEST(ResizeHooksTest, ShouldPreserveAspectKeepsTheShapeWithoutShift) {
    TAVI::Holder<Scene> scene = Scene::createScene();
    RectNode box = RectNode::create({0, 0, 40, 40});
    scene->addNode(box);
    TAVI::Holder<SquareResize> resize(new SquareResize);
    resize->setTargetNode(box);
    resize->setHandle(ResizeBehavior::Right);
    resize->setStartScenePosition({40, 20});
    scene->addTool(TAVI::Holder<Tool>(resize.get()));
    // The drag the selection tool handed over: its press went there.
    MouseEvent move({80, 20}, NoButton, LeftButton);
    scene->handleMouseMoveEvent(move);
    MouseEvent release({80, 20}, LeftButton, NoButton);
    scene->handleMouseReleaseEvent(release);
    EXPECT_EQ(box.getSceneBounds().width, 80);
    EXPECT_EQ(box.getSceneBounds().height, 80);
}
