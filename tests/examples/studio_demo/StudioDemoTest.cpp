#include "editor/Editor.hpp"
#include "examples/blocks/BlockGlyph.hpp"
#include "examples/blocks/BlocksDomain.hpp"
#include "examples/blocks/ConnectionGlyph.hpp"
#include "examples/studio_demo/DemoCommand.hpp"
#include "examples/studio_demo/DemoOptions.hpp"
#include "examples/studio_demo/DemoStudio.hpp"
#include "examples/studio_demo/StatusComponent.hpp"
#include "platform/orbis/StudioFrameworkService.hpp"
#include "platform/orbis/StudioWindow.hpp"
#include "platform/tavi/ErrorHolder.hpp"
#include "platform/tavi2/GLEdit2.hpp"
#include "platform/tavi2/GLTreeView2.hpp"
#include "platform/tavi2/GLWidget2.hpp"
#include "platform/veld/io/FileError.hpp"
#include "platform/zeph/GLCanvas.hpp"
#include "platform/zeph/KeyEvent.hpp"
#include "platform/zeph/MouseEvent.hpp"
#include "studio/components/PropBrowserComponent.hpp"
#include "studio/components/PropBrowserEditor.hpp"
#include "studio/components/PropBrowserViewModel.hpp"
#include "studio/components/TreeComponent.hpp"
#include "studio/components/TreeViewModel.hpp"
#include "studio/components/propwidgets/NumericTextBox.hpp"
#include "studio/components/propwidgets/TextEditor.hpp"

#include <QApplication>
#include <QFile>
#include <QImage>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QTemporaryDir>
#include <QToolButton>

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <fstream>
#include <ostream>
#include <set>
#include <sstream>

using namespace StudioDemo;
using Blocks::BlockGlyph;
using Blocks::ConnectionGlyph;
using Point = TAVI::GLPoint<double>;
using Rect = TAVI::GLRect<double>;

namespace TAVI {
// Readable failures for geometry.
inline void PrintTo(const GLPoint<double>& p, std::ostream* os) {
    *os << "(" << p.x << ", " << p.y << ")";
}
inline void PrintTo(const GLRect<double>& r, std::ostream* os) {
    *os << "(" << r.x << ", " << r.y << " " << r.width << "x" << r.height << ")";
}
} // namespace TAVI

namespace {

const std::string kData = std::string(KITE_SOURCE_DIR) + "/examples/kite_studio/data/";
const std::string kMetaModel = kData + "blocks.veldmeta";
const std::string kModel = kData + "plant.veld";

// Whether p lies on the outline of r.
bool onBorder(const Rect& r, const Point& p) {
    constexpr double eps = 0.01;
    const bool inside = p.x >= r.left() - eps && p.x <= r.right() + eps && p.y >= r.top() - eps &&
                        p.y <= r.bottom() + eps;
    const bool onEdge = std::fabs(p.x - r.left()) < eps || std::fabs(p.x - r.right()) < eps ||
                        std::fabs(p.y - r.top()) < eps || std::fabs(p.y - r.bottom()) < eps;
    return inside && onEdge;
}

std::size_t openStudioWindows() {
    std::size_t open = 0;
    for (QWidget* widget : QApplication::topLevelWidgets())
        if (dynamic_cast<PLATFORM::StudioWindow*>(widget) && widget->isVisible())
            ++open;
    return open + PLATFORM::Studio::allStudios().size();
}

std::string readFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

class StudioDemoTest : public ::testing::Test {
protected:
    void SetUp() override {
        demo = DemoStudio::open(kMetaModel, kModel);
        ASSERT_TRUE(demo);
        editor = demo->getEditor();
        ASSERT_NE(editor, nullptr);
        scene = editor->getScene();
    }
    void TearDown() override {
        demo.reset();
        // Windows go through deleteLater.
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }

    KITE::GraphNode block(const std::string& name) const {
        for (const KITE::GraphNode& b : demo->getDemoModel().getBlocks())
            if (Blocks::BlockGlyph::nameOf(b) == name)
                return b;
        ADD_FAILURE() << "no block " << name;
        return {};
    }
    KITE::GraphEdge connection(const std::string& name) const {
        for (const KITE::GraphEdge& c : demo->getDemoModel().getConnections())
            if (Blocks::BlockGlyph::nameOf(c) == name)
                return c;
        ADD_FAILURE() << "no connection " << name;
        return {};
    }
    const VELD::Model& model() const { return demo->getDemoModel().getModel(); }

    BlockGlyph* blockGlyph(const KITE::DiagramElement& element) const {
        return dynamic_cast<BlockGlyph*>(editor->getGraphics()->getGlyph(element));
    }
    // Where the block's box is on the canvas.
    Rect box(const std::string& name) const {
        const BlockGlyph* glyph = blockGlyph(block(name));
        if (!glyph)
            return {};
        const ZEPH::RectNode node = glyph->getBox();
        return node.mapLocalToScene(node.getRect());
    }
    ZEPH::LineNode line(const std::string& name) const {
        const auto* glyph =
            dynamic_cast<ConnectionGlyph*>(editor->getGraphics()->getGlyph(connection(name)));
        return glyph ? glyph->getLine() : ZEPH::LineNode();
    }

    // The tools get the events as the canvas would hand them over, at zoom 1.
    void press(const Point& p, int modifiers = ZEPH::NoModifier) {
        ZEPH::MouseEvent event(p, ZEPH::LeftButton, ZEPH::LeftButton, modifiers);
        scene->handleMousePressEvent(event);
    }
    void drag(const Point& p) {
        ZEPH::MouseEvent event(p, ZEPH::NoButton, ZEPH::LeftButton);
        scene->handleMouseMoveEvent(event);
    }
    void release(const Point& p, int modifiers = ZEPH::NoModifier) {
        ZEPH::MouseEvent event(p, ZEPH::LeftButton, ZEPH::NoButton, modifiers);
        scene->handleMouseReleaseEvent(event);
    }
    void key(int code, int modifiers) {
        ZEPH::KeyEvent event(code, modifiers);
        scene->handleKeyPressEvent(event);
    }

    // Real widget input on the canvas, at the view point that shows the scene point.
    void canvasMouse(QEvent::Type type, const Point& scenePoint, Qt::MouseButton button,
                     Qt::MouseButtons buttons) {
        ZEPH::GLCanvas* canvas = editor->getCanvas();
        const Point v = canvas->scenePointToViewPoint(scenePoint);
        const QPointF at(v.x, v.y);
        QMouseEvent event(type, at, canvas->viewport()->mapToGlobal(at), button, buttons,
                          Qt::NoModifier);
        QApplication::sendEvent(canvas->viewport(), &event);
    }

    std::unique_ptr<DemoStudio> demo;
    KITE::Editor* editor = nullptr;
    ZEPH::Scene* scene = nullptr;
};

} // namespace

TEST_F(StudioDemoTest, TheWindowShowsTheSampleDiagramInAnEditorOfTheBlocksDomain) {
    PLATFORM::StudioFrameworkService* framework = demo->getStudio()->getFrameworkService();
    EXPECT_EQ(framework->getTitle(), "kite studio — plant.veld");
    // The first block starts selected.
    EXPECT_EQ(demo->getStatus()->getText(), "8 blocks, 7 connections — selected: Setpoint");
    EXPECT_TRUE(framework->isDocked(demo->getTree()));
    EXPECT_EQ(framework->getDockPosition(demo->getTree()), PLATFORM::StudioFrameworkService::Left);
    TAVI::ErrorHolder errors;
    EXPECT_EQ(framework->getTabIndex(editor, errors), 0u);
    EXPECT_EQ(framework->getTabTitle(0, errors), "control loop");
    EXPECT_EQ(framework->getStatusComponent(), demo->getStatus());
    EXPECT_EQ(editor->getStaticDomain(), Blocks::BlocksDomain::get());
    EXPECT_EQ(editor->getDiagram().getName(), "control loop");

    // A glyph for every block and connection; the controller's box holds the PID's.
    for (const KITE::GraphNode& b : demo->getDemoModel().getBlocks()) {
        const BlockGlyph* glyph = blockGlyph(b);
        ASSERT_NE(glyph, nullptr) << Blocks::BlockGlyph::nameOf(b);
        EXPECT_EQ(glyph->getLabel().getText(), Blocks::BlockGlyph::nameOf(b));
        EXPECT_EQ(glyph->getBox().getScenePosition(), b.getAbsPosition())
            << Blocks::BlockGlyph::nameOf(b);
    }
    EXPECT_EQ(blockGlyph(block("PID"))->getRoot().getParent(),
              blockGlyph(block("Controller"))->getRoot());
    for (const KITE::GraphEdge& c : demo->getDemoModel().getConnections()) {
        const ZEPH::LineNode l = line(Blocks::BlockGlyph::nameOf(c));
        ASSERT_TRUE(l.isValid()) << Blocks::BlockGlyph::nameOf(c);
        EXPECT_TRUE(onBorder(box(Blocks::BlockGlyph::nameOf(c.getSrcElement())), l.getFrom()))
            << Blocks::BlockGlyph::nameOf(c);
        EXPECT_TRUE(onBorder(box(Blocks::BlockGlyph::nameOf(c.getDstElement())), l.getTo()))
            << Blocks::BlockGlyph::nameOf(c);
    }
}

TEST_F(StudioDemoTest, TheTreeListsEveryObjectUnderItsContainer) {
    KITE::TreeViewModel* rows = demo->getTree()->getTreeViewModel();
    // The project, its diagram, 8 blocks and 7 connections.
    EXPECT_EQ(rows->getTotalRowCount(), 17u);
    const unsigned pid = rows->getRow(block("PID"));
    const unsigned controller = rows->getRow(block("Controller"));
    ASSERT_NE(pid, 0u);
    ASSERT_NE(controller, 0u);
    EXPECT_EQ(rows->getParentRow(pid), controller);
    EXPECT_EQ(rows->getText(pid, rows->getColumn()), "PID (blocks.Block)");
    EXPECT_EQ(rows->getText(rows->getRow(connection("heat")), rows->getColumn()),
              "heat (blocks.Connection)");
    EXPECT_EQ(rows->getParentRow(rows->getRow(connection("heat"))),
              rows->getRow(demo->getDemoModel().getDiagram()));
    EXPECT_TRUE(rows->getIcon(pid, rows->getColumn()).isValid());
}

TEST_F(StudioDemoTest, TreeEditorAndStatusLineShareTheSelection) {
    KITE::TreeComponent* tree = demo->getTree();
    // Selecting in the tree selects in the editor.
    tree->testAPI_SetTreeSelection(VELD::ClassObject(block("Sensor")));
    ASSERT_EQ(editor->getSelection().size(), 1u);
    EXPECT_EQ(editor->getSelection()[0].asDeviant(model()), KITE::DiagramElement(block("Sensor")));
    EXPECT_TRUE(blockGlyph(block("Sensor"))->getBox().isSelected());
    EXPECT_FALSE(blockGlyph(block("Setpoint"))->getBox().isSelected());
    EXPECT_EQ(demo->getStatus()->getText(), "8 blocks, 7 connections — selected: Sensor");
    // The project has no glyph: selecting it in the tree empties the editor's selection.
    tree->testAPI_SetTreeSelection(VELD::ClassObject(model().getRootObject()));
    EXPECT_EQ(editor->getSelection().size(), 0u);
    EXPECT_EQ(demo->getStatus()->getText(), "8 blocks, 7 connections");

    // A click on the canvas selects there, and the tree (its last selected) and the status
    // line follow.
    press(box("Filter").center());
    release(box("Filter").center());
    EXPECT_EQ(tree->getSelected(), VELD::ClassObject(block("Filter")));
    EXPECT_EQ(demo->getStatus()->getText(), "8 blocks, 7 connections — selected: Filter");
    press(box("Scope").center(), ZEPH::ShiftModifier);
    release(box("Scope").center(), ZEPH::ShiftModifier);
    EXPECT_EQ(tree->getSelected(), VELD::ClassObject(block("Scope")));
    EXPECT_EQ(demo->getStatus()->getText(), "8 blocks, 7 connections — selected: Filter, Scope");

    // A click on empty canvas clears the selection everywhere once the click is over.
    const Point empty = box("Scope").topLeft() - Point{60, 0};
    press(empty);
    release(empty);
    QCoreApplication::processEvents();
    EXPECT_EQ(editor->getSelection().size(), 0u);
    EXPECT_TRUE(tree->getTreeView()->getSelectedRows().empty());
    EXPECT_EQ(demo->getStatus()->getText(), "8 blocks, 7 connections");
}

TEST_F(StudioDemoTest, DraggingABlockOnTheCanvasWritesItsPositionInOneUndoableTransaction) {
    demo->layOut(false);
    const KITE::GraphNode plant = block("Plant");
    const ZEPH::LineNode heat = line("heat");               // Actuator -> Plant
    const ZEPH::LineNode temperature = line("temperature"); // Plant -> Sensor
    const Point before = plant.getPosition();
    const Point heatTo = heat.getTo();
    const int undoLevels = model().getUndoStackLength();
    const Point start = box("Plant").center();

    canvasMouse(QEvent::MouseButtonPress, start, Qt::LeftButton, Qt::LeftButton);
    canvasMouse(QEvent::MouseMove, start + Point{20, 15}, Qt::NoButton, Qt::LeftButton);
    canvasMouse(QEvent::MouseMove, start + Point{60, 45}, Qt::NoButton, Qt::LeftButton);
    // While the block moves its lines follow it; the model waits for the release.
    const Point moved = box("Plant").topLeft() - before;
    EXPECT_NEAR(moved.x, 60, 1.0);
    EXPECT_NEAR(moved.y, 45, 1.0);
    EXPECT_TRUE(onBorder(box("Plant"), heat.getTo()));
    EXPECT_TRUE(onBorder(box("Plant"), temperature.getFrom()));
    EXPECT_EQ(plant.getPosition(), before);
    EXPECT_EQ(model().getUndoStackLength(), undoLevels);

    canvasMouse(QEvent::MouseButtonRelease, start + Point{60, 45}, Qt::LeftButton, Qt::NoButton);
    const Point after = plant.getPosition();
    EXPECT_EQ(after, box("Plant").topLeft());
    EXPECT_NEAR(after.x - before.x, 60, 1.0);
    EXPECT_NEAR(after.y - before.y, 45, 1.0);
    EXPECT_EQ(model().getUndoStackLength(), undoLevels + 1);
    EXPECT_NE(heat.getTo(), heatTo);
    EXPECT_TRUE(onBorder(box("Actuator"), heat.getFrom()));

    // Ctrl+Z on the canvas puts model, block and lines back in one step.
    ZEPH::GLCanvas* canvas = editor->getCanvas();
    QKeyEvent undo(QEvent::KeyPress, Qt::Key_Z, Qt::ControlModifier);
    QApplication::sendEvent(canvas, &undo);
    EXPECT_EQ(plant.getPosition(), before);
    EXPECT_EQ(box("Plant").topLeft(), before);
    EXPECT_EQ(model().getUndoStackLength(), undoLevels);
    EXPECT_EQ(heat.getTo(), heatTo);
    EXPECT_TRUE(onBorder(box("Plant"), temperature.getFrom()));

    key(Qt::Key_Y, ZEPH::ControlModifier);
    EXPECT_EQ(plant.getPosition(), after);
    EXPECT_EQ(box("Plant").topLeft(), after);
    EXPECT_EQ(model().getUndoStackLength(), undoLevels + 1);
}

TEST_F(StudioDemoTest, ThePropertyBrowserEditsTheSelectedBlockAndTheCanvasFollows) {
    demo->layOut(false);
    KITE::PropBrowserComponent* browser = demo->getPropBrowser();
    ASSERT_NE(browser, nullptr);
    EXPECT_TRUE(demo->getStudio()->getFrameworkService()->isDocked(browser));
    // The first block starts selected: its name, position and size.
    EXPECT_EQ(browser->getObject(), block("Setpoint"));
    const VELD::ImmutableClass blockClass = block("Setpoint").getMetaClass();
    const auto property = [&](const char* name) { return blockClass.getProperty(name); };
    const std::vector<std::pair<const char*, const char*>> shown{
        {"name", "Setpoint"}, {"x", "40"}, {"y", "95"}, {"width", "130"}, {"height", "56"}};
    for (const auto& [name, value] : shown)
        EXPECT_EQ(browser->testAPI_GetValueOfProperty(property(name)), value) << name;

    // A click on another block shows that one.
    press(box("Filter").center());
    release(box("Filter").center());
    ASSERT_EQ(browser->getObject(), block("Filter"));

    // Edits through the browser's cells: the block moves, grows and is renamed on the canvas.
    KITE::PropBrowserViewModel* rows = browser->getViewModel();
    const int undoLevels = model().getUndoStackLength();
    const auto editCell = [&](const char* name, const std::string& text) {
        const unsigned row = rows->findRow(block("Filter"), property(name), -1);
        ASSERT_TRUE(browser->getTreeView()->editCell(row, rows->getValueColumn())) << name;
        KITE::PropBrowserEditor* editor = rows->getEditor(row);
        if (auto* number = dynamic_cast<KITE::PropertyBrowserWidgetsNS::NumericTextBox*>(editor))
            number->getEdit()->setText(text);
        else if (auto* line = dynamic_cast<KITE::PropertyBrowserWidgetsNS::TextEditor*>(editor))
            line->getEdit()->setText(text);
        else
            FAIL() << "no editor for " << name;
        QKeyEvent enter(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier);
        QApplication::sendEvent(editor->getWidget()->getQWidget(), &enter);
        QCoreApplication::processEvents();
    };
    const Rect before = box("Filter");
    editCell("x", "500");
    editCell("width", "180");
    editCell("name", "Low-pass");
    EXPECT_EQ(model().getUndoStackLength(), undoLevels + 3);
    const KITE::GraphNode filter = block("Low-pass");
    EXPECT_EQ(filter.getPosition().x, 500);
    EXPECT_EQ(box("Low-pass").x, 500);
    EXPECT_EQ(box("Low-pass").width, 180);
    EXPECT_EQ(blockGlyph(filter)->getLabel().getText(), "Low-pass");
    EXPECT_EQ(browser->testAPI_GetValueOfProperty(property("x")), "500");

    // Undo on the canvas takes the edits back, in the browser too.
    for (int i = 0; i < 3; ++i)
        key(Qt::Key_Z, ZEPH::ControlModifier);
    EXPECT_EQ(box("Filter"), before);
    EXPECT_EQ(browser->testAPI_GetValueOfProperty(property("name")), "Filter");
    EXPECT_EQ(browser->testAPI_GetValueOfProperty(property("x")), std::to_string(int(before.x)));
}

TEST_F(StudioDemoTest, MovingAContainerCarriesItsNestedBlockAndTheNestedBlocksLines) {
    const KITE::GraphNode controller = block("Controller");
    const KITE::GraphNode pid = block("PID");
    const ZEPH::LineNode reference = line("reference"); // Setpoint -> PID
    const Point controllerBefore = controller.getPosition();
    const Point pidBefore = pid.getPosition();
    const int undoLevels = model().getUndoStackLength();
    // Beside the container's label, above the nested block.
    const Point start = box("Controller").topLeft() + Point{8, 8};

    press(start);
    drag(start + Point{0, 30});
    drag(start + Point{0, 80});
    release(start + Point{0, 80});

    EXPECT_EQ(controller.getPosition(), (controllerBefore + Point{0, 80}));
    // Nested positions are relative to the container: the block moved without changing.
    EXPECT_EQ(pid.getPosition(), pidBefore);
    EXPECT_EQ(box("PID").topLeft(), (controllerBefore + pidBefore + Point{0, 80}));
    EXPECT_TRUE(onBorder(box("PID"), reference.getTo()));
    EXPECT_EQ(model().getUndoStackLength(), undoLevels + 1);
}

TEST_F(StudioDemoTest, EscapePutsAMovedBlockBackWithoutTouchingTheModel) {
    const KITE::GraphNode scope = block("Scope");
    const ZEPH::LineNode trace = line("trace");
    const Point traceTo = trace.getTo();
    const int undoLevels = model().getUndoStackLength();
    const Point start = box("Scope").center();
    press(start);
    drag(start + Point{-100, 50});
    EXPECT_NE(trace.getTo(), traceTo);
    key(ZEPH::Key_Escape, ZEPH::NoModifier);
    release(start + Point{-100, 50});
    EXPECT_EQ(box("Scope").topLeft(), scope.getPosition());
    EXPECT_EQ(trace.getTo(), traceTo);
    EXPECT_EQ(model().getUndoStackLength(), undoLevels);
}

TEST_F(StudioDemoTest, UndoWaitsWhileABlockIsBeingDragged) {
    const KITE::GraphNode actuator = block("Actuator");
    const Point before = actuator.getPosition();
    const int undoLevels = model().getUndoStackLength();
    const Point start = box("Actuator").center();
    press(start);
    drag(start + Point{0, 60});
    release(start + Point{0, 60});
    ASSERT_EQ(model().getUndoStackLength(), undoLevels + 1);

    // The drop may snap to the other blocks' edges: take where it landed.
    const Point first = actuator.getPosition();
    ASSERT_NE(first, before);
    const Point grab = box("Actuator").center();
    press(grab);
    drag(grab + Point{60, 0});
    key(Qt::Key_Z, ZEPH::ControlModifier);
    EXPECT_EQ(actuator.getPosition(), first);
    EXPECT_EQ(model().getUndoStackLength(), undoLevels + 1);
    release(grab + Point{60, 0});
    EXPECT_NE(actuator.getPosition(), first);
    EXPECT_EQ(model().getUndoStackLength(), undoLevels + 2);

    key(Qt::Key_Z, ZEPH::ControlModifier);
    key(Qt::Key_Z, ZEPH::ControlModifier);
    EXPECT_EQ(actuator.getPosition(), before);
    EXPECT_EQ(box("Actuator").topLeft(), before);
    EXPECT_EQ(model().getUndoStackLength(), undoLevels);
    // Nothing further back: the file's state is the first level.
    key(Qt::Key_Z, ZEPH::ControlModifier);
    EXPECT_EQ(model().getUndoStackLength(), undoLevels);
}

TEST_F(StudioDemoTest, ResizingABlockByAHandleWritesItsSizeInOneTransaction) {
    const KITE::GraphNode filter = block("Filter");
    const Point position = filter.getPosition();
    const Point size = filter.getSize();
    const int undoLevels = model().getUndoStackLength();
    const Rect r = box("Filter");
    press(r.center());
    release(r.center());
    ASSERT_TRUE(blockGlyph(filter)->getBox().isSelected());

    // The top-left handle: the opposite corner stays.
    press(r.topLeft());
    drag(r.topLeft() + Point{-10, -5});
    drag(r.topLeft() + Point{-40, -20});
    release(r.topLeft() + Point{-40, -20});

    EXPECT_EQ(filter.getPosition(), (position - Point{40, 20}));
    EXPECT_EQ(filter.getSize(), (size + Point{40, 20}));
    EXPECT_EQ(model().getUndoStackLength(), undoLevels + 1);
    EXPECT_EQ(box("Filter"), (Rect{r.x - 40, r.y - 20, r.width + 40, r.height + 20}));
    // The label stays in the middle; the lines reach the new outline.
    const Rect label = blockGlyph(filter)->getLabel().getSceneBounds();
    EXPECT_NEAR(label.center().x, box("Filter").center().x, 1.0);
    EXPECT_NEAR(label.center().y, box("Filter").center().y, 1.0);
    EXPECT_TRUE(onBorder(box("Filter"), line("reading").getTo()));
    EXPECT_TRUE(onBorder(box("Filter"), line("feedback").getFrom()));

    // Never smaller than a block that can show its name.
    const Rect now = box("Filter");
    const Point corner{now.right(), now.bottom()};
    press(corner);
    drag(corner + Point{-10, 0});
    drag(corner + Point{-500, -500});
    release(corner + Point{-500, -500});
    EXPECT_EQ(filter.getSize(), (Point{BlockGlyph::minimumWidth, BlockGlyph::minimumHeight}));
    EXPECT_EQ(filter.getPosition(), (position - Point{40, 20}));
    EXPECT_EQ(model().getUndoStackLength(), undoLevels + 2);

    key(Qt::Key_Z, ZEPH::ControlModifier);
    key(Qt::Key_Z, ZEPH::ControlModifier);
    EXPECT_EQ(filter.getSize(), size);
    EXPECT_EQ(box("Filter"), r);
}

TEST(StudioDemoFiles, AMalformedModelIsReportedWithFileAndLineAndLeavesNoWindow) {
    QTemporaryDir dir;
    const std::string bad = dir.filePath("bad.veld").toStdString();
    std::string text = readFile(kModel);
    const std::string value = "<value property=\"y\">440</value>";
    const std::size_t at = text.find(value);
    ASSERT_NE(at, std::string::npos);
    const long line = 1 + std::count(text.begin(), text.begin() + at, '\n');
    text.replace(at, value.size(), "<value property=\"y\">four hundred</value>");
    std::ofstream(bad, std::ios::binary) << text;

    const std::size_t windows = openStudioWindows();
    try {
        DemoStudio::open(kMetaModel, bad);
        FAIL() << "a malformed model opened";
    } catch (const VELD::FileError& e) {
        EXPECT_EQ(e.file(), bad);
        EXPECT_EQ(e.line(), line);
        EXPECT_EQ(std::string(e.what()).rfind(bad + ":" + std::to_string(line) + ":", 0), 0u)
            << e.what();
    }
    EXPECT_EQ(openStudioWindows(), windows);

    // The program says the same and exits with 1.
    std::ostringstream out, err;
    EXPECT_EQ(DemoCommand::run({"--model", bad, "--meta-model", kMetaModel}, out, err), 1);
    EXPECT_EQ(err.str().rfind(bad + ":" + std::to_string(line) + ":", 0), 0u) << err.str();
    EXPECT_EQ(out.str(), "");
    EXPECT_EQ(openStudioWindows(), windows);
}

TEST(StudioDemoFiles, AModelNoDomainDrawsIsRefusedAndLeavesNoWindow) {
    QTemporaryDir dir;
    const std::string meta = dir.filePath("shapes.veldmeta").toStdString();
    const std::string file = dir.filePath("shapes.veld").toStdString();
    std::ofstream(meta) << R"(<?xml version="1.0" encoding="UTF-8"?>
<veld-metamodel version="1" name="shapes" uri="test:demo-shapes" modelClass="Sheet">
  <class name="Sheet">
    <property name="diagrams" type="KITE.Diagram" composite="true" upper="*"/>
  </class>
  <class name="Shape" superClasses="KITE.GraphNode">
    <property name="name" type="String"/>
  </class>
  <class name="Link" superClasses="KITE.GraphEdge"/>
</veld-metamodel>
)";
    std::ofstream(file) << R"(<?xml version="1.0" encoding="UTF-8"?>
<veld-model version="1" metamodel="test:demo-shapes">
 <uses uri="kite:datamodel"/>
 <object id="1" class="shapes.Sheet">
  <object property="diagrams" id="2" class="KITE.Diagram">
   <value property="name">sketch</value>
   <object property="contained" id="3" class="shapes.Shape">
    <value property="name">circle</value>
    <value property="x">10</value><value property="y">10</value>
    <value property="width">80</value><value property="height">40</value>
    <ref property="edges" to="5"/>
   </object>
   <object property="contained" id="4" class="shapes.Shape">
    <value property="name">square</value>
    <value property="x">200</value><value property="y">10</value>
    <value property="width">80</value><value property="height">40</value>
    <ref property="edges" to="5"/>
   </object>
   <object property="contained" id="5" class="shapes.Link">
    <ref property="src" to="3"/>
    <ref property="dst" to="4"/>
   </object>
  </object>
 </object>
</veld-model>
)";
    // No domain draws the model: the studio application makes no editor, and the program says
    // so and leaves no window behind.
    const std::size_t windows = openStudioWindows();
    try {
        DemoStudio::open(meta, file);
        ADD_FAILURE() << "a model no domain draws was opened";
    } catch (const std::runtime_error& e) {
        EXPECT_NE(std::string(e.what()).find("shapes.Sheet"), std::string::npos) << e.what();
    }
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_EQ(openStudioWindows(), windows);
}

TEST(StudioDemoFiles, MissingFilesAndBadArgumentsAreRefused) {
    std::ostringstream out, err;
    EXPECT_EQ(DemoCommand::run({"--model", "/nonexistent/model.veld"}, out, err), 1);
    EXPECT_NE(err.str().find("/nonexistent/model.veld"), std::string::npos) << err.str();
    err.str("");
    EXPECT_EQ(DemoCommand::run({"--meta-model", "/nonexistent/meta.veldmeta"}, out, err), 1);
    EXPECT_NE(err.str().find("/nonexistent/meta.veldmeta"), std::string::npos) << err.str();

    DemoOptions options;
    std::string error;
    EXPECT_FALSE(DemoOptions::parse({"--model"}, options, error));
    EXPECT_FALSE(DemoOptions::parse({"--colour", "red"}, options, error));
    EXPECT_NE(error.find("--colour"), std::string::npos);
    ASSERT_TRUE(DemoOptions::parse({"--screenshot", "a.png"}, options, error));
    EXPECT_EQ(options.modelFile, DemoOptions::defaults().modelFile);
    EXPECT_EQ(options.screenshotFile, "a.png");
    EXPECT_EQ(DemoCommand::run({"--bogus"}, out, err), 2);
}

TEST_F(StudioDemoTest, TheScreenshotIsAPngOfTheWindowWithTheDiagramAndThePalette) {
    demo->layOut(false);
    QTemporaryDir dir;
    const std::string file = dir.filePath("shot.png").toStdString();
    std::string error;
    ASSERT_TRUE(demo->saveScreenshot(file, error)) << error;
    EXPECT_EQ(readFile(file).substr(0, 8), std::string("\x89PNG\r\n\x1a\n", 8));

    QImage image(QString::fromStdString(file));
    ASSERT_FALSE(image.isNull());
    PLATFORM::StudioWindow* window = demo->getStudio()->getWindow();
    const qreal ratio = window->devicePixelRatio();
    EXPECT_EQ(image.size(), window->size() * ratio);

    // The canvas's part of the picture: background, fills, outlines, lines and text.
    ZEPH::GLCanvas* canvas = editor->getCanvas();
    const QPoint topLeft = canvas->viewport()->mapTo(window, QPoint(0, 0)) * ratio;
    const QSize size = canvas->viewport()->size() * ratio;
    ASSERT_GT(size.width(), 300);
    ASSERT_GT(size.height(), 200);
    std::set<QRgb> colours;
    int dark = 0;
    for (int y = topLeft.y(); y < topLeft.y() + size.height(); y += 2)
        for (int x = topLeft.x(); x < topLeft.x() + size.width(); x += 2) {
            const QColor c = image.pixelColor(x, y);
            colours.insert(c.rgb());
            dark += c.lightness() < 128;
        }
    EXPECT_GT(colours.size(), 10u);
    EXPECT_GT(dark, 100);
    // Every block shows on the canvas: the picture has its fill where the block is.
    const QColor background = image.pixelColor(topLeft + QPoint(3, 3));
    for (const KITE::GraphNode& b : demo->getDemoModel().getBlocks()) {
        const Point v = canvas->scenePointToViewPoint(box(Blocks::BlockGlyph::nameOf(b)).topLeft() +
                                                      Point{6, 6});
        ASSERT_TRUE(
            QRect(QPoint(0, 0), canvas->viewport()->size()).contains(QPoint(int(v.x), int(v.y))))
            << Blocks::BlockGlyph::nameOf(b);
        const QColor fill = image.pixelColor(topLeft + QPoint(int(v.x), int(v.y)) * ratio);
        EXPECT_NE(fill.rgb(), background.rgb()) << Blocks::BlockGlyph::nameOf(b);
    }

    // The palette's buttons (zoom, then the blocks domain's block, sink and connection tools)
    // stand left of the canvas, inside the editor's tab.
    QList<QToolButton*> buttons;
    for (QToolButton* button : editor->getWidget()->getQWidget()->findChildren<QToolButton*>())
        if (button->isVisible()) // a tool bar keeps a hidden button for what it cannot show
            buttons.push_back(button);
    ASSERT_EQ(buttons.size(), 4);
    const std::vector<std::string> labels{"zoom", "block", "sink", "connection"};
    for (int i = 0; i < buttons.size(); ++i) {
        EXPECT_EQ(buttons[i]->text().toStdString(), labels[std::size_t(i)]);
        EXPECT_LE(buttons[i]->mapTo(window, QPoint(buttons[i]->width(), 0)).x(),
                  canvas->mapTo(window, QPoint(0, 0)).x());
    }
}

TEST(StudioDemoFiles, TheProgramWritesTheScreenshotHeadlessAndPrintsItsPath) {
    QTemporaryDir dir;
    const std::string file = dir.filePath("studio.png").toStdString();
    const std::size_t windows = openStudioWindows();
    std::ostringstream out, err;
    EXPECT_EQ(DemoCommand::run({"--screenshot", file}, out, err), 0) << err.str();
    EXPECT_EQ(out.str(), file + "\n");
    EXPECT_FALSE(QImage(QString::fromStdString(file)).isNull());
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_EQ(openStudioWindows(), windows);
}
