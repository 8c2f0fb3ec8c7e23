#pragma once

#include "platform/tavi/tavi_util_export.hpp"

#include <boost/checked_delete.hpp>

#include <functional>
#include <vector>

namespace TAVI {

// Keeps process-wide objects made on first use (dispatch tables, caches) and
// destroys them when the module unloads: at unload() or, failing that, when
// the process ends. Objects go in the reverse order of their handing over, so
// one may still use those made before it.
class TAVI_UTIL_EXPORT ModuleObjectDeleter {
public:
    static ModuleObjectDeleter& instance();

    template <typename T> T* add(T* object) {
        if (object)
            addDeleter([object] { boost::checked_delete(object); });
        return object;
    }
    void addDeleter(std::function<void()> deleter);

    // Destroys everything handed over so far. Objects added while this runs
    // (by a destructor) are destroyed too.
    void unload();
    std::size_t size() const { return deleters.size(); }

    ~ModuleObjectDeleter();

private:
    ModuleObjectDeleter() = default;
    std::vector<std::function<void()>> deleters;
};

} // namespace TAVI
