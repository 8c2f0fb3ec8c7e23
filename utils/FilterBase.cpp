#include "utils/FilterBase.hpp"

namespace KITE::Util {

FilterBase::~FilterBase() = default;

VELD::Sequence<VELD::ImmutableClass>
FilterBase::executePropertyFilter(const VELD::ImmutableClass&, const VELD::ImmutableProperty&,
                                  const VELD::Sequence<VELD::ImmutableClass>& classes,
                                  const std::string&) {
    return classes;
}

VELD::ImmutableSequence<VELD::ImmutableObject>
FilterBase::executePropertyFilter(const VELD::ImmutableClass&, const VELD::ImmutableProperty&,
                                  const VELD::ImmutableSequence<VELD::ImmutableObject>& values,
                                  const std::string&) {
    return values;
}

} // namespace KITE::Util
