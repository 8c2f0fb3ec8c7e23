#pragma once

#include "editor/EdgeCreationTool.hpp"
#include "editor/kite_editor_export.hpp"
#include "platform/veld/Meta.hpp"

namespace KITE {

// A complete edge tool: with Control held (and no other modifier), a press on an element that
// the domain's edge rules let start an edge of the tool's class starts one; the rubber band
// ends on the element under the pointer when the rules let the edge end there, else at a free
// end under the pointer; the release on such an element makes the edge through the undoable
// command "Create Edge". Derived tools name the edge class (setEdgeClass). The edge rules are
// those of the editor's domain: an editor without one makes the tool throw
// TAVI::TypedException as soon as it tests an element.
class KITE_EDITOR_EXPORT SimpleEdgeCreationTool : public EdgeCreationTool {
public:
    ~SimpleEdgeCreationTool() override;

    // Null until a derived tool sets it.
    VELD::ImmutableClass getEdgeClass() const { return edgeClass; }

    // Whether the element under the point may start (end) an edge of the edge class.
    virtual bool isValidStartPosition(const TAVI::GLPoint<double>& point) const;
    bool isValidEndPosition(const TAVI::GLPoint<double>& point) const;
    bool isValidStartElement(const GraphElement& element) const;
    // Never the start element itself.
    bool isValidEndElement(const GraphElement& element) const;

protected:
    explicit SimpleEdgeCreationTool(Editor& editor);

    void setEdgeClass(const VELD::ImmutableClass& edgeClass) { this->edgeClass = edgeClass; }

    void initialUpdate(GraphElement element, const TAVI::GLPoint<double>& point,
                       VELD::Model model) override;
    void intermediateUpdate(GraphElement element, const TAVI::GLPoint<double>& point,
                            VELD::Model model) override;
    Command* finalUpdate(GraphElement element, const TAVI::GLPoint<double>& point,
                         VELD::Model model) override;
    // The press carries exactly the required modifiers, over a valid start element.
    bool isValidInitialEvent(ZEPH::MouseEvent& event) const override;

private:
    // The rubber band's edge from the start element to end, in model.
    void drawEdgeTo(const DiagramElement& end, VELD::Model model) const;
    // A free end at point in model's diagram.
    DiagramElement freeEndAt(const TAVI::GLPoint<double>& point, VELD::Model model) const;

    VELD::ImmutableClass edgeClass;
};

} // namespace KITE
