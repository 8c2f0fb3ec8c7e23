#pragma once

#include "platform/orbis/OrbisMessages.hpp"
#include "platform/tavi/CodeLocation.hpp"
#include "platform/tavi/ErrorHolder.hpp"
#include "platform/tavi/Holder.hpp"
#include "platform/tavi/StringID.hpp"

#include <algorithm>
#include <vector>

namespace PLATFORM {

// A registry of counted objects by name: the studio's services, the component
// factories. T has getName() giving something a StringID is made from. Names
// are matched exactly. The registry holds one count on each object; removing
// an object lets go of it. Registration order is kept.
template <typename T> class GenericRegistry {
public:
    GenericRegistry() = default;
    virtual ~GenericRegistry() = default;
    GenericRegistry(const GenericRegistry&) = delete;
    GenericRegistry& operator=(const GenericRegistry&) = delete;

    // Refuses a null object (PLATFORM_NullArgument) and a name already taken
    // (PLATFORM_ObjectAlreadyRegistered, the name as argument); the registry is
    // then unchanged and the caller's holder keeps its count.
    bool registerObject(const TAVI::Holder<T>& object, TAVI::ErrorHolder& errors) {
        if (!object) {
            reportError(errors, TAVI_HERE, Messages::NullArgument,
                        "GenericRegistry::registerObject");
            return false;
        }
        const TAVI::StringID name(object->getName());
        if (findIndex(name) != npos) {
            reportError(errors, TAVI_HERE, Messages::ObjectAlreadyRegistered, name.getString());
            return false;
        }
        entries.push_back(Entry{name, object});
        return true;
    }

    // False when nothing is registered under the name.
    bool unregisterObject(const TAVI::StringID& name) {
        const std::size_t index = findIndex(name);
        if (index == npos)
            return false;
        // Let go after the entry is gone: the object's destructor may look here.
        const TAVI::Holder<T> gone = entries[index].object;
        entries.erase(entries.begin() + static_cast<std::ptrdiff_t>(index));
        return true;
    }

    // The object registered under the name, or an empty holder.
    TAVI::Holder<T> getObject(const TAVI::StringID& name) const {
        const std::size_t index = findIndex(name);
        return index == npos ? TAVI::Holder<T>() : entries[index].object;
    }
    bool isRegistered(const TAVI::StringID& name) const { return findIndex(name) != npos; }

    std::vector<TAVI::StringID> names() const {
        std::vector<TAVI::StringID> result;
        result.reserve(entries.size());
        for (const Entry& entry : entries)
            result.push_back(entry.name);
        return result;
    }
    std::vector<TAVI::Holder<T>> objects() const {
        std::vector<TAVI::Holder<T>> result;
        result.reserve(entries.size());
        for (const Entry& entry : entries)
            result.push_back(entry.object);
        return result;
    }
    std::size_t size() const { return entries.size(); }

    // Lets go of every object, the last registered first.
    void clear() {
        while (!entries.empty()) {
            const TAVI::Holder<T> gone = entries.back().object;
            entries.pop_back();
        }
    }

private:
    struct Entry {
        TAVI::StringID name;
        TAVI::Holder<T> object;
    };
    static constexpr std::size_t npos = static_cast<std::size_t>(-1);

    std::size_t findIndex(const TAVI::StringID& name) const {
        const auto it = std::find_if(entries.begin(), entries.end(),
                                     [&](const Entry& entry) { return entry.name == name; });
        return it == entries.end() ? npos : static_cast<std::size_t>(it - entries.begin());
    }

    std::vector<Entry> entries;
};

} // namespace PLATFORM
