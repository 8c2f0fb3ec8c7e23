#pragma once

#include "examples/studio_demo/ModelTreeViewModel.hpp"
#include "platform/orbis/StudioComponentBase.hpp"
#include "platform/tavi/Holder.hpp"

#include <functional>
#include <vector>

namespace TAVI {
class GLTreeView2;
class GLViewSelectionChangeEvent2;
} // namespace TAVI

namespace StudioDemo {

// The dock that lists the model's objects as a tree, fully expanded.
class ModelTreeComponent : public PLATFORM::StudioComponentBase {
public:
    ModelTreeComponent(PLATFORM::Studio* studio, const std::string& name,
                       const VELD::ImmutableClassObject& root);
    ~ModelTreeComponent() override;

    TAVI::GLWidget2* getWidget() override;
    std::string getDisplayTitle() const override { return "Model"; }

    TAVI::GLTreeView2* getTreeView() const { return view; }
    ModelTreeViewModel* getViewModel() const { return viewModel.get(); }

    using SelectionHandler = std::function<void(const std::vector<VELD::ImmutableClassObject>&)>;
    // Called with the selected objects whenever the user changes the tree's selection.
    void setSelectionHandler(SelectionHandler handler) { onSelection = std::move(handler); }
    // Selects the rows of these objects (and no others) without calling the handler.
    void showSelection(const std::vector<VELD::ImmutableClassObject>& objects);
    std::vector<VELD::ImmutableClassObject> getSelection() const;

private:
    void selectionChanged(const TAVI::GLViewSelectionChangeEvent2& event);

    SelectionHandler onSelection;
    bool showingSelection = false;
    TAVI::Holder<ModelTreeViewModel> viewModel;
    TAVI::GLTreeView2* view; // owned
};

} // namespace StudioDemo
