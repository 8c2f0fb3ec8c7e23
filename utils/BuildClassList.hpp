#pragma once

#include "platform/veld/Meta.hpp"
#include "utils/kite_utils_export.hpp"

#include <vector>

namespace KITE::Util {

// Replaces out with cls followed by all its ancestors, each once, ordered by generation: the
// class, then its superclasses, then theirs, each generation in depth-first order of
// getSuperClasses. Results are cached by qualified name until clearCacheMaps(); an invalid
// class gives an empty list.
KITE_UTILS_EXPORT void buildClassList(const VELD::ImmutableClass& cls,
                                      std::vector<VELD::ImmutableClass>& out);

} // namespace KITE::Util
