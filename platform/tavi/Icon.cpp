#include "platform/tavi/Icon.hpp"

#include "platform/tavi/Pixmap.hpp"

namespace TAVI {

Icon::Icon(const std::string& file, int mode, int state) {
    addFile(file, mode, state);
}

void Icon::addFile(const std::string& file, int mode, int state) {
    if (file.empty())
        return;
    for (Entry& entry : entries) {
        if (entry.mode == mode && entry.state == state) {
            entry.file = file;
            return;
        }
    }
    entries.push_back(Entry{file, mode, state});
}

bool Icon::isValid() const {
    for (const Entry& entry : entries)
        if (!Pixmap(entry.file).isNull())
            return true;
    return false;
}

std::string Icon::getFile(int mode, int state) const {
    for (const Entry& entry : entries)
        if (entry.mode == mode && entry.state == state)
            return entry.file;
    for (const Entry& entry : entries)
        if (entry.mode == 0 && entry.state == 0)
            return entry.file;
    return entries.empty() ? std::string() : entries.front().file;
}

} // namespace TAVI
