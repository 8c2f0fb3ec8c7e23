#pragma once

#include "editor/kite_editor_export.hpp"
#include "platform/datamodel/Diagram.hpp"
#include "platform/editlayout/Guide.hpp"
#include "platform/editlayout/Item.hpp"
#include "platform/tavi/GSet.hpp"
#include "platform/zeph/MoveTool.hpp"
#include "platform/zeph/ToolConstructor.hpp"

#include <vector>

namespace EditLayout {
class SmartGuides;
}
namespace VELD {
class ImmutableModel;
}

namespace KITE {

class Editor;
class MoveToolPrivate;

// Moves the selected diagram elements by a drag. The canvas base runs the gesture; this tool
// moves elements, not nodes: the outermost selected elements whose glyphs are movable (never
// edges) form the moving set, every pointer step previews the move in the editor's working
// copy (the glyphs follow through the editor's report handling), and the release writes the
// move to the model's root in one transaction; a click without movement writes nothing.
// Contained elements follow their container, their positions being relative to it. While the
// pointer is slow, the element under the start of the drag snaps to the edges and centres of
// the other elements, and the alignments are drawn as guides. Escape, or a gesture that ends
// without its release, leaves model and working copy as they were; so does a pointer without
// finite coordinates.
// Made by the tool constructor of its role (ZEPH::ToolConstructor<MoveTool, Editor&>) or by
// subclasses. The editor must outlive the tool; its constructors leave the scene with it.
class KITE_EDITOR_EXPORT MoveTool : public ZEPH::MoveTool {
public:
    ~MoveTool() override;

    void onRemoveFromStack() override;

    Editor& getEditor() const;
    // Whether each step also redraws the edges of moved nodes; true by default.
    void setInvalidateEdgesDuringMove(bool invalidate);
    // The guides drawn now.
    const std::vector<EditLayout::Guide>& getGuides() const;

    // Pointer speed, in scene units per second, below which the move snaps and shows guides.
    static constexpr double snappingSpeedLimit = 400.0;

protected:
    explicit MoveTool(Editor& editor);

    // The moving set, seen through the working copy.
    const TAVI::GSet<DiagramElement>& elements() const;

    // Builds the moving set and the guides; returns no nodes, since the glyphs follow the
    // working copy rather than being moved themselves.
    std::vector<ZEPH::Node> buildMovingSet() override;
    // Nothing to remember: each step starts again from the model's root.
    void storeStartingPositions() override;
    void duringMove() override;
    void finishMove() override;
    // Drops the preview: the working copy shows the model's root again.
    void cancelMove() override;

    // Whether the element's glyph snaps and is snapped to: never an edge, else a selectable glyph.
    virtual bool participatesInSmartGuides(const ImmutableDiagramElement& element) const;
    // Moves each element of the moving set by the delta, seen through model when it is given,
    // else in the working copy. Elements the model does not show (deleted meanwhile) are skipped.
    virtual void applyPositionDelta(const VELD::ImmutableModel* model);
    virtual void setupSmartGuides();
    // Lets a subclass add rectangles to snap to (a page frame, say); the glyphs gathered by
    // buildSmartGuideCandidateList are in.
    virtual void addSmartGuideAffinities(EditLayout::SmartGuides& smartGuides);
    virtual void teardownSmartGuides();
    // The glyphs to snap to: those in view and those near the dragged glyph, except what moves.
    virtual void buildSmartGuideCandidateList(std::vector<EditLayout::Item>& candidates);
    virtual void clearGuides();
    virtual void updateGuides(const std::vector<EditLayout::Guide>& guides);
    virtual void renderGuide(const EditLayout::Guide& guide);

private:
    friend class ZEPH::ToolConstructor<MoveTool, Editor&>;
    double getCursorSpeed();

    MoveToolPrivate* d_func() { return d; }
    const MoveToolPrivate* d_func() const { return d; }
    MoveToolPrivate* d; // owned
};

} // namespace KITE
