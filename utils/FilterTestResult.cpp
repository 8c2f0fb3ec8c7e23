#include "utils/FilterTestResult.hpp"

#include "platform/zu/zuAssert.hpp"

namespace KITE::Util {

void FilterTestResult::add(std::string typeName, std::string method, std::string message,
                           std::string file, int line, bool flag) {
    // Sources are named as the repository names them, so a history reads the same in any build.
    entries.push_back({std::move(typeName), std::move(method), std::move(message),
                       zuRepositoryPath(file), line, flag});
}

} // namespace KITE::Util
