#include "platform/tavi/TypedException.hpp"

namespace TAVI {

TypedException::TypedException(SimpleErrorDescription description)
    : Exception(description.what()), errorDescription(std::move(description)) {}

TypedException::TypedException(CodeLocation location, std::string message)
    : TypedException(SimpleErrorDescription(std::move(location), std::move(message))) {}

TypedException::~TypedException() = default;

} // namespace TAVI
