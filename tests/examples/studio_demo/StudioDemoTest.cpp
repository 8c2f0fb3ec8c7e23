#include "examples/studio_demo/DemoCommand.hpp"
#include "examples/studio_demo/DemoOptions.hpp"
#include "examples/studio_demo/DemoStudio.hpp"
#include "examples/studio_demo/DiagramCanvasComponent.hpp"
#include "examples/studio_demo/DiagramResizeBehavior.hpp"
#include "examples/studio_demo/DiagramScene.hpp"
#include "examples/studio_demo/ModelTreeComponent.hpp"
#include "examples/studio_demo/StatusComponent.hpp"
#include "platform/orbis/StudioFrameworkService.hpp"
#include "platform/orbis/StudioWindow.hpp"
#include "platform/tavi/ErrorHolder.hpp"
#include "platform/tavi2/GLTreeView2.hpp"
#include "platform/veld/io/FileError.hpp"
#include "platform/zeph/GLCanvas.hpp"
#include "platform/zeph/KeyEvent.hpp"
#include "platform/zeph/MouseEvent.hpp"

#include <QApplication>
#include <QFile>
#include <QImage>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <fstream>
#include <ostream>
#include <set>
#include <sstream>
#include <unordered_set>

using namespace StudioDemo;
using Point = TAVI::GLPoint<double>;
using Rect = TAVI::GLRect<double>;

namespace TAVI {
// Readable failures for geometry.
inline void PrintTo(const GLPoint<double>& p, std::ostream* os) { *os << "(" << p.x << ", " << p.y << ")"; }
inline void PrintTo(const GLRect<double>& r, std::ostream* os)
{
    *os << "(" << r.x << ", " << r.y << " " << r.width << "x" << r.height << ")";
}
} // namespace TAVI

namespace {

const std::string kData = std::string(KITE_SOURCE_DIR) + "/examples/studio_demo/data/";
const std::string kMetaModel = kData + "blocks.veldmeta";
const std::string kModel = kData + "plant.veld";

Rect sceneRect(const ZEPH::RectNode& node)
{
    return node.mapLocalToScene(node.getRect());
}

// Whether p lies on the outline of r.
bool onBorder(const Rect& r, const Point& p)
{
    constexpr double eps = 0.01;
    const bool inside = p.x >= r.left() - eps && p.x <= r.right() + eps && p.y >= r.top() - eps &&
                        p.y <= r.bottom() + eps;
    const bool onEdge = std::fabs(p.x - r.left()) < eps || std::fabs(p.x - r.right()) < eps ||
                        std::fabs(p.y - r.top()) < eps || std::fabs(p.y - r.bottom()) < eps;
    return inside && onEdge;
}

std::size_t openStudioWindows()
{
    std::size_t open = 0;
    for (QWidget* widget : QApplication::topLevelWidgets())
        if (dynamic_cast<PLATFORM::StudioWindow*>(widget) && widget->isVisible())
            ++open;
    return open + PLATFORM::Studio::allStudios().size();
}

std::string readFile(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

class StudioDemoTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        demo = DemoStudio::open(kMetaModel, kModel);
        ASSERT_TRUE(demo);
        diagram = &demo->getCanvas()->getDiagramScene();
        scene = diagram->getScene().get();
    }
    void TearDown() override
    {
        demo.reset();
        // Windows go through deleteLater.
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }

    KITE::GraphNode block(const std::string& name) const
    {
        for (const KITE::GraphNode& b : demo->getDemoModel().getBlocks())
            if (DemoModel::nameOf(b) == name)
                return b;
        ADD_FAILURE() << "no block " << name;
        return {};
    }
    KITE::GraphEdge connection(const std::string& name) const
    {
        for (const KITE::GraphEdge& c : demo->getDemoModel().getConnections())
            if (DemoModel::nameOf(c) == name)
                return c;
        ADD_FAILURE() << "no connection " << name;
        return {};
    }
    const VELD::Model& model() const { return demo->getDemoModel().getModel(); }

    // The tools get the events as the canvas would hand them over, at zoom 1.
    void press(const Point& p, int modifiers = ZEPH::NoModifier)
    {
        ZEPH::MouseEvent event(p, ZEPH::LeftButton, ZEPH::LeftButton, modifiers);
        scene->handleMousePressEvent(event);
    }
    void drag(const Point& p)
    {
        ZEPH::MouseEvent event(p, ZEPH::NoButton, ZEPH::LeftButton);
        scene->handleMouseMoveEvent(event);
    }
    void release(const Point& p)
    {
        ZEPH::MouseEvent event(p, ZEPH::LeftButton, ZEPH::NoButton);
        scene->handleMouseReleaseEvent(event);
    }
    void key(int code, int modifiers)
    {
        ZEPH::KeyEvent event(code, modifiers);
        scene->handleKeyPressEvent(event);
    }

    // Real widget input on the canvas, at the view point that shows the scene point.
    void canvasMouse(QEvent::Type type, const Point& scenePoint, Qt::MouseButton button, Qt::MouseButtons buttons)
    {
        ZEPH::GLCanvas* canvas = demo->getCanvas()->getCanvas();
        const Point v = canvas->scenePointToViewPoint(scenePoint);
        const QPointF at(v.x, v.y);
        QMouseEvent event(type, at, canvas->viewport()->mapToGlobal(at), button, buttons, Qt::NoModifier);
        QApplication::sendEvent(canvas->viewport(), &event);
    }

    std::unique_ptr<DemoStudio> demo;
    DiagramScene* diagram = nullptr;
    ZEPH::Scene* scene = nullptr;
};

} // namespace

TEST_F(StudioDemoTest, TheWindowShowsTheSampleModel)
{
    EXPECT_EQ(demo->getStudio()->getFrameworkService()->getTitle(), "kite studio — plant.veld");
    EXPECT_EQ(demo->getStatus()->getText(), "8 blocks, 7 connections");
    PLATFORM::StudioFrameworkService* framework = demo->getStudio()->getFrameworkService();
    EXPECT_TRUE(framework->isDocked(demo->getTree()));
    EXPECT_EQ(framework->getDockPosition(demo->getTree()), PLATFORM::StudioFrameworkService::Left);
    TAVI::ErrorHolder errors;
    EXPECT_EQ(framework->getTabIndex(demo->getCanvas(), errors), 0u);
    EXPECT_EQ(framework->getTabTitle(0, errors), "control loop");
    EXPECT_EQ(framework->getStatusComponent(), demo->getStatus());
}

TEST_F(StudioDemoTest, TheSceneHoldsOneNodePerDiagramElementWithNestedBlocksInsideTheirContainers)
{
    const std::vector<KITE::GraphNode> blocks = demo->getDemoModel().getBlocks();
    const std::vector<KITE::GraphEdge> connections = demo->getDemoModel().getConnections();
    ASSERT_EQ(blocks.size(), 8u);
    ASSERT_EQ(connections.size(), 7u);

    std::size_t topLevelBlocks = 0;
    std::unordered_set<ZEPH::Node> seen;
    for (const KITE::GraphNode& b : blocks) {
        const ZEPH::RectNode node = diagram->getNode(b);
        ASSERT_TRUE(node.isValid()) << DemoModel::nameOf(b);
        EXPECT_TRUE(seen.insert(node).second);
        EXPECT_EQ(diagram->getBlock(node), b);
        EXPECT_EQ(node.getPosition(), b.getPosition());
        EXPECT_EQ(node.getRect(), (Rect{0, 0, b.getSize().x, b.getSize().y}));
        EXPECT_EQ(diagram->getLabel(node).getText(), DemoModel::nameOf(b));
        // In diagram coordinates wherever it is nested.
        EXPECT_EQ(node.getScenePosition(), b.getAbsPosition());
        const KITE::GraphNode container(b.getContainer());
        if (container.isValid()) {
            EXPECT_EQ(node.getParent(), diagram->getNode(container)) << DemoModel::nameOf(b);
        } else {
            EXPECT_FALSE(node.getParent().isValid()) << DemoModel::nameOf(b);
            ++topLevelBlocks;
        }
    }
    // The sample's controller holds its PID stage.
    EXPECT_EQ(diagram->getNode(block("PID")).getParent(), diagram->getNode(block("Controller")));
    EXPECT_EQ(topLevelBlocks, 7u);

    for (const KITE::GraphEdge& c : connections) {
        const ZEPH::LineNode line = diagram->getLine(c);
        ASSERT_TRUE(line.isValid()) << DemoModel::nameOf(c);
        EXPECT_FALSE(line.getParent().isValid());
        EXPECT_TRUE(onBorder(sceneRect(diagram->getNode(c.getSrcElement())), line.getFrom())) << DemoModel::nameOf(c);
        EXPECT_TRUE(onBorder(sceneRect(diagram->getNode(c.getDstElement())), line.getTo())) << DemoModel::nameOf(c);
    }
    // Nothing else at the top: the top-level blocks and the lines.
    EXPECT_EQ(scene->getTopLevelNodes().size(), topLevelBlocks + connections.size());
}

TEST_F(StudioDemoTest, TheTreeListsEveryObjectUnderItsContainer)
{
    ModelTreeViewModel* rows = demo->getTree()->getViewModel();
    // The project, its diagram, 8 blocks and 7 connections.
    EXPECT_EQ(rows->getTotalRowCount(), 17u);
    const unsigned pid = rows->getRow(block("PID"));
    const unsigned controller = rows->getRow(block("Controller"));
    ASSERT_NE(pid, 0u);
    ASSERT_NE(controller, 0u);
    EXPECT_EQ(rows->getParentRow(pid), controller);
    EXPECT_EQ(rows->getText(pid, rows->getNameColumn()), "PID (blocks.Block)");
    EXPECT_EQ(rows->getText(rows->getRow(connection("heat")), rows->getNameColumn()), "heat (blocks.Connection)");
    EXPECT_EQ(rows->getParentRow(rows->getRow(connection("heat"))), rows->getRow(demo->getDemoModel().getDiagram()));
    EXPECT_TRUE(rows->getIcon(pid, rows->getNameColumn()).isValid());
}

TEST_F(StudioDemoTest, TreeAndCanvasShareTheSelection)
{
    ModelTreeComponent* tree = demo->getTree();
    tree->getTreeView()->setSelectedRows({tree->getViewModel()->getRow(block("Sensor"))});
    EXPECT_EQ(diagram->getSelectedBlocks(), (std::vector<KITE::GraphNode>{block("Sensor")}));

    press(sceneRect(diagram->getNode(block("Filter"))).center());
    release(sceneRect(diagram->getNode(block("Filter"))).center());
    EXPECT_EQ(tree->getSelection(), (std::vector<VELD::ImmutableClassObject>{block("Filter")}));
}

TEST_F(StudioDemoTest, DraggingABlockOnTheCanvasWritesItsPositionInOneUndoableTransaction)
{
    demo->layOut(false);
    const KITE::GraphNode plant = block("Plant");
    const ZEPH::RectNode node = diagram->getNode(plant);
    const ZEPH::LineNode heat = diagram->getLine(connection("heat"));          // Actuator -> Plant
    const ZEPH::LineNode temperature = diagram->getLine(connection("temperature"));  // Plant -> Sensor
    const Point before = plant.getPosition();
    const Point heatFrom = heat.getFrom();
    const int undoLevels = model().getUndoStackLength();
    const Point start = sceneRect(node).center();

    canvasMouse(QEvent::MouseButtonPress, start, Qt::LeftButton, Qt::LeftButton);
    canvasMouse(QEvent::MouseMove, start + Point{20, 15}, Qt::NoButton, Qt::LeftButton);
    canvasMouse(QEvent::MouseMove, start + Point{60, 45}, Qt::NoButton, Qt::LeftButton);
    // While the block moves its lines follow it; the model waits for the release.
    const Point moved = node.getPosition() - before;
    EXPECT_NEAR(moved.x, 60, 1.0);
    EXPECT_NEAR(moved.y, 45, 1.0);
    EXPECT_TRUE(onBorder(sceneRect(node), heat.getTo()));
    EXPECT_TRUE(onBorder(sceneRect(node), temperature.getFrom()));
    EXPECT_EQ(plant.getPosition(), before);
    EXPECT_EQ(model().getUndoStackLength(), undoLevels);

    canvasMouse(QEvent::MouseButtonRelease, start + Point{60, 45}, Qt::LeftButton, Qt::NoButton);
    const Point after = plant.getPosition();
    EXPECT_EQ(after, node.getPosition());
    EXPECT_NEAR(after.x - before.x, 60, 1.0);
    EXPECT_NEAR(after.y - before.y, 45, 1.0);
    EXPECT_EQ(model().getUndoStackLength(), undoLevels + 1);
    // The other end of a line stays where it was.
    EXPECT_NE(heat.getFrom(), heatFrom);  // it aims at the moved block now
    EXPECT_TRUE(onBorder(sceneRect(diagram->getNode(block("Actuator"))), heat.getFrom()));

    // Undo on the canvas puts model, block and lines back in one step.
    ZEPH::GLCanvas* canvas = demo->getCanvas()->getCanvas();
    QKeyEvent undo(QEvent::KeyPress, Qt::Key_Z, Qt::ControlModifier);
    QApplication::sendEvent(canvas, &undo);
    EXPECT_EQ(plant.getPosition(), before);
    EXPECT_EQ(node.getPosition(), before);
    EXPECT_EQ(model().getUndoStackLength(), undoLevels);
    EXPECT_EQ(heat.getFrom(), heatFrom);
    EXPECT_TRUE(onBorder(sceneRect(node), temperature.getFrom()));

    key(Qt::Key_Y, ZEPH::ControlModifier);
    EXPECT_EQ(plant.getPosition(), after);
    EXPECT_EQ(node.getPosition(), after);
}

TEST_F(StudioDemoTest, MovingAContainerCarriesItsNestedBlockAndTheNestedBlocksLines)
{
    const KITE::GraphNode controller = block("Controller");
    const KITE::GraphNode pid = block("PID");
    const ZEPH::LineNode reference = diagram->getLine(connection("reference"));  // Setpoint -> PID
    const Point controllerBefore = controller.getPosition();
    const Point pidBefore = pid.getPosition();
    const int undoLevels = model().getUndoStackLength();
    // The container's label, above the nested block.
    const Point start = sceneRect(diagram->getNode(controller)).topLeft() + Point{5, 5};

    press(start);
    drag(start + Point{0, 30});
    drag(start + Point{0, 80});
    release(start + Point{0, 80});

    EXPECT_EQ(controller.getPosition(), (controllerBefore + Point{0, 80}));
    // Nested positions are relative to the container: the block moved without changing.
    EXPECT_EQ(pid.getPosition(), pidBefore);
    EXPECT_EQ(pid.getAbsPosition(), (controllerBefore + pidBefore + Point{0, 80}));
    EXPECT_TRUE(onBorder(sceneRect(diagram->getNode(pid)), reference.getTo()));
    EXPECT_EQ(model().getUndoStackLength(), undoLevels + 1);
}

TEST_F(StudioDemoTest, EscapePutsAMovedBlockBackWithoutTouchingTheModel)
{
    const KITE::GraphNode scope = block("Scope");
    const ZEPH::LineNode trace = diagram->getLine(connection("trace"));
    const Point traceTo = trace.getTo();
    const int undoLevels = model().getUndoStackLength();
    const Point start = sceneRect(diagram->getNode(scope)).center();
    press(start);
    drag(start + Point{-100, 50});
    EXPECT_NE(trace.getTo(), traceTo);
    key(ZEPH::Key_Escape, ZEPH::NoModifier);
    release(start + Point{-100, 50});
    EXPECT_EQ(diagram->getNode(scope).getPosition(), scope.getPosition());
    EXPECT_EQ(trace.getTo(), traceTo);
    EXPECT_EQ(model().getUndoStackLength(), undoLevels);
}

TEST_F(StudioDemoTest, UndoWaitsWhileABlockIsBeingDragged)
{
    const KITE::GraphNode actuator = block("Actuator");
    const Point before = actuator.getPosition();
    const int undoLevels = model().getUndoStackLength();
    const Point start = sceneRect(diagram->getNode(actuator)).center();
    press(start);
    drag(start + Point{0, 60});
    release(start + Point{0, 60});
    ASSERT_EQ(model().getUndoStackLength(), undoLevels + 1);

    press(start + Point{0, 60});
    drag(start + Point{30, 60});
    key(Qt::Key_Z, ZEPH::ControlModifier);
    EXPECT_EQ(actuator.getPosition(), (before + Point{0, 60}));
    release(start + Point{30, 60});
    EXPECT_EQ(actuator.getPosition(), (before + Point{30, 60}));
    EXPECT_EQ(model().getUndoStackLength(), undoLevels + 2);

    key(Qt::Key_Z, ZEPH::ControlModifier);
    key(Qt::Key_Z, ZEPH::ControlModifier);
    EXPECT_EQ(actuator.getPosition(), before);
    EXPECT_EQ(diagram->getNode(actuator).getPosition(), before);
}

TEST_F(StudioDemoTest, ResizingABlockByAHandleWritesItsSizeInOneTransaction)
{
    const KITE::GraphNode filter = block("Filter");
    const ZEPH::RectNode node = diagram->getNode(filter);
    const Point position = filter.getPosition();
    const Point size = filter.getSize();
    const int undoLevels = model().getUndoStackLength();
    const Rect r = sceneRect(node);
    press(r.center());
    release(r.center());
    ASSERT_TRUE(node.isSelected());

    // The top-left handle: the opposite corner stays.
    press(r.topLeft());
    drag(r.topLeft() + Point{-10, -5});
    drag(r.topLeft() + Point{-40, -20});
    release(r.topLeft() + Point{-40, -20});

    EXPECT_EQ(filter.getPosition(), (position - Point{40, 20}));
    EXPECT_EQ(filter.getSize(), (size + Point{40, 20}));
    EXPECT_EQ(model().getUndoStackLength(), undoLevels + 1);
    EXPECT_EQ(sceneRect(node), (Rect{r.x - 40, r.y - 20, r.width + 40, r.height + 20}));
    // The label stays in the middle; the lines reach the new outline.
    const Rect label = diagram->getLabel(node).getSceneBounds();
    EXPECT_NEAR(label.center().x, sceneRect(node).center().x, 1.0);
    EXPECT_NEAR(label.center().y, sceneRect(node).center().y, 1.0);
    EXPECT_TRUE(onBorder(sceneRect(node), diagram->getLine(connection("reading")).getTo()));
    EXPECT_TRUE(onBorder(sceneRect(node), diagram->getLine(connection("feedback")).getFrom()));

    // Never smaller than a block that can show a label.
    const Rect now = sceneRect(node);
    press(now.topLeft() + Point{now.width, now.height});
    drag(now.topLeft() + Point{now.width - 10, now.height});
    drag(now.topLeft() + Point{-500, -500});
    release(now.topLeft() + Point{-500, -500});
    EXPECT_EQ(filter.getSize(), (Point{DiagramResizeBehavior::minimumWidth, DiagramResizeBehavior::minimumHeight}));
    EXPECT_EQ(filter.getPosition(), (position - Point{40, 20}));
}

TEST(StudioDemoFiles, AMalformedModelIsReportedWithFileAndLineAndLeavesNoWindow)
{
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
        EXPECT_EQ(std::string(e.what()).rfind(bad + ":" + std::to_string(line) + ":", 0), 0u) << e.what();
    }
    EXPECT_EQ(openStudioWindows(), windows);

    // The program says the same and exits with 1.
    std::ostringstream out, err;
    EXPECT_EQ(DemoCommand::run({"--model", bad, "--meta-model", kMetaModel}, out, err), 1);
    EXPECT_EQ(err.str().rfind(bad + ":" + std::to_string(line) + ":", 0), 0u) << err.str();
    EXPECT_EQ(out.str(), "");
    EXPECT_EQ(openStudioWindows(), windows);
}

TEST(StudioDemoFiles, MissingFilesAndBadArgumentsAreRefused)
{
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

TEST_F(StudioDemoTest, TheScreenshotIsAPngOfTheWindowWithTheDiagramDrawn)
{
    demo->layOut(false);
    QTemporaryDir dir;
    const std::string file = dir.filePath("shot.png").toStdString();
    std::string error;
    ASSERT_TRUE(demo->saveScreenshot(file, error)) << error;
    EXPECT_EQ(readFile(file).substr(0, 8), std::string("\x89PNG\r\n\x1a\n", 8));

    QImage image(QString::fromStdString(file));
    ASSERT_FALSE(image.isNull());
    PLATFORM::StudioWindow* window = demo->getStudio()->getWindow();
    EXPECT_EQ(image.size(), window->size() * window->devicePixelRatio());

    // The canvas's part of the picture: background, fills, outlines, lines and text.
    ZEPH::GLCanvas* canvas = demo->getCanvas()->getCanvas();
    const QPoint topLeft = canvas->viewport()->mapTo(window, QPoint(0, 0)) * window->devicePixelRatio();
    const QSize size = canvas->viewport()->size() * window->devicePixelRatio();
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
    // Where the first block is, the picture shows its fill, not the background.
    const Point v = canvas->scenePointToViewPoint(sceneRect(diagram->getNode(block("Scope"))).topLeft() + Point{10, 10});
    const QColor fill = image.pixelColor(topLeft + QPoint(int(v.x), int(v.y)) * window->devicePixelRatio());
    const QColor background = image.pixelColor(topLeft + QPoint(3, 3));
    EXPECT_NE(fill.rgb(), background.rgb());
}

TEST(StudioDemoFiles, TheProgramWritesTheScreenshotHeadlessAndPrintsItsPath)
{
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
