#include "platform/tavi/Exception.hpp"

namespace TAVI {

Exception::Exception(std::string text) : message(std::move(text)) {}
Exception::~Exception() = default;

const char* Exception::what() const noexcept {
    return message.c_str();
}

} // namespace TAVI
