#include "studio/components/GenericVELDPropBrowserDelegate.hpp"

#include "platform/veld/ClassObject.hpp"
#include "platform/veld/Meta.hpp"
#include "platform/veld/Sequence.hpp"

namespace KITE {

TAVI::Color GenericVELDPropBrowserDelegate::getNameColor(const PropBrowserProperty& record) {
    return isReadOnly(record) ? TAVI::Color(0.5, 0.5, 0.5, 1.0) : TAVI::Color(0, 0, 0, 1.0);
}

TAVI::Color GenericVELDPropBrowserDelegate::getValueColor(const PropBrowserProperty& record) {
    return isReadOnly(record) ? TAVI::Color(0, 0, 0.5, 1.0) : TAVI::Color(0, 0, 1.0, 1.0);
}

std::vector<VELD::ImmutableProperty>
GenericVELDPropBrowserDelegate::getProperties(const VELD::ImmutableClassObject& object) {
    std::vector<VELD::ImmutableProperty> shown;
    if (object.isNull() || !object.isValid())
        return shown;
    const VELD::ImmutableSequence<VELD::ImmutableProperty> owned =
        object.getMetaClass().getAllAttributes();
    for (int i = 0; i < owned.size(); ++i) {
        const VELD::ImmutableProperty property = owned[i];
        if (property.isDerived() || (property.isComposite() && property.getType().isClass()))
            continue;
        shown.push_back(property);
    }
    return shown;
}

VELD::ClassObject
GenericVELDPropBrowserDelegate::getItemToSelect(const VELD::ClassObject& selected) {
    return selected;
}

} // namespace KITE
