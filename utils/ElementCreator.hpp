#pragma once

#include "platform/veld/ClassObject.hpp"
#include "platform/veld/Meta.hpp"
#include "utils/kite_utils_export.hpp"

#include <string>

namespace KITE {

// Makes model objects of a class inside a parent object, named after their class. Has no
// state; copy it freely.
class KITE_UTILS_EXPORT GenericElementCreator {
public:
    // A new object of cls, added to property of parent (which must hold what it contains).
    // When cls has a "name" property the object is named after the class's short name and a
    // number: the number of the parent's contained objects of exactly cls plus one, or the
    // first number after it that no object of the parent already goes by ("Block3").
    // The caller opens the transaction. An invalid parent, an object that cannot be made and a
    // property that does not contain it are reported through the kernel's asserter and give
    // a null object; nothing is left in the model then. Other misuse the kernel refuses
    // (a property of another class, say) throws VELD::Exception.
    VELD::ClassObject createElement(VELD::ClassObject parent, VELD::ImmutableProperty property,
                                    VELD::ImmutableClass cls) const;
};

namespace Util {

// The object's "name": "unnamed" when its class has no such property, "anonymous" when the
// name is unset or empty. An invalid object, or one without a valid class, is reported through
// the kernel's asserter and gives "".
KITE_UTILS_EXPORT std::string extractObjectName(const VELD::ImmutableClassObject& object);

// The host installation root, read from the application context on the first call that finds
// it still empty and kept from then on.
KITE_UTILS_EXPORT const std::string& fetchQuasarRoot();

} // namespace Util

} // namespace KITE
