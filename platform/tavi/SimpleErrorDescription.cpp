#include "platform/tavi/SimpleErrorDescription.hpp"

namespace TAVI {

SimpleErrorDescription::SimpleErrorDescription(CodeLocation location, std::string text,
                                               std::string id)
    : ErrorDescription(std::move(location)), message(std::move(text)), errorId(std::move(id)) {}

std::string SimpleErrorDescription::id() const {
    return errorId;
}
std::string SimpleErrorDescription::what() const {
    return message;
}

std::unique_ptr<ErrorDescription> SimpleErrorDescription::clone() const {
    return std::make_unique<SimpleErrorDescription>(*this);
}

} // namespace TAVI
