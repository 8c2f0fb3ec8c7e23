#include "studio/components/propwidgets/EnumComboBox.hpp"

#include "platform/tavi2/GLComboBox2.hpp"
#include "platform/veld/Sequence.hpp"

namespace KITE::PropertyBrowserWidgetsNS {

EnumComboBox::EnumComboBox(const PropBrowserProperty& record)
    : PropBrowserEditor(record), combo(new TAVI::GLComboBox2("qt")) {
    const VELD::ImmutableEnumeration type(this->record.property.getType());
    const std::string typeName = type.getQualifiedNameWithSeperator(".");
    const std::string current = this->record.getValueAsString();
    int selected = 0;
    for (const VELD::ImmutableEnumerationLiteral& literal : type.getOwnedLiterals()) {
        const std::string name = literal.getName();
        if (name == current)
            selected = combo->getCount();
        combo->addItem(name);
        values.push_back(VELD::ValueObjectFactory::createFromString(typeName, name));
    }
    if (combo->getCount() > 0)
        combo->setCurrentIndex(selected);
}

EnumComboBox::~EnumComboBox() {
    release(combo);
}

TAVI::GLWidget2* EnumComboBox::getWidget() {
    return combo;
}

void EnumComboBox::commit() {
    const int index = combo->getCurrentIndex();
    if (index < 0 || index >= int(values.size()))
        return;
    writeValue(VELD::Object(values[std::size_t(index)]));
}

} // namespace KITE::PropertyBrowserWidgetsNS
