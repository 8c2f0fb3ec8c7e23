#include "examples/kite_studio/ProgramDelegates.hpp"

#include "platform/veld/Model.hpp"
#include "platform/veld/Sequence.hpp"

#include <algorithm>

namespace KiteStudio {

VELD::ImmutableClassObject ProjectTreeDelegate::getTopElement() {
    const VELD::Model model = getActiveModel();
    return model.isValid() ? model.getRootObject() : VELD::ImmutableClassObject();
}

std::vector<VELD::ImmutableProperty>
ElementPropBrowserDelegate::getProperties(const VELD::ImmutableClassObject& object) {
    std::vector<VELD::ImmutableProperty> shown;
    if (object.isNull() || !object.isValid())
        return shown;
    const VELD::ImmutableClass metaClass = object.getMetaClass();
    const auto add = [&](const VELD::ImmutableProperty& property) {
        if (property.isDerived() || property.isComposite() ||
            (property.isReference() && property.isMultivalued()))
            return;
        if (std::find(shown.begin(), shown.end(), property) == shown.end())
            shown.push_back(property);
    };
    for (const VELD::ImmutableProperty& property : metaClass.getOwnedAttributes())
        add(property);
    for (const VELD::ImmutableProperty& property : metaClass.getAllAttributes())
        add(property);
    return shown;
}

VELD::ClassObject ElementPropBrowserDelegate::getItemToSelect(const VELD::ClassObject& selected) {
    return selected;
}

} // namespace KiteStudio
