#include "examples/studio_demo/ModelTreeComponent.hpp"

#include "platform/nimb/ConnectionImpl.hpp"
#include "platform/tavi2/GLEvents2.hpp"
#include "platform/tavi2/GLTreeView2.hpp"

namespace StudioDemo {

ModelTreeComponent::ModelTreeComponent(PLATFORM::Studio* studio, const std::string& name,
                                       const VELD::ImmutableClassObject& root)
    : StudioComponentBase(studio, name), viewModel(new ModelTreeViewModel),
      view(new TAVI::GLTreeView2("qt")) {
    viewModel->populate(root);
    view->setModel(viewModel);
    view->setHeaderVisible(false);
    view->setSelectionMode(TAVI::GLAbstractView2::ExtendedSelection);
    view->setEditTriggers(TAVI::GLAbstractView2::NoEditTriggers);
    view->setMinimumSize(240, 200);
    // The sample is small enough to show whole.
    view->expandAll();
    // The connection belongs to this component (a listener) and goes with it.
    new NIMB::ConnectionImpl1<ModelTreeComponent, TAVI::GLViewSelectionChangeEvent2>(
        this, view->getSelectionChangeEmitter(), nullptr, &ModelTreeComponent::selectionChanged);
}

ModelTreeComponent::~ModelTreeComponent() {
    disconnect();
    delete view;
}

TAVI::GLWidget2* ModelTreeComponent::getWidget() {
    return view;
}

void ModelTreeComponent::showSelection(const std::vector<VELD::ImmutableClassObject>& objects) {
    std::vector<unsigned> rows;
    for (const VELD::ImmutableClassObject& object : objects)
        if (const unsigned row = viewModel->getRow(object); row != ModelTreeViewModel::rootRow)
            rows.push_back(row);
    showingSelection = true;
    view->setSelectedRows(rows);
    showingSelection = false;
    if (!rows.empty())
        view->scrollTo(rows.front());
}

std::vector<VELD::ImmutableClassObject> ModelTreeComponent::getSelection() const {
    std::vector<VELD::ImmutableClassObject> objects;
    for (unsigned row : view->getSelectedRows())
        objects.push_back(viewModel->getObject(row));
    return objects;
}

void ModelTreeComponent::selectionChanged(const TAVI::GLViewSelectionChangeEvent2&) {
    if (!showingSelection && onSelection)
        onSelection(getSelection());
}

} // namespace StudioDemo
