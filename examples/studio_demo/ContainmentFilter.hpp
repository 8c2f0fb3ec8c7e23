#pragma once

#include "utils/FilterBase.hpp"

namespace StudioDemo {

// The model tree's attribute filter: an object's children are what it contains, through
// containments of its own class or inherited ones (a diagram's nodes come through the
// diagram classes' "contained"); references and values are left out.
class ContainmentFilter : public KITE::Util::FilterBase {
public:
    VELD::ImmutableSequence<VELD::ImmutableProperty> execute(const VELD::ImmutableClass& cls,
                                                             const std::string& mode) override;
    using FilterBase::executePropertyFilter;
};

} // namespace StudioDemo
