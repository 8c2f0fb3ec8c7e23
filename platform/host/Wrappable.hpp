#pragma once

#include "platform/host/host_export.hpp"

namespace NOX {

// Base of library classes whose objects scripts can hold. Such an object reports the full name
// of its host class ("KITE.Editor"), which decides the class of the host object made for it.
class HOST_EXPORT Wrappable {
public:
    virtual ~Wrappable() = default;
    virtual const char* getFullyQualifiedNoxTypeName() const = 0;
};

} // namespace NOX

namespace nox::factory::full {
using Wrappable = ::NOX::Wrappable;
}
