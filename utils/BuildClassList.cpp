#include "utils/BuildClassList.hpp"

#include "utils/FilterCaches_p.hpp"

#include <unordered_set>
#include <utility>

namespace KITE::Util {

namespace {
void walk(const VELD::ImmutableClass& cls, int depth, std::unordered_set<std::string>& visited,
          std::vector<std::pair<int, VELD::ImmutableClass>>& recorded) {
    if (!cls.isValid())
        return;
    std::string name = cls.getQualifiedName();
    if (name.empty() || !visited.insert(std::move(name)).second)
        return;
    recorded.emplace_back(depth, cls);
    for (const VELD::ImmutableClass& super : cls.getSuperClasses())
        walk(super, depth + 1, visited, recorded);
}
} // namespace

void buildClassList(const VELD::ImmutableClass& cls, std::vector<VELD::ImmutableClass>& out) {
    out.clear();
    const std::string key = cls.getQualifiedName();
    FilterCaches& caches = FilterCaches::instance();
    if (const auto hit = caches.classLists.find(key); hit != caches.classLists.end()) {
        out = hit->second;
        return;
    }
    std::unordered_set<std::string> visited;
    std::vector<std::pair<int, VELD::ImmutableClass>> recorded;
    walk(cls, 0, visited, recorded);
    for (int depth = 0; out.size() < recorded.size(); ++depth)
        for (const auto& [d, c] : recorded)
            if (d == depth)
                out.push_back(c);
    if (!key.empty())
        caches.classLists.emplace(key, out);
}

} // namespace KITE::Util
