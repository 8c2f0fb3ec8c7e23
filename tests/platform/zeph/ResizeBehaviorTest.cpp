#include "platform/zeph/ResizeBehavior.hpp"
#include "platform/zeph/KeyEvent.hpp"
#include "platform/zeph/MouseEvent.hpp"
#include "platform/zeph/RectNode.hpp"
#include "platform/zeph/Scene.hpp"
#include "platform/zeph/SelectionTool.hpp"
#include "platform/zeph/TextNode.hpp"
#include "platform/zeph/ToolConstructor.hpp"

#include <gtest/gtest.h>

#include <cmath>

using namespace ZEPH;
using Point = TAVI::GLPoint<double>;
using Rect = TAVI::GLRect<double>;

namespace {

struct ResizeCase {
    const char* name;
    ResizeBehavior::Handle handle;
    Point delta;
    int modifiers;
    Rect expected;
};

class ResizedRectTest : public ::testing::TestWithParam<ResizeCase> {};

// Every case starts from (0, 0, 100, 50).
TEST_P(ResizedRectTest, GivesTheExpectedRectangle) {
    const ResizeCase& c = GetParam();
    EXPECT_EQ(ResizeBehavior::resizedRect({0, 0, 100, 50}, c.handle, c.delta, c.modifiers),
              c.expected);
}

INSTANTIATE_TEST_SUITE_P(
    Handles, ResizedRectTest,
    ::testing::Values(
        ResizeCase{"TopLeft", ResizeBehavior::TopLeft, {10, 20}, NoModifier, {10, 20, 90, 30}},
        ResizeCase{"Top", ResizeBehavior::Top, {10, 20}, NoModifier, {0, 20, 100, 30}},
        ResizeCase{"TopRight", ResizeBehavior::TopRight, {10, 20}, NoModifier, {0, 20, 110, 30}},
        ResizeCase{"Right", ResizeBehavior::Right, {10, 20}, NoModifier, {0, 0, 110, 50}},
        ResizeCase{
            "BottomRight", ResizeBehavior::BottomRight, {10, 20}, NoModifier, {0, 0, 110, 70}},
        ResizeCase{"Bottom", ResizeBehavior::Bottom, {10, 20}, NoModifier, {0, 0, 100, 70}},
        ResizeCase{"BottomLeft", ResizeBehavior::BottomLeft, {10, 20}, NoModifier, {10, 0, 90, 70}},
        ResizeCase{"Left", ResizeBehavior::Left, {10, 20}, NoModifier, {10, 0, 90, 50}},
        ResizeCase{"AltAboutTheCentre",
                   ResizeBehavior::BottomRight,
                   {10, 20},
                   AltModifier,
                   {-10, -20, 120, 90}},
        ResizeCase{"ShiftCornerFollowsTheLargerGrowth",
                   ResizeBehavior::BottomRight,
                   {10, 20},
                   ShiftModifier,
                   {0, 0, 140, 70}},
        ResizeCase{"ShiftEdgeKeepsTheOtherAxisCentred",
                   ResizeBehavior::Right,
                   {10, 0},
                   ShiftModifier,
                   {0, -2.5, 110, 55}},
        ResizeCase{"PastTheOppositeEdgeStopsAtTheMinimum",
                   ResizeBehavior::Left,
                   {150, 0},
                   NoModifier,
                   {99, 0, 1, 50}},
        ResizeCase{"NoHandleChangesNothing",
                   ResizeBehavior::NoHandle,
                   {10, 20},
                   NoModifier,
                   {0, 0, 100, 50}}),
    [](const ::testing::TestParamInfo<ResizeCase>& info) { return std::string(info.param.name); });

TEST(ResizedRectMinimumTest, AGivenMinimumHoldsTheEdgeOppositeTheHandle) {
    // The left handle dragged past the right edge: the right edge stays, 30 wide at least.
    EXPECT_EQ(ResizeBehavior::resizedRect({0, 0, 100, 50}, ResizeBehavior::Left, {150, 0},
                                          NoModifier, {30, 20}),
              (Rect{70, 0, 30, 50}));
    // The top handle, about the centre: the height grows back around the centre.
    EXPECT_EQ(ResizeBehavior::resizedRect({0, 0, 100, 50}, ResizeBehavior::Top, {0, 40},
                                          AltModifier, {30, 20}),
              (Rect{0, 15, 100, 20}));
    // A minimum that is no size falls back to the canvas's own.
    EXPECT_EQ(ResizeBehavior::resizedRect({0, 0, 100, 50}, ResizeBehavior::Left, {150, 0},
                                          NoModifier, {std::nan(""), -5}),
              (Rect{99, 0, 1, 50}));
}

TEST(ResizeHandleTest, FindsCornersBeforeEdgesWithinTheTolerance) {
    const Rect r{0, 0, 100, 50};
    EXPECT_EQ(ResizeBehavior::handleAt(r, {1, -2}, 3), ResizeBehavior::TopLeft);
    EXPECT_EQ(ResizeBehavior::handleAt(r, {50, 0}, 3), ResizeBehavior::Top);
    EXPECT_EQ(ResizeBehavior::handleAt(r, {100, 0}, 3), ResizeBehavior::TopRight);
    EXPECT_EQ(ResizeBehavior::handleAt(r, {102, 25}, 3), ResizeBehavior::Right);
    EXPECT_EQ(ResizeBehavior::handleAt(r, {100, 50}, 3), ResizeBehavior::BottomRight);
    EXPECT_EQ(ResizeBehavior::handleAt(r, {50, 50}, 3), ResizeBehavior::Bottom);
    EXPECT_EQ(ResizeBehavior::handleAt(r, {0, 50}, 3), ResizeBehavior::BottomLeft);
    EXPECT_EQ(ResizeBehavior::handleAt(r, {0, 25}, 3), ResizeBehavior::Left);
    EXPECT_EQ(ResizeBehavior::handleAt(r, {50, 25}, 3), ResizeBehavior::NoHandle);
    EXPECT_EQ(ResizeBehavior::handleAt(r, {105, 50}, 3), ResizeBehavior::NoHandle);
    // On a tiny rectangle every handle is in reach; the corner wins.
    EXPECT_EQ(ResizeBehavior::handleAt({0, 0, 2, 2}, {1, 1}, 3), ResizeBehavior::TopLeft);
}

// A resize behaviour that logs its hooks.
class LoggingResize : public ResizeBehavior {
public:
    static std::vector<std::string>* log;

protected:
    void recordStartingConditions() override {
        log->push_back("record");
        ResizeBehavior::recordStartingConditions();
    }
    void modifyTarget(const Rect& rect) override {
        log->push_back("modify");
        ResizeBehavior::modifyTarget(rect);
    }
    void commit() override { log->push_back("commit"); }
};
std::vector<std::string>* LoggingResize::log = nullptr;

// A selected, movable 100x50 box at (10, 10) and the selection tool, with the
// resize behaviour known by role.
class ResizeBehaviorTest : public ::testing::Test {
protected:
    void SetUp() override {
        LoggingResize::log = &log;
        scene->addTool(TAVI::Holder<Tool>(new SelectionTool), "Selection");
        scene->addToolConstructor(
            TAVI::Holder<BaseToolConstructor>(new ToolConstructor<LoggingResize>("Resize")));
        box.setPosition({10, 10});
        box.setSelectable(true);
        box.setMovable(true);
        scene->addNode(box);
        box.setSelected(true);
    }
    void mouse(void (Scene::*deliver)(MouseEvent&), double x, double y, int button, int buttons,
               int modifiers = NoModifier) {
        MouseEvent event({x, y}, button, buttons, modifiers);
        (scene.get()->*deliver)(event);
    }

    std::vector<std::string> log;
    TAVI::Holder<Scene> scene = Scene::createScene();
    RectNode box = RectNode::create({0, 0, 100, 50});
};

TEST_F(ResizeBehaviorTest, DraggingAHandleOfASelectedNodeResizesIt) {
    mouse(&Scene::handleMousePressEvent, 110, 60, LeftButton, LeftButton);
    mouse(&Scene::handleMouseMoveEvent, 130, 70, NoButton, LeftButton);
    ASSERT_TRUE(scene->hasTool("Resize"));
    auto* resize = dynamic_cast<ResizeBehavior*>(scene->getToolByRole("Resize").get());
    ASSERT_NE(resize, nullptr);
    EXPECT_EQ(resize->getHandle(), ResizeBehavior::BottomRight);
    EXPECT_EQ(resize->getTargetNode(), box);
    EXPECT_EQ(resize->overrideCursor(), Cursor::SizeBackwardDiagonal);
    EXPECT_EQ(box.getSceneBounds(), (Rect{10, 10, 120, 60}));

    mouse(&Scene::handleMouseMoveEvent, 60, 40, NoButton, LeftButton);
    mouse(&Scene::handleMouseReleaseEvent, 60, 40, LeftButton, NoButton);
    EXPECT_EQ(box.getSceneBounds(), (Rect{10, 10, 50, 30}));
    EXPECT_EQ(box.getPosition(), (Point{10, 10}));
    EXPECT_EQ(log, (std::vector<std::string>{"record", "modify", "modify", "commit"}));
    EXPECT_FALSE(scene->hasTool("Resize"));
}

TEST_F(ResizeBehaviorTest, TheTopLeftHandleMovesTheNode) {
    mouse(&Scene::handleMousePressEvent, 10, 10, LeftButton, LeftButton);
    mouse(&Scene::handleMouseMoveEvent, 0, 30, NoButton, LeftButton);
    mouse(&Scene::handleMouseReleaseEvent, 0, 30, LeftButton, NoButton);
    EXPECT_EQ(box.getPosition(), (Point{0, 30}));
    EXPECT_EQ(box.getRect(), (Rect{0, 0, 110, 30}));
}

TEST_F(ResizeBehaviorTest, EscapeRestoresTheStartingRectangle) {
    mouse(&Scene::handleMousePressEvent, 60, 60, LeftButton, LeftButton); // bottom edge
    mouse(&Scene::handleMouseMoveEvent, 60, 100, NoButton, LeftButton);
    EXPECT_EQ(box.getSceneBounds(), (Rect{10, 10, 100, 90}));
    KeyEvent escape(Key_Escape);
    scene->handleKeyPressEvent(escape);
    EXPECT_EQ(box.getSceneBounds(), (Rect{10, 10, 100, 50}));
    EXPECT_FALSE(scene->hasTool("Resize"));
    EXPECT_EQ(log, (std::vector<std::string>{"record", "modify", "modify"}));
}

TEST_F(ResizeBehaviorTest, HandlesOfUnselectedNodesAreNotGrabbed) {
    box.setSelected(false);
    mouse(&Scene::handleMousePressEvent, 110, 60, LeftButton, LeftButton);
    mouse(&Scene::handleMouseMoveEvent, 130, 70, NoButton, LeftButton);
    EXPECT_FALSE(scene->hasTool("Resize"));
    EXPECT_EQ(box.getSceneBounds(), (Rect{10, 10, 100, 50}));
}

} // namespace
