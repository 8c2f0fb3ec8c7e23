// Private to application/: included only by its own sources and tests; not installed.
#pragma once

#include "platform/tavi/GHash.hpp"
#include "platform/veld/Meta.hpp"

namespace KITE {

// The two relations of a rule set: node class -> edge class, several entries per node class.
class EdgeCreationRuleSetPrivate {
public:
    using Relation = TAVI::GHash<VELD::ImmutableClass, VELD::ImmutableClass>;

    static bool contains(const Relation& relation, const VELD::ImmutableClass& node,
                         const VELD::ImmutableClass& edge);

    Relation sources;
    Relation destinations;
};

} // namespace KITE
