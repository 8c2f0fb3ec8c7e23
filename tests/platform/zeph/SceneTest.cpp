#include "platform/zeph/Scene.hpp"
#include "platform/tavi/TypedException.hpp"
#include "platform/zeph/Bounds.hpp"
#include "platform/zeph/ContainerNode.hpp"
#include "platform/zeph/EllipseNode.hpp"
#include "platform/zeph/LineNode.hpp"
#include "platform/zeph/RectNode.hpp"
#include "platform/zeph/TextNode.hpp"
#include "platform/zeph/ZephError.hpp"

#include <QGraphicsItem>
#include <QGraphicsScene>
#include <QImage>
#include <QPainter>

#include <gtest/gtest.h>

using namespace ZEPH;
using Rect = TAVI::GLRect<double>;

namespace {

TEST(SceneTest, AddNodeRefusesInvalidChildAndForeignNodes) {
    TAVI::Holder<Scene> scene = Scene::createScene();
    TAVI::Holder<Scene> other = Scene::createScene();
    RectNode parent = RectNode::create({0, 0, 10, 10});
    RectNode child = RectNode::create({0, 0, 5, 5});
    child.setParent(parent);
    other->addNode(parent);

    EXPECT_THROW(scene->addNode(Node()), TAVI::TypedException);
    EXPECT_THROW(scene->addNode(parent), TAVI::TypedException);
    EXPECT_THROW(other->addNode(child), TAVI::TypedException);
    EXPECT_THROW(scene->removeNode(parent), TAVI::TypedException);
    EXPECT_TRUE(parent.isValid());
    // Adding a top-level node again changes nothing.
    other->addNode(parent);
    EXPECT_EQ(other->getTopLevelNodes(), (std::vector<Node>{parent}));

    other->removeNode(child);
    EXPECT_FALSE(child.isValid());
    EXPECT_TRUE(parent.getChildren().empty());
}

TEST(SceneTest, NodeAddedWithChildrenBringsThemAlong) {
    TAVI::Holder<Scene> scene = Scene::createScene();
    ContainerNode group = ContainerNode::create();
    RectNode child = RectNode::create({0, 0, 5, 5});
    child.setParent(group);
    EXPECT_EQ(child.getScene(), nullptr);
    scene->addNode(group);
    EXPECT_EQ(child.getScene(), scene.get());
    EXPECT_EQ(scene->getNodeAt({2, 2}), child);
}

TEST(SceneTest, GetNodeAtFindsTheTopMostVisibleNodeUnderThePoint) {
    TAVI::Holder<Scene> scene = Scene::createScene();
    RectNode back = RectNode::create({0, 0, 100, 100});
    RectNode front = RectNode::create({0, 0, 50, 50});
    front.setPosition({25, 25});
    scene->addNode(back);
    scene->addNode(front);
    EllipseNode badge = EllipseNode::create({0, 0, 10, 10});
    badge.setPosition({40, 40}); // inside front: (65..75, 65..75) on the scene
    badge.setParent(front);

    EXPECT_EQ(scene->getNodeAt({5, 5}), back);
    EXPECT_EQ(scene->getNodeAt({30, 30}), front);
    EXPECT_EQ(scene->getNodeAt({70, 70}), badge);
    // The ellipse's corner is outside its shape: the rectangle below is hit.
    EXPECT_EQ(scene->getNodeAt({66, 66}), front);
    EXPECT_FALSE(scene->getNodeAt({150, 150}).isValid());

    front.setVisible(false);
    EXPECT_EQ(scene->getNodeAt({70, 70}), back);
    front.setVisible(true);
    badge.remove();
    EXPECT_EQ(scene->getNodeAt({70, 70}), front);
}

TEST(SceneTest, ContainersAreFoundThroughTheirChildrenOnly) {
    TAVI::Holder<Scene> scene = Scene::createScene();
    ContainerNode group = ContainerNode::create();
    RectNode left = RectNode::create({0, 0, 10, 10});
    RectNode right = RectNode::create({0, 0, 10, 10});
    right.setPosition({50, 0});
    left.setParent(group);
    right.setParent(group);
    scene->addNode(group);
    EXPECT_FALSE(scene->getNodeAt({30, 5}).isValid());
    EXPECT_EQ(scene->getNodeAt({55, 5}).getParent(), group);
}

TEST(SceneTest, GetNodesInListsContainedOrTouchedNodes) {
    TAVI::Holder<Scene> scene = Scene::createScene();
    RectNode inside = RectNode::create({10, 10, 10, 10});
    RectNode across = RectNode::create({45, 10, 10, 10});
    RectNode outside = RectNode::create({100, 100, 10, 10});
    scene->addNode(inside);
    scene->addNode(across);
    scene->addNode(outside);
    EXPECT_EQ(scene->getNodesIn({0, 0, 50, 50}), (std::vector<Node>{inside}));
    // A rectangle dragged up and to the left covers the same area.
    EXPECT_EQ(scene->getNodesIn({50, 50, -50, -50}), (std::vector<Node>{inside}));
    EXPECT_EQ(scene->getNodesIn({0, 0, 50, 50}, true), (std::vector<Node>{across, inside}));
}

TEST(SceneTest, TopLevelNodesStackInTheOrderTheyWereAdded) {
    TAVI::Holder<Scene> scene = Scene::createScene();
    std::vector<Node> added;
    for (int i = 0; i < 5; ++i) {
        RectNode node = RectNode::create({0, 0, 80, 40});
        scene->addNode(node);
        TextNode label = TextNode::create("n" + std::to_string(i));
        label.setParent(node);
        added.push_back(node);
    }
    EXPECT_EQ(scene->getTopLevelNodes(), added);
    // The last one added lies on top; its label above it.
    EXPECT_EQ(scene->getNodeAt({60, 30}), added.back());
    EXPECT_EQ(scene->getNodeAt({5, 5}).getParent(), added.back());
}

TEST(SceneTest, RemovingAndReparentingTopLevelNodesInAnyOrderKeepsTheRestIntact) {
    TAVI::Holder<Scene> scene = Scene::createScene();
    std::vector<Node> nodes;
    for (int i = 0; i < 6; ++i) {
        RectNode node = RectNode::create({i * 100.0, 0, 80, 40});
        scene->addNode(node);
        nodes.push_back(node);
    }
    scene->removeNode(nodes[0]);
    nodes[4].setParent(nodes[2]);
    scene->removeNode(nodes[5]);
    nodes[4].unparent();
    scene->removeNode(nodes[1]);

    EXPECT_FALSE(nodes[0].isValid());
    EXPECT_FALSE(nodes[1].isValid());
    EXPECT_FALSE(nodes[5].isValid());
    EXPECT_EQ(scene->getTopLevelNodes(), (std::vector<Node>{nodes[2], nodes[3], nodes[4]}));
    for (int i : {2, 3, 4})
        EXPECT_EQ(scene->getNodeAt({i * 100.0 + 40, 20}), nodes[i]);
    // Whatever survived must still be removable one by one, last added first.
    for (int i : {4, 3, 2}) {
        scene->removeNode(nodes[i]);
        EXPECT_FALSE(nodes[i].isValid());
    }
    EXPECT_TRUE(scene->getTopLevelNodes().empty());
}

TEST(SceneTest, NodesAreDrawnWithTheirFillAndStroke) {
    TAVI::Holder<Scene> scene = Scene::createScene();
    RectNode red = RectNode::create({0, 0, 40, 40});
    red.setFill(TAVI::Color(1, 0, 0));
    red.setStroke(TAVI::Color(0, 0, 1), 4.0);
    scene->addNode(red);
    RectNode hollow = RectNode::create({60, 0, 40, 40});
    hollow.setFill(TAVI::Color());
    hollow.setStroke(TAVI::Color());
    scene->addNode(hollow);

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

TEST(BoundsTest, BoundingRectCoversTheNodesOnTheSceneAndSkipsInvalidOnes) {
    RectNode box = RectNode::create({0, 0, 10, 10});
    box.setPosition({100, 100});
    LineNode flat = LineNode::create({0, 0}, {50, 0});
    flat.setPosition({-20, 5});
    RectNode gone = RectNode::create({0, 0, 1000, 1000});
    gone.remove();
    EXPECT_EQ(Bounds::boundingRect({box, flat, gone, Node()}), (Rect{-20, 5, 130, 105}));
    EXPECT_EQ(Bounds::boundingRect({flat}), (Rect{-20, 5, 50, 0}));
    EXPECT_EQ(Bounds::boundingRect({}), Rect());
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
