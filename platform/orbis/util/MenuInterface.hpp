#pragma once

#include "platform/orbis/orbis_export.hpp"

#include <string>
#include <utility>

namespace PLATFORM::Util {

// How a domain's menus are built: the name of the host function that builds
// them and a qualifier the function is given. An empty function name means
// the domain has no menus of its own.
struct ORBIS_EXPORT MenuInterface {
    MenuInterface() = default;
    MenuInterface(std::string functionName, std::string qualifier)
        : functionName(std::move(functionName)), qualifier(std::move(qualifier)) {}

    const std::string& getFunctionName() const { return functionName; }
    const std::string& getQualifier() const { return qualifier; }
    bool isEmpty() const { return functionName.empty(); }
    bool operator==(const MenuInterface&) const = default;

    std::string functionName;
    std::string qualifier;
};

} // namespace PLATFORM::Util
