#pragma once

#include "platform/tavi/Holder.hpp"
#include "platform/tavi/StringID.hpp"
#include "platform/zeph/AbstractToolConstructor.hpp"
#include "platform/zeph/ToolStack.hpp"

#include <QGraphicsScene>

#include <map>
#include <memory>
#include <unordered_map>

namespace ZEPH {

class NodePrivate;
class Scene;

class ScenePrivate {
public:
    explicit ScenePrivate(Scene* owner);
    ~ScenePrivate();

    void adoptTopLevel(const std::shared_ptr<NodePrivate>& node);

    Scene* q;
    QGraphicsScene qtScene;
    // Every node item hangs below this one: the scene then keeps one top-level
    // item, and its per-update passes over top-level items stay short.
    QGraphicsItem* root;  // owned by qtScene
    std::unordered_map<NodePrivate*, std::shared_ptr<NodePrivate>> topLevel;
    ToolStack tools;
    std::map<TAVI::StringID, TAVI::Holder<AbstractToolConstructor>> constructors;
};

} // namespace ZEPH
