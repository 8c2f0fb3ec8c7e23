#include "platform/zeph/GLCanvas.hpp"
#include "platform/nimb/ConnectionImpl.hpp"
#include "platform/nimb/Listener.hpp"
#include "platform/zeph/GlobalViewerInfo.hpp"
#include "platform/zeph/LodScale.hpp"
#include "platform/zeph/RectNode.hpp"
#include "tests/platform/zeph/RecordingTool.hpp"
#include "tests/support/AssertionRecorder.hpp"

#include <QApplication>
#include <QContextMenuEvent>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPointer>
#include <QWheelEvent>

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <stdexcept>

using namespace ZEPH;
using Point = TAVI::GLPoint<double>;
using Log = std::vector<std::string>;

namespace {

// Drags the node under the pointer with the left button; done on release.
class DragTool : public Tool {
public:
    explicit DragTool(std::vector<std::string>* log) : log(log) {}

    void handleMousePressEvent(MouseEvent& event) override {
        Scene* scene = event.canvas() ? event.canvas()->getScene() : nullptr;
        if (!scene || event.button() != LeftButton)
            return;
        target = scene->getNodeAt(event.scenePos());
        if (!target.isValid())
            return;
        start = event.scenePos();
        startPosition = target.getPosition();
        event.consume();
    }
    void handleMouseMoveEvent(MouseEvent& event) override {
        if (!target.isValid() || !(event.buttons() & LeftButton))
            return;
        target.setPosition(startPosition + (event.scenePos() - start));
        event.consume();
    }
    void handleMouseReleaseEvent(MouseEvent& event) override {
        if (!target.isValid())
            return;
        finished = true;
        event.consume();
    }
    void onRemoveFromStack() override { log->push_back("drag:removed"); }
    bool isDone() const override { return finished; }
    Cursor overrideCursor() const override { return Cursor::ClosedHand; }

    std::vector<std::string>* log;
    Node target;
    Point start;
    Point startPosition;
    bool finished = false;
};

class SignalCounter : public NIMB::Listener {
public:
    void onRelease(const MouseEvent& event) { releases.push_back(event); }
    std::vector<MouseEvent> releases;
    void onViewChanged() { ++viewChanges; }
    void onContextMenu(const TAVI::GLPoint<int>& position) { menus.push_back(position); }
    int viewChanges = 0;
    std::vector<TAVI::GLPoint<int>> menus;
};

// A shown 400x300 canvas on a scene with a large backdrop (so the view can
// scroll) and a red 80x40 rectangle at (0, 0).
class GLCanvasTest : public ::testing::Test {
protected:
    void SetUp() override {
        backdrop = RectNode::create({-2000, -2000, 4000, 4000});
        backdrop.setFill(TAVI::Color(1, 1, 1));
        backdrop.setStroke(TAVI::Color());
        scene->addNode(backdrop);
        box = RectNode::create({0, 0, 80, 40});
        box.setFill(TAVI::Color(1, 0, 0));
        scene->addNode(box);
        canvas = GLCanvas::create("qt");
        ASSERT_NE(canvas, nullptr);
        canvas->resize(400, 300);
        canvas->setScene(scene);
        canvas->show();
        canvas->showSceneRect({40, 20, 0, 0});
        QApplication::processEvents();
    }
    void TearDown() override {
        delete canvas;
        scene->clearToolStack();
    }

    QPointF viewPointOf(const Point& scenePoint) const {
        const Point p = canvas->scenePointToViewPoint(scenePoint);
        return {p.x, p.y};
    }
    void sendMouse(QEvent::Type type, const QPointF& at, Qt::MouseButton button,
                   Qt::MouseButtons buttons, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
        QMouseEvent event(type, at, canvas->viewport()->mapToGlobal(at), button, buttons,
                          modifiers);
        QApplication::sendEvent(canvas->viewport(), &event);
    }
    void sendWheel(const QPointF& at, int delta) {
        QWheelEvent event(at, canvas->viewport()->mapToGlobal(at), QPoint(), QPoint(0, delta),
                          Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false);
        QApplication::sendEvent(canvas->viewport(), &event);
    }

    Log log; // outlives the scene, whose tools write to it until they go
    TAVI::Holder<Scene> scene = Scene::createScene();
    RectNode backdrop;
    RectNode box;
    GLCanvas* canvas = nullptr;
};

TEST_F(GLCanvasTest, RealMouseEventsReachTheToolsAndTheNodeUnderThePointer) {
    TAVI::Holder<ZephTest::RecordingTool> probe(new ZephTest::RecordingTool("probe", &log));
    std::vector<MouseEvent> presses;
    probe->onEvent = [&](const std::string& what, Event& event) {
        if (what == "press")
            presses.push_back(static_cast<MouseEvent&>(event));
    };
    scene->addTool(probe);
    SignalCounter counter;
    new NIMB::ConnectionImpl1<SignalCounter, MouseEvent>(&counter, box.getMouseReleaseEmitter(),
                                                         nullptr, &SignalCounter::onRelease);

    for (const Point& at : {Point{60, 30}, Point{-60, -30}}) {
        sendMouse(QEvent::MouseButtonPress, viewPointOf(at), Qt::LeftButton, Qt::LeftButton,
                  Qt::ShiftModifier);
        sendMouse(QEvent::MouseButtonRelease, viewPointOf(at), Qt::LeftButton, Qt::NoButton);
    }
    EXPECT_EQ(log, (Log{"probe:press", "probe:release", "probe:press", "probe:release"}));
    ASSERT_EQ(presses.size(), 2u);
    EXPECT_NEAR(presses[0].scenePos().x, 60, 0.5);
    EXPECT_NEAR(presses[0].scenePos().y, 30, 0.5);
    EXPECT_EQ(presses[0].button(), LeftButton);
    EXPECT_EQ(presses[0].modifiers(), ShiftModifier);
    EXPECT_EQ(presses[0].canvas(), canvas);
    // Only the release over the box reaches its emitter.
    ASSERT_EQ(counter.releases.size(), 1u);
    EXPECT_EQ(counter.releases[0].button(), LeftButton);
    EXPECT_EQ(counter.releases[0].canvas(), canvas);
    EXPECT_NEAR(counter.releases[0].scenePos().x, 60, 0.5);
    EXPECT_NEAR(counter.releases[0].scenePos().y, 30, 0.5);
}

TEST_F(GLCanvasTest, DraggingWithRealMouseEventsMovesTheNodeAndTheToolLeaves) {
    TAVI::Holder<DragTool> drag(new DragTool(&log));
    scene->addTool(drag, "Drag");
    const double zoom = canvas->getZoomFactor();
    const QPointF from = viewPointOf({20, 20});
    const QPointF to = from + QPointF(30, 10);

    sendMouse(QEvent::MouseButtonPress, from, Qt::LeftButton, Qt::LeftButton);
    EXPECT_EQ(drag->target, box);
    EXPECT_EQ(canvas->viewport()->cursor().shape(), Qt::ClosedHandCursor);
    sendMouse(QEvent::MouseMove, to, Qt::NoButton, Qt::LeftButton);
    sendMouse(QEvent::MouseButtonRelease, to, Qt::LeftButton, Qt::NoButton);

    EXPECT_NEAR(box.getPosition().x, 30 / zoom, 0.5);
    EXPECT_NEAR(box.getPosition().y, 10 / zoom, 0.5);
    EXPECT_EQ(log, (Log{"drag:removed"}));
    EXPECT_FALSE(scene->hasTool("Drag"));
    EXPECT_EQ(canvas->viewport()->cursor().shape(), Qt::ArrowCursor);
}

TEST_F(GLCanvasTest, ShowSceneRectFillsTheViewAndCentresZeroSizeRectangles) {
    EXPECT_DOUBLE_EQ(canvas->getZoomFactor(), 1.0);
    const QPointF centre(canvas->viewport()->width() / 2.0, canvas->viewport()->height() / 2.0);
    Point middle = canvas->viewPointToScenePoint({centre.x(), centre.y()});
    EXPECT_NEAR(middle.x, 40, 1.0);
    EXPECT_NEAR(middle.y, 20, 1.0);

    canvas->showSceneRect({0, 0, 80, 40});
    const double zoom = canvas->getZoomFactor();
    // The rectangle's width limits: it spans (almost) the whole viewport width.
    EXPECT_NEAR(80 * zoom, canvas->viewport()->width(), 10.0);
    const QPointF topLeft = viewPointOf({0, 0});
    const QPointF bottomRight = viewPointOf({80, 40});
    EXPECT_GE(topLeft.x(), 0);
    EXPECT_LE(bottomRight.x(), canvas->viewport()->width());
    EXPECT_GE(topLeft.y(), 0);
    EXPECT_LE(bottomRight.y(), canvas->viewport()->height());

    const double nan = std::numeric_limits<double>::quiet_NaN();
    canvas->showSceneRect({nan, 0, 10, 10});
    canvas->showSceneRect({0, 0, 0, 0});
    canvas->showSceneRect({0, 0, 500, 0});
    EXPECT_DOUBLE_EQ(canvas->getZoomFactor(), zoom);
    canvas->showSceneRect({0, 0, 1e-6, 1e-6});
    EXPECT_DOUBLE_EQ(canvas->getZoomFactor(), GLCanvas::maximumZoom);
}

TEST_F(GLCanvasTest, UnconsumedWheelZoomsAboutThePointerAndTheZoomIsKeptInRange) {
    SignalCounter counter;
    new NIMB::ConnectionImpl0<SignalCounter>(&counter, canvas->getViewChangedEmitter(), nullptr,
                                             &SignalCounter::onViewChanged);
    const double device = canvas->viewport()->devicePixelRatioF();
    canvas->setZoomFactor(2.0);
    EXPECT_DOUBLE_EQ(LodScale::instance().getScale(), 2.0 * device);
    canvas->setZoomFactor(1.0);
    const QPointF at = viewPointOf({10, 10});
    sendWheel(at, 120);
    EXPECT_NEAR(canvas->getZoomFactor(), 1.15, 1e-9);
    EXPECT_NEAR(GlobalViewerInfo::instance().getZoomFactor(), 1.15, 1e-9);
    EXPECT_NEAR(LodScale::instance().getZoomFactor(), 1.15, 1e-9);
    EXPECT_DOUBLE_EQ(LodScale::instance().getDeviceScale(), device);
    const Point under = canvas->viewPointToScenePoint({at.x(), at.y()});
    EXPECT_NEAR(under.x, 10, 1.0);
    EXPECT_NEAR(under.y, 10, 1.0);
    EXPECT_GE(counter.viewChanges, 1);

    // Another canvas that gets the focus makes its own zoom the one that counts.
    LodScale::instance().setScales(1.0, 4.0);
    GLCanvas other;
    other.resize(200, 100);
    other.setScene(scene);
    other.setZoomFactor(0.5);
    EXPECT_DOUBLE_EQ(LodScale::instance().getScale(), 0.5 * device);
    canvas->setFocus();
    QFocusEvent focusIn(QEvent::FocusIn, Qt::OtherFocusReason);
    QApplication::sendEvent(canvas, &focusIn);
    EXPECT_NEAR(LodScale::instance().getScale(), 1.15 * device, 1e-9);

    // A tool that takes the wheel keeps the zoom.
    scene->addTool(TAVI::Holder<ZephTest::RecordingTool>(
        new ZephTest::RecordingTool("wheel", &log, {"wheel"})));
    sendWheel(at, 120);
    EXPECT_NEAR(canvas->getZoomFactor(), 1.15, 1e-9);
    EXPECT_EQ(log, (Log{"wheel:wheel"}));

    canvas->setZoomFactor(1000.0);
    EXPECT_DOUBLE_EQ(canvas->getZoomFactor(), GLCanvas::maximumZoom);
    EXPECT_DOUBLE_EQ(GlobalViewerInfo::instance().getZoomFactor(), GLCanvas::maximumZoom);
    GlobalViewerInfo::instance().setZoomFactor(0.0);
    canvas->setZoomFactor(-1.0);
    EXPECT_DOUBLE_EQ(GlobalViewerInfo::instance().getZoomFactor(), GLCanvas::maximumZoom);
    EXPECT_DOUBLE_EQ(canvas->getZoomFactor(), GLCanvas::maximumZoom);
    LodScale::instance().setScales(1.0, 1.0);
}

// The canvas is a graphics view, whose rotation and mirroring its users may
// reach: the zoom is the view's scale whatever they did.
TEST_F(GLCanvasTest, ARotatedOrMirroredViewHasTheZoomOfItsScale) {
    canvas->rotate(90);
    EXPECT_DOUBLE_EQ(canvas->getZoomFactor(), 1.0);
    const QPointF at = viewPointOf({10, 10});
    sendWheel(at, 120);
    EXPECT_NEAR(canvas->getZoomFactor(), 1.15, 1e-9);
    const Point under = canvas->viewPointToScenePoint({at.x(), at.y()});
    EXPECT_NEAR(under.x, 10, 1.0);
    EXPECT_NEAR(under.y, 10, 1.0);
    canvas->setZoomFactor(2.0);
    EXPECT_NEAR(canvas->getZoomFactor(), 2.0, 1e-9);

    canvas->resetTransform();
    canvas->scale(-1.0, 1.0);
    EXPECT_DOUBLE_EQ(canvas->getZoomFactor(), 1.0);
    canvas->setZoomFactor(3.0);
    EXPECT_NEAR(canvas->getZoomFactor(), 3.0, 1e-9);
    EXPECT_LT(canvas->transform().m11(), 0.0);
}

// The scroll bars cover an int's range of view pixels: far from the origin at a
// high zoom the scene lies beyond it, and the view gets as near as it can.
TEST_F(GLCanvasTest, FarFromTheOriginAtAHighZoomTheViewGoesAsNearAsItCan) {
    RectNode far = RectNode::create({0, 0, 10, 10});
    far.setPosition({1e8, 1e8});
    scene->addNode(far);
    QApplication::processEvents();
    const Point centre{canvas->viewport()->width() / 2.0, canvas->viewport()->height() / 2.0};
    canvas->setZoomFactor(GLCanvas::minimumZoom);
    canvas->showSceneRect({1e8, 1e8, 0, 0});
    EXPECT_NEAR(canvas->viewPointToScenePoint(centre).x, 1e8, 2e4); // at the scene's edge

    // 5e9 pixels from the origin: out of reach, the view stops at its farthest.
    canvas->setZoomFactor(GLCanvas::maximumZoom);
    const double reach = 4e7;
    EXPECT_GT(canvas->viewPointToScenePoint(centre).x, reach);
    EXPECT_GT(canvas->viewPointToScenePoint(centre).y, reach);
    canvas->showSceneRect({0, 0, 0, 0});
    canvas->showSceneRect({1e8, 1e8, 0, 0});
    EXPECT_GT(canvas->viewPointToScenePoint(centre).x, reach);
    EXPECT_GT(canvas->viewPointToScenePoint(centre).y, reach);
    canvas->showSceneRect({-1e8, -1e8, 0, 0});
    EXPECT_LT(canvas->viewPointToScenePoint(centre).x, 0);
}

// The middle button pans when no tool takes it. Its release can go missing (another window
// takes the pointer): a move without the button, or the focus going away, ends the pan.
TEST_F(GLCanvasTest, MiddleButtonPansUntilReleasedOrTheButtonOrFocusIsGone) {
    const QPointF from(200, 150);
    const Point start = canvas->viewPointToScenePoint({from.x(), from.y()});
    sendMouse(QEvent::MouseButtonPress, from, Qt::MiddleButton, Qt::MiddleButton);
    sendMouse(QEvent::MouseMove, from + QPointF(50, 20), Qt::NoButton, Qt::MiddleButton);
    sendMouse(QEvent::MouseButtonRelease, from + QPointF(50, 20), Qt::MiddleButton, Qt::NoButton);
    const Point before = canvas->viewPointToScenePoint({from.x(), from.y()});
    EXPECT_NEAR(before.x, start.x - 50, 0.5);
    EXPECT_NEAR(before.y, start.y - 20, 0.5);

    TAVI::Holder<ZephTest::RecordingTool> probe(new ZephTest::RecordingTool("probe", &log));
    scene->addTool(probe);
    sendMouse(QEvent::MouseButtonPress, from, Qt::MiddleButton, Qt::MiddleButton);
    sendMouse(QEvent::MouseMove, from + QPointF(60, 30), Qt::NoButton, Qt::NoButton);
    EXPECT_EQ(canvas->viewPointToScenePoint({from.x(), from.y()}), before);
    EXPECT_EQ(log, (Log{"probe:press", "probe:move"}));

    sendMouse(QEvent::MouseButtonPress, from, Qt::MiddleButton, Qt::MiddleButton);
    QFocusEvent focusOut(QEvent::FocusOut, Qt::ActiveWindowFocusReason);
    QApplication::sendEvent(canvas, &focusOut);
    log.clear();
    sendMouse(QEvent::MouseMove, from + QPointF(60, 30), Qt::NoButton, Qt::MiddleButton);
    EXPECT_EQ(canvas->viewPointToScenePoint({from.x(), from.y()}), before);
    EXPECT_EQ(log, (Log{"probe:move"}));
    EXPECT_NE(canvas->viewport()->cursor().shape(), Qt::ClosedHandCursor);
}

TEST_F(GLCanvasTest, ContextMenuRequestsNoToolConsumedGoToTheSignal) {
    SignalCounter counter;
    new NIMB::ConnectionImpl1<SignalCounter, TAVI::GLPoint<int>>(
        &counter, canvas->getContextMenuEmitter(), nullptr, &SignalCounter::onContextMenu);
    const QPoint at(100, 100);
    const QPoint global = canvas->viewport()->mapToGlobal(at);
    QContextMenuEvent first(QContextMenuEvent::Mouse, at, global);
    QApplication::sendEvent(canvas->viewport(), &first);
    ASSERT_EQ(counter.menus.size(), 1u);
    EXPECT_EQ(counter.menus[0], (TAVI::GLPoint<int>{global.x(), global.y()}));

    scene->addTool(TAVI::Holder<ZephTest::RecordingTool>(
        new ZephTest::RecordingTool("menu", &log, {"context"})));
    QContextMenuEvent second(QContextMenuEvent::Mouse, at, global);
    QApplication::sendEvent(canvas->viewport(), &second);
    EXPECT_EQ(counter.menus.size(), 1u);
    EXPECT_EQ(log, (Log{"menu:context"}));
}

TEST_F(GLCanvasTest, KeysReachTheToolsWithTheirCodesAndAToolThatThrowsIsReported) {
    KiteTest::AssertionRecorder assertions;
    TAVI::Holder<ZephTest::RecordingTool> faulty(new ZephTest::RecordingTool("faulty", &log));
    int seenKey = 0;
    faulty->onEvent = [&](const std::string& what, Event& event) {
        if (what == "keyPress")
            seenKey = static_cast<KeyEvent&>(event).key();
        if (what == "press" || what == "keyPress")
            throw std::runtime_error("no such glyph");
    };
    scene->addTool(faulty);

    const QPointF at = viewPointOf({60, 30});
    sendMouse(QEvent::MouseButtonPress, at, Qt::LeftButton, Qt::LeftButton);
    QKeyEvent press(QEvent::KeyPress, Qt::Key_Delete, Qt::NoModifier);
    QKeyEvent release(QEvent::KeyRelease, Qt::Key_Delete, Qt::NoModifier);
    QApplication::sendEvent(canvas, &press);
    QApplication::sendEvent(canvas, &release);
    sendMouse(QEvent::MouseButtonRelease, at, Qt::LeftButton, Qt::NoButton);

    EXPECT_EQ(seenKey, Key_Delete);
    EXPECT_EQ(log, (Log{"faulty:press", "faulty:keyPress", "faulty:keyRelease", "faulty:release"}));
    ASSERT_EQ(assertions.count(), 2u);
    EXPECT_NE(assertions.reports().front().message.find("an event handler threw"),
              std::string::npos);
    EXPECT_NE(assertions.reports().front().detail.find("no such glyph"), std::string::npos);
}

TEST_F(GLCanvasTest, ScreenshotShowsTheNodesAndHandlesOfSelectedMovableOnes) {
    const QColor handle = QColor::fromRgb(QRgb(GLCanvas::handleColor));
    const QPoint corner = viewPointOf({80, 40}).toPoint();
    const QImage plain = canvas->viewport()->grab().toImage();
    EXPECT_EQ(plain.pixelColor(viewPointOf({40, 20}).toPoint()), QColor(Qt::red));
    EXPECT_EQ(plain.pixelColor(viewPointOf({-40, -40}).toPoint()), QColor(Qt::white));
    EXPECT_NE(plain.pixelColor(corner), handle);
    box.setSelectable(true);
    box.setSelected(true);
    // Selected but not movable: no handles.
    EXPECT_NE(canvas->viewport()->grab().toImage().pixelColor(corner), handle);
    box.setMovable(true);
    canvas->viewport()->update();
    const QImage shot = canvas->viewport()->grab().toImage();
    EXPECT_EQ(shot.pixelColor(corner), handle);
    EXPECT_EQ(shot.pixelColor(viewPointOf({40, 0}).toPoint()), handle);
    EXPECT_NE(shot.pixelColor(viewPointOf({40, 20}).toPoint()), handle);
}

TEST_F(GLCanvasTest, OnlyTheQtToolkitMakesOneAndDestroyLetsGoOfTheSceneAndDeletesItLater) {
    EXPECT_EQ(GLCanvas::create("gtk"), nullptr);
    EXPECT_EQ(canvas->getScene(), scene.get());
    QPointer<GLCanvas> watched(canvas);
    canvas->destroy();
    EXPECT_EQ(canvas->getScene(), nullptr);
    EXPECT_EQ(scene->getRefCount(), 1u);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_TRUE(watched.isNull());
    canvas = nullptr;
    EXPECT_TRUE(box.isValid());
}

} // namespace
