#pragma once

#include "editor/kite_editor_export.hpp"
#include "platform/datamodel/Diagram.hpp"
#include "platform/editlayout/Item.hpp"
#include "platform/tavi/Holder.hpp"
#include "platform/tavi/ReferencedTemplate.hpp"
#include "platform/tavi/StringID.hpp"
#include "platform/zeph/EventHandler.hpp"
#include "platform/zeph/Node.hpp"

namespace ZEPH {
class MouseEvent;
class Scene;
class TextNode;
} // namespace ZEPH

namespace KITE {

class Control;
class Editor;
class Graphics;
class GlyphPrivate;
class VisualIndicatorContainer;

// Draws one diagram element: owns a tree of canvas nodes and keeps it in step with the
// element. Glyphs are counted (TAVI::Holder<Glyph>); the editor's graphics hold each one while
// its element is shown. A glyph may carry controls (small interactive node trees) under tags.
// Subclasses build their nodes in create(), name their root in getRoot() and follow the
// element in update().
class KITE_EDITOR_EXPORT Glyph : public TAVI::ReferencedTemplate<unsigned int>,
                                 public ZEPH::EventHandler {
public:
    ~Glyph() override;
    Glyph(const Glyph&) = delete;
    Glyph& operator=(const Glyph&) = delete;

    // Builds the glyph's nodes and adds them to the glyph's scene.
    virtual void create() = 0;
    virtual ZEPH::Node getRoot() const = 0;
    // The node under which the glyphs of contained elements hang; the root by default.
    virtual ZEPH::Node getChildContainer() const;
    // Brings the nodes in line with the element.
    virtual void update() = 0;
    // The smallest size the element may be given; 10 by 10 by default.
    virtual TAVI::GLPoint<double> minSize() const;
    // Shows the selection; by default selects the root node.
    virtual void onSelectionChanged(bool selected);
    // Whether the glyph's editor has the element selected; false without an editor.
    virtual bool isSelected() const;
    // Never for an edge; else whether the root node is movable.
    virtual bool isMovable() const;
    virtual bool isSelectable() const;
    // Called with the text node whose editing the user finished; does nothing by default.
    virtual void onTextEditComplete(ZEPH::TextNode* text);
    // The root node's bounds on the scene, as the alignment guides see rectangles.
    virtual EditLayout::LayoutRect rect() const;
    // The glyph as an alignment-guide item.
    EditLayout::Item layoutItem() const { return EditLayout::Item(rect()); }

    DiagramElement diagramElement() const;
    Graphics* getGraphics() const;
    void setGraphics(Graphics* graphics);
    // The graphics' scene; null without graphics.
    ZEPH::Scene* getScene() const;
    Editor* getEditor() const;
    // Stores the editor when it differs, then calls onSetEditor() in any case.
    void setEditor(Editor* editor);

    // Shows the selection state when the glyph is selectable and the state differs from
    // isSelected(); the editor calls these before it changes its selection.
    void setSelected(bool selected);
    void select() { setSelected(true); }
    void deselect() { setSelected(false); }

    // Builds the control under parent and keeps it under tag; a tag in use already refuses the
    // control and gives the empty id. The second form takes the control's default tag.
    TAVI::StringID addControl(const TAVI::Holder<Control>& control, const ZEPH::Node& parent,
                              const TAVI::StringID& tag);
    TAVI::StringID addControl(const TAVI::Holder<Control>& control, const ZEPH::Node& parent);
    // Detaches the control (its nodes leave the scene) and forgets it; false when absent.
    bool removeControl(const TAVI::StringID& tag);
    bool hasControl(const TAVI::StringID& tag) const;
    // The controls, in the order of their tags.
    std::vector<TAVI::Holder<Control>> getControls() const;

    // Makes the glyph's badge strip on its root node (which must exist: call it from create() or
    // later); later calls do nothing.
    void createVisualIndicatorContainer();
    // Null until made.
    VisualIndicatorContainer* getVisualIndicatorsContainer() const;

    // A press on the glyph: the first control holding the node under the pointer gets it;
    // then, unless consumed, the glyph's own handleMousePressEvent. The caller holds the glyph:
    // a handler may remove its element, and with it the graphics' reference.
    void dispatchMousePress(ZEPH::MouseEvent& event);

protected:
    explicit Glyph(const DiagramElement& element);
    virtual void onSetEditor();

private:
    GlyphPrivate* d_func() { return d; }
    const GlyphPrivate* d_func() const { return d; }
    GlyphPrivate* d; // owned
};

} // namespace KITE
