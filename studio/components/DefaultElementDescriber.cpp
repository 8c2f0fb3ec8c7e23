#include "studio/components/DefaultElementDescriber.hpp"

#include "studio/components/GenericElementDescriber_p.hpp"

namespace KITE {

DefaultElementDescriber::DefaultElementDescriber()
    : ElementDescriberBase(Table::forClass<DefaultElementDescriber>()) {}

DefaultElementDescriber::DefaultElementDescriber(Table* table) : ElementDescriberBase(table) {}

DefaultElementDescriber::~DefaultElementDescriber() = default;

void DefaultElementDescriber::internalRegisterDescribableTypes() {
    Table::Handler generic = Table::member(&DefaultElementDescriber::visit);
    getDispatchTable()->registerHandler(VELD::ImmutableClassObject::MetaClass(), generic);
    getDispatchTable()->setDefaultHandler(generic);
}

std::string DefaultElementDescriber::visit(const VELD::ClassObject& object, unsigned int nameOnly) {
    const VELD::ImmutableClass metaClass = object.getMetaClass();
    const ElementName name = readElementName(object, metaClass);
    if (name.read && name.text.empty())
        return ":" + name.typeName;
    if (nameOnly != 0)
        return name.text;
    return (name.text.empty() ? std::string("<No Name>") : name.text) + " (" +
           metaClass.getQualifiedName() + ")";
}

} // namespace KITE
