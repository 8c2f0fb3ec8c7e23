#pragma once

#include <string>
#include <vector>

class vxArray;

namespace NOX {

// One host type of a method signature, parsed from its name: "void", "logical scalar",
// "int32 scalar", "double scalar", "char", "char vector", "any", a class name such as
// "KITE.Editor", or a class name followed by " vector".
class HostType {
public:
    enum Kind { Void, Logical, Int32, Double, Char, Any, Object };

    // Throws std::invalid_argument for an empty or malformed name.
    static HostType parse(const std::string& name);

    Kind kind() const { return m_kind; }
    const std::string& className() const { return m_className; } // Object only
    bool isVector() const { return m_vector; }
    const std::string& name() const { return m_name; }

    // Whether a host value can be passed for this type.
    bool accepts(const vxArray* value) const;

private:
    Kind m_kind = Void;
    bool m_vector = false;
    std::string m_className;
    std::string m_name;
};

// A method's result type and the types of its explicit arguments (after the object itself).
class Signature {
public:
    HostType result;
    std::vector<HostType> arguments;

    bool accepts(const std::vector<const vxArray*>& values) const;
    // "logical scalar (KITE.ImmutableDiagramElement)"
    std::string toString() const;
};

} // namespace NOX
