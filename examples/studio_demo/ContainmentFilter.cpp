#include "examples/studio_demo/ContainmentFilter.hpp"

namespace StudioDemo {

VELD::ImmutableSequence<VELD::ImmutableProperty>
ContainmentFilter::execute(const VELD::ImmutableClass& cls, const std::string&) {
    return VELD::MakeSequence::filter<VELD::ImmutableProperty>(
        cls.getAllAttributes(), [](const VELD::ImmutableProperty& property) {
            return property.isComposite() && !property.isDerived();
        });
}

} // namespace StudioDemo
