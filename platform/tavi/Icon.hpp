#pragma once

#include "platform/tavi/tavi_util_export.hpp"

#include <string>
#include <vector>

namespace TAVI {

// An icon: image files, each for a mode (0 normal, 1 disabled, 2 active,
// 3 selected) and a state (0 off, 1 on). Valid when at least one of its files
// can be read as an image. Equal icons name the same files for the same modes
// and states.
class TAVI_UTIL_EXPORT Icon {
public:
    struct Entry {
        std::string file;
        int mode = 0;
        int state = 0;
        bool operator==(const Entry&) const = default;
    };

    Icon() = default;
    Icon(const std::string& file, int mode, int state);

    void addFile(const std::string& file, int mode, int state);

    bool isValid() const;
    bool isNull() const { return entries.empty(); }
    const std::vector<Entry>& getEntries() const { return entries; }
    // The file for a mode and state, falling back to the normal, off file, then any file.
    std::string getFile(int mode = 0, int state = 0) const;

    bool operator==(const Icon& other) const { return entries == other.entries; }

private:
    std::vector<Entry> entries;
};

} // namespace TAVI
