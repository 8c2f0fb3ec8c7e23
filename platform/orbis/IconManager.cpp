#include "platform/orbis/IconManager.hpp"

#include <algorithm>

namespace PLATFORM {

IconManager* IconManager::getInstance() {
    static IconManager* manager = new IconManager;
    return manager;
}

void IconManager::addFileToIcon(const std::string& tag, const std::string& file, int mode,
                                int state) {
    // An icon takes no empty file name: a tag given only that would be listed with no icon.
    if (file.empty())
        return;
    TAVI::Icon& icon = icons[tag];
    const TAVI::Icon::Entry entry{file, mode, state};
    const auto& entries = icon.getEntries();
    // Components register their icons each time a studio opens.
    if (std::find(entries.begin(), entries.end(), entry) == entries.end())
        icon.addFile(file, mode, state);
}

TAVI::Icon IconManager::getIcon(const std::string& tag) const {
    const auto it = icons.find(tag);
    return it == icons.end() ? TAVI::Icon() : it->second;
}

bool IconManager::hasIcon(const std::string& tag) const {
    return icons.count(tag) != 0;
}

bool IconManager::removeIcon(const std::string& tag) {
    return icons.erase(tag) != 0;
}

std::vector<std::string> IconManager::getTags() const {
    std::vector<std::string> tags;
    tags.reserve(icons.size());
    for (const auto& [tag, icon] : icons)
        tags.push_back(tag);
    return tags;
}

} // namespace PLATFORM
