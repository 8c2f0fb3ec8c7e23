#pragma once

#include "platform/veld/Exception.hpp"

#include <cstdint>
#include <string>

namespace VELD {

// A model or meta-model file that cannot be read or written. what() reads
// "file:line:column: message" (line and column are 0 when no position applies, e.g. a save
// that fails), so that it can be shown as is; the parts stay available for tools.
class FileError : public Exception {
public:
    FileError(std::string file, std::int64_t line, std::int64_t column, std::string message);

    const std::string& file() const { return file_; }
    std::int64_t line() const { return line_; }
    std::int64_t column() const { return column_; }
    const std::string& message() const { return message_; }

private:
    std::string file_;
    std::int64_t line_;
    std::int64_t column_;
    std::string message_;
};

} // namespace VELD
