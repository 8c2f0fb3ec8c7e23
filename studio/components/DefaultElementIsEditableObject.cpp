#include "studio/components/DefaultElementIsEditableObject.hpp"

#include "studio/components/GenericElementDescriber_p.hpp"

namespace KITE {

DefaultElementIsEditableObject::DefaultElementIsEditableObject()
    : ElementIsEditableObjectBase(Table::forClass<DefaultElementIsEditableObject>()) {}

DefaultElementIsEditableObject::DefaultElementIsEditableObject(Table* table)
    : ElementIsEditableObjectBase(table) {}

DefaultElementIsEditableObject::~DefaultElementIsEditableObject() = default;

void DefaultElementIsEditableObject::internalRegisterDescribableTypes() {
    Table::Handler generic = Table::member(&DefaultElementIsEditableObject::visit);
    getDispatchTable()->registerHandler(VELD::ImmutableClassObject::MetaClass(), generic);
    getDispatchTable()->setDefaultHandler(generic);
}

bool DefaultElementIsEditableObject::visit(const VELD::ClassObject& object, unsigned int) {
    const ElementName name = readElementName(object, object.getMetaClass());
    return name.read && !name.text.empty();
}

} // namespace KITE
