// Private to platform/zeph/: included only by its own sources and tests; not installed.
#pragma once

#include "platform/tavi/Holder.hpp"
#include "platform/tavi/StringID.hpp"
#include "platform/zeph/BaseToolConstructor.hpp"
#include "platform/zeph/ToolStack.hpp"

#include <QGraphicsScene>

#include <map>
#include <memory>
#include <vector>

namespace ZEPH {

class MouseEvent;
class NodePrivate;
class Scene;
class TextNodePrivate;

class ScenePrivate {
public:
    explicit ScenePrivate(Scene* owner);
    ~ScenePrivate();

    void adoptTopLevel(const std::shared_ptr<NodePrivate>& node);
    // Takes the node out of the top level by moving the last one into its slot.
    void releaseTopLevel(NodePrivate* node);
    // Tells the node under the event's position, and its ancestors, of a release.
    void sendMouseRelease(const MouseEvent& event);
    // The text being edited in place; null when none.
    TextNodePrivate* editedText() const;
    // Commits the edit when the text edited is hidden now (itself or what holds
    // it): an editor nobody sees must not take the keys meant for the tools.
    void commitHiddenEdit();

    Scene* q;
    QGraphicsScene qtScene;
    // Top-level nodes are top-level items: Qt's hit tests and painting cull
    // through the scene index only at the top level, and visit every child of
    // an item they reach, so one root above all nodes would make both O(N).
    // A plain array with each node's slot in the node: a hash map here cost a
    // fifth of populating and tearing down a large scene.
    std::vector<std::shared_ptr<NodePrivate>> topLevel;
    ToolStack tools;
    std::map<TAVI::StringID, TAVI::Holder<BaseToolConstructor>> constructors;
    std::weak_ptr<NodePrivate> editingText;
};

} // namespace ZEPH
