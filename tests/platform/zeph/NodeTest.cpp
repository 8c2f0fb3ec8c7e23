#include "platform/nimb/ConnectionImpl.hpp"
#include "platform/nimb/Listener.hpp"
#include "platform/tavi/TypedException.hpp"
#include "platform/zeph/ContainerNode.hpp"
#include "platform/zeph/EllipseNode.hpp"
#include "platform/zeph/LineNode.hpp"
#include "platform/zeph/RectNode.hpp"
#include "platform/zeph/Scene.hpp"
#include "platform/zeph/TextNode.hpp"
#include "tests/platform/zeph/RecordingTool.hpp"
#include "tests/support/AssertionRecorder.hpp"

#include <gtest/gtest.h>

#include <functional>
#include <limits>
#include <unordered_set>

using namespace ZEPH;
using Point = TAVI::GLPoint<double>;
using Rect = TAVI::GLRect<double>;

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

TEST(NodeTest, HandlesCompareByTheNodeTheyReferTo) {
    RectNode rect = RectNode::create({0, 0, 10, 10});
    Node copy = rect;
    RectNode other = RectNode::create({0, 0, 10, 10});
    EXPECT_EQ(copy, rect);
    EXPECT_FALSE(other == rect);
    EXPECT_EQ(Node(), Node());
    std::unordered_set<Node> set{rect, copy, other};
    EXPECT_EQ(set.size(), 2u);
}

TEST(NodeTest, TypedHandlesAreValidOnlyForTheirKindOfNode) {
    Node ellipse = EllipseNode::create({0, 0, 4, 2});
    Node text = TextNode::create("label");
    EXPECT_FALSE(RectNode(ellipse).isValid());
    EXPECT_TRUE(EllipseNode(ellipse).isValid());
    EXPECT_EQ(EllipseNode(ellipse).getRect(), (Rect{0, 0, 4, 2}));
    EXPECT_EQ(TextNode(text).getText(), "label");
    EXPECT_FALSE(ContainerNode(text).isValid());
    EXPECT_FALSE(LineNode(Node()).isValid());
}

TEST(NodeTest, RemovingANodeInvalidatesEveryHandleToItAndItsDescendants) {
    TAVI::Holder<Scene> scene = Scene::createScene();
    ContainerNode group = ContainerNode::create();
    RectNode child = RectNode::create({0, 0, 10, 10});
    TextNode grandChild = TextNode::create("x");
    scene->addNode(group);
    child.setParent(group);
    grandChild.setParent(child);
    Node childCopy = child;

    group.remove();
    for (const Node& node : {Node(group), Node(child), childCopy, Node(grandChild)}) {
        EXPECT_FALSE(node.isValid());
        EXPECT_EQ(node.getScene(), nullptr);
        EXPECT_FALSE(node.getParent().isValid());
        EXPECT_TRUE(node.getChildren().empty());
    }
    EXPECT_EQ(grandChild.getText(), "");
    EXPECT_TRUE(scene->getTopLevelNodes().empty());
    EXPECT_FALSE(scene->getNodeAt({5, 5}).isValid());
}

TEST(NodeTest, ChangingAnInvalidNodeReportsOneHostAssertionAndDoesNothing) {
    KiteTest::AssertionRecorder recorder;
    RectNode rect = RectNode::create({0, 0, 10, 10});
    rect.remove();
    recorder.clear();
    rect.setPosition({5, 5});
    EXPECT_EQ(recorder.count(), 1u);
    EXPECT_EQ(rect.getPosition(), (Point{0, 0}));
    EXPECT_EQ(rect.getBounds(), Rect());
    EXPECT_FALSE(rect.isSelected());
    rect.setRect({1, 1, 1, 1});
    EXPECT_EQ(recorder.count(), 2u);
    ASSERT_EQ(recorder.reports().size(), 2u);
    EXPECT_EQ(recorder.reports()[1].detail, "RectNode::setRect");
}

TEST(NodeTest, DestroyingTheSceneInvalidatesItsNodes) {
    TAVI::Holder<Scene> scene = Scene::createScene();
    RectNode rect = RectNode::create({0, 0, 10, 10});
    LineNode line = LineNode::create({0, 0}, {5, 5});
    scene->addNode(rect);
    line.setParent(rect);
    EXPECT_EQ(line.getScene(), scene.get());
    scene.reset();
    EXPECT_FALSE(rect.isValid());
    EXPECT_FALSE(line.isValid());
}

TEST(NodeTest, ChildPositionsAreRelativeToTheParent) {
    TAVI::Holder<Scene> scene = Scene::createScene();
    RectNode parent = RectNode::create({0, 0, 100, 50});
    parent.setPosition({10, 20});
    scene->addNode(parent);
    RectNode child = RectNode::create({0, 0, 20, 10});
    child.setPosition({5, 5});
    child.setParent(parent);

    EXPECT_EQ(child.getPosition(), (Point{5, 5}));
    EXPECT_EQ(child.getScenePosition(), (Point{15, 25}));
    EXPECT_EQ(child.mapLocalToScene(Point{1, 1}), (Point{16, 26}));
    EXPECT_EQ(child.mapLocalToScene(Rect{0, 0, 20, 10}), (Rect{15, 25, 20, 10}));
    EXPECT_EQ(child.mapSceneToLocal({15, 25}), (Point{0, 0}));
    EXPECT_EQ(child.getParent(), parent);
    EXPECT_EQ(parent.getChildren(), (std::vector<Node>{child}));
    EXPECT_EQ(child.getScene(), scene.get());

    parent.setPosition({0, 0});
    EXPECT_EQ(child.getScenePosition(), (Point{5, 5}));
}

// A container placed in every way a node can be, with a box inside an inner container inside
// it: the box is drawn, found and hidden as the placement says, whenever the placement happens
// (before or after the box was put in, before or after the container joined the scene).
TEST(NodeTest, ContainersCarryWhatTheyHoldHoweverTheyArePlaced) {
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

TEST(NodeTest, BoundsCoverTheNodeAndItsChildrenWithoutStrokes) {
    RectNode parent = RectNode::create({0, 0, 100, 50});
    parent.setStroke(TAVI::Color(1, 0, 0), 8.0);
    parent.setPosition({10, 10});
    LineNode line = LineNode::create({0, 0}, {200, 0});
    line.setPosition({0, 25});
    line.setParent(parent);
    EXPECT_EQ(parent.getBounds(), (Rect{0, 0, 200, 50}));
    EXPECT_EQ(parent.getSceneBounds(), (Rect{10, 10, 200, 50}));
    EXPECT_EQ(parent.getHeight(), 50.0);

    ContainerNode group = ContainerNode::create();
    EXPECT_EQ(group.getBounds(), Rect());
    RectNode a = RectNode::create({0, 0, 10, 10});
    RectNode b = RectNode::create({0, 0, 10, 10});
    a.setPosition({-10, 0});
    b.setPosition({30, 40});
    a.setParent(group);
    b.setParent(group);
    EXPECT_EQ(group.getBounds(), (Rect{-10, 0, 50, 50}));

    group.scale(2.0);
    EXPECT_EQ(group.getScale(), 2.0);
    EXPECT_EQ(group.getSceneBounds(), (Rect{-20, 0, 100, 100}));
    EXPECT_THROW(group.scale(0.0), TAVI::TypedException);
    EXPECT_EQ(group.getScale(), 2.0);
}

TEST(NodeTest, UnparentKeepsTheScenePositionAndMakesTheNodeTopLevel) {
    TAVI::Holder<Scene> scene = Scene::createScene();
    RectNode parent = RectNode::create({0, 0, 100, 50});
    parent.setPosition({10, 20});
    scene->addNode(parent);
    RectNode child = RectNode::create({0, 0, 20, 10});
    child.setPosition({5, 5});
    child.setParent(parent);

    child.unparent();
    EXPECT_FALSE(child.getParent().isValid());
    EXPECT_EQ(child.getScenePosition(), (Point{15, 25}));
    EXPECT_EQ(child.getScene(), scene.get());
    EXPECT_TRUE(parent.getChildren().empty());
    EXPECT_EQ(scene->getTopLevelNodes(), (std::vector<Node>{parent, child}));
    // Removing the old parent leaves the former child alone.
    parent.remove();
    EXPECT_TRUE(child.isValid());
}

TEST(NodeTest, SetParentRefusesCyclesAndOtherScenesAndLeavesTheTreeAsItWas) {
    TAVI::Holder<Scene> scene = Scene::createScene();
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
    EXPECT_EQ(leaf.getParent(), middle);
    EXPECT_EQ(middle.getParent(), top);
    EXPECT_FALSE(top.getParent().isValid());
    EXPECT_EQ(scene->getTopLevelNodes(), (std::vector<Node>{top}));
}

TEST(NodeTest, MovingANodeToAnotherParentInTheSameScene) {
    TAVI::Holder<Scene> scene = Scene::createScene();
    RectNode first = RectNode::create({0, 0, 10, 10});
    RectNode second = RectNode::create({0, 0, 10, 10});
    second.setPosition({100, 0});
    scene->addNode(first);
    scene->addNode(second);
    RectNode child = RectNode::create({0, 0, 5, 5});
    child.setParent(first);
    child.setParent(second);
    EXPECT_TRUE(first.getChildren().empty());
    EXPECT_EQ(second.getChildren(), (std::vector<Node>{child}));
    EXPECT_EQ(child.getScenePosition(), (Point{100, 0}));
    // A top-level node that becomes a child is top-level no more.
    first.setParent(second);
    EXPECT_EQ(scene->getTopLevelNodes(), (std::vector<Node>{second}));
}

TEST(NodeTest, ChildrenWithATag) {
    ContainerNode group = ContainerNode::create();
    TextNode label = TextNode::create("name");
    RectNode body = RectNode::create({0, 0, 10, 10});
    label.setParent(group);
    body.setParent(group);
    label.addTag("label");
    label.addTag("label");
    body.addTag("body");
    EXPECT_EQ(group.getChildrenWithTag("label"), (std::vector<Node>{label}));
    EXPECT_TRUE(label.hasTag("label"));
    label.removeAllTags();
    EXPECT_TRUE(group.getChildrenWithTag("label").empty());
    EXPECT_EQ(group.getChildrenWithTag("body"), (std::vector<Node>{body}));
}

TEST(NodeTest, OnlySelectableNodesCanBeSelected) {
    TAVI::Holder<Scene> scene = Scene::createScene();
    RectNode a = RectNode::create({0, 0, 10, 10});
    RectNode b = RectNode::create({20, 0, 10, 10});
    scene->addNode(a);
    scene->addNode(b);
    a.setSelected(true);
    EXPECT_FALSE(a.isSelected());
    a.setSelectable(true);
    b.setSelectable(true);
    EXPECT_TRUE(a.isSelectable());
    a.setSelected(true);
    b.setSelected(true);
    EXPECT_EQ(scene->getSelectedNodes().size(), 2u);
    a.setSelectable(false);
    EXPECT_FALSE(a.isSelected());
    EXPECT_EQ(scene->getSelectedNodes(), (std::vector<Node>{b}));
    scene->clearSelection();
    EXPECT_TRUE(scene->getSelectedNodes().empty());
}

TEST(NodeTest, VisibilityAndMovabilityFollowTheirSetters) {
    ContainerNode group = ContainerNode::create();
    RectNode child = RectNode::create({0, 0, 10, 10});
    child.setParent(group);
    EXPECT_TRUE(child.isVisible());
    group.setVisible(false);
    EXPECT_FALSE(child.isVisible());
    group.setVisible(true);
    EXPECT_TRUE(child.isVisible());

    EXPECT_FALSE(child.isMovable());
    child.setMovable(true);
    EXPECT_TRUE(child.isMovable());
    EXPECT_FALSE(group.isMovable());
}

TEST(NodeTest, NonFiniteGeometryIsRefusedAndTheNodeKeepsItsOwn) {
    const double nan = std::numeric_limits<double>::quiet_NaN();
    const double inf = std::numeric_limits<double>::infinity();
    TAVI::Holder<Scene> scene = Scene::createScene();
    RectNode box = RectNode::create({0, 0, 80, 40});
    scene->addNode(box);
    box.setPosition({10, 20});
    LineNode line = LineNode::create({0, 0}, {5, 5});
    EllipseNode ellipse = EllipseNode::create({0, 0, 10, 10});

    EXPECT_THROW(box.setPosition({nan, 0}), TAVI::TypedException);
    EXPECT_THROW(box.setPosition({0, -inf}), TAVI::TypedException);
    EXPECT_THROW(box.setRect({0, 0, inf, 40}), TAVI::TypedException);
    EXPECT_THROW(line.setLine({0, 0}, {nan, 1}), TAVI::TypedException);
    EXPECT_THROW(ellipse.setRect({nan, 0, 1, 1}), TAVI::TypedException);

    EXPECT_EQ(box.getPosition(), (TAVI::GLPoint<double>(10, 20)));
    EXPECT_EQ(box.getRect(), (TAVI::GLRect<double>(0, 0, 80, 40)));
    EXPECT_EQ(scene->getNodeAt({50, 40}), box);

    // Factors that are fine alone but take the scale past infinity, or to zero.
    ellipse.scale(1e200);
    EXPECT_THROW(ellipse.scale(1e200), TAVI::TypedException);
    EXPECT_EQ(ellipse.getScale(), 1e200);
    line.scale(1e-200);
    EXPECT_THROW(line.scale(1e-200), TAVI::TypedException);
    EXPECT_EQ(line.getScale(), 1e-200);
}

TEST(NodeTest, TextNodeKeepsItsTextAndFontSize) {
    TextNode text = TextNode::create("Hello");
    const double before = text.getBounds().width;
    EXPECT_GT(before, 0.0);
    text.setFontSize(40.0);
    EXPECT_EQ(text.getFontSize(), 40.0);
    EXPECT_GT(text.getBounds().width, before);
    text.setFontSize(-1.0);
    EXPECT_EQ(text.getFontSize(), 40.0);
    text.setText("Hello, world");
    EXPECT_EQ(text.getText(), "Hello, world");
}

TEST(NodeTest, LineNodeKeepsItsEndPoints) {
    LineNode line = LineNode::create({1, 2}, {3, -4});
    EXPECT_EQ(line.getFrom(), (Point{1, 2}));
    EXPECT_EQ(line.getTo(), (Point{3, -4}));
    EXPECT_EQ(line.getBounds(), (Rect{1, -4, 2, 6}));
}

TEST(NodeTest, MouseReleaseOverANodeIsSentToItThenToItsAncestorsAfterTheTools) {
    using Log = std::vector<std::string>;
    Log log;
    TAVI::Holder<Scene> scene = Scene::createScene();
    RectNode outer = RectNode::create({0, 0, 100, 100});
    RectNode inner = RectNode::create({0, 0, 20, 20});
    RectNode other = RectNode::create({200, 0, 10, 10});
    scene->addNode(outer);
    scene->addNode(other);
    inner.setParent(outer);
    inner.setPosition({10, 10});
    TAVI::Holder<ZephTest::RecordingTool> tool(
        new ZephTest::RecordingTool("tool", &log, {"press", "release"}));
    scene->addTool(tool);
    ReleaseLog outerLog(&log, "outer", outer);
    ReleaseLog innerLog(&log, "inner", inner);
    ReleaseLog otherLog(&log, "other", other);

    MouseEvent press({15, 15}, LeftButton, LeftButton);
    scene->handleMousePressEvent(press);
    EXPECT_EQ(log, (Log{"tool:press"}));

    log.clear();
    MouseEvent overInner({15, 15}, LeftButton);
    scene->handleMouseReleaseEvent(overInner);
    EXPECT_EQ(log, (Log{"tool:release", "inner:release@15,15", "outer:release@15,15"}));

    log.clear();
    MouseEvent overOuterOnly({50, 60}, RightButton);
    scene->handleMouseReleaseEvent(overOuterOnly);
    EXPECT_EQ(log, (Log{"tool:release", "outer:release@50,60"}));

    log.clear();
    MouseEvent overNothing({150, 150}, LeftButton);
    scene->handleMouseReleaseEvent(overNothing);
    EXPECT_EQ(log, (Log{"tool:release"}));
}

TEST(NodeTest, AReleaseHandlerMayRemoveTheNodesItIsSentTo) {
    std::vector<std::string> log;
    TAVI::Holder<Scene> scene = Scene::createScene();
    RectNode outer = RectNode::create({0, 0, 100, 100});
    RectNode inner = RectNode::create({0, 0, 20, 20});
    scene->addNode(outer);
    inner.setParent(outer);
    ReleaseLog innerLog(&log, "inner", inner);
    ReleaseLog outerLog(&log, "outer", outer);
    innerLog.then = [&](const MouseEvent&) { Node(outer).remove(); };

    MouseEvent release({5, 5}, LeftButton);
    scene->handleMouseReleaseEvent(release);
    // The ancestor went with the handler's removal, so it hears nothing.
    EXPECT_EQ(log, (std::vector<std::string>{"inner:release@5,5"}));
    EXPECT_FALSE(inner.isValid());
    EXPECT_TRUE(scene->getTopLevelNodes().empty());
}

TEST(NodeTest, MouseReleaseEmitterOfAnInvalidNodeReportsAndNeverSends) {
    KiteTest::AssertionRecorder recorder;
    std::vector<std::string> log;
    TAVI::Holder<Scene> scene = Scene::createScene();
    RectNode rect = RectNode::create({0, 0, 10, 10});
    scene->addNode(rect);
    rect.remove();
    recorder.clear();
    ReleaseLog removed(&log, "removed", rect);
    EXPECT_EQ(recorder.count(), 1u);
    MouseEvent release({5, 5}, LeftButton);
    scene->handleMouseReleaseEvent(release);
    EXPECT_TRUE(log.empty());
}

} // namespace
