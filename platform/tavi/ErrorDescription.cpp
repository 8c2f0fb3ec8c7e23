#include "platform/tavi/ErrorDescription.hpp"

namespace TAVI {

ErrorDescription::ErrorDescription(CodeLocation location) : codeLocation(std::move(location)) {}

ErrorDescription::~ErrorDescription() = default;

std::uint32_t ErrorDescription::code() const {
    return 0;
}

std::string ErrorDescription::description() const {
    std::string text;
    const std::string errorId = id();
    if (!errorId.empty())
        text = errorId + ": ";
    text += what();
    if (codeLocation.isValid())
        text += " (" + codeLocation.toString() + ")";
    return text;
}

} // namespace TAVI
