#include "platform/tavi/ApplicationContext.hpp"

#include <dlfcn.h>

#include <filesystem>
#include <mutex>
#include <system_error>

namespace TAVI {

namespace {
std::mutex& rootMutex() {
    static std::mutex m;
    return m;
}

// The file this code was loaded from: the shared library when kite is built shared, else the
// program that links it. Empty when the system does not say.
std::filesystem::path loadedFrom() {
    std::error_code error;
#ifdef TAVI_UTIL_STATIC_DEFINE
    return std::filesystem::read_symlink("/proc/self/exe", error);
#else
    Dl_info info{};
    if (!dladdr(reinterpret_cast<void*>(&loadedFrom), &info) || !info.dli_fname)
        return {};
    return std::filesystem::absolute(info.dli_fname, error);
#endif
}
} // namespace

ApplicationContext& ApplicationContext::instance() {
    static ApplicationContext context;
    return context;
}

ApplicationContext::ApplicationContext() : root(defaultRootDirectory()) {}

std::string ApplicationContext::defaultRootDirectory() {
    // An installed kite finds its resources beside it, wherever the installation was moved; a
    // build tree has none there and uses the source tree's; failing both, the folder the
    // installation was configured for.
    std::error_code error;
    const std::filesystem::path from = loadedFrom();
    if (!from.empty()) {
        const std::filesystem::path installed =
            (from.parent_path() / KITE_RESOURCES_FROM_BINARY).lexically_normal();
        if (std::filesystem::is_directory(installed, error))
            return installed.string();
    }
    if (std::filesystem::is_directory(KITE_SOURCE_RESOURCES, error))
        return KITE_SOURCE_RESOURCES;
    return KITE_INSTALLED_RESOURCES;
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
