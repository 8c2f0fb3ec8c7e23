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
// gesture and on each interruption CreationTool handles (Escape, focus loss, a second button,
// ...). The tool stays on the stack after each edge, even after Escape, until its palette
// button takes it off. The editor must outlive the tool.
class KITE_EDITOR_EXPORT EdgeCreationTool : public CreationTool {
public:
    ~EdgeCreationTool() override;

    bool isDone() const override;
    // The role "EdgeCreation".
    TAVI::StringID getDefaultRole() const override;
    static TAVI::StringID staticGetDefaultRole();

    GraphElement getStartElement() const { return startElement; }
    void setStartElement(const GraphElement& element) { startElement = element; }
    const TAVI::GLPoint<double>& getStartPosition() const { return startPosition; }
    void setStartPosition(const TAVI::GLPoint<double>& position) { startPosition = position; }
    bool isActive() const { return isInGesture(); }
    void setActive(bool value) { setInGesture(value); }
    // The keyboard modifiers (ZEPH::KeyboardModifier flags) a press must carry, exactly.
    void setMousePressModifiers(int modifiers) { pressModifiers = modifiers; }
    bool isMousePressModifiers(int modifiers) const { return pressModifiers == modifiers; }

protected:
    explicit EdgeCreationTool(Editor& editor);

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

    void begin(ZEPH::MouseEvent& event) override;
    void drag(ZEPH::MouseEvent& event) override;
    void finish(ZEPH::MouseEvent& event) override;

private:
    GraphElement startElement;
    TAVI::GLPoint<double> startPosition;
    int pressModifiers = ZEPH::NoModifier;
};

} // namespace KITE
