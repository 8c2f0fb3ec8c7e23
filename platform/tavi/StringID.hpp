#pragma once

#include "platform/tavi/tavi_util_export.hpp"

#include <cstddef>
#include <functional>
#include <string>
#include <string_view>

namespace TAVI {

namespace detail {
struct StringIDEntry;
}

// An interned string used as a name, key or role. Each distinct text is stored
// once per process and lives until the process ends, so a StringID is a single
// pointer: copying, comparing and hashing cost nothing. Equality is exact;
// equalsIgnoreCase compares without ASCII case. A default StringID is the empty
// string. Safe to create from any thread.
class TAVI_UTIL_EXPORT StringID {
public:
    StringID();
    StringID(std::string_view text);
    StringID(const char* text); // null is the empty string
    StringID(const std::string& text);

    const std::string& getString() const;
    const char* c_str() const { return getString().c_str(); }
    bool isEmpty() const;

    bool equalsIgnoreCase(const StringID& other) const;
    std::size_t hash() const;

    bool operator==(const StringID& other) const { return entry == other.entry; }
    // Orders by text, so sorted containers list names alphabetically.
    bool operator<(const StringID& other) const;

    // True when the text has been interned already (by any StringID).
    static bool isInterned(std::string_view text);

private:
    const detail::StringIDEntry* entry;
};

TAVI_UTIL_EXPORT std::size_t gHash(const StringID& id);

} // namespace TAVI

template <> struct std::hash<TAVI::StringID> {
    std::size_t operator()(const TAVI::StringID& id) const noexcept { return id.hash(); }
};
