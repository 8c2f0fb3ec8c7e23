#include "platform/zeph/ImageNode.hpp"

#include "platform/zeph/Node_p.hpp"

#include <QImageReader>
#include <QPainter>
#include <QPixmap>

#include <cmath>

namespace ZEPH {

namespace {

class ImageItem : public QGraphicsItem {
public:
    QRectF boundingRect() const override { return QRectF(QPointF(0, 0), size); }
    void paint(QPainter* painter, const QStyleOptionGraphicsItem*, QWidget*) override {
        if (!pixmap.isNull())
            painter->drawPixmap(boundingRect(), pixmap, QRectF(pixmap.rect()));
    }
    void setSize(const QSizeF& newSize) {
        if (newSize == size)
            return;
        prepareGeometryChange();
        size = newSize;
    }

    QPixmap pixmap;
    QString source;
    QSizeF size;
};

ImageItem* imageItem(NodePrivate* node) {
    return static_cast<ImageItem*>(static_cast<LinkedItem<ImageItem>*>(node->item));
}

} // namespace

ImageNode::ImageNode(const Node& node) : Node(privateOfKind(node, NodePrivate::Image)) {}

ImageNode ImageNode::create() {
    return ImageNode(makeNodePrivate<ImageItem>(NodePrivate::Image));
}

bool ImageNode::setSource(const std::string& path) {
    NodePrivate* self = checkedLive("ImageNode::setSource");
    if (!self)
        return false;
    ImageItem* item = imageItem(self);
    const QString file = QString::fromStdString(path);
    QImageReader reader(file);
    const QImage image = reader.read();
    const bool first = item->pixmap.isNull() && item->size.isEmpty();
    item->source = file;
    if (image.isNull()) {
        item->pixmap = QPixmap();
        item->update();
        return false;
    }
    item->pixmap = QPixmap::fromImage(image);
    if (first)
        item->setSize(item->pixmap.size());
    item->update();
    return true;
}

std::string ImageNode::getSource() const {
    return isValid() ? imageItem(d_func())->source.toStdString() : std::string();
}

void ImageNode::setSize(const TAVI::GLPoint<double>& size) {
    NodePrivate* self = checkedLive("ImageNode::setSize");
    if (!self || !std::isfinite(size.x) || !std::isfinite(size.y) || size.x < 0 || size.y < 0)
        return;
    imageItem(self)->setSize(QSizeF(size.x, size.y));
}

TAVI::GLPoint<double> ImageNode::getSize() const {
    if (!isValid())
        return {};
    const QSizeF size = imageItem(d_func())->size;
    return {size.width(), size.height()};
}

void ImageNode::setSizeToImageNaturalSize() {
    if (NodePrivate* self = checkedLive("ImageNode::setSizeToImageNaturalSize"))
        imageItem(self)->setSize(imageItem(self)->pixmap.size());
}

TAVI::GLPoint<double> ImageNode::getNaturalSize() const {
    if (!isValid())
        return {};
    const QSize size = imageItem(d_func())->pixmap.size();
    return {double(size.width()), double(size.height())};
}

} // namespace ZEPH
