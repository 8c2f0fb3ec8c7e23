#pragma once

#include "platform/host/host_export.hpp"

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
class HOST_EXPORT NoxMethod {
public:
    NoxMethod(std::string name, unsigned attributes, std::string description)
        : methodName(std::move(name)), attributeFlags(attributes),
          descriptionText(std::move(description)) {}

    const std::string& name() const { return methodName; }
    unsigned attributes() const { return attributeFlags; }
    const std::string& description() const { return descriptionText; }
    bool isStatic() const { return attributeFlags & (NoxStatic | NoxConstructor); }
    bool isConstructor() const { return attributeFlags & NoxConstructor; }

private:
    std::string methodName;
    unsigned attributeFlags;
    std::string descriptionText;
};

} // namespace NOX
