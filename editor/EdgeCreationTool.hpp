#pragma once

#include "editor/CreationTool.hpp"
#include "editor/kite_editor_export.hpp"
#include "platform/datamodel/Diagram.hpp"
#include "platform/tavi/Geometry.hpp"
#include "platform/veld/Model.hpp"
#include "platform/zeph/Event.hpp"

namespace ZEPH {
class MouseEvent;
}

namespace KITE {

class Command;
class Editor;

// The base of tools that draw an edge from one element to another: a valid press starts the
// edge, each move redraws the rubber band in the editor's working copy (the interactive model),
// and the release hands the edge to the editor as a command made against the model's root.
// Whatever the tool drew is dropped by synchronising the working copy from the root: after each
// gesture, when a second button goes down, and in the cases CreationTool names. The tool stays on
// the stack after each edge until its palette button takes it off.
class KITE_EDITOR_EXPORT EdgeCreationTool : public CreationTool {
public:
    ~EdgeCreationTool() override;

    void handleMouseMoveEvent(ZEPH::MouseEvent& event) override;
    void handleMousePressEvent(ZEPH::MouseEvent& event) override;
    void handleMouseReleaseEvent(ZEPH::MouseEvent& event) override;
    bool isDone() const override;
    // The role "EdgeCreation".
    TAVI::StringID getDefaultRole() const override;
    static TAVI::StringID staticGetDefaultRole();

    GraphElement getStartElement() const { return startElement; }
    void setStartElement(const GraphElement& element) { startElement = element; }
    const TAVI::GLPoint<double>& getStartPosition() const { return startPosition; }
    void setStartPosition(const TAVI::GLPoint<double>& position) { startPosition = position; }
    bool isActive() const { return active; }
    void setActive(bool value) { active = value; }
    // The keyboard modifiers (ZEPH::KeyboardModifier flags) a press must carry, exactly.
    void setMousePressModifiers(int modifiers) { pressModifiers = modifiers; }
    bool isMousePressModifiers(int modifiers) const { return pressModifiers == modifiers; }

    // The root deviant of the diagram's model, where edges are made; null without a diagram.
    VELD::Model getRootModel() const;
    // The element under the scene point as a graph element; empty over empty canvas or an edge.
    GraphElement getGraphElementAt(const TAVI::GLPoint<double>& point) const;

protected:
    explicit EdgeCreationTool(Editor& editor);

    bool isGestureUnderWay() const override { return active; }
    // Ends the gesture: not active, no start element, nothing drawn in the working copy.
    void reset() override;
    // Draws the start of the edge in model (the working copy), inside its transaction.
    virtual void initialUpdate(GraphElement element, const TAVI::GLPoint<double>& point,
                               VELD::Model model) = 0;
    // Draws the edge to point, or to element when it may end there, inside a transaction on
    // model (the working copy), from which the previous drawing is gone already.
    virtual void intermediateUpdate(GraphElement element, const TAVI::GLPoint<double>& point,
                                    VELD::Model model) = 0;
    // The command that makes the edge ending at element in model (the model's root); null when
    // no edge may end there. The editor runs and owns the command.
    virtual Command* finalUpdate(GraphElement element, const TAVI::GLPoint<double>& point,
                                 VELD::Model model) = 0;
    // Whether a press starts an edge, a move redraws it, a release ends it; all true here.
    virtual bool isValidInitialEvent(ZEPH::MouseEvent& event) const;
    virtual bool isValidMoveEvent(ZEPH::MouseEvent& event) const;
    virtual bool isValidReleaseEvent(ZEPH::MouseEvent& event) const;

private:
    GraphElement startElement;
    TAVI::GLPoint<double> startPosition;
    int pressModifiers = ZEPH::NoModifier;
    bool active = false;
};

} // namespace KITE
