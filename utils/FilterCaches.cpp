#include "utils/FilterCaches_p.hpp"

#include "platform/tavi/ModuleObjectDeleter.hpp"

namespace KITE::Util {

namespace {
std::uint64_t lastGeneration = 0;
} // namespace

FilterCaches::FilterCaches() : generation(++lastGeneration) {}

FilterCaches& FilterCaches::instance() {
    static FilterCaches* caches = nullptr;
    if (!caches) {
        caches = new FilterCaches;
        // Forget the pointer with the object, so a use after unloading makes fresh caches.
        TAVI::ModuleObjectDeleter::instance().addDeleter([] {
            delete caches;
            caches = nullptr;
        });
    }
    return *caches;
}

void FilterCaches::clear() {
    attributes.clear();
    rules.clear();
    classLists.clear();
    names.clear();
    generation = ++lastGeneration;
}

} // namespace KITE::Util
