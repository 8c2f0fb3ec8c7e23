#include "platform/tavi/TypedException.hpp"
#include "platform/zeph/CustomNode.hpp"
#include "platform/zeph/ImageNode.hpp"
#include "platform/zeph/Scene.hpp"

#include <QFile>
#include <QGraphicsScene>
#include <QImage>
#include <QPainter>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace ZEPH;
using Point = TAVI::GLPoint<double>;
using Rect = TAVI::GLRect<double>;

namespace {

QImage renderScene(Scene& scene, int width, int height) {
    QImage image(width, height, QImage::Format_ARGB32);
    image.fill(Qt::white);
    QPainter painter(&image);
    scene.qtScene()->render(&painter, QRectF(0, 0, width, height), QRectF(0, 0, width, height));
    return image;
}

TEST(ImageNodeTest, ShowsAnImageFileAtItsNaturalSizeOrTheSizeGivenAndRefusesOtherFiles) {
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString file = dir.filePath("red.png");
    QImage red(30, 20, QImage::Format_ARGB32);
    red.fill(Qt::red);
    ASSERT_TRUE(red.save(file));

    TAVI::Holder<Scene> scene = Scene::createScene();
    ImageNode image = ImageNode::create();
    scene->addNode(image);
    ASSERT_TRUE(image.setSource(file.toStdString()));
    EXPECT_EQ(image.getNaturalSize(), (Point{30, 20}));
    EXPECT_EQ(image.getSize(), (Point{30, 20}));
    EXPECT_EQ(image.getBounds(), (Rect{0, 0, 30, 20}));
    EXPECT_EQ(scene->getNodeAt({25, 15}), image);

    image.setSize({60, 10});
    EXPECT_EQ(image.getBounds(), (Rect{0, 0, 60, 10}));
    EXPECT_EQ(scene->getNodeAt({55, 5}), image);
    EXPECT_FALSE(scene->getNodeAt({25, 15}).isValid());
    const QImage shot = renderScene(*scene, 80, 30);
    EXPECT_EQ(shot.pixelColor(55, 5), QColor(Qt::red));
    EXPECT_EQ(shot.pixelColor(55, 15), QColor(Qt::white));

    image.setSize({-1, 5});
    EXPECT_EQ(image.getSize(), (Point{60, 10}));
    image.setSizeToImageNaturalSize();
    EXPECT_EQ(image.getSize(), (Point{30, 20}));

    // A file that is no image, or none at all, leaves no image and keeps the size.
    QFile text(dir.filePath("not-an-image.png"));
    ASSERT_TRUE(text.open(QIODevice::WriteOnly));
    text.write("hello");
    text.close();
    ImageNode other = ImageNode::create();
    other.setSize({10, 10});
    EXPECT_FALSE(other.setSource(text.fileName().toStdString()));
    EXPECT_FALSE(other.setSource(dir.filePath("missing.png").toStdString()));
    EXPECT_EQ(other.getNaturalSize(), (Point{0, 0}));
    EXPECT_EQ(other.getSize(), (Point{10, 10}));
    EXPECT_FALSE(ImageNode(Node()).isValid());
}

// Fills its bounds with green.
class GreenPainter : public CustomNodePainter {
public:
    Rect getBounds() const override { return bounds; }
    void paint(QPainter& painter) override {
        ++paints;
        painter.fillRect(QRectF(bounds.x, bounds.y, bounds.width, bounds.height), Qt::green);
    }
    void grow(const Rect& newBounds) {
        boundsChanging();
        bounds = newBounds;
    }
    Rect bounds{0, 0, 20, 10};
    int paints = 0;
};

TEST(CustomNodeTest, ThePainterDrawsTheNodeAndItsBoundsAreHitTested) {
    TAVI::Holder<GreenPainter> painter(new GreenPainter);
    CustomNode node = CustomNode::create(painter);
    EXPECT_EQ(painter->getNode(), node);
    // A painter draws one node.
    EXPECT_THROW(CustomNode::create(painter), TAVI::TypedException);
    EXPECT_THROW(CustomNode::create(TAVI::Holder<CustomNodePainter>()), TAVI::TypedException);
    EXPECT_FALSE(CustomNode(ImageNode::create()).isValid());
    EXPECT_EQ(node.getPainter(), TAVI::Holder<CustomNodePainter>(painter));
    TAVI::Holder<Scene> scene = Scene::createScene();
    scene->addNode(node);
    EXPECT_EQ(node.getBounds(), (Rect{0, 0, 20, 10}));
    EXPECT_EQ(scene->getNodeAt({15, 5}), node);
    EXPECT_FALSE(scene->getNodeAt({35, 5}).isValid());

    painter->grow({0, 0, 40, 10});
    EXPECT_EQ(scene->getNodeAt({35, 5}), node);
    const QImage shot = renderScene(*scene, 50, 20);
    EXPECT_EQ(shot.pixelColor(35, 5), QColor(Qt::green));
    EXPECT_EQ(shot.pixelColor(45, 5), QColor(Qt::white));
    EXPECT_GE(painter->paints, 1);

    node.remove();
    EXPECT_FALSE(painter->getNode().isValid());
    painter->grow({0, 0, 1, 1}); // nothing to tell any more; must not crash
}

} // namespace
