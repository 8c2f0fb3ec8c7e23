// Private to studio/components/: included only by its own sources and tests; not installed.
#pragma once

// What the default describer and editability test share.

#include "platform/veld/Meta.hpp"

#include <string>

namespace KITE {

// The object's own "name" attribute as read by the default element visitors.
struct ElementName {
    std::string text;     // the value's text; empty when none was read
    bool read = false;    // a value was read
    std::string typeName; // the qualified name of the attribute's type, when the value was read
};

// Reads the object's owned (not inherited) "name" attribute. An object without a meta-class is
// reported through the kernel's asserter ("object has no metaclass"); a kernel exception while
// reading is caught and, on the host's thread, printed; what was read so far is returned.
ElementName readElementName(const VELD::ImmutableClassObject& object,
                            const VELD::ImmutableClass& metaClass);

} // namespace KITE
