#pragma once

#include "platform/host/host_export.hpp"

#include <string>
#include <vector>

class vxArray;

namespace NOX {

// One host type of a method signature, parsed from its name: "void", "logical scalar",
// "int32 scalar", "double scalar", "char", "char vector", "any", a class name such as
// "KITE.Editor", or a class name followed by " vector".
class HOST_EXPORT HostType {
public:
    enum Kind { Void, Logical, Int32, Double, Char, Any, Object };

    // Throws std::invalid_argument for an empty or malformed name.
    static HostType parse(const std::string& name);

    Kind kind() const { return typeKind; }
    const std::string& className() const { return objectClassName; } // Object only
    bool isVector() const { return vectorType; }
    const std::string& name() const { return typeName; }

    // Whether a host value can be passed for this type.
    bool accepts(const vxArray* value) const;

private:
    Kind typeKind = Void;
    bool vectorType = false;
    std::string objectClassName;
    std::string typeName;
};

// A method's result type and the types of its explicit arguments (after the object itself).
class HOST_EXPORT Signature {
public:
    HostType result;
    std::vector<HostType> arguments;

    bool accepts(const std::vector<const vxArray*>& values) const;
    // "logical scalar (KITE.ImmutableDiagramElement)"
    std::string toString() const;
};

} // namespace NOX
