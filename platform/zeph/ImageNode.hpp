#pragma once

#include "platform/zeph/Node.hpp"
#include "platform/zeph/zeph_export.hpp"

#include <string>

namespace ZEPH {

// An image from a file, drawn into a rectangle from the node's origin: at the
// image's natural size until setSize says otherwise.
class ZEPH_EXPORT ImageNode : public Node {
public:
    ImageNode() = default;
    // An invalid handle when node is not an image.
    explicit ImageNode(const Node& node);

    static ImageNode create();

    // Loads the image; false (and no image, the size kept) when the file cannot
    // be read as one. The first image loaded sets the size to its natural size.
    bool setSource(const std::string& path);
    std::string getSource() const;
    // Sizes that are negative or not finite are ignored.
    void setSize(const TAVI::GLPoint<double>& size);
    TAVI::GLPoint<double> getSize() const;
    void setSizeToImageNaturalSize();
    // The image's own size in pixels; zero when there is none.
    TAVI::GLPoint<double> getNaturalSize() const;

private:
    explicit ImageNode(std::shared_ptr<NodePrivate> node) : Node(std::move(node)) {}
};

} // namespace ZEPH
