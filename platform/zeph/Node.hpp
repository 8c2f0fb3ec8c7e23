#pragma once

#include "platform/nimb/Emitter.hpp"
#include "platform/tavi/Color.hpp"
#include "platform/tavi/Geometry.hpp"
#include "platform/tavi/StringID.hpp"
#include "platform/zeph/MouseEvent.hpp"
#include "platform/zeph/zeph_export.hpp"

#include <cstddef>
#include <functional>
#include <memory>
#include <vector>

namespace ZEPH {

class NodePrivate;
class Scene;

// A value handle to a node of a canvas scene: a shape, a text or a container of
// other nodes, with a position relative to its parent (or to the scene for a
// top-level node). Copies refer to the same node; handles compare equal when
// they refer to the same node. A default handle, and every handle to a node that
// was removed (with its parent, or with its scene), is invalid: its queries
// answer empty values, and its changes report a host assertion and do nothing.
// A node not yet added to a scene lives as long as a handle to it does.
class ZEPH_EXPORT Node {
public:
    Node() = default;

    bool isValid() const;
    // The scene the node is in; null when it is in none.
    Scene* getScene() const;

    // Makes the node a child of parent, drawn above parent's earlier children, at
    // the same position relative to its new parent. A node outside any scene joins
    // the parent's scene. Throws TAVI::TypedException for an invalid parent, the
    // node itself or one of its descendants, or a parent in another scene.
    void setParent(const Node& parent);
    // Invalid for a top-level or free node.
    Node getParent() const;
    // Makes the node top-level in its scene (or free when it is in none), keeping
    // its position on the scene.
    void unparent();
    std::vector<Node> getChildren() const;
    std::vector<Node> getChildrenWithTag(const TAVI::StringID& tag) const;

    void addTag(const TAVI::StringID& tag);
    bool hasTag(const TAVI::StringID& tag) const;
    void removeAllTags();

    // Removes the node and its descendants; every handle to them becomes invalid.
    void remove();

    void setPosition(const TAVI::GLPoint<double>& position);
    TAVI::GLPoint<double> getPosition() const;
    TAVI::GLPoint<double> getScenePosition() const;
    // The node's geometry and its children's, without stroke widths, in the
    // node's own coordinates; in scene coordinates for getSceneBounds. Children
    // that ignore transformations (screen-sized marks) do not count.
    TAVI::GLRect<double> getBounds() const;
    TAVI::GLRect<double> getSceneBounds() const;
    double getHeight() const;
    TAVI::GLPoint<double> mapLocalToScene(const TAVI::GLPoint<double>& point) const;
    TAVI::GLRect<double> mapLocalToScene(const TAVI::GLRect<double>& rect) const;
    TAVI::GLPoint<double> mapSceneToLocal(const TAVI::GLPoint<double>& point) const;

    // Multiplies the node's scale (1 to begin with) by factor, about its origin.
    // Throws TAVI::TypedException for a factor that is not positive and finite,
    // or that would take the scale out of range (to infinity or to zero).
    void scale(double factor);
    double getScale() const;
    void setZValue(double z);
    // A node that ignores transformations keeps its size whatever the zoom.
    void setIgnoresTransformations(bool ignores);

    void setVisible(bool visible);
    // False when the node or one of its ancestors is hidden.
    bool isVisible() const;
    // Only a selectable node can be selected; making a node unselectable deselects it.
    void setSelected(bool selected);
    bool isSelected() const;
    void setSelectable(bool selectable);
    bool isSelectable() const;
    // Whether move tools may move the node; nothing moves it by itself.
    void setMovable(bool movable);
    bool isMovable() const;
    // Set by whoever lays the node out (a glyph placing it in a compartment, say)
    // to say that its position follows that layout: move tools leave it where it
    // is even when it is movable and selected. Off to begin with.
    void setLayoutConstraintFlag(bool constrained);
    bool getLayoutConstraintFlag() const;

    // An invalid colour draws no fill (no outline); a default colour the canvas's
    // own (white fill, black outline). Containers draw neither.
    void setFill(const TAVI::Color& color);
    void setStroke(const TAVI::Color& color, double width = 1.0);

    // Sent with a copy of the event when a mouse button is released over the
    // node or one of its descendants, after the scene's tools have had the event
    // (whether or not one consumed it); the innermost node's emitter first. An
    // invalid handle reports a host assertion and answers an emitter that never
    // sends.
    NIMB::Emitter<MouseEvent>& getMouseReleaseEmitter() const;

    bool operator==(const Node& other) const { return d.get() == other.d.get(); }
    std::size_t hash() const { return std::hash<const void*>()(d.get()); }

protected:
    explicit Node(std::shared_ptr<NodePrivate> node);
    NodePrivate* d_func() const { return d.get(); }
    // The live implementation, or null after reporting misuse of an invalid handle.
    NodePrivate* checkedLive(const char* operation) const;
    // The implementation of node when it is of the given NodePrivate kind; else null.
    static std::shared_ptr<NodePrivate> privateOfKind(const Node& node, int kind);

private:
    friend class NodePrivate;
    friend class Scene;
    friend class ScenePrivate;
    std::shared_ptr<NodePrivate> d;
};

} // namespace ZEPH

template <> struct std::hash<ZEPH::Node> {
    std::size_t operator()(const ZEPH::Node& node) const noexcept { return node.hash(); }
};
