#include "editor/Control.hpp"

#include "platform/zeph/Scene.hpp"

namespace KITE {

Control::Control() = default;

Control::~Control() = default;

bool Control::contains(const ZEPH::Node& node) const {
    const ZEPH::Node root = getRoot();
    if (!root.isValid())
        return false;
    for (ZEPH::Node walk = node; walk.isValid(); walk = walk.getParent()) {
        if (walk == root)
            return true;
    }
    return false;
}

bool Control::containsScenePos(const TAVI::GLPoint<double>& point) const {
    ZEPH::Scene* scene = parent.getScene();
    return scene && contains(scene->getNodeAt(point));
}

void Control::add(Glyph* owner, const ZEPH::Node& parentNode, const TAVI::StringID& controlTag) {
    glyph = owner;
    parent = parentNode;
    tag = controlTag;
    doCreate(parentNode);
    ZEPH::Node root = getRoot();
    if (root.isValid() && parentNode.isValid())
        root.setParent(parentNode);
}

void Control::remove() {
    ZEPH::Node root = getRoot();
    if (root.isValid())
        root.remove();
    parent = ZEPH::Node();
    glyph = nullptr;
}

} // namespace KITE
