#include "platform/tavi/CodeLocation.hpp"

#include "platform/zu/zuAssert.hpp"

namespace TAVI {

CodeLocation::CodeLocation(std::string_view path, int lineNumber)
    : sourcePath(zuRepositoryPath(path)), line(lineNumber) {}

std::string CodeLocation::toString() const {
    if (sourcePath.empty())
        return {};
    return sourcePath + ":" + std::to_string(line);
}

} // namespace TAVI
