#include "studio/components/GenericElementDescriber_p.hpp"

#include "platform/host/HostFunctions.hpp"
#include "platform/veld/Asserter.hpp"
#include "platform/veld/Object.hpp"
#include "platform/zu/zuPrint.hpp"

namespace KITE {

ElementName readElementName(const VELD::ImmutableClassObject& object,
                            const VELD::ImmutableClass& metaClass) {
    ElementName result;
    VELD_ASSERT(metaClass.isValid(), "object has no metaclass");
    // Views ask for names while painting: a broken object must not take the view down.
    try {
        const VELD::ImmutableProperty property = metaClass.getOwnedAttributeByName("name");
        if (property.isValid()) {
            const VELD::ImmutableObject value = object.getOne(property);
            if (!value.isNull()) {
                result.text = value.toString();
                result.read = true;
                result.typeName = property.getType().getQualifiedName();
            }
        }
    } catch (...) {
        if (zuIsSignalThread())
            zuPrintf("DefaultElementDescriber::visit::exception caught\n");
    }
    return result;
}

} // namespace KITE
