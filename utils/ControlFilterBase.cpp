#include "utils/ControlFilterBase.hpp"

namespace KITE::Util {

ControlFilterBase::ControlFilterBase(std::string familyName) : family(std::move(familyName)) {}

ControlFilterBase::~ControlFilterBase() = default;

std::string ControlFilterBase::buildUniqueFilterInstanceString() {
    return doGetOurName();
}

} // namespace KITE::Util
