#pragma once

#include "platform/host/HostObject.hpp"
#include "platform/host/host_export.hpp"

#include <cstddef>
#include <memory>
#include <string>

namespace NOX {

// Which host object stands for which library object. A library object has at most one host
// object; a host object holds one count on its library object. Host thread only.
class HOST_EXPORT BindingRegistry {
public:
    // The host object of a counted library object, made (of the named class) when it has none.
    // Null object: an empty reference. Raises "QUASAR:nox:undefinedClass" for an unknown class.
    template <class T> static HostObjectRef announce(T* object, const std::string& className) {
        if (!object)
            return {};
        if (HostObject* known = find(dynamic_cast<const void*>(object)))
            return HostObjectRef(known);
        return bind(std::make_unique<ReferencedInstance<T>>(object), className);
    }
    // A host object holding a copy of a library value (a handle); never shared.
    template <class V> static HostObjectRef announceValue(V value, const std::string& className) {
        return bind(std::make_unique<ValueInstance<V>>(std::move(value)), className);
    }
    // Binds a host object being constructed to the library object its constructor made, and
    // takes one count on it. Refused (false, with a host assertion) when the host object is
    // already bound or the library object already has a host object.
    template <class T> static bool announceForConstructor(HostObject* host, T* object) {
        return bindConstructed(host, std::make_unique<ReferencedInstance<T>>(object));
    }
    // Forgets the host object's binding (its library object is left to the caller).
    static void remove(HostObject* host);

    // The host object bound to a library object's identity; null when none.
    static HostObject* find(const void* identity);
    static std::size_t size();

private:
    static HostObjectRef bind(std::unique_ptr<Instance> instance, const std::string& className);
    static bool bindConstructed(HostObject* host, std::unique_ptr<Instance> instance);
};

} // namespace NOX
