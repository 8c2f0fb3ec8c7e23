#include "studio/components/propwidgets/ObjectComboBox.hpp"

#include "platform/tavi2/GLComboBox2.hpp"
#include "studio/components/PropBrowserDelegate.hpp"

namespace KITE::PropertyBrowserWidgetsNS {

ObjectComboBox::ObjectComboBox(const PropBrowserProperty& record, PropBrowserDelegate* delegate)
    : PropBrowserEditor(record), combo(new TAVI::GLComboBox2("qt")), delegate(delegate) {
    const VELD::ImmutableObject current = this->record.getValue();
    const VELD::ImmutableClassObject currentObject =
        current.isClassObject() ? current.asClassObject() : VELD::ImmutableClassObject();
    if (delegate)
        candidates = delegate->getObjectsForComboBox(this->record);
    for (std::size_t i = 0; i < candidates.size(); ++i) {
        combo->addItem(delegate->describeForComboBox(candidates[i]));
        if (!currentObject.isNull() && candidates[i] == currentObject && initialIndex < 0)
            initialIndex = int(i);
    }
    if (this->record.property.lowerBound() == 0) {
        combo->addItem(removeItem);
        candidates.push_back(VELD::ClassObject());
    }
    combo->setCurrentIndex(current.isNull() ? -1 : initialIndex);
    if (current.isNull())
        initialIndex = -1;
}

ObjectComboBox::~ObjectComboBox() {
    release(combo);
}

TAVI::GLWidget2* ObjectComboBox::getWidget() {
    return combo;
}

void ObjectComboBox::commit() {
    const int index = combo->getCurrentIndex();
    if (index < 0 || index >= int(candidates.size()) || index == initialIndex)
        return;
    writeValue(VELD::Object(candidates[std::size_t(index)]));
}

} // namespace KITE::PropertyBrowserWidgetsNS
