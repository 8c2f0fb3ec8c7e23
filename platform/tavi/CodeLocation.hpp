#pragma once

#include "platform/tavi/tavi_util_export.hpp"

#include <string>
#include <string_view>

namespace TAVI {

// Where an error was raised: a source path (made relative to the repository
// when it is the compiler's path) and a line. TAVI_HERE gives the current one.
class TAVI_UTIL_EXPORT CodeLocation {
public:
    CodeLocation() = default;
    CodeLocation(std::string_view sourcePath, int line);

    const std::string& getSourcePath() const { return sourcePath; }
    int getLine() const { return line; }
    bool isValid() const { return !sourcePath.empty(); }

    // "path:line", or an empty string for an unknown location.
    std::string toString() const;

    bool operator==(const CodeLocation&) const = default;

private:
    std::string sourcePath;
    int line = 0;
};

} // namespace TAVI

#define TAVI_HERE ::TAVI::CodeLocation(__FILE__, __LINE__)
