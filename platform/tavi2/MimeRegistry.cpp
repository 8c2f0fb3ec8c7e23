#include "platform/tavi2/MimeRegistry.hpp"

#include <algorithm>
#include <mutex>

namespace TAVI {

namespace {

std::mutex& registryMutex() {
    static std::mutex mutex;
    return mutex;
}

std::vector<std::string>& registered() {
    static std::vector<std::string> formats;
    return formats;
}

bool isWellFormed(const std::string& format) {
    const std::size_t slash = format.find('/');
    return slash != std::string::npos && slash > 0 && slash + 1 < format.size() &&
           format.find('/', slash + 1) == std::string::npos &&
           std::none_of(format.begin(), format.end(),
                        [](char c) { return c == ' ' || c == '\t' || c == '\n'; });
}

} // namespace

bool MimeRegistry::registerMimeType(const std::string& format) {
    if (!isWellFormed(format))
        return false;
    std::lock_guard lock(registryMutex());
    auto& formats = registered();
    if (std::find(formats.begin(), formats.end(), format) == formats.end())
        formats.push_back(format);
    return true;
}

bool MimeRegistry::isRegistered(const std::string& format) {
    std::lock_guard lock(registryMutex());
    const auto& formats = registered();
    return std::find(formats.begin(), formats.end(), format) != formats.end();
}

std::vector<std::string> MimeRegistry::getRegisteredTypes() {
    std::lock_guard lock(registryMutex());
    return registered();
}

} // namespace TAVI
