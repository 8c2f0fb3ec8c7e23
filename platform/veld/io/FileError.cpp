#include "platform/veld/io/FileError.hpp"

namespace VELD {

namespace {
std::string describe(const std::string& file, std::int64_t line, std::int64_t column,
                     const std::string& message) {
    if (line <= 0)
        return file + ": " + message;
    return file + ":" + std::to_string(line) + ":" + std::to_string(column) + ": " + message;
}
} // namespace

FileError::FileError(std::string file, std::int64_t line, std::int64_t column, std::string message)
    : Exception(describe(file, line, column, message)), fileName(std::move(file)), lineNumber(line),
      columnNumber(column), description(std::move(message)) {}

} // namespace VELD
