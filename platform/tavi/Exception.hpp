#pragma once

#include "platform/tavi/tavi_util_export.hpp"

#include <exception>
#include <string>

namespace TAVI {

// Base of the toolkit's exceptions: a message.
class TAVI_UTIL_EXPORT Exception : public std::exception {
public:
    explicit Exception(std::string message);
    ~Exception() override;

    const char* what() const noexcept override;
    const std::string& getMessage() const { return message; }

private:
    std::string message;
};

} // namespace TAVI
