#include "tests/editor/CreationTools.hpp"

#include "application/Command.hpp"
#include "platform/tavi/AbstractUndoRedoCommandTarget.hpp"

#include "platform/orbis/StudioFrameworkService.hpp"
#include "platform/orbis/StudioWindow.hpp"
#include "platform/zeph/GLCanvas.hpp"

#include <QApplication>

namespace KITE::Test {

namespace {

constexpr int ctrl = ZEPH::ControlModifier;

// Points on the scene: on a (clear of inner), on b, on the sink, and on empty canvas.
const TAVI::GLPoint<double> onA{40, 35};
const TAVI::GLPoint<double> onB{220, 25};
const TAVI::GLPoint<double> onSink{120, 115};
const TAVI::GLPoint<double> nowhere{400, 300};

class EdgeCreationToolTest : public CreationToolsTest {
protected:
    void SetUp() override {
        CreationToolsTest::SetUp();
        tool = push<ConnectionTool>();
    }
    void ctrlDrag(const TAVI::GLPoint<double>& from, const TAVI::GLPoint<double>& to) {
        gestures().drag(from, to, ctrl);
    }
    // The model does not change, nothing is left in the working copy and no undo step is made.
    void expectNothingMade(int levels) {
        EXPECT_EQ(connections(root()).size(), 1u);
        EXPECT_EQ(connections(workingCopy()).size(), 1u);
        EXPECT_FALSE(editor->isInInteraction());
        EXPECT_EQ(root().getUndoStackLength(), levels);
        EXPECT_FALSE(tool->isActive());
    }

    TAVI::Holder<ConnectionTool> tool;
};

} // namespace

TEST_F(EdgeCreationToolTest, AControlDragFromBlockToBlockMakesOneUndoableEdge) {
    const auto picture = glyphPicture();
    const int levels = root().getUndoStackLength();
    KiteTest::ChangeRecorder changes(root());
    ctrlDrag(onA, onB);

    ASSERT_EQ(changes.count(), 1u) << "one transaction on the root";
    EXPECT_EQ(changes.reports[0].added, 1);
    const std::vector<DiagramElement> made = connections(root());
    ASSERT_EQ(made.size(), 2u);
    const GraphEdge edge(made[1]);
    EXPECT_EQ(edge.getSrcElement(), asElement(blocks.a));
    EXPECT_EQ(edge.getDstElement(), asElement(blocks.b));
    EXPECT_TRUE(VELD::isa(edge.getMetaClass(), blocksClass("Connection")));
    EXPECT_EQ(nodes(root()).size(), 4u) << "no free end is left behind";
    EXPECT_FALSE(editor->isInInteraction());
    EXPECT_EQ(root().getUndoStackLength(), levels + 1);
    EXPECT_TRUE(editor->hasTool(TAVI::Holder<ZEPH::Tool>(tool.get()))) << "ready for the next edge";

    TAVI::ErrorHolder errors;
    editor->getUndoRedoTarget()->undo(errors);
    ASSERT_FALSE(errors.hasError()) << errors.what();
    EXPECT_EQ(connections(root()).size(), 1u);
    EXPECT_EQ(glyphPicture(), picture);
    editor->getUndoRedoTarget()->redo(errors);
    ASSERT_FALSE(errors.hasError()) << errors.what();
    ASSERT_EQ(connections(root()).size(), 2u);
    EXPECT_EQ(GraphEdge(connections(root())[1]).getDstElement(), asElement(blocks.b));
    EXPECT_EQ(glyphPicture().size(), picture.size() + 1);

    // Its command is called "Create Edge"; without a drag there is no start and no command.
    EXPECT_EQ(tool->finalUpdate(GraphElement(inCopy(blocks.b)), onB, root()), nullptr);
    gestures().press(onA.x, onA.y, ctrl);
    const TAVI::Holder<Command> command(
        tool->finalUpdate(GraphElement(inCopy(blocks.b)), onB, root()));
    ASSERT_TRUE(command);
    EXPECT_EQ(command->shortDescription(), "Create Edge");
}

TEST_F(EdgeCreationToolTest, OnlyControlAloneStartsAnEdgeAndEscapeEndsPersistence) {
    struct Press {
        const char* name;
        int modifiers;
        bool starts;
    };
    for (const Press& p : {Press{"none", ZEPH::NoModifier, false},
                           Press{"Control and Shift", ctrl | ZEPH::ShiftModifier, false},
                           Press{"Control and Alt", ctrl | ZEPH::AltModifier, false},
                           Press{"Control", ctrl, true}}) {
        SCOPED_TRACE(p.name);
        gestures().press(onA.x, onA.y, p.modifiers);
        EXPECT_EQ(tool->isActive(), p.starts);
        gestures().release(onA.x, onA.y, p.modifiers);
        editor->clearSelection();
    }
    // Escape ends persistence; other keys are left alone.
    tool->setPersistent(true);
    gestures().press(onA.x, onA.y, ctrl);
    EXPECT_TRUE(gestures().keyRelease(ZEPH::Key_Escape));
    EXPECT_FALSE(tool->isPersistent());
    EXPECT_FALSE(gestures().keyRelease(ZEPH::Key_Return));
}

TEST_F(EdgeCreationToolTest, AOneWayRuleHoldsInBothDirections) {
    const int levels = root().getUndoStackLength();
    gestures().press(onSink.x, onSink.y, ctrl);
    EXPECT_FALSE(tool->isActive()) << "a sink starts no connection";
    gestures().release(onSink.x, onSink.y, ctrl);
    expectNothingMade(levels);

    ctrlDrag(onA, onSink);
    const std::vector<DiagramElement> made = connections(root());
    ASSERT_EQ(made.size(), 2u);
    EXPECT_EQ(GraphEdge(made[1]).getSrcElement(), asElement(blocks.a));
    EXPECT_EQ(GraphEdge(made[1]).getDstElement(), asElement(sink));
    EXPECT_EQ(root().getUndoStackLength(), levels + 1);
}

TEST_F(EdgeCreationToolTest, TheRubberBandSnapsToAValidEndAndElseEndsUnderThePointer) {
    const int levels = root().getUndoStackLength();
    gestures().press(onA.x, onA.y, ctrl);
    ASSERT_TRUE(tool->isActive());
    for (int step = 0; step < 2; ++step) {
        gestures().move(onB.x, onB.y, ctrl);
        std::vector<DiagramElement> shown = connections(workingCopy());
        ASSERT_EQ(shown.size(), 2u) << "one rubber band, however many moves";
        EXPECT_EQ(GraphEdge(shown[1]).getDstElement(), inCopy(blocks.b));

        gestures().move(nowhere.x, nowhere.y, ctrl);
        shown = connections(workingCopy());
        ASSERT_EQ(shown.size(), 2u);
        const DiagramElement end = GraphEdge(shown[1]).getDstElement();
        EXPECT_TRUE(TerminalNode(end).isValid());
        EXPECT_EQ(end.getPosition(), nowhere);
        EXPECT_EQ(nodes(workingCopy()).size(), 5u) << "one free end at a time";
    }
    // Over the start element, the band does not snap back to it.
    gestures().move(onA.x, onA.y, ctrl);
    EXPECT_TRUE(TerminalNode(GraphEdge(connections(workingCopy())[1]).getDstElement()).isValid());
    EXPECT_EQ(connections(root()).size(), 1u) << "the root sees nothing of the rubber band";
    gestures().release(onA.x, onA.y, ctrl);
    expectNothingMade(levels);
}

TEST_F(EdgeCreationToolTest, AMisplacedReleaseLeavesNothing) {
    // The ways of breaking off the gesture are CreationToolTest's, for both kinds of tool.
    struct Release {
        const char* name;
        std::function<void(KiteTest::SceneGestures&)> end;
    };
    const std::vector<Release> cases{
        {"released over empty canvas",
         [](KiteTest::SceneGestures& g) { g.release(nowhere.x, nowhere.y, ctrl); }},
        {"released over the start element",
         [](KiteTest::SceneGestures& g) { g.release(onA.x, onA.y, ctrl); }},
    };
    const int levels = root().getUndoStackLength();
    for (const Release& c : cases) {
        SCOPED_TRACE(c.name);
        KiteTest::ChangeRecorder changes(root());
        gestures().press(onA.x, onA.y, ctrl);
        gestures().move(onB.x, onB.y, ctrl);
        ASSERT_TRUE(editor->isInInteraction());
        c.end(gestures());
        expectNothingMade(levels);
        EXPECT_EQ(changes.count(), 0u);
    }
}

TEST_F(EdgeCreationToolTest, RealMouseEventsThroughTheCanvasDrawAnEdge) {
    EXPECT_FALSE(editor->isVisible()) << "no window shows the canvas yet";
    studio->getWindow()->resize(800, 600);
    studio->show();
    QApplication::processEvents();
    ZEPH::GLCanvas* canvas = editor->getCanvas();
    ASSERT_TRUE(canvas && canvas->isVisible());
    EXPECT_TRUE(editor->isVisible());
    canvas->setZoomFactor(1.0);
    canvas->centerOn(150, 80);
    KiteTest::CanvasGestures mouse(*canvas);
    mouse.drag(onA, onB, Qt::ControlModifier);
    const std::vector<DiagramElement> made = connections(root());
    ASSERT_EQ(made.size(), 2u);
    EXPECT_EQ(GraphEdge(made[1]).getSrcElement(), asElement(blocks.a));
    EXPECT_EQ(GraphEdge(made[1]).getDstElement(), asElement(blocks.b));

    // The same drag without Control is the selection tool's: it moves a, and makes no edge.
    mouse.drag(onA, onB);
    EXPECT_EQ(connections(root()).size(), 2u);
}

} // namespace KITE::Test
