#include "tests/editor/CreationTools.hpp"

namespace KITE::Test {

namespace {

using Point = TAVI::GLPoint<double>;

class CreationToolTest : public CreationToolsTest {
public:
    template <typename T> TAVI::Holder<CreationTool> pushTool() {
        return TAVI::Holder<CreationTool>(push<T>().get());
    }
    bool onStack(CreationTool& tool) const {
        return editor->hasTool(TAVI::Holder<ZEPH::Tool>(&tool));
    }
};

// One creation tool with a gesture that previews something: from where it starts to where the
// pointer is when the gesture is broken off, with the modifiers the tool needs.
struct ToolCase {
    const char* name;
    std::function<TAVI::Holder<CreationTool>(CreationToolTest&)> push;
    Point from;
    Point to;
    int modifiers;
    // Whether the tool is done after a gesture unless it is persistent.
    bool oneShot;
};

// One way of breaking off the gesture, given the tool, the point and the modifiers.
struct Interruption {
    const char* name;
    std::function<void(Editor&, CreationTool&, KiteTest::SceneGestures&, const Point&, int)> end;
    bool endsPersistence;
    bool takesToolOff;
};

} // namespace

TEST_F(CreationToolTest, EveryInterruptionOfEitherToolLeavesNoTrace) {
    const std::vector<ToolCase> tools{
        {"node tool",
         [](CreationToolTest& t) { return t.pushTool<BlockCreationTool>(); },
         {300, 200},
         {340, 230},
         ZEPH::NoModifier,
         true},
        {"edge tool",
         [](CreationToolTest& t) { return t.pushTool<ConnectionTool>(); },
         {40, 35},
         {220, 25},
         ZEPH::ControlModifier,
         false},
    };
    using G = KiteTest::SceneGestures;
    const std::vector<Interruption> interruptions{
        {"Escape",
         [](Editor&, CreationTool&, G& g, const Point&, int) { g.keyRelease(ZEPH::Key_Escape); },
         true, false},
        {"focus lost", [](Editor&, CreationTool&, G& g, const Point&, int) { g.focusOut(); }, false,
         false},
        {"a second button",
         [](Editor&, CreationTool&, G& g, const Point& p, int m) {
             g.press(p.x, p.y, m, ZEPH::RightButton);
             g.release(p.x, p.y, m, ZEPH::RightButton);
         },
         false, false},
        {"a move without the button (the release went elsewhere)",
         [](Editor&, CreationTool&, G& g, const Point& p, int m) {
             g.forgetButtons();
             g.move(p.x, p.y, m);
         },
         false, false},
        {"the tool taken off the stack",
         [](Editor& editor, CreationTool& tool, G&, const Point&, int) {
             editor.removeTool(TAVI::Holder<ZEPH::Tool>(&tool));
         },
         false, true},
    };
    for (const ToolCase& t : tools)
        for (const Interruption& i : interruptions)
            for (const bool persistent : {false, true}) {
                SCOPED_TRACE(std::string(t.name) + ", " + i.name +
                             (persistent ? ", persistent" : ""));
                const TAVI::Holder<CreationTool> tool = t.push(*this);
                tool->setPersistent(persistent);
                const std::size_t nodesBefore = nodes(root()).size();
                const std::size_t edgesBefore = connections(root()).size();
                const int levels = root().getUndoStackLength();
                KiteTest::ChangeRecorder changes(root());
                gestures().press(t.from.x, t.from.y, t.modifiers);
                gestures().move(t.to.x, t.to.y, t.modifiers);
                ASSERT_TRUE(tool->isInGesture());
                ASSERT_TRUE(editor->isInInteraction());

                i.end(*editor, *tool, gestures(), t.to, t.modifiers);
                EXPECT_FALSE(tool->isInGesture());
                EXPECT_FALSE(editor->isInInteraction()) << "nothing half made in the working copy";
                EXPECT_EQ(tool->isPersistent(), persistent && !i.endsPersistence);
                // The left button's release after the interruption makes nothing either.
                gestures().release(t.to.x, t.to.y, t.modifiers);
                EXPECT_EQ(onStack(*tool), !i.takesToolOff && (!t.oneShot || tool->isPersistent()))
                    << "a one-shot tool is done after a broken-off gesture unless persistent";
                EXPECT_EQ(changes.count(), 0u);
                EXPECT_EQ(nodes(root()).size(), nodesBefore);
                EXPECT_EQ(connections(root()).size(), edgesBefore);
                EXPECT_EQ(nodes(workingCopy()).size(), nodesBefore);
                EXPECT_EQ(connections(workingCopy()).size(), edgesBefore);
                EXPECT_EQ(root().getUndoStackLength(), levels);
                editor->removeTool(TAVI::Holder<ZEPH::Tool>(tool.get()));
            }
}

} // namespace KITE::Test
