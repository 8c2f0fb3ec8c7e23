#pragma once

#include "platform/tavi/Geometry.hpp"
#include "platform/tavi/ReferencedTemplate.hpp"
#include "platform/zeph/Node.hpp"
#include "platform/zeph/zeph_export.hpp"

class QPainter;

namespace ZEPH {

class NodePrivate;

// Draws a custom node. The node holds its painter (counted); the painter sees
// its node through getNode(), which is invalid once the node is gone.
class ZEPH_EXPORT CustomNodePainter : public TAVI::Referenced {
public:
    ~CustomNodePainter() override;

    // What the painter draws on, in the node's coordinates. It must not change
    // without boundsChanging() first.
    virtual TAVI::GLRect<double> getBounds() const = 0;
    virtual void paint(QPainter& painter) = 0;

    // Call before getBounds() starts answering differently, so the canvas
    // repaints the old area and re-indexes the node.
    void boundsChanging();
    // The node the painter draws; invalid before it is given to one, or after.
    Node getNode() const;

protected:
    CustomNodePainter();

private:
    friend class CustomNode;
    std::weak_ptr<NodePrivate> node;
};

} // namespace ZEPH
