#pragma once

#include "editor/kite_editor_export.hpp"
#include "platform/datamodel/Diagram.hpp"
#include "platform/host/Wrappable.hpp"
#include "platform/zeph/ResizeBehavior.hpp"
#include "platform/zeph/ToolConstructor.hpp"

namespace KITE {

class Editor;
class ResizeBehaviorPrivate;

// Resizes the diagram element of a glyph by a handle. The canvas base runs the gesture (handles,
// the rectangle, resizing about the centre, keeping the aspect); this behaviour binds the
// resized node to its glyph's element, previews each rectangle in the editor's working copy and
// writes the last one to the model's root in one transaction. Position and size are both
// written, so a handle on the top or left edge moves the element as well. A resize that starts
// on a node of no glyph changes nothing; Escape leaves model and working copy as they were. A
// rectangle without finite coordinates is not shown: the last one shown stays the one written.
// A rectangle is never smaller than the glyph's minSize(); a resize that ends on the rectangle
// it started with writes nothing.
// Made by the tool constructor of its role (ZEPH::ToolConstructor<ResizeBehavior, Editor&>) or
// by subclasses. The editor must outlive the behaviour.
class KITE_EDITOR_EXPORT ResizeBehavior : public ZEPH::ResizeBehavior,
                                          public virtual NOX::Wrappable {
public:
    static constexpr const char* noxTypeName = "KITE.ResizeBehavior";
    ~ResizeBehavior() override;

    const char* getFullyQualifiedNoxTypeName() const override;
    void handleKeyPressEvent(ZEPH::KeyEvent& event) override;
    void onRemoveFromStack() override;

protected:
    explicit ResizeBehavior(Editor& editor);

    Editor* getEditor() const;
    // The resized element, seen through the working copy; null until the drag starts, and
    // when the node resized is no glyph's root.
    DiagramElement getDiagramElement() const;

    void recordStartingConditions(ZEPH::MouseEvent& event) override;
    // The glyph's minSize() for a glyph's node; the canvas's minimum otherwise.
    TAVI::GLPoint<double> getMinimumSize() const override;
    void modifyTarget(const TAVI::GLRect<double>& sceneRect) override;
    // Writes the final rectangle to the model's root in one transaction.
    void commit(const TAVI::GLRect<double>& sceneRect) override;

private:
    friend class ZEPH::ToolConstructor<ResizeBehavior, Editor&>;
    ResizeBehaviorPrivate* d_func() { return d; }
    const ResizeBehaviorPrivate* d_func() const { return d; }
    ResizeBehaviorPrivate* d; // owned
};

} // namespace KITE
