#include "studio/components/ElementSetDescriptionBase.hpp"

namespace KITE {

ElementSetDescriptionBase::ElementSetDescriptionBase(Table* dispatchTable) : table(dispatchTable) {}

ElementSetDescriptionBase::~ElementSetDescriptionBase() = default;

void ElementSetDescriptionBase::setDescription(const VELD::ClassObject& object,
                                               const std::string& text) {
    if (!registered)
        registerDescribableTypes();
    table->dispatch(*this, object, text);
}

void ElementSetDescriptionBase::registerDescribableTypes() {
    internalRegisterDescribableTypes();
    registered = true;
}

} // namespace KITE
