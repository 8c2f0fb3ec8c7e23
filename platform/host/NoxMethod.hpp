#pragma once

#include <string>

namespace NOX {

// Method attributes, combined with |.
enum NoxMethodAttribute : unsigned {
    NoxPublic = 0,
    NoxStatic = 1,      // no implicit object argument
    NoxConstructor = 2, // makes the object of a new host object
    NoxHidden = 4,      // callable, but not listed
};

// The name, attributes and description of one method of a host class.
class NoxMethod {
public:
    NoxMethod(std::string name, unsigned attributes, std::string description)
        : m_name(std::move(name)), m_attributes(attributes), m_description(std::move(description)) {
    }

    const std::string& name() const { return m_name; }
    unsigned attributes() const { return m_attributes; }
    const std::string& description() const { return m_description; }
    bool isStatic() const { return m_attributes & (NoxStatic | NoxConstructor); }
    bool isConstructor() const { return m_attributes & NoxConstructor; }

private:
    std::string m_name;
    unsigned m_attributes;
    std::string m_description;
};

} // namespace NOX
