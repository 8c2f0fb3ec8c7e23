#pragma once

#include "platform/tavi/tavi_util_export.hpp"

#include <string>

namespace TAVI {

// The application's context service: facts about the running installation.
// The root directory is the installation root under which resources are looked
// up ("<root>/toolbox/shared/orbis/resources/..."). Unless the program sets
// another, it is the installed resources (share/kite/resources beside the
// library or program, wherever the installation lies), in a build tree the
// source tree's resources/ folder.
class TAVI_UTIL_EXPORT ApplicationContext {
public:
    static ApplicationContext& instance();

    std::string getRootDirectory() const;
    // An empty path restores the default.
    void setRootDirectory(const std::string& path);
    static std::string defaultRootDirectory();

private:
    ApplicationContext();
    std::string root;
};

} // namespace TAVI
