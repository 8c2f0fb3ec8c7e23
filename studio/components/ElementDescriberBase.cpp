#include "studio/components/ElementDescriberBase.hpp"

namespace KITE {

ElementDescriberBase::ElementDescriberBase(Table* dispatchTable) : table(dispatchTable) {}

ElementDescriberBase::~ElementDescriberBase() = default;

std::string ElementDescriberBase::describe(const VELD::ImmutableClassObject& object,
                                           unsigned int nameOnly) {
    if (!registered)
        registerDescribableTypes();
    return table->dispatch(*this, object, nameOnly);
}

void ElementDescriberBase::registerDescribableTypes() {
    internalRegisterDescribableTypes();
    registered = true;
}

} // namespace KITE
