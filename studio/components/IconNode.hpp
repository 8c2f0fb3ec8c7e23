#pragma once

#include "platform/veld/Meta.hpp"
#include "studio/components/kite_presentation_export.hpp"

#include <functional>
#include <map>
#include <set>
#include <string>

namespace KITE {

// One icon of the icon controller: the class it was registered for (null in the default
// node), the icon file path that views use as the icon's key, and the icon's registered name.
struct KITE_PRESENTATION_EXPORT IconNode {
    VELD::ImmutableType type;
    std::string name; // icon file path
    std::string tag;  // registered name, such as "KITE:Diagram"

    bool operator==(const IconNode& o) const {
        return type == o.type && name == o.name && tag == o.tag;
    }
};

// Orders kernel types by the identity of the kernel object.
struct KITE_PRESENTATION_EXPORT TypeIdentityLess {
    bool operator()(const VELD::ImmutableType& a, const VELD::ImmutableType& b) const {
        return std::less<const void*>()(a.core(), b.core());
    }
};

using IconStorageMap = std::map<VELD::ImmutableType, IconNode, TypeIdentityLess>;
using VisitedTypeSet = std::set<VELD::ImmutableType, TypeIdentityLess>;

} // namespace KITE
