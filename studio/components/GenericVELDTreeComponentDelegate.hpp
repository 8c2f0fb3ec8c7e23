#pragma once

#include "studio/components/TreeComponentDelegate.hpp"
#include "studio/components/kite_generic_export.hpp"

namespace KITE {

// The generic studio's model tree: the active model itself is the tree's one top row, and
// every transaction rebuilds the tree.
class KITE_GENERIC_EXPORT GenericVELDTreeComponentDelegate : public TreeComponentDelegate {
public:
    explicit GenericVELDTreeComponentDelegate(PLATFORM::Studio* studio);

    std::vector<VELD::ImmutableClassObject>
    fetchTopLevelItems(const VELD::ImmutableClassObject& top) override; // top alone
    // The studio application's active model, as its root object; null without one.
    VELD::ImmutableClassObject getTopElement() override;
    VELD::ClassObject getItemToSelect(const VELD::ClassObject& object) override; // object
    std::string getContextMenuTag() const override;                              // "ContextMenu"
    bool respondToTreeSelectionChangedEvent(TreeSelectionChangedEvent event) override;     // true
    bool shouldRefreshFromReportOfChanges(const ModelChangeReport* report) const override; // true
};

} // namespace KITE
