#pragma once

#include "editor/DeleteTool.hpp"
#include "editor/kite_editor_export.hpp"
#include "platform/datamodel/Diagram.hpp"
#include "platform/tavi/GSet.hpp"
#include "platform/veld/Sequence.hpp"

namespace KITE {

// The library's delete tool: deletes the selected elements together with the edges attached
// to them and everything they contain (with its edges), in one transaction on the model's root,
// edges first, so that one undo brings all of it back. Clients derive their delete tools from
// it and put them on the editor's tool stack.
class KITE_EDITOR_EXPORT DeleteToolImpl : public DeleteTool {
public:
    ~DeleteToolImpl() override;

protected:
    explicit DeleteToolImpl(Editor& editor);

    // Gathers the selection, its edges and its contents, each once, in selection order.
    void collectElementsToDelete() override;
    // Destroys what was gathered in one root transaction, then forgets it.
    void deleteElements() override;

private:
    VELD::Model getRootDeviant() const;
    void populateDeletionLists(const TAVI::GSet<DiagramElement>& elements);
    void populateDeletionLists(const DiagramElement& element);
    void populateDeletionLists(const VELD::ImmutableSequence<DiagramElement>& elements);
    void populateDeletionLists(const VELD::ImmutableSequence<GraphEdge>& edges);
    void deleteElement(const VELD::Model& model, const DiagramElement& element) const;
    void clearSelectedElements();

    bool includeEdges = true;
    bool includeContained = true;
    VELD::Sequence<GraphNode> nodesToDelete;
    VELD::Sequence<GraphEdge> edgesToDelete;
};

} // namespace KITE
