#include "platform/zeph/KeyEvent.hpp"
#include "platform/zeph/MarqueeSelectionTool.hpp"
#include "platform/zeph/MouseEvent.hpp"
#include "platform/zeph/MoveTool.hpp"
#include "platform/zeph/RectNode.hpp"
#include "platform/zeph/ResizeBehavior.hpp"
#include "platform/zeph/Scene.hpp"
#include "platform/zeph/SelectionTool.hpp"
#include "platform/zeph/ToolConstructor.hpp"
#include "tests/support/AssertionRecorder.hpp"

#include <gtest/gtest.h>

using namespace ZEPH;
using Point = TAVI::GLPoint<double>;
using Rect = TAVI::GLRect<double>;

namespace {

// The base tools on a scene with two selectable, movable 40x40 boxes at x = 0
// and 100, driven by injected events as a canvas would send them.
class ToolRobustnessTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        scene->addTool(TAVI::Holder<Tool>(new SelectionTool), "Selection");
        scene->addToolConstructor(TAVI::Holder<AbstractToolConstructor>(
            new ToolConstructor<MoveTool>("Move")));
        scene->addToolConstructor(TAVI::Holder<AbstractToolConstructor>(
            new ToolConstructor<MarqueeSelectionTool>("MarqueeSelection")));
        scene->addToolConstructor(TAVI::Holder<AbstractToolConstructor>(
            new ToolConstructor<ResizeBehavior>("Resize")));
        for (int i = 0; i < 2; ++i) {
            RectNode box = RectNode::create({0, 0, 40, 40});
            box.setPosition({i * 100.0, 0});
            box.setSelectable(true);
            box.setMovable(true);
            scene->addNode(box);
            boxes.push_back(box);
        }
    }

    void press(double x, double y, int button = LeftButton, int modifiers = NoModifier)
    {
        MouseEvent event({x, y}, button, button, modifiers);
        scene->handleMousePressEvent(event);
    }
    void move(double x, double y, int buttons = LeftButton, int modifiers = NoModifier)
    {
        MouseEvent event({x, y}, NoButton, buttons, modifiers);
        scene->handleMouseMoveEvent(event);
    }
    void release(double x, double y, int button = LeftButton)
    {
        MouseEvent event({x, y}, button, NoButton);
        scene->handleMouseReleaseEvent(event);
    }
    void key(int code)
    {
        KeyEvent event(code);
        scene->handleKeyPressEvent(event);
    }
    std::size_t topLevelCount() const { return scene->getTopLevelNodes().size(); }

    TAVI::Holder<Scene> scene = Scene::createScene();
    std::vector<RectNode> boxes;
};

TEST_F(ToolRobustnessTest, ANodeRemovedInMidMoveIsLeftAloneAndTheRestMoveOn)
{
    KiteTest::AssertionRecorder assertions;
    press(10, 10);
    press(110, 10, LeftButton, ShiftModifier);
    release(110, 10);
    press(10, 10);
    move(30, 10);
    ASSERT_TRUE(scene->hasTool("Move"));
    boxes[0].remove();
    move(40, 20);
    EXPECT_EQ(boxes[1].getPosition(), (Point{130, 10}));
    key(Key_Escape);
    EXPECT_EQ(boxes[1].getPosition(), (Point{100, 0}));
    EXPECT_FALSE(scene->hasTool("Move"));
    EXPECT_EQ(assertions.count(), 0u);
}

} // namespace
