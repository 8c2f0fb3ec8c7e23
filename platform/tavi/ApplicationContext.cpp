#include "platform/tavi/ApplicationContext.hpp"

#include <mutex>

namespace TAVI {

namespace {
std::mutex& rootMutex() {
    static std::mutex m;
    return m;
}
} // namespace

ApplicationContext& ApplicationContext::instance() {
    static ApplicationContext context;
    return context;
}

ApplicationContext::ApplicationContext() : root(defaultRootDirectory()) {}

std::string ApplicationContext::defaultRootDirectory() {
    return KITE_DEFAULT_ROOT_DIRECTORY;
}

std::string ApplicationContext::getRootDirectory() const {
    std::lock_guard lock(rootMutex());
    return root;
}

void ApplicationContext::setRootDirectory(const std::string& path) {
    std::string cleaned = path.empty() ? defaultRootDirectory() : path;
    // Callers append "/toolbox/...": a trailing separator would double it.
    while (cleaned.size() > 1 && cleaned.back() == '/')
        cleaned.pop_back();
    std::lock_guard lock(rootMutex());
    root = std::move(cleaned);
}

} // namespace TAVI
