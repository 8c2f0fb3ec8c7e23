#include "platform/nimb/ConnectionImpl.hpp"
#include "platform/nimb/Listener.hpp"
#include "platform/tavi/TypedException.hpp"
#include "platform/zeph/Bounds.hpp"
#include "platform/zeph/ContainerNode.hpp"
#include "platform/zeph/EllipseNode.hpp"
#include "platform/zeph/LineNode.hpp"
#include "platform/zeph/RectNode.hpp"
#include "platform/zeph/Scene.hpp"
#include "platform/zeph/TextNode.hpp"
#include "platform/zeph/ZephError.hpp"
#include "tests/platform/zeph/RecordingTool.hpp"
#include "tests/support/AssertionRecorder.hpp"

#include <QGraphicsScene>
#include <QImage>
#include <QPainter>

#include <gtest/gtest.h>

#include <functional>
#include <limits>
#include <unordered_set>

using namespace ZEPH;
using Point = TAVI::GLPoint<double>;
using Rect = TAVI::GLRect<double>;
using Nodes = std::vector<Node>;

namespace {

// Logs "name:release@x,y" for each release one node's emitter sends.
class ReleaseLog : public NIMB::Listener {
public:
    ReleaseLog(std::vector<std::string>* log, std::string name, const Node& node)
        : log(log), name(std::move(name)) {
        new NIMB::ConnectionImpl1<ReleaseLog, MouseEvent>(this, node.getMouseReleaseEmitter(),
                                                          nullptr, &ReleaseLog::onRelease);
    }
    void onRelease(const MouseEvent& event) {
        log->push_back(name + ":release@" + std::to_string(int(event.scenePos().x)) + "," +
                       std::to_string(int(event.scenePos().y)));
        if (then)
            then(event);
    }

    std::vector<std::string>* log;
    std::string name;
    std::function<void(const MouseEvent&)> then;
};

struct NodeTest : ::testing::Test {
    TAVI::Holder<Scene> scene = Scene::createScene();
    // A rectangle node at pos, on the scene unless a parent is given.
    RectNode box(const Rect& rect, const Point& pos = {0, 0}, const Node& parent = Node()) {
        RectNode node = RectNode::create(rect);
        node.setPosition(pos);
        if (parent.isValid())
            node.setParent(parent);
        else
            scene->addNode(node);
        return node;
    }
};

TEST_F(NodeTest, HandlesCompareByNodeAndTypedHandlesFitTheirKindOnly) {
    RectNode rect = RectNode::create({0, 0, 10, 10});
    Node copy = rect;
    EXPECT_EQ(copy, rect);
    EXPECT_FALSE(RectNode::create({0, 0, 10, 10}) == rect);
    EXPECT_EQ(Node(), Node());
    EXPECT_EQ((std::unordered_set<Node>{rect, copy, RectNode::create()}).size(), 2u);

    Node ellipse = EllipseNode::create({0, 0, 4, 2});
    Node text = TextNode::create("label");
    EXPECT_FALSE(RectNode(ellipse).isValid());
    EXPECT_EQ(EllipseNode(ellipse).getRect(), (Rect{0, 0, 4, 2}));
    EXPECT_EQ(TextNode(text).getText(), "label");
    EXPECT_FALSE(ContainerNode(text).isValid());
    EXPECT_FALSE(LineNode(Node()).isValid());
}

// The ways a node goes: removed with its ancestor, or with its scene.
TEST_F(NodeTest, NodesThatGoInvalidateEveryHandleToThemAndTheirDescendants) {
    for (const bool sceneGoes : {false, true}) {
        SCOPED_TRACE(sceneGoes ? "scene destroyed" : "ancestor removed");
        TAVI::Holder<Scene> own = Scene::createScene();
        ContainerNode group = ContainerNode::create();
        own->addNode(group);
        RectNode child = RectNode::create({0, 0, 10, 10});
        child.setParent(group);
        TextNode grandChild = TextNode::create("x");
        grandChild.setParent(child);
        EXPECT_EQ(grandChild.getScene(), own.get());
        Node childCopy = child;
        if (sceneGoes)
            own.reset();
        else
            group.remove();
        for (const Node& node : {Node(group), Node(child), childCopy, Node(grandChild)}) {
            EXPECT_FALSE(node.isValid());
            EXPECT_EQ(node.getScene(), nullptr);
            EXPECT_FALSE(node.getParent().isValid());
            EXPECT_TRUE(node.getChildren().empty());
        }
        EXPECT_EQ(grandChild.getText(), "");
        if (own) {
            EXPECT_TRUE(own->getTopLevelNodes().empty());
            EXPECT_FALSE(own->getNodeAt({5, 5}).isValid());
        }
    }
}

TEST_F(NodeTest, AnInvalidNodeReportsOneHostAssertionPerCallAndDoesNothing) {
    KiteTest::AssertionRecorder recorder;
    std::vector<std::string> log;
    RectNode rect = box({0, 0, 10, 10});
    rect.remove();
    recorder.clear();
    rect.setPosition({5, 5});
    EXPECT_EQ(recorder.count(), 1u);
    EXPECT_EQ(rect.getPosition(), (Point{0, 0}));
    EXPECT_EQ(rect.getBounds(), Rect());
    EXPECT_FALSE(rect.isSelected());
    rect.setRect({1, 1, 1, 1});
    ASSERT_EQ(recorder.reports().size(), 2u);
    EXPECT_EQ(recorder.reports()[1].detail, "RectNode::setRect");
    // Its release emitter reports too, and never sends.
    ReleaseLog removed(&log, "removed", rect);
    EXPECT_EQ(recorder.count(), 3u);
    MouseEvent release({5, 5}, LeftButton);
    scene->handleMouseReleaseEvent(release);
    EXPECT_TRUE(log.empty());
}

TEST_F(NodeTest, ParentingPlacesChildrenRelativeToTheirParentAndUnparentingKeepsTheirPlace) {
    RectNode parent = box({0, 0, 100, 50}, {10, 20});
    RectNode other = box({0, 0, 10, 10}, {100, 0});
    RectNode child = box({0, 0, 20, 10}, {5, 5}, parent);
    EXPECT_EQ(child.getScenePosition(), (Point{15, 25}));
    EXPECT_EQ(child.mapLocalToScene(Point{1, 1}), (Point{16, 26}));
    EXPECT_EQ(child.mapLocalToScene(Rect{0, 0, 20, 10}), (Rect{15, 25, 20, 10}));
    EXPECT_EQ(child.mapSceneToLocal({15, 25}), (Point{0, 0}));
    EXPECT_EQ(parent.getChildren(), (Nodes{child}));
    EXPECT_EQ(child.getScene(), scene.get());
    parent.setPosition({0, 0});
    EXPECT_EQ(child.getScenePosition(), (Point{5, 5}));

    // To another parent in the scene: the position stays relative.
    child.setParent(other);
    EXPECT_TRUE(parent.getChildren().empty());
    EXPECT_EQ(other.getChildren(), (Nodes{child}));
    EXPECT_EQ(child.getScenePosition(), (Point{105, 5}));

    // Out of its parent: the scene position stays, and it is top-level.
    child.unparent();
    EXPECT_FALSE(child.getParent().isValid());
    EXPECT_EQ(child.getScenePosition(), (Point{105, 5}));
    EXPECT_TRUE(other.getChildren().empty());
    EXPECT_EQ(scene->getTopLevelNodes(), (Nodes{parent, other, child}));
    other.remove();
    EXPECT_TRUE(child.isValid());
    // A top-level node that becomes a child is top-level no more.
    parent.setParent(child);
    EXPECT_EQ(scene->getTopLevelNodes(), (Nodes{child}));
}

TEST_F(NodeTest, SetParentAndAddNodeRefuseCyclesAndOtherScenesAndLeaveTheTreeAsItWas) {
    TAVI::Holder<Scene> otherScene = Scene::createScene();
    ContainerNode top = ContainerNode::create();
    ContainerNode middle = ContainerNode::create();
    RectNode leaf = RectNode::create({0, 0, 1, 1});
    scene->addNode(top);
    middle.setParent(top);
    leaf.setParent(middle);
    RectNode stranger = RectNode::create({0, 0, 1, 1});
    otherScene->addNode(stranger);

    EXPECT_THROW(top.setParent(leaf), TAVI::TypedException);
    EXPECT_THROW(middle.setParent(middle), TAVI::TypedException);
    EXPECT_THROW(leaf.setParent(stranger), TAVI::TypedException);
    EXPECT_THROW(leaf.setParent(Node()), TAVI::TypedException);
    EXPECT_THROW(scene->addNode(Node()), TAVI::TypedException);
    EXPECT_THROW(scene->addNode(stranger), TAVI::TypedException);
    EXPECT_THROW(scene->addNode(leaf), TAVI::TypedException); // not top-level
    EXPECT_THROW(scene->removeNode(stranger), TAVI::TypedException);
    EXPECT_EQ(leaf.getParent(), middle);
    EXPECT_EQ(middle.getParent(), top);
    EXPECT_FALSE(top.getParent().isValid());
    EXPECT_TRUE(stranger.isValid());
    // Adding a top-level node again changes nothing; removing a child takes it from its parent.
    scene->addNode(top);
    EXPECT_EQ(scene->getTopLevelNodes(), (Nodes{top}));
    scene->removeNode(leaf);
    EXPECT_FALSE(leaf.isValid());
    EXPECT_TRUE(middle.getChildren().empty());
}

TEST_F(NodeTest, ANodeAddedWithChildrenBringsThemAlong) {
    ContainerNode group = ContainerNode::create();
    RectNode child = RectNode::create({0, 0, 5, 5});
    child.setParent(group);
    EXPECT_EQ(child.getScene(), nullptr);
    scene->addNode(group);
    EXPECT_EQ(child.getScene(), scene.get());
    EXPECT_EQ(scene->getNodeAt({2, 2}), child);
}

// A container placed in every way a node can be, with a box inside an inner container inside
// it: the box is drawn, found and hidden as the placement says, whenever the placement happens
// (before or after the box was put in, before or after the container joined the scene).
TEST(ContainerPlacementTest, ContainersCarryWhatTheyHoldHoweverTheyArePlaced) {
    struct Case {
        const char* name;
        std::function<void(ContainerNode&)> place;
        Rect boxInScene;
        bool visible;
    };
    const std::vector<Case> cases{
        {"as made", [](ContainerNode&) {}, {15, 25, 20, 10}, true},
        {"moved",
         [](ContainerNode& c) {
             c.setPosition({100, 50});
         },
         {115, 75, 20, 10},
         true},
        {"scaled", [](ContainerNode& c) { c.scale(2.0); }, {30, 50, 40, 20}, true},
        {"raised", [](ContainerNode& c) { c.setZValue(3.0); }, {15, 25, 20, 10}, true},
        {"hidden", [](ContainerNode& c) { c.setVisible(false); }, {15, 25, 20, 10}, false},
    };
    for (const Case& c : cases) {
        for (const bool placedFirst : {true, false}) {
            for (const bool sceneFirst : {true, false}) {
                SCOPED_TRACE(std::string(c.name) + (placedFirst ? ", placed first" : "") +
                             (sceneFirst ? ", in the scene first" : ""));
                TAVI::Holder<Scene> scene = Scene::createScene();
                ContainerNode outer = ContainerNode::create();
                ContainerNode inner = ContainerNode::create();
                RectNode box = RectNode::create({0, 0, 20, 10});
                box.setPosition({15, 25});
                if (sceneFirst)
                    scene->addNode(outer);
                if (placedFirst)
                    c.place(outer);
                inner.setParent(outer);
                box.setParent(inner);
                if (!sceneFirst)
                    scene->addNode(outer);
                if (!placedFirst)
                    c.place(outer);

                EXPECT_EQ(box.getSceneBounds(), c.boxInScene);
                EXPECT_EQ(outer.getSceneBounds(), c.boxInScene);
                EXPECT_EQ(box.isVisible(), c.visible);
                const Rect at = c.boxInScene;
                EXPECT_EQ(scene->getNodeAt({at.x + 1, at.y + 1}), c.visible ? Node(box) : Node());
                EXPECT_EQ(scene->getNodesIn({at.x - 1, at.y - 1, at.width + 2, at.height + 2}),
                          c.visible ? std::vector<Node>{box} : std::vector<Node>{});
                EXPECT_EQ(scene->getTopLevelNodes(), (std::vector<Node>{outer}));
                EXPECT_EQ(box.getParent(), inner);

                // Taken out, the box keeps its place in the scene and outlives the containers.
                box.unparent();
                EXPECT_EQ(box.getScenePosition(), (Point{at.x, at.y}));
                outer.remove();
                EXPECT_FALSE(inner.isValid());
                EXPECT_TRUE(box.isValid());
                EXPECT_EQ(scene->getTopLevelNodes(), (std::vector<Node>{box}));
            }
        }
    }
}

TEST_F(NodeTest, BoundsCoverTheNodeAndItsChildrenWithoutStrokes) {
    RectNode parent = box({0, 0, 100, 50}, {10, 10});
    parent.setStroke(TAVI::Color(1, 0, 0), 8.0);
    LineNode line = LineNode::create({0, 0}, {200, 0});
    line.setPosition({0, 25});
    line.setParent(parent);
    EXPECT_EQ(parent.getBounds(), (Rect{0, 0, 200, 50}));
    EXPECT_EQ(parent.getSceneBounds(), (Rect{10, 10, 200, 50}));
    EXPECT_EQ(parent.getHeight(), 50.0);
    const LineNode slanted = LineNode::create({1, 2}, {3, -4});
    EXPECT_EQ(slanted.getFrom(), (Point{1, 2}));
    EXPECT_EQ(slanted.getBounds(), (Rect{1, -4, 2, 6}));

    ContainerNode group = ContainerNode::create();
    EXPECT_EQ(group.getBounds(), Rect());
    box({0, 0, 10, 10}, {-10, 0}, group);
    box({0, 0, 10, 10}, {30, 40}, group);
    EXPECT_EQ(group.getBounds(), (Rect{-10, 0, 50, 50}));
    group.scale(2.0);
    EXPECT_EQ(group.getSceneBounds(), (Rect{-20, 0, 100, 100}));
    EXPECT_THROW(group.scale(0.0), TAVI::TypedException);
    EXPECT_EQ(group.getScale(), 2.0);

    // A text grows with its font; a size that is no size is ignored.
    TextNode text = TextNode::create("Hello");
    const double before = text.getBounds().width;
    EXPECT_GT(before, 0.0);
    text.setFontSize(40.0);
    text.setFontSize(-1.0);
    EXPECT_EQ(text.getFontSize(), 40.0);
    EXPECT_GT(text.getBounds().width, before);

    // Bounds of several nodes on the scene skip the invalid ones and keep a line's extent.
    RectNode gone = RectNode::create({0, 0, 1000, 1000});
    gone.remove();
    line.unparent();
    EXPECT_EQ(Bounds::boundingRect({parent, line, gone, Node()}), (Rect{10, 10, 200, 50}));
    EXPECT_EQ(Bounds::boundingRect({line}), (Rect{10, 35, 200, 0}));
    EXPECT_EQ(Bounds::boundingRect({}), Rect());
}

TEST_F(NodeTest, NonFiniteGeometryIsRefusedAndTheNodeKeepsItsOwn) {
    const double nan = std::numeric_limits<double>::quiet_NaN();
    const double inf = std::numeric_limits<double>::infinity();
    RectNode rect = box({0, 0, 80, 40}, {10, 20});
    LineNode line = LineNode::create({0, 0}, {5, 5});
    EllipseNode ellipse = EllipseNode::create({0, 0, 10, 10});

    EXPECT_THROW(rect.setPosition({nan, 0}), TAVI::TypedException);
    EXPECT_THROW(rect.setPosition({0, -inf}), TAVI::TypedException);
    EXPECT_THROW(rect.setRect({0, 0, inf, 40}), TAVI::TypedException);
    EXPECT_THROW(line.setLine({0, 0}, {nan, 1}), TAVI::TypedException);
    EXPECT_THROW(ellipse.setRect({nan, 0, 1, 1}), TAVI::TypedException);
    EXPECT_EQ(rect.getPosition(), (Point{10, 20}));
    EXPECT_EQ(rect.getRect(), (Rect{0, 0, 80, 40}));
    EXPECT_EQ(scene->getNodeAt({50, 40}), rect);

    // Factors that are fine alone but take the scale past infinity, or to zero.
    ellipse.scale(1e200);
    EXPECT_THROW(ellipse.scale(1e200), TAVI::TypedException);
    EXPECT_EQ(ellipse.getScale(), 1e200);
    line.scale(1e-200);
    EXPECT_THROW(line.scale(1e-200), TAVI::TypedException);
    EXPECT_EQ(line.getScale(), 1e-200);
}

TEST_F(NodeTest, TagsSelectionVisibilityAndMovability) {
    ContainerNode group = ContainerNode::create();
    scene->addNode(group);
    RectNode a = box({0, 0, 10, 10}, {0, 0}, group);
    RectNode b = box({20, 0, 10, 10}, {0, 0}, group);
    a.addTag("label");
    a.addTag("label");
    b.addTag("body");
    EXPECT_EQ(group.getChildrenWithTag("label"), (Nodes{a}));
    a.removeAllTags();
    EXPECT_TRUE(group.getChildrenWithTag("label").empty());
    EXPECT_EQ(group.getChildrenWithTag("body"), (Nodes{b}));

    a.setSelected(true);
    EXPECT_FALSE(a.isSelected()); // not selectable yet
    a.setSelectable(true);
    b.setSelectable(true);
    a.setSelected(true);
    b.setSelected(true);
    EXPECT_EQ(scene->getSelectedNodes().size(), 2u);
    a.setSelectable(false);
    EXPECT_FALSE(a.isSelected());
    EXPECT_EQ(scene->getSelectedNodes(), (Nodes{b}));
    scene->clearSelection();
    EXPECT_TRUE(scene->getSelectedNodes().empty());

    group.setVisible(false);
    EXPECT_FALSE(a.isVisible());
    group.setVisible(true);
    EXPECT_TRUE(a.isVisible());
    EXPECT_FALSE(a.isMovable());
    a.setMovable(true);
    EXPECT_TRUE(a.isMovable());
    EXPECT_FALSE(group.isMovable());
}

TEST_F(NodeTest, GetNodeAtFindsTheTopMostVisibleNodeUnderThePoint) {
    RectNode back = box({0, 0, 100, 100});
    RectNode front = box({0, 0, 50, 50}, {25, 25});
    EllipseNode badge = EllipseNode::create({0, 0, 10, 10});
    badge.setPosition({40, 40}); // inside front: (65..75, 65..75) on the scene
    badge.setParent(front);
    ContainerNode group = ContainerNode::create();
    scene->addNode(group);
    RectNode member = box({0, 0, 10, 10}, {250, 0}, group);
    box({0, 0, 10, 10}, {200, 0}, group);

    EXPECT_EQ(scene->getNodeAt({5, 5}), back);
    EXPECT_EQ(scene->getNodeAt({30, 30}), front);
    EXPECT_EQ(scene->getNodeAt({70, 70}), badge);
    // The ellipse's corner is outside its shape: the rectangle below is hit.
    EXPECT_EQ(scene->getNodeAt({66, 66}), front);
    EXPECT_FALSE(scene->getNodeAt({150, 150}).isValid());
    // A container is found through its children only.
    EXPECT_FALSE(scene->getNodeAt({230, 5}).isValid());
    EXPECT_EQ(scene->getNodeAt({255, 5}), member);

    front.setVisible(false);
    EXPECT_EQ(scene->getNodeAt({70, 70}), back);
    front.setVisible(true);
    badge.remove();
    EXPECT_EQ(scene->getNodeAt({70, 70}), front);
}

TEST_F(NodeTest, GetNodesInListsContainedOrTouchedNodes) {
    RectNode inside = box({10, 10, 10, 10});
    RectNode across = box({45, 10, 10, 10});
    box({100, 100, 10, 10});
    EXPECT_EQ(scene->getNodesIn({0, 0, 50, 50}), (Nodes{inside}));
    // A rectangle dragged up and to the left covers the same area.
    EXPECT_EQ(scene->getNodesIn({50, 50, -50, -50}), (Nodes{inside}));
    EXPECT_EQ(scene->getNodesIn({0, 0, 50, 50}, true), (Nodes{across, inside}));
}

TEST_F(NodeTest, TopLevelNodesStackInOrderAndSurviveRemovalsAndReparentingInAnyOrder) {
    Nodes nodes;
    for (int i = 0; i < 6; ++i) {
        nodes.push_back(box({i * 100.0, 0, 80, 40}));
        TextNode label = TextNode::create("n" + std::to_string(i));
        label.setPosition({i * 100.0, 0});
        label.setParent(nodes.back());
    }
    EXPECT_EQ(scene->getTopLevelNodes(), nodes);
    scene->removeNode(nodes[0]);
    nodes[4].setParent(nodes[2]);
    scene->removeNode(nodes[5]);
    nodes[4].unparent();
    scene->removeNode(nodes[1]);

    for (int i : {0, 1, 5})
        EXPECT_FALSE(nodes[i].isValid());
    EXPECT_EQ(scene->getTopLevelNodes(), (Nodes{nodes[2], nodes[3], nodes[4]}));
    for (int i : {2, 3, 4}) {
        EXPECT_EQ(scene->getNodeAt({i * 100.0 + 60, 30}), nodes[i]);
        EXPECT_EQ(scene->getNodeAt({i * 100.0 + 5, 5}).getParent(), nodes[i]); // label on top
    }
    // Whatever survived must still be removable one by one, last added first.
    for (int i : {4, 3, 2}) {
        scene->removeNode(nodes[i]);
        EXPECT_FALSE(nodes[i].isValid());
    }
    EXPECT_TRUE(scene->getTopLevelNodes().empty());
}

TEST_F(NodeTest, NodesAreDrawnWithTheirFillAndStroke) {
    RectNode red = box({0, 0, 40, 40});
    red.setFill(TAVI::Color(1, 0, 0));
    red.setStroke(TAVI::Color(0, 0, 1), 4.0);
    RectNode hollow = box({60, 0, 40, 40});
    hollow.setFill(TAVI::Color());
    hollow.setStroke(TAVI::Color());

    QImage image(100, 40, QImage::Format_ARGB32);
    image.fill(Qt::white);
    {
        QPainter painter(&image);
        scene->qtScene()->render(&painter, QRectF(0, 0, 100, 40), QRectF(0, 0, 100, 40));
    }
    EXPECT_EQ(image.pixelColor(20, 20), QColor(Qt::red));
    EXPECT_EQ(image.pixelColor(1, 20), QColor(Qt::blue));
    EXPECT_EQ(image.pixelColor(80, 20), QColor(Qt::white));
    EXPECT_EQ(image.pixelColor(60, 20), QColor(Qt::white));
}

TEST_F(NodeTest, MouseReleaseOverANodeIsSentToItThenToItsAncestorsAfterTheTools) {
    using Log = std::vector<std::string>;
    Log log;
    RectNode outer = box({0, 0, 100, 100});
    RectNode inner = box({0, 0, 20, 20}, {10, 10}, outer);
    RectNode other = box({200, 0, 10, 10});
    scene->addTool(TAVI::Holder<ZephTest::RecordingTool>(
        new ZephTest::RecordingTool("tool", &log, {"press", "release"})));
    ReleaseLog outerLog(&log, "outer", outer);
    ReleaseLog innerLog(&log, "inner", inner);
    ReleaseLog otherLog(&log, "other", other);

    MouseEvent press({15, 15}, LeftButton, LeftButton);
    scene->handleMousePressEvent(press);
    EXPECT_EQ(log, (Log{"tool:press"}));
    const std::vector<std::pair<MouseEvent, Log>> releases{
        {MouseEvent({15, 15}, LeftButton),
         {"tool:release", "inner:release@15,15", "outer:release@15,15"}},
        {MouseEvent({50, 60}, RightButton), {"tool:release", "outer:release@50,60"}},
        {MouseEvent({150, 150}, LeftButton), {"tool:release"}},
    };
    for (auto [release, expected] : releases) {
        log.clear();
        scene->handleMouseReleaseEvent(release);
        EXPECT_EQ(log, expected);
    }

    // A handler may remove the nodes it is sent to: the ancestor gone with it hears nothing.
    log.clear();
    innerLog.then = [&](const MouseEvent&) { Node(outer).remove(); };
    MouseEvent release({15, 15}, LeftButton);
    scene->handleMouseReleaseEvent(release);
    EXPECT_EQ(log, (Log{"tool:release", "inner:release@15,15"}));
    EXPECT_FALSE(inner.isValid());
    EXPECT_EQ(scene->getTopLevelNodes(), (Nodes{other}));
    scene.reset(); // the tool logs its removal as the scene goes: before the log does
}

TEST(ZephErrorTest, ThrowErrorNamesTheCode) {
    try {
        throwError(42);
        FAIL() << "throwError returned";
    } catch (const TAVI::TypedException& error) {
        EXPECT_NE(std::string(error.what()).find("42"), std::string::npos);
    }
}

TEST(SceneTest, GetNodesAtListsEveryVisibleNodeUnderThePointTopMostFirst) {
    TAVI::Holder<Scene> scene = Scene::createScene();
    RectNode back = RectNode::create({0, 0, 100, 100});
    RectNode front = RectNode::create({25, 25, 50, 50});
    scene->addNode(back);
    scene->addNode(front);
    EllipseNode badge = EllipseNode::create({65, 65, 10, 10});
    badge.setParent(front);
    ContainerNode group = ContainerNode::create(); // draws nothing: never hit itself
    scene->addNode(group);

    EXPECT_EQ(scene->getNodesAt({70, 70}), (std::vector<Node>{badge, front, back}));
    EXPECT_EQ(scene->getNodesAt({66, 66}), (std::vector<Node>{front, back}));
    EXPECT_EQ(scene->getNodesAt({5, 5}), (std::vector<Node>{back}));
    EXPECT_TRUE(scene->getNodesAt({150, 150}).empty());
    front.setVisible(false);
    EXPECT_EQ(scene->getNodesAt({70, 70}), (std::vector<Node>{back}));
}

} // namespace
