#include "editor/VisualIndicatorContainer.hpp"
#include "editor/VisualIndicatorsContainerPainter.hpp"
#include "platform/zeph/GLCanvas.hpp"
#include "platform/zeph/GlobalViewerInfo.hpp"
#include "platform/zeph/ImageNode.hpp"
#include "platform/zeph/RectNode.hpp"
#include "platform/zeph/Scene.hpp"

#include <QApplication>
#include <QImage>
#include <QMouseEvent>

#include <gtest/gtest.h>

#include <string>

namespace KITE {

namespace {

using Point = TAVI::GLPoint<double>;

const TAVI::Color kBadgeRed(1.0, 0.0, 0.0);

// A parent node of the given width (30 high) on a scene, with a badge strip.
class IndicatorTest : public ::testing::Test {
protected:
    void SetUp() override { ZEPH::GlobalViewerInfo::instance().setZoomFactor(1.0); }
    void TearDown() override { ZEPH::GlobalViewerInfo::instance().setZoomFactor(1.0); }

    VisualIndicatorContainer& strip(double width) {
        parent = ZEPH::RectNode::create({0, 0, width, 30});
        parent.setPosition({50, 50});
        scene->addNode(parent);
        container.emplace(parent);
        return *container;
    }
    // A red 8 by 8 square: a badge scales it to 16 by 16.
    void addBadge(const char* tag) {
        ZEPH::RectNode badge = ZEPH::RectNode::create({0, 0, 8, 8});
        badge.setFill(kBadgeRed);
        badge.setStroke(TAVI::Color());
        container->add(TAVI::StringID(tag), badge);
    }
    std::vector<bool> shown() const {
        std::vector<bool> visible;
        for (const ZEPH::Node& badge : container->getBadges())
            visible.push_back(badge.isVisible());
        return visible;
    }
    VisualIndicatorsContainerPainter& painter() const { return *container->getIndicatorPainter(); }

    TAVI::Holder<ZEPH::Scene> scene = ZEPH::Scene::createScene();
    ZEPH::RectNode parent;
    std::optional<VisualIndicatorContainer> container;
};

} // namespace

TEST_F(IndicatorTest, ShowsTheBadgesThatFitAndTheExpanderForTheRest) {
    const std::vector<bool> none{false, false, false}, one{true, false, false},
        all{true, true, true};
    const char* small = "tiniExpander.png";
    const char* big = "expander.png";
    const struct {
        const char* name;
        double width, zoom;
        int badges;
        std::vector<bool> shown;
        const char* expander; // its file; null when hidden
        Point expanderAt;
    } cases[] = {
        {"no badges", 100, 1, 0, {}, nullptr, {}},
        {"narrow: nothing", 16, 1, 3, none, nullptr, {}},
        {"too narrow for a badge", 17, 1, 3, none, small, {2.0, -10.0}},
        {"one cell", 30, 1, 3, none, small, {2.0, -10.0}},
        {"forty units", 40, 1, 3, one, big, {20.0, -18.0}},
        {"zooming in makes room", 40, 2, 3, all, nullptr, {}},
        {"zooming out takes it", 80, 0.5, 3, one, big, {20.0, -18.0}},
        {"wide enough", 60, 1, 3, all, nullptr, {}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        ZEPH::GlobalViewerInfo::instance().setZoomFactor(c.zoom);
        strip(c.width);
        for (int i = 0; i < c.badges; ++i)
            addBadge(("b" + std::to_string(i)).c_str());
        painter().layout();
        EXPECT_EQ(shown(), c.shown);
        const ZEPH::ImageNode expander(container->getExpander());
        EXPECT_EQ(expander.isVisible(), c.expander != nullptr);
        if (c.expander) {
            EXPECT_EQ(expander.getSource(),
                      VisualIndicatorContainer::getResourcesDefaultPath() + c.expander);
            EXPECT_EQ(expander.getPosition(), c.expanderAt);
            EXPECT_EQ(expander.getSize(), expander.getNaturalSize());
        }
        // Every badge keeps its cell and its 16-unit size, shown or not.
        const std::vector<ZEPH::Node> badges = container->getBadges();
        for (std::size_t i = 0; i < badges.size(); ++i) {
            EXPECT_EQ(badges[i].getPosition(), (Point{2.0 + 18.0 * double(i), -18.0}));
            EXPECT_DOUBLE_EQ(badges[i].getBounds().height * badges[i].getScale(), 16.0);
        }
        container.reset();
        scene->removeNode(parent);
    }
}

TEST_F(IndicatorTest, AStripWithoutBadgesHasNoBoundsAndDrawsNothing) {
    strip(100);
    EXPECT_TRUE(painter().getBounds().isEmpty());
    EXPECT_FALSE(container->getExpander().isVisible());
    EXPECT_EQ(container->getPosition(), (Point{0, 30})) << "at the parent's lower-left corner";
    EXPECT_EQ(container->getParent(), ZEPH::Node(parent));
}

TEST_F(IndicatorTest, BoundsCoverTheVisibleCellsAtTheAskedScale) {
    strip(100);
    for (const char* tag : {"x", "y"})
        addBadge(tag);
    const TAVI::GLRect<double> one = painter().getBounds(1.0);
    EXPECT_EQ(one, (TAVI::GLRect<double>{0, -20, 38, 20}));
    const TAVI::GLRect<double> two = painter().getBounds(2.0);
    EXPECT_EQ(two, (TAVI::GLRect<double>{0, -10, 19, 10}));
    EXPECT_EQ(parent.getBounds(), (TAVI::GLRect<double>{0, 0, 100, 30}))
        << "screen-sized badges do not make their parent bigger";
}

TEST_F(IndicatorTest, RemovingATagRepacksTheOthers) {
    strip(200);
    for (const char* tag : {"first", "second", "third"})
        addBadge(tag);
    addBadge("second");
    EXPECT_EQ(container->get(TAVI::StringID("second")).size(), 2u);
    container->remove(TAVI::StringID("second"));
    EXPECT_TRUE(container->get(TAVI::StringID("second")).isEmpty());
    const std::vector<ZEPH::Node> left = container->getBadges();
    ASSERT_EQ(left.size(), 2u);
    EXPECT_TRUE(left[0].hasTag(TAVI::StringID("first")));
    EXPECT_TRUE(left[1].hasTag(TAVI::StringID("third")));
    EXPECT_EQ(left[1].getPosition(), (Point{20, -18}));
    EXPECT_EQ(shown(), (std::vector<bool>{true, true}));
}

TEST_F(IndicatorTest, AnImageBadgeIsSixteenSquare) {
    strip(100);
    std::string file = VisualIndicatorContainer::getResourcesDefaultPath() + "tiniExpander.png";
    container->add(TAVI::StringID("image"), file);
    const ZEPH::ImageNode badge(container->get(TAVI::StringID("image"))[0]);
    ASSERT_TRUE(badge.isValid());
    EXPECT_EQ(badge.getSize(), (Point{16, 16}));
    EXPECT_EQ(badge.getSource(), file);
}

TEST_F(IndicatorTest, TheExpanderShowsEverythingUntilTheRowCollapses) {
    strip(40);
    for (const char* tag : {"a", "b", "c"})
        addBadge(tag);
    ASSERT_EQ(shown(), (std::vector<bool>{true, false, false}));

    painter().expand(ZEPH::MouseEvent({22, 60}));
    EXPECT_TRUE(painter().isExpanded());
    EXPECT_EQ(shown(), (std::vector<bool>{true, true, true}));
    EXPECT_FALSE(container->getExpander().isVisible());
    EXPECT_EQ(painter().getBounds().width, 2 + 18 * 3);
    painter().expand(ZEPH::MouseEvent({22, 60})); // a second click changes nothing
    EXPECT_EQ(shown(), (std::vector<bool>{true, true, true}));

    painter().collapse(); // what the five-second timer runs
    EXPECT_FALSE(painter().isExpanded());
    EXPECT_EQ(shown(), (std::vector<bool>{true, false, false}));
    EXPECT_TRUE(container->getExpander().isVisible());
}

TEST_F(IndicatorTest, ARealClickOnTheExpanderExpands) {
    strip(40);
    for (const char* tag : {"a", "b", "c"})
        addBadge(tag);
    ZEPH::GLCanvas canvas;
    canvas.setScene(scene);
    canvas.resize(300, 200);
    canvas.show();
    QApplication::processEvents();
    canvas.setZoomFactor(1.0);
    ZEPH::GlobalViewerInfo::instance().setZoomFactor(1.0);
    // The expander's cell: (20, -18) from the parent's lower-left corner (50, 80), in pixels.
    const Point corner = canvas.scenePointToViewPoint({50, 80});
    const QPointF at(corner.x + 20 + 8, corner.y - 18 + 8);
    for (QEvent::Type type : {QEvent::MouseButtonPress, QEvent::MouseButtonRelease}) {
        QMouseEvent event(type, at, canvas.viewport()->mapToGlobal(at), Qt::LeftButton,
                          type == QEvent::MouseButtonPress ? Qt::LeftButton : Qt::NoButton,
                          Qt::NoModifier);
        QApplication::sendEvent(canvas.viewport(), &event);
    }
    EXPECT_TRUE(painter().isExpanded());
    EXPECT_EQ(shown(), (std::vector<bool>{true, true, true}));
}

// Counts the red badges drawn along the strip in a screenshot of the canvas.
TEST_F(IndicatorTest, BadgesKeepTheirScreenSizeAtEveryZoom) {
    strip(60);
    for (const char* tag : {"a", "b", "c", "d"})
        addBadge(tag);
    ZEPH::GLCanvas canvas;
    canvas.setScene(scene);
    canvas.resize(400, 300);
    canvas.show();
    QApplication::processEvents();
    struct Zoom {
        double factor;
        int badges;        // drawn
        bool expanderCell; // whether the cell after them holds the expander
    };
    for (const Zoom& z : {Zoom{0.5, 0, true}, Zoom{1.0, 2, true}, Zoom{2.0, 4, false}}) {
        SCOPED_TRACE(z.factor);
        canvas.setZoomFactor(z.factor);
        canvas.centerOn(80, 65);
        QApplication::processEvents();
        const QImage shot = canvas.viewport()->grab().toImage();
        const Point corner = canvas.scenePointToViewPoint({50, 80});
        const double ratio = canvas.viewport()->devicePixelRatioF();
        auto red = [&](int cell) {
            // The middle of the cell, and a point 7 pixels right of it: one 16-pixel badge.
            for (double dx : {8.0, 15.0}) {
                const QColor c = shot.pixelColor(int((corner.x + 2 + 18 * cell + dx) * ratio),
                                                 int((corner.y - 18 + 8) * ratio));
                if (!(c.red() > 200 && c.green() < 60 && c.blue() < 60))
                    return false;
            }
            return true;
        };
        int drawn = 0;
        while (drawn < 6 && red(drawn))
            ++drawn;
        EXPECT_EQ(drawn, z.badges);
        EXPECT_EQ(container->getExpander().isVisible(), z.expanderCell);
    }
}

} // namespace KITE
