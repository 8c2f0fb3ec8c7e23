#pragma once

#include "platform/tavi/Geometry.hpp"
#include "platform/tavi/Holder.hpp"
#include "platform/tavi/ReferencedTemplate.hpp"
#include "platform/tavi/StringID.hpp"
#include "platform/zeph/BaseToolConstructor.hpp"
#include "platform/zeph/EventHandler.hpp"
#include "platform/zeph/IToolStack.hpp"
#include "platform/zeph/Node.hpp"
#include "platform/zeph/zeph_export.hpp"

#include <vector>

class QGraphicsScene;

namespace ZEPH {

class ScenePrivate;
class TextNode;

// What a canvas shows: the nodes, and the tool stack that the canvas's events go
// to. A scene is counted (TAVI::Holder) and owns its top-level nodes, which own
// theirs; destroying the scene removes every node, so all handles to them become
// invalid. Its event handlers deliver events to its tools, top first; tests and
// canvases call them alike. While a text node is edited in place, keys go to its
// editor instead of the tools, and a press commits the edit before the tools get
// it; a left double-click that no tool consumed on an editable text starts
// editing it.
class ZEPH_EXPORT Scene : public TAVI::Referenced, public IToolStack, public EventHandler {
public:
    static TAVI::Holder<Scene> createScene();
    ~Scene() override;
    Scene(const Scene&) = delete;
    Scene& operator=(const Scene&) = delete;

    // Adds a free node (and its descendants) as a top-level node; adding a node
    // that is top-level here already does nothing. Throws TAVI::TypedException for
    // an invalid node, a child node, or a node of another scene.
    void addNode(const Node& node);
    // Removes a node of this scene and its descendants. Throws
    // TAVI::TypedException for an invalid node or one of another scene.
    void removeNode(const Node& node);
    // The top-most visible node whose shape holds the point (children lie above
    // their parents); invalid when there is none. Containers draw nothing and are
    // never hit themselves.
    Node getNodeAt(const TAVI::GLPoint<double>& point) const;
    // Every visible node whose shape holds the point, top-most first: what lies under a
    // point, found through the scene's index rather than by visiting the nodes.
    std::vector<Node> getNodesAt(const TAVI::GLPoint<double>& point) const;
    // The visible nodes whose shapes lie wholly inside the rectangle (or, with
    // intersecting, touch it), top-most first.
    std::vector<Node> getNodesIn(const TAVI::GLRect<double>& rect, bool intersecting = false) const;
    // Top-level nodes in stacking order, bottom first.
    std::vector<Node> getTopLevelNodes() const;
    std::vector<Node> getSelectedNodes() const;
    void clearSelection();
    // The text node being edited in place; invalid when none.
    TextNode getEditedText() const;
    // What the nodes cover, in scene coordinates (with stroke widths).
    TAVI::GLRect<double> getItemsBounds() const;

    // Registers the constructor of its role, replacing the one registered before.
    // Throws TAVI::TypedException for a null constructor or an empty role.
    void addToolConstructor(const TAVI::Holder<BaseToolConstructor>& constructor);
    bool hasToolConstructor(const TAVI::StringID& role) const;
    // Forgets every constructor; the tools they made stay where they are.
    void clearToolConstructors();
    // The tool under role: the one on the stack already, or a new one from the
    // role's constructor pushed on top. Empty when neither exists (or the
    // constructor made none).
    TAVI::Holder<Tool> addToolByRole(const TAVI::StringID& role);
    // A new tool from the role's constructor, not put on the stack; empty when
    // the role has no constructor.
    TAVI::Holder<Tool> createToolByRole(const TAVI::StringID& role) const;

    TAVI::StringID addTool(const TAVI::Holder<Tool>& tool) override;
    void addTool(const TAVI::Holder<Tool>& tool, const TAVI::StringID& role) override;
    TAVI::StringID delegateToTool(const TAVI::Holder<Tool>& tool) override;
    TAVI::StringID getUniqueToolRoleBasedOn(const TAVI::StringID& role) const override;
    bool hasTool(const TAVI::Holder<Tool>& tool) const override;
    bool hasTool(const TAVI::StringID& role) const override;
    bool removeTool(const TAVI::Holder<Tool>& tool) override;
    bool removeToolByRole(const TAVI::StringID& role) override;
    TAVI::Holder<Tool> getToolByRole(const TAVI::StringID& role) const override;
    TAVI::StringID getRoleByTool(const TAVI::Holder<Tool>& tool) const override;
    void clearToolStack() override;
    std::vector<TAVI::Holder<Tool>> getTools() const override;
    TAVI::Holder<Tool> getTopTool() const;

    void handleMouseMoveEvent(MouseEvent& event) override;
    void handleMousePressEvent(MouseEvent& event) override;
    void handleMouseReleaseEvent(MouseEvent& event) override;
    void handleMouseDoubleClickEvent(MouseEvent& event) override;
    void handleDragEvent(DragEvent& event) override;
    void handleDropEvent(DragEvent& event) override;
    void handleFocusInEvent(Event& event) override;
    void handleFocusOutEvent(Event& event) override;
    void handleEnterCanvasEvent(Event& event) override;
    void handleLeaveCanvasEvent(Event& event) override;
    void handleContextMenuEvent(MouseEvent& event) override;
    void handleWheelEvent(WheelEvent& event) override;
    void handleKeyPressEvent(KeyEvent& event) override;
    void handleKeyReleaseEvent(KeyEvent& event) override;

    // The Qt scene behind this one, for the canvas and for exports.
    QGraphicsScene* qtScene() const;

private:
    Scene();
    ScenePrivate* d_func() { return d; }
    const ScenePrivate* d_func() const { return d; }
    ScenePrivate* d; // owned
};

} // namespace ZEPH
