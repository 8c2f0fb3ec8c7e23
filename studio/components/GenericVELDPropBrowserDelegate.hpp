#pragma once

#include "studio/components/PropBrowserDelegate.hpp"
#include "studio/components/kite_generic_export.hpp"

namespace KITE {

// The generic studio's property browser: every plain property of the selected object, read-only
// ones in grey, their values in blue (dark blue when read-only). Objects held by a containment
// are left to the model tree.
class KITE_GENERIC_EXPORT GenericVELDPropBrowserDelegate : public PropBrowserDelegate {
public:
    TAVI::Color getNameColor(const PropBrowserProperty& record) override;
    TAVI::Color getValueColor(const PropBrowserProperty& record) override;
    // The class's attributes, inherited ones first, without derived properties and without
    // containments of class-typed objects. Inherited attributes are shown too: a meta-model
    // often keeps "name" in an abstract base class, and the generic studio edits any model.
    std::vector<VELD::ImmutableProperty>
    getProperties(const VELD::ImmutableClassObject& object) override;
    VELD::ClassObject getItemToSelect(const VELD::ClassObject& selected) override; // selected
};

} // namespace KITE
