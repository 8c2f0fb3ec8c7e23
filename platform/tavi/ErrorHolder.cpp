#include "platform/tavi/ErrorHolder.hpp"

namespace TAVI {

void ErrorHolder::setError(const ErrorDescription& description) {
    error = description.clone();
}

void ErrorHolder::setError(std::shared_ptr<const ErrorDescription> description) {
    error = std::move(description);
}

std::string ErrorHolder::id() const {
    return error ? error->id() : std::string();
}
std::uint32_t ErrorHolder::code() const {
    return error ? error->code() : 0;
}
std::string ErrorHolder::what() const {
    return error ? error->what() : std::string();
}
std::string ErrorHolder::description() const {
    return error ? error->description() : std::string();
}
CodeLocation ErrorHolder::location() const {
    return error ? error->location() : CodeLocation();
}

} // namespace TAVI
