#pragma once

#include "platform/veld/Exception.hpp"
#include "platform/veld/io/veld_io_export.hpp"

#include <cstdint>
#include <string>

namespace VELD {

// A model or meta-model file that cannot be read or written. what() reads
// "file:line:column: message" (line and column are 0 when no position applies, e.g. a save
// that fails), so that it can be shown as is; the parts stay available for tools.
class VELD_IO_EXPORT FileError : public Exception {
public:
    FileError(std::string file, std::int64_t line, std::int64_t column, std::string message);

    const std::string& file() const { return fileName; }
    std::int64_t line() const { return lineNumber; }
    std::int64_t column() const { return columnNumber; }
    const std::string& message() const { return description; }

private:
    std::string fileName;
    std::int64_t lineNumber;
    std::int64_t columnNumber;
    std::string description;
};

} // namespace VELD
