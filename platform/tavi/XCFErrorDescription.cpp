#include "platform/tavi/XCFErrorDescription.hpp"

#include "platform/zu/zuMessages.hpp"

namespace TAVI {

XCFErrorDescription::XCFErrorDescription(CodeLocation location, std::string id, std::uint32_t code,
                                         std::string argument)
    : ErrorDescription(std::move(location)), messageId(std::move(id)),
      messageCode(code), args{std::move(argument)} {}

XCFErrorDescription::XCFErrorDescription(CodeLocation location, std::string id, std::uint32_t code,
                                         std::vector<std::string> arguments)
    : ErrorDescription(std::move(location)), messageId(std::move(id)), messageCode(code),
      args(std::move(arguments)) {}

std::string XCFErrorDescription::id() const {
    return messageId;
}
std::uint32_t XCFErrorDescription::code() const {
    return messageCode;
}

std::string XCFErrorDescription::what() const {
    return zuFormatMessage(messageCode, messageId, args);
}

std::unique_ptr<ErrorDescription> XCFErrorDescription::clone() const {
    return std::make_unique<XCFErrorDescription>(*this);
}

} // namespace TAVI
