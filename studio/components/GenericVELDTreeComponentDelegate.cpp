#include "studio/components/GenericVELDTreeComponentDelegate.hpp"

#include "studio/StudioApp.hpp"

namespace KITE {

GenericVELDTreeComponentDelegate::GenericVELDTreeComponentDelegate(PLATFORM::Studio* studio)
    : TreeComponentDelegate(studio) {}

std::vector<VELD::ImmutableClassObject>
GenericVELDTreeComponentDelegate::fetchTopLevelItems(const VELD::ImmutableClassObject& top) {
    // With no model there is no root row: the tree is empty.
    if (top.isNull() || !top.isValid())
        return {};
    return {top};
}

VELD::ImmutableClassObject GenericVELDTreeComponentDelegate::getTopElement() {
    StudioApp* app = getStudioApp();
    const VELD::Model model = app ? app->getActiveModel() : VELD::Model();
    return model.isValid() ? VELD::ImmutableClassObject(model.getRootObject())
                           : VELD::ImmutableClassObject();
}

VELD::ClassObject
GenericVELDTreeComponentDelegate::getItemToSelect(const VELD::ClassObject& object) {
    return object;
}

std::string GenericVELDTreeComponentDelegate::getContextMenuTag() const {
    return "ContextMenu";
}

bool GenericVELDTreeComponentDelegate::respondToTreeSelectionChangedEvent(
    TreeSelectionChangedEvent) {
    return true;
}

bool GenericVELDTreeComponentDelegate::shouldRefreshFromReportOfChanges(
    const ModelChangeReport*) const {
    return true;
}

} // namespace KITE
