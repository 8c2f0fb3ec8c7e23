#include "editor/DeleteToolImpl.hpp"

#include "editor/Editor.hpp"
#include "platform/veld/Model.hpp"

namespace KITE {

DeleteToolImpl::DeleteToolImpl(Editor& editor)
    : DeleteTool(editor), nodesToDelete(VELD::MakeSequence::createUnique<GraphNode>()),
      edgesToDelete(VELD::MakeSequence::createUnique<GraphEdge>()) {}

DeleteToolImpl::~DeleteToolImpl() = default;

VELD::Model DeleteToolImpl::getRootDeviant() const {
    const VELD::Model copy = getEditor().getWorkingCopy();
    return copy.isValid() ? copy.getRootDeviant() : VELD::Model();
}

void DeleteToolImpl::collectElementsToDelete() {
    TAVI::GSet<DiagramElement> selected;
    getEditor().getSelectedElements(selected);
    populateDeletionLists(selected);
}

void DeleteToolImpl::populateDeletionLists(const TAVI::GSet<DiagramElement>& elements) {
    for (const DiagramElement& element : elements)
        populateDeletionLists(element);
}

void DeleteToolImpl::populateDeletionLists(const DiagramElement& element) {
    const ImmutableGraphElement graphElement(element);
    const GraphEdge edge(element);
    if (edge.isValid()) {
        edgesToDelete.append(edge);
    } else if (const GraphNode node(element); node.isValid()) {
        nodesToDelete.append(node);
    }
    // An edge is no graph element: it holds nothing and has no edges of its own.
    if (!graphElement.isValid())
        return;
    if (includeEdges)
        populateDeletionLists(graphElement.getEdges());
    if (includeContained)
        populateDeletionLists(graphElement.getContained());
}

void DeleteToolImpl::populateDeletionLists(
    const VELD::ImmutableSequence<DiagramElement>& elements) {
    for (const DiagramElement& element : elements)
        populateDeletionLists(element);
}

void DeleteToolImpl::populateDeletionLists(const VELD::ImmutableSequence<GraphEdge>& edges) {
    for (const GraphEdge& edge : edges)
        populateDeletionLists(DiagramElement(edge));
}

void DeleteToolImpl::deleteElement(const VELD::Model& model, const DiagramElement& element) const {
    const DiagramElement inModel = element.asDeviant(model);
    // Gone with a container destroyed before it, or by someone else since it was collected.
    if (inModel.isValid())
        inModel.destroy();
}

void DeleteToolImpl::deleteElements() {
    const VELD::Model root = getRootDeviant();
    if (!root.isValid()) {
        clearSelectedElements();
        return;
    }
    // Edges first, so that no edge outlives one of its ends inside the transaction. An
    // exception leaves the transaction rolled back whole and the lists empty.
    try {
        VELD::Transaction transaction(root);
        for (const GraphEdge& edge : edgesToDelete)
            deleteElement(root, DiagramElement(edge));
        for (const GraphNode& node : nodesToDelete)
            deleteElement(root, DiagramElement(node));
        transaction.commit();
    } catch (...) {
        clearSelectedElements();
        throw;
    }
    clearSelectedElements();
}

void DeleteToolImpl::clearSelectedElements() {
    edgesToDelete.clear();
    nodesToDelete.clear();
}

} // namespace KITE
