#include "platform/zeph/ToolStack.hpp"
#include "platform/tavi/TypedException.hpp"
#include "platform/zeph/Scene.hpp"
#include "platform/zeph/ToolConstructor.hpp"
#include "tests/platform/zeph/RecordingTool.hpp"
#include "tests/support/AssertionRecorder.hpp"

#include <gtest/gtest.h>

#include <stdexcept>

using namespace ZEPH;
using ZephTest::RecordingTool;
using Log = std::vector<std::string>;

namespace {

TAVI::Holder<RecordingTool> makeTool(const std::string& name, Log& log,
                                     std::set<std::string> consumes = {}) {
    return TAVI::Holder<RecordingTool>(new RecordingTool(name, &log, std::move(consumes)));
}

MouseEvent pressAt(double x, double y) {
    return MouseEvent({x, y}, LeftButton, LeftButton);
}

// Three tools, bottom "a" to top "c", on a fresh stack.
class ToolStackTest : public ::testing::Test {
protected:
    void SetUp() override {
        stack.addTool(a, "A");
        stack.addTool(b, "B");
        stack.addTool(c, "C");
    }

    Log log;
    ToolStack stack;
    TAVI::Holder<RecordingTool> a = makeTool("a", log);
    TAVI::Holder<RecordingTool> b = makeTool("b", log);
    TAVI::Holder<RecordingTool> c = makeTool("c", log);
};

TEST_F(ToolStackTest, DeliversTopFirstAndStopsAtTheToolThatConsumes) {
    b->consumes = {"press"};
    MouseEvent press = pressAt(1, 2);
    stack.handleMousePressEvent(press);
    EXPECT_EQ(log, (Log{"c:press", "b:press"}));
    EXPECT_TRUE(press.isConsumed());

    log.clear();
    MouseEvent move({3, 4});
    stack.handleMouseMoveEvent(move);
    EXPECT_EQ(log, (Log{"c:move", "b:move", "a:move"}));
    EXPECT_FALSE(move.isConsumed());
}

TEST_F(ToolStackTest, EveryKindOfEventReachesItsOwnHandler) {
    c->consumes = {"move",     "press", "release", "double",  "drag",  "drop",     "focusIn",
                   "focusOut", "enter", "leave",   "context", "wheel", "keyPress", "keyRelease"};
    MouseEvent mouse({0, 0});
    DragEvent drag({0, 0});
    WheelEvent wheel({0, 0}, 120);
    KeyEvent key(Key_Delete);
    Event plain;
    stack.handleMouseMoveEvent(mouse);
    stack.handleMousePressEvent(mouse);
    stack.handleMouseReleaseEvent(mouse);
    stack.handleMouseDoubleClickEvent(mouse);
    stack.handleDragEvent(drag);
    stack.handleDropEvent(drag);
    stack.handleFocusInEvent(plain);
    stack.handleFocusOutEvent(plain);
    stack.handleEnterCanvasEvent(plain);
    stack.handleLeaveCanvasEvent(plain);
    stack.handleContextMenuEvent(mouse);
    stack.handleWheelEvent(wheel);
    stack.handleKeyPressEvent(key);
    stack.handleKeyReleaseEvent(key);
    EXPECT_EQ(log, (Log{"c:move", "c:press", "c:release", "c:double", "c:drag", "c:drop",
                        "c:focusIn", "c:focusOut", "c:enter", "c:leave", "c:context", "c:wheel",
                        "c:keyPress", "c:keyRelease"}));
}

TEST_F(ToolStackTest, ToolDoneAfterAnEventLeavesAndIsToldBeforeTheNextToolGetsIt) {
    c->doneAfter = {"release"};
    MouseEvent press = pressAt(0, 0);
    stack.handleMousePressEvent(press);
    EXPECT_TRUE(stack.hasTool(TAVI::Holder<Tool>(c)));

    log.clear();
    MouseEvent release({0, 0}, LeftButton, NoButton);
    stack.handleMouseReleaseEvent(release);
    EXPECT_EQ(log, (Log{"c:release", "c:removed", "b:release", "a:release"}));
    EXPECT_FALSE(stack.hasTool(TAVI::Holder<Tool>(c)));
    EXPECT_FALSE(stack.hasTool("C"));
    EXPECT_EQ(c->getToolStack(), nullptr);

    log.clear();
    stack.handleMouseReleaseEvent(release);
    EXPECT_EQ(log, (Log{"b:release", "a:release"}));
}

// Changes to the stack made during a delivery: a tool taken off misses the event, a tool
// added waits for the next one.
TEST_F(ToolStackTest, ToolsTakenOffOrAddedDuringADeliveryMissIt) {
    auto late = makeTool("late", log);
    c->onEvent = [&](const std::string&, Event&) {
        if (stack.hasTool(TAVI::Holder<Tool>(b)))
            stack.removeTool(TAVI::Holder<Tool>(b));
        if (!stack.hasTool(TAVI::Holder<Tool>(late)))
            stack.addTool(late, "Late");
    };
    MouseEvent move({0, 0});
    stack.handleMouseMoveEvent(move);
    EXPECT_EQ(log, (Log{"c:move", "b:removed", "a:move"}));
    log.clear();
    stack.handleMouseMoveEvent(move);
    EXPECT_EQ(log, (Log{"late:move", "c:move", "a:move"}));
}

TEST_F(ToolStackTest, DelegatedToolGetsTheSameEventAndDeliveryEndsThere) {
    auto mover = makeTool("mover", log);
    mover->role = "Move";
    b->onEvent = [&](const std::string& what, Event&) {
        if (what == "move" && !stack.hasTool(TAVI::Holder<Tool>(mover))) {
            EXPECT_EQ(stack.delegateToTool(mover), TAVI::StringID("Move"));
        }
    };
    MouseEvent move({5, 5}, NoButton, LeftButton);
    stack.handleMouseMoveEvent(move);
    EXPECT_EQ(log, (Log{"c:move", "b:move", "mover:move"}));
    EXPECT_TRUE(move.isConsumed());
    EXPECT_EQ(stack.getTopTool(), TAVI::Holder<Tool>(mover));

    log.clear();
    mover->consumes = {"move"};
    stack.handleMouseMoveEvent(move);
    EXPECT_EQ(log, (Log{"mover:move"}));

    // Outside a delivery, delegating only adds the tool.
    log.clear();
    auto other = makeTool("other", log);
    EXPECT_EQ(stack.delegateToTool(other), TAVI::StringID("Probe"));
    EXPECT_TRUE(log.empty());
    EXPECT_EQ(stack.getTopTool(), TAVI::Holder<Tool>(other));
}

TEST_F(ToolStackTest, AutoRepeatedKeysReachOnlyToolsThatAskForThem) {
    b->wantsAutoRepeat = true;
    KeyEvent repeated(Key_Delete, NoModifier, true);
    stack.handleKeyPressEvent(repeated);
    EXPECT_EQ(log, (Log{"b:keyPress"}));
    log.clear();
    KeyEvent first(Key_Delete);
    stack.handleKeyPressEvent(first);
    EXPECT_EQ(log, (Log{"c:keyPress", "b:keyPress", "a:keyPress"}));
}

TEST_F(ToolStackTest, RolesAreUniqueAndFindToolsBothWays) {
    auto extra = makeTool("extra", log);
    EXPECT_THROW(stack.addTool(TAVI::Holder<Tool>()), TAVI::TypedException);
    EXPECT_THROW(stack.addTool(extra, "B"), TAVI::TypedException);
    EXPECT_THROW(stack.addTool(extra, ""), TAVI::TypedException);
    EXPECT_THROW(stack.addTool(b, "Other"), TAVI::TypedException);
    ToolStack otherStack;
    EXPECT_THROW(otherStack.addTool(c), TAVI::TypedException);
    EXPECT_EQ(stack.getTools().size(), 3u);
    EXPECT_EQ(stack.getToolByRole("B"), TAVI::Holder<Tool>(b));
    EXPECT_EQ(stack.getRoleByTool(TAVI::Holder<Tool>(c)), TAVI::StringID("C"));
    EXPECT_TRUE(stack.getToolByRole("Nope").isNull());
    EXPECT_TRUE(stack.getRoleByTool(makeTool("x", log)).isEmpty());

    auto p1 = makeTool("p1", log), p2 = makeTool("p2", log), p3 = makeTool("p3", log);
    EXPECT_EQ(stack.addTool(p1), TAVI::StringID("Probe"));
    EXPECT_EQ(stack.addTool(p2), TAVI::StringID("Probe1"));
    EXPECT_EQ(stack.getUniqueToolRoleBasedOn("Probe"), TAVI::StringID("Probe2"));
    EXPECT_EQ(stack.getUniqueToolRoleBasedOn("Free"), TAVI::StringID("Free"));
    EXPECT_TRUE(stack.removeToolByRole("Probe"));
    // A freed role is reused before a higher number.
    EXPECT_EQ(stack.addTool(p3), TAVI::StringID("Probe"));
    EXPECT_EQ(stack.getTools(), (std::vector<TAVI::Holder<Tool>>{p3, p2, c, b, a}));
    EXPECT_EQ(log, (Log{"p1:removed"}));
}

TEST_F(ToolStackTest, RemovingToolsTellsOnlyToolsThatWereOnTheStack) {
    EXPECT_FALSE(stack.removeTool(makeTool("stranger", log)));
    EXPECT_FALSE(stack.removeToolByRole("Nope"));
    EXPECT_TRUE(log.empty());
    stack.clearToolStack();
    EXPECT_EQ(log, (Log{"c:removed", "b:removed", "a:removed"}));
    EXPECT_TRUE(stack.getTools().empty());
    // Off the stack, a tool may go on another.
    ToolStack other;
    other.addTool(a, "A");
    EXPECT_EQ(a->getToolStack(), &other);
}

// A tool that puts itself back on its stack whenever it is taken off (a
// "default tool" that insists on staying), up to a limit so that a test of a
// stack that never stops clearing fails instead of hanging.
class PersistentTool : public Tool {
public:
    void onRemoveFromStack() override {
        ++removals;
        if (stack && removals < 100)
            stack->addTool(TAVI::Holder<Tool>(this), "Default");
    }
    IToolStack* stack = nullptr;
    int removals = 0;
};

TEST(ToolStackLifetimeTest, AToolThatPutsItselfBackDoesNotKeepAClearGoing) {
    Log log;
    ToolStack stack;
    TAVI::Holder<PersistentTool> persistent(new PersistentTool);
    auto other = makeTool("other", log);
    stack.addTool(other);
    stack.addTool(persistent, "Default");
    persistent->stack = &stack;
    stack.clearToolStack();
    EXPECT_EQ(persistent->removals, 1);
    EXPECT_EQ(log, (Log{"other:removed"}));
    // It is back, and stays for the next clear.
    EXPECT_EQ(stack.getTools(), (std::vector<TAVI::Holder<Tool>>{persistent}));
    persistent->stack = nullptr;
}

TEST(ToolStackLifetimeTest, ADestroyedStackLeavesNoToolOnIt) {
    KiteTest::AssertionRecorder assertions;
    TAVI::Holder<PersistentTool> persistent(new PersistentTool);
    {
        ToolStack stack;
        stack.addTool(persistent, "Default");
        persistent->stack = &stack;
    }
    persistent->stack = nullptr;
    EXPECT_EQ(persistent->removals, 1);
    EXPECT_EQ(persistent->getToolStack(), nullptr);
    // Putting a tool on a stack that is going away is reported, once.
    EXPECT_EQ(assertions.count(), 1u);
    // Off every stack, it may go on another.
    ToolStack other;
    other.addTool(persistent);
    EXPECT_EQ(persistent->getToolStack(), &other);
}

// A tool whose owner fails when it is taken off.
class ThrowingOnRemovalTool : public Tool {
public:
    explicit ThrowingOnRemovalTool(Log* log) : log(log) {}
    void onRemoveFromStack() override {
        log->push_back("thrower:removed");
        throw std::runtime_error("model gone");
    }
    Log* log;
};

// No destructor may throw: the stack (and the scene) going away reports what a
// tool threw when told of its removal, and still takes the others off.
TEST(ToolStackLifetimeTest, AToolThatThrowsWhenTakenOffDoesNotStopTheStackGoing) {
    KiteTest::AssertionRecorder assertions;
    Log log;
    auto below = makeTool("below", log);
    auto above = makeTool("above", log);
    TAVI::Holder<Tool> thrower(new ThrowingOnRemovalTool(&log));
    {
        TAVI::Holder<Scene> scene = Scene::createScene();
        scene->addTool(below);
        scene->addTool(thrower, "Thrower");
        scene->addTool(above);
    }
    EXPECT_EQ(log, (Log{"above:removed", "thrower:removed", "below:removed"}));
    EXPECT_EQ(below->getToolStack(), nullptr);
    EXPECT_EQ(thrower->getToolStack(), nullptr);
    ASSERT_EQ(assertions.count(), 1u);
    EXPECT_NE(assertions.reports()[0].detail.find("model gone"), std::string::npos);

    log.clear();
    {
        ToolStack stack;
        stack.addTool(thrower, "Thrower");
        stack.addTool(below);
    }
    EXPECT_EQ(log, (Log{"below:removed", "thrower:removed"}));
    EXPECT_EQ(below->getToolStack(), nullptr);
    EXPECT_EQ(assertions.count(), 2u);
}

// A tool made for an editor-like argument, counting how many exist.
class ArgumentTool : public Tool {
public:
    explicit ArgumentTool(int* counter) : counter(counter) { ++*counter; }
    ~ArgumentTool() override { --*counter; }
    int* counter;
};

TEST(SceneToolTest, AddToolByRoleMakesOneToolFromTheRoleConstructor) {
    int alive = 0;
    TAVI::Holder<Scene> scene = Scene::createScene();
    EXPECT_THROW(scene->addToolConstructor(TAVI::Holder<BaseToolConstructor>()),
                 TAVI::TypedException);
    EXPECT_THROW(scene->addToolConstructor(TAVI::Holder<BaseToolConstructor>(
                     new ToolConstructor<ArgumentTool, int*>("", &alive))),
                 TAVI::TypedException);
    EXPECT_FALSE(scene->hasToolConstructor(""));
    scene->addToolConstructor(
        TAVI::Holder<BaseToolConstructor>(new ToolConstructor<ArgumentTool, int*>("Arg", &alive)));
    EXPECT_TRUE(scene->hasToolConstructor("Arg"));
    EXPECT_TRUE(scene->addToolByRole("Unknown").isNull());

    TAVI::Holder<Tool> first = scene->addToolByRole("Arg");
    ASSERT_TRUE(first);
    EXPECT_EQ(alive, 1);
    EXPECT_EQ(static_cast<ArgumentTool*>(first.get())->counter, &alive);
    EXPECT_EQ(scene->getRoleByTool(first), TAVI::StringID("Arg"));
    EXPECT_EQ(first->getToolStack(), scene.get());
    // The role is on the stack already: no second tool.
    EXPECT_EQ(scene->addToolByRole("Arg"), first);
    EXPECT_EQ(alive, 1);

    scene->removeTool(first);
    first.reset();
    EXPECT_EQ(alive, 0);
    TAVI::Holder<Tool> second = scene->addToolByRole("Arg");
    EXPECT_EQ(alive, 1);
    scene.reset();
    second.reset();
    EXPECT_EQ(alive, 0);
}

} // namespace
