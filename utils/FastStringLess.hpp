#pragma once

#include "utils/kite_utils_export.hpp"

#include <string>

namespace KITE::Util {

// Orders strings shorter first, equal lengths character by character: cheaper than the
// lexical order for the long, shared-prefix keys of the name-decision cache.
struct KITE_UTILS_EXPORT FastStringLess {
    bool operator()(const std::string& a, const std::string& b) const {
        if (a.size() != b.size())
            return a.size() < b.size();
        return a.compare(b) < 0;
    }
};

} // namespace KITE::Util
