#include "studio/components/ElementIsEditableObjectBase.hpp"

namespace KITE {

ElementIsEditableObjectBase::ElementIsEditableObjectBase(Table* dispatchTable)
    : table(dispatchTable) {}

ElementIsEditableObjectBase::~ElementIsEditableObjectBase() = default;

bool ElementIsEditableObjectBase::isEditable(const VELD::ImmutableClassObject& object,
                                             unsigned int flag) {
    if (!registered)
        registerDescribableTypes();
    return table->dispatch(*this, object, flag);
}

void ElementIsEditableObjectBase::registerDescribableTypes() {
    internalRegisterDescribableTypes();
    registered = true;
}

} // namespace KITE
