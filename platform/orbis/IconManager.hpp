#pragma once

#include "platform/orbis/orbis_export.hpp"
#include "platform/tavi/Icon.hpp"

#include <map>
#include <string>
#include <vector>

namespace PLATFORM {

// The process-wide table of icons by tag ("KITE:Block"): each tag names one
// TAVI::Icon made of image files for modes and states. Made on first use,
// lives until the process ends; user-interface thread only.
class ORBIS_EXPORT IconManager {
public:
    static IconManager* getInstance();

    // Adds a file to the icon of the tag, making the icon on first use. The
    // same file for the same mode and state is not added twice; an empty file name adds nothing.
    void addFileToIcon(const std::string& tag, const std::string& file, int mode, int state);
    // The icon of the tag; an empty (invalid) icon when the tag is unknown.
    TAVI::Icon getIcon(const std::string& tag) const;
    bool hasIcon(const std::string& tag) const;
    // False when the tag was unknown.
    bool removeIcon(const std::string& tag);
    // The tags, in ascending order.
    std::vector<std::string> getTags() const;

    IconManager(const IconManager&) = delete;
    IconManager& operator=(const IconManager&) = delete;

private:
    IconManager() = default;
    std::map<std::string, TAVI::Icon> icons;
};

} // namespace PLATFORM
