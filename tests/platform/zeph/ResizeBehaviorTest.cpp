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

TEST(ResizedRectTest, GivesTheRectangleEachHandleAndModifierMakes) {
    struct Case {
        const char* name;
        ResizeBehavior::Handle handle;
        Point delta;
        int modifiers;
        Rect expected;
    };
    using R = ResizeBehavior;
    // Every case starts from (0, 0, 100, 50).
    const Case cases[] = {
        {"top left", R::TopLeft, {10, 20}, NoModifier, {10, 20, 90, 30}},
        {"top", R::Top, {10, 20}, NoModifier, {0, 20, 100, 30}},
        {"top right", R::TopRight, {10, 20}, NoModifier, {0, 20, 110, 30}},
        {"right", R::Right, {10, 20}, NoModifier, {0, 0, 110, 50}},
        {"bottom right", R::BottomRight, {10, 20}, NoModifier, {0, 0, 110, 70}},
        {"bottom", R::Bottom, {10, 20}, NoModifier, {0, 0, 100, 70}},
        {"bottom left", R::BottomLeft, {10, 20}, NoModifier, {10, 0, 90, 70}},
        {"left", R::Left, {10, 20}, NoModifier, {10, 0, 90, 50}},
        {"alt: about the centre", R::BottomRight, {10, 20}, AltModifier, {-10, -20, 120, 90}},
        {"shift: corner follows the larger growth",
         R::BottomRight,
         {10, 20},
         ShiftModifier,
         {0, 0, 140, 70}},
        {"shift: edge keeps the other axis centred",
         R::Right,
         {10, 0},
         ShiftModifier,
         {0, -2.5, 110, 55}},
        {"past the opposite edge: the minimum", R::Left, {150, 0}, NoModifier, {99, 0, 1, 50}},
        {"no handle", R::NoHandle, {10, 20}, NoModifier, {0, 0, 100, 50}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(R::resizedRect({0, 0, 100, 50}, c.handle, c.delta, c.modifiers), c.expected);
    }
    // A given minimum holds the edge opposite the handle, or grows back about the centre.
    EXPECT_EQ(R::resizedRect({0, 0, 100, 50}, R::Left, {150, 0}, NoModifier, {30, 20}),
              (Rect{70, 0, 30, 50}));
    EXPECT_EQ(R::resizedRect({0, 0, 100, 50}, R::Top, {0, 40}, AltModifier, {30, 20}),
              (Rect{0, 15, 100, 20}));
    // A minimum that is no size falls back to the canvas's own.
    EXPECT_EQ(R::resizedRect({0, 0, 100, 50}, R::Left, {150, 0}, NoModifier, {std::nan(""), -5}),
              (Rect{99, 0, 1, 50}));
}

TEST(ResizeHandleTest, FindsCornersBeforeEdgesWithinTheTolerance) {
    using R = ResizeBehavior;
    const std::pair<Point, R::Handle> cases[] = {
        {{1, -2}, R::TopLeft},    {{50, 0}, R::Top},           {{100, 0}, R::TopRight},
        {{102, 25}, R::Right},    {{100, 50}, R::BottomRight}, {{50, 50}, R::Bottom},
        {{0, 50}, R::BottomLeft}, {{0, 25}, R::Left},          {{50, 25}, R::NoHandle},
        {{105, 50}, R::NoHandle},
    };
    for (const auto& [at, handle] : cases)
        EXPECT_EQ(R::handleAt({0, 0, 100, 50}, at, 3), handle) << at.x << "," << at.y;
    // On a tiny rectangle every handle is in reach; the corner wins.
    EXPECT_EQ(R::handleAt({0, 0, 2, 2}, {1, 1}, 3), R::TopLeft);
}

// A resize behaviour that logs its hooks.
class LoggingResize : public ResizeBehavior {
public:
    static std::vector<std::string>* log;

protected:
    void recordStartingConditions(MouseEvent& event) override {
        log->push_back("record");
        ResizeBehavior::recordStartingConditions(event);
    }
    void modifyTarget(const Rect& rect) override {
        log->push_back("modify");
        ResizeBehavior::modifyTarget(rect);
    }
    void commit(const Rect&) override { log->push_back("commit"); }
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

TEST_F(ResizeBehaviorTest, EscapeRestoresTheStartingRectangleAndUnselectedNodesHaveNoHandles) {
    mouse(&Scene::handleMousePressEvent, 60, 60, LeftButton, LeftButton); // bottom edge
    mouse(&Scene::handleMouseMoveEvent, 60, 100, NoButton, LeftButton);
    EXPECT_EQ(box.getSceneBounds(), (Rect{10, 10, 100, 90}));
    KeyEvent escape(Key_Escape);
    scene->handleKeyPressEvent(escape);
    EXPECT_EQ(box.getSceneBounds(), (Rect{10, 10, 100, 50}));
    EXPECT_FALSE(scene->hasTool("Resize"));
    EXPECT_EQ(log, (std::vector<std::string>{"record", "modify", "modify"}));

    // The handles of an unselected node are not grabbed.
    box.setSelected(false);
    mouse(&Scene::handleMousePressEvent, 110, 60, LeftButton, LeftButton);
    mouse(&Scene::handleMouseMoveEvent, 130, 70, NoButton, LeftButton);
    EXPECT_FALSE(scene->hasTool("Resize"));
    EXPECT_EQ(box.getSceneBounds(), (Rect{10, 10, 100, 50}));
}

} // namespace
