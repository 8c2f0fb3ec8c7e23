#include "studio/components/DefaultElementSetDescription.hpp"

#include "platform/veld/Meta.hpp"
#include "platform/veld/Object.hpp"

namespace KITE {

DefaultElementSetDescription::DefaultElementSetDescription()
    : ElementSetDescriptionBase(Table::forClass<DefaultElementSetDescription>()) {}

DefaultElementSetDescription::DefaultElementSetDescription(Table* table)
    : ElementSetDescriptionBase(table) {}

DefaultElementSetDescription::~DefaultElementSetDescription() = default;

void DefaultElementSetDescription::internalRegisterDescribableTypes() {
    Table::Handler generic = Table::member(&DefaultElementSetDescription::visit);
    getDispatchTable()->registerHandler(VELD::ImmutableClassObject::MetaClass(), generic);
    getDispatchTable()->setDefaultHandler(generic);
}

void DefaultElementSetDescription::visit(const VELD::ClassObject& object, const std::string& text) {
    const VELD::ImmutableProperty property = object.getMetaClass().getAttributeByName("name");
    if (!property.isValid())
        return;
    // The caller's transaction applies; kernel exceptions are the caller's to handle.
    object.setOrAdd(property, VELD::ValueObjectFactory::createFromString(
                                  property.getType().getQualifiedName(), text));
}

} // namespace KITE
