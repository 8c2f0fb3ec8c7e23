#include "tests/editor/CreationTools.hpp"

#include "platform/orbis/StudioWindow.hpp"
#include "platform/zeph/GLCanvas.hpp"

#include <QApplication>

namespace KITE::Test {

namespace {

class NodeCreationToolTest : public CreationToolsTest {
protected:
    void SetUp() override {
        CreationToolsTest::SetUp();
        tool = push<BlockCreationTool>();
        levels = root().getUndoStackLength();
    }
    bool onStack() const { return editor->hasTool(TAVI::Holder<ZEPH::Tool>(tool.get())); }
    // The blocks of the root besides the model's own four nodes.
    std::vector<DiagramElement> made() const {
        std::vector<DiagramElement> all = nodes(root());
        return std::vector<DiagramElement>(all.begin() + 4, all.end());
    }
    void expectNothingMade() {
        EXPECT_TRUE(made().empty());
        EXPECT_EQ(nodes(workingCopy()).size(), 4u);
        EXPECT_FALSE(editor->isInInteraction());
        EXPECT_EQ(root().getUndoStackLength(), levels);
        EXPECT_FALSE(tool->isPressed());
    }

    TAVI::Holder<BlockCreationTool> tool;
    int levels = 0;
};

} // namespace

TEST_F(NodeCreationToolTest, ADragPreviewsInTheCopyAndMakesTheNodeInOneRootStep) {
    const auto picture = glyphPicture();
    KiteTest::ChangeRecorder changes(root());
    gestures().press(300, 200);
    gestures().move(330, 180);
    EXPECT_EQ(nodes(workingCopy()).size(), 5u) << "one preview, however many moves";
    gestures().move(340, 230);
    ASSERT_EQ(nodes(workingCopy()).size(), 5u);
    EXPECT_EQ(nodes(workingCopy())[4].getPosition(), (TAVI::GLPoint<double>{300, 200}));
    EXPECT_TRUE(made().empty()) << "the root sees nothing of the preview";
    gestures().release(340, 230);

    ASSERT_EQ(changes.count(), 1u);
    ASSERT_EQ(made().size(), 1u);
    EXPECT_EQ(made()[0].getPosition(), (TAVI::GLPoint<double>{300, 200}));
    EXPECT_EQ(made()[0].getSize(), (TAVI::GLPoint<double>{40, 30}));
    EXPECT_EQ(nodes(workingCopy()).size(), 5u);
    EXPECT_FALSE(editor->isInInteraction());
    EXPECT_EQ(root().getUndoStackLength(), levels + 1);
    EXPECT_FALSE(onStack()) << "a tool that is not persistent is done after one node";

    undo();
    EXPECT_TRUE(made().empty());
    EXPECT_EQ(glyphPicture(), picture);
    redo();
    ASSERT_EQ(made().size(), 1u);
    EXPECT_EQ(made()[0].getSize(), (TAVI::GLPoint<double>{40, 30}));
    EXPECT_EQ(glyphPicture().size(), picture.size() + 1);
}

TEST_F(NodeCreationToolTest, APersistentToolPlacesNodesByDoubleClickDragOrClickUntilEscape) {
    tool->setPersistent(true);
    ZEPH::MouseEvent event({300, 200}, ZEPH::LeftButton, ZEPH::LeftButton);
    scene().handleMouseDoubleClickEvent(event);
    EXPECT_TRUE(event.isConsumed());
    ASSERT_EQ(made().size(), 1u);
    EXPECT_EQ(made()[0].getSize(), (TAVI::GLPoint<double>{20, 10}));
    // Up and to the left: the corner under the press stays where it was.
    gestures().drag({400, 300}, {370, 260});
    ASSERT_EQ(made().size(), 2u);
    EXPECT_EQ(made()[1].getPosition(), (TAVI::GLPoint<double>{370, 260}));
    EXPECT_EQ(made()[1].getSize(), (TAVI::GLPoint<double>{30, 40}));
    // Persistent, the tool stays for the next node, a click of the default size.
    gestures().click(300, 100);
    ASSERT_EQ(made().size(), 3u);
    EXPECT_EQ(made()[2].getSize(), (TAVI::GLPoint<double>{20, 10}));
    EXPECT_TRUE(onStack());
    EXPECT_TRUE(gestures().keyRelease(ZEPH::Key_Escape));
    EXPECT_FALSE(tool->isPersistent());
    EXPECT_FALSE(onStack()) << "Escape ends persistence, and so the tool";
}

TEST_F(NodeCreationToolTest, ARealDropOutsideTheCanvasMakesNothing) {
    studio->getWindow()->resize(800, 600);
    studio->show();
    QApplication::processEvents();
    ZEPH::GLCanvas* canvas = editor->getCanvas();
    ASSERT_TRUE(canvas && canvas->isVisible());
    canvas->setZoomFactor(1.0);
    canvas->centerOn(150, 80);
    KiteTest::CanvasGestures mouse(*canvas);
    tool->setPersistent(true);

    // Far beyond the right edge: the scene grows with the preview, and the view may scroll a
    // little with it.
    const TAVI::GLPoint<double> outside =
        canvas->viewPointToScenePoint({canvas->viewport()->width() + 3000.0, 40.0});
    mouse.drag({300, 100}, outside);
    expectNothingMade();

    mouse.drag({300, 100}, {330, 130});
    ASSERT_EQ(made().size(), 1u);
    EXPECT_EQ(made()[0].getPosition(), (TAVI::GLPoint<double>{300, 100}));
    EXPECT_EQ(made()[0].getSize(), (TAVI::GLPoint<double>{30, 30}));
}

} // namespace KITE::Test
