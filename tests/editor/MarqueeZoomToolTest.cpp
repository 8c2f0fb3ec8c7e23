#include "editor/MarqueeZoomTool.hpp"
#include "editor/ZoomToolFactory.hpp"
#include "platform/nimb/ConnectionImpl.hpp"
#include "platform/nimb/Listener.hpp"
#include "platform/zeph/GLCanvas.hpp"
#include "platform/zeph/RectNode.hpp"
#include "platform/zeph/Scene.hpp"

#include <QApplication>

#include <gtest/gtest.h>

#include <vector>

using namespace KITE;
using Point = TAVI::GLPoint<double>;
using Rect = TAVI::GLRect<double>;

namespace {

// Counts the removal signals of one tool.
class RemovalCounter : public NIMB::Listener {
public:
    explicit RemovalCounter(PaletteTool& tool) {
        new NIMB::ConnectionImpl0<RemovalCounter>(this, tool.getRemovedFromStackEmitter(), nullptr,
                                                  &RemovalCounter::count);
    }
    int removals = 0;

private:
    void count() { ++removals; }
};

class MarqueeZoomToolTest : public ::testing::Test {
protected:
    void SetUp() override {
        scene = ZEPH::Scene::createScene();
        // Something to zoom about, large enough that any rectangle below can be centred.
        ZEPH::RectNode ground = ZEPH::RectNode::create({-2000, -2000, 4000, 4000});
        scene->addNode(ground);
        canvas = ZEPH::GLCanvas::create("qt");
        canvas->resize(400, 300);
        canvas->setScene(scene);
        canvas->show();
        canvas->setZoomFactor(1.0);
        QApplication::processEvents();
        tool = ZoomToolFactory::instance()->createTool().dynamicCast<MarqueeZoomTool>();
        ASSERT_TRUE(tool);
        removals = std::make_unique<RemovalCounter>(*tool);
        scene->addTool(tool);
    }
    void TearDown() override {
        scene->clearToolStack();
        delete canvas;
    }

    bool send(void (ZEPH::Scene::*handler)(ZEPH::MouseEvent&), const Point& at, int button,
              ZEPH::GLCanvas* from) {
        ZEPH::MouseEvent event(at, button, button, ZEPH::NoModifier, from);
        (scene.get()->*handler)(event);
        return event.isConsumed();
    }
    bool press(const Point& at, int button = ZEPH::LeftButton) {
        return send(&ZEPH::Scene::handleMousePressEvent, at, button, canvas);
    }
    bool move(const Point& at) {
        return send(&ZEPH::Scene::handleMouseMoveEvent, at, ZEPH::NoButton, canvas);
    }
    bool release(const Point& at, int button = ZEPH::LeftButton) {
        return send(&ZEPH::Scene::handleMouseReleaseEvent, at, button, canvas);
    }

    Point viewCentreOnScene() const {
        return canvas->viewPointToScenePoint(
            {canvas->viewport()->width() / 2.0, canvas->viewport()->height() / 2.0});
    }
    // Whether the scene rectangle lies wholly in the viewport.
    bool shows(const Rect& r) const {
        const Point topLeft = canvas->scenePointToViewPoint({r.x, r.y});
        const Point bottomRight = canvas->scenePointToViewPoint({r.x + r.width, r.y + r.height});
        return topLeft.x >= -0.5 && topLeft.y >= -0.5 &&
               bottomRight.x <= canvas->viewport()->width() + 0.5 &&
               bottomRight.y <= canvas->viewport()->height() + 0.5;
    }
    std::size_t nodeCount() const { return scene->getTopLevelNodes().size(); }

    TAVI::Holder<ZEPH::Scene> scene;
    ZEPH::GLCanvas* canvas = nullptr;
    TAVI::Holder<MarqueeZoomTool> tool;
    std::unique_ptr<RemovalCounter> removals;
};

} // namespace

TEST(ZoomToolFactoryTest, OneFactoryMakesAFreshZoomToolEachTime) {
    const ZoomToolFactory* factory = ZoomToolFactory::instance();
    EXPECT_EQ(factory, ZoomToolFactory::instance());
    TAVI::Holder<PaletteTool> first = factory->createTool();
    TAVI::Holder<PaletteTool> second = factory->createTool();
    ASSERT_TRUE(first.dynamicCast<MarqueeZoomTool>());
    EXPECT_NE(first.get(), second.get());
    EXPECT_EQ(first->getDefaultRole(), TAVI::StringID("MarqueeZoomTool"));
}

TEST_F(MarqueeZoomToolTest, DragDrawsTheMarqueeAndReleaseZoomsToItOnce) {
    const double zoomBefore = canvas->getZoomFactor();
    EXPECT_TRUE(press({100, 50}));
    ASSERT_TRUE(tool->getMarquee().isValid());
    EXPECT_EQ(tool->getMarquee().getScene(), scene.get());
    EXPECT_EQ(nodeCount(), 2u);
    EXPECT_EQ(tool->getMarquee().getRect(), (Rect{100, 50, 0, 0}));
    EXPECT_TRUE(move({140, 60}));
    EXPECT_TRUE(move({180, 80}));
    EXPECT_EQ(tool->getMarquee().getRect(), (Rect{100, 50, 80, 30}));
    EXPECT_FALSE(tool->isDone());
    EXPECT_DOUBLE_EQ(canvas->getZoomFactor(), zoomBefore);

    EXPECT_TRUE(release({180, 80}));
    // 80 x 30 in a 400 x 300 canvas: the width limits the zoom, about five times.
    EXPECT_GT(canvas->getZoomFactor(), 4.0);
    EXPECT_TRUE(shows({100, 50, 80, 30}));
    EXPECT_NEAR(viewCentreOnScene().x, 140, 1.0);
    EXPECT_NEAR(viewCentreOnScene().y, 65, 1.0);

    // Done: off the stack, marquee gone, the button told once.
    EXPECT_TRUE(tool->isDone());
    EXPECT_FALSE(scene->hasTool(TAVI::Holder<ZEPH::Tool>(tool)));
    EXPECT_FALSE(tool->getMarquee().isValid());
    EXPECT_EQ(nodeCount(), 1u);
    EXPECT_EQ(removals->removals, 1);
}

TEST_F(MarqueeZoomToolTest, DragUpAndLeftGivesTheSameRectangleAsTheReverseDrag) {
    press({180, 80});
    move({100, 50});
    EXPECT_EQ(tool->getMarquee().getRect(), (Rect{100, 50, 80, 30}));
    release({100, 50});
    const double zoom = canvas->getZoomFactor();
    const Point centre = viewCentreOnScene();

    canvas->setZoomFactor(1.0);
    TAVI::Holder<PaletteTool> again = ZoomToolFactory::instance()->createTool();
    scene->addTool(again);
    press({100, 50});
    move({180, 80});
    release({180, 80});
    EXPECT_DOUBLE_EQ(canvas->getZoomFactor(), zoom);
    EXPECT_NEAR(viewCentreOnScene().x, centre.x, 1e-6);
    EXPECT_NEAR(viewCentreOnScene().y, centre.y, 1e-6);
}

TEST_F(MarqueeZoomToolTest, ReleaseWithoutDragCentresOnThePressPointAtTheSameZoom) {
    canvas->setZoomFactor(2.0);
    press({300, -120});
    release({300, -120});
    EXPECT_DOUBLE_EQ(canvas->getZoomFactor(), 2.0);
    EXPECT_NEAR(viewCentreOnScene().x, 300, 1.0);
    EXPECT_NEAR(viewCentreOnScene().y, -120, 1.0);
    EXPECT_TRUE(tool->isDone());
    EXPECT_EQ(removals->removals, 1);
}

TEST_F(MarqueeZoomToolTest, OtherButtonsDoubleClicksStrayReleasesAndCanvaslessEventsDoNothing) {
    EXPECT_TRUE(press({10, 10}, ZEPH::RightButton));
    EXPECT_FALSE(tool->getMarquee().isValid());
    EXPECT_TRUE(move({50, 50}));
    EXPECT_TRUE(release({50, 50}, ZEPH::RightButton));
    EXPECT_TRUE(
        send(&ZEPH::Scene::handleMouseDoubleClickEvent, {50, 50}, ZEPH::LeftButton, canvas));
    // Without a canvas there is no scene to draw on and nothing to zoom.
    EXPECT_TRUE(send(&ZEPH::Scene::handleMousePressEvent, {10, 10}, ZEPH::LeftButton, nullptr));
    EXPECT_TRUE(send(&ZEPH::Scene::handleMouseReleaseEvent, {10, 10}, ZEPH::LeftButton, nullptr));
    EXPECT_FALSE(tool->getMarquee().isValid());
    EXPECT_EQ(nodeCount(), 1u);
    EXPECT_FALSE(tool->isDone());
    EXPECT_TRUE(scene->hasTool(TAVI::Holder<ZEPH::Tool>(tool)));
    EXPECT_DOUBLE_EQ(canvas->getZoomFactor(), 1.0);
    EXPECT_EQ(removals->removals, 0);

    // A release without a press of its own (the button was held down when the tool came onto
    // the stack) does not zoom either.
    const Point centre = viewCentreOnScene();
    EXPECT_TRUE(release({500, 500}));
    EXPECT_FALSE(tool->isDone());
    EXPECT_NEAR(viewCentreOnScene().x, centre.x, 1e-9);
    EXPECT_NEAR(viewCentreOnScene().y, centre.y, 1e-9);
}

TEST_F(MarqueeZoomToolTest, ThereIsOneMarqueeAtATimeAndNoneOnceTheToolIsGone) {
    press({0, 0});
    move({30, 30});
    press({200, 200});
    EXPECT_EQ(nodeCount(), 2u);
    EXPECT_EQ(tool->getMarquee().getRect(), (Rect{200, 200, 0, 0}));
    move({220, 210});
    EXPECT_EQ(tool->getMarquee().getRect(), (Rect{200, 200, 20, 10}));

    // Taken off in mid-drag it leaves no marquee behind.
    scene->clearToolStack();
    EXPECT_EQ(nodeCount(), 1u);
    EXPECT_FALSE(tool->getMarquee().isValid());
    EXPECT_EQ(removals->removals, 1);
    EXPECT_DOUBLE_EQ(canvas->getZoomFactor(), 1.0);
    // A tool let go of without leaving a stack takes its marquee with it.
    TAVI::Holder<PaletteTool> loose = ZoomToolFactory::instance()->createTool();
    ZEPH::MouseEvent event({5, 5}, ZEPH::LeftButton, ZEPH::LeftButton, ZEPH::NoModifier, canvas);
    loose->handleMousePressEvent(event);
    ASSERT_EQ(nodeCount(), 2u);
    loose.reset();
    EXPECT_EQ(nodeCount(), 1u);
}
