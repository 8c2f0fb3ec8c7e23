// Private to utils/: included only by its own sources and tests; not installed.
#pragma once

// The filters' process-wide caches.

#include "utils/FastStringLess.hpp"
#include "utils/XMLFilterBase.hpp"

#include <cstdint>
#include <map>
#include <string>
#include <unordered_map>
#include <vector>

namespace KITE::Util {

// Made on first use and destroyed when the module unloads; nothing is ever evicted, only
// emptied all at once by XMLFilterBase::clearCacheMaps(). Unsynchronised: filters run on the
// user-interface thread.
struct FilterCaches {
    // XMLFilterMatch::execute: instance key;class;allowReadOnly -> attributes.
    std::unordered_map<std::string, VELD::ImmutableSequence<VELD::ImmutableProperty>> attributes;
    // XMLFilterNamedTypeMatch::buildFilter: instance key -> rule list.
    std::unordered_map<std::string, XMLFilterBase::RuleList> rules;
    // buildClassList: qualified name -> the class and its ancestors.
    std::unordered_map<std::string, std::vector<VELD::ImmutableClass>> classLists;
    // XMLFilterNamedTypeMatch::doTestName: instance key;name -> decision.
    std::map<std::string, bool, FastStringLess> names;

    // Changes whenever the caches are emptied or made anew, so that shortcuts into them can
    // tell they are stale.
    std::uint64_t generation;

    FilterCaches();
    static FilterCaches& instance();
    void clear();
};

} // namespace KITE::Util
