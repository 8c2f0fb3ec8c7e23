#pragma once

#include "platform/tavi/SharedMultiMap.hpp"
#include "platform/tavi/tavi_util_export.hpp"

#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <type_traits>
#include <unordered_map>

namespace TAVI {

// Hash functions for the toolkit's hashed containers. Other types join by
// declaring gHash(const T&) in their own namespace (found by argument lookup).
inline std::size_t gHash(std::string_view text) {
    return std::hash<std::string_view>()(text);
}
inline std::size_t gHash(const std::string& text) {
    return std::hash<std::string>()(text);
}
template <typename T, typename = std::enable_if_t<std::is_arithmetic_v<T> || std::is_enum_v<T>>>
std::size_t gHash(T value) {
    return std::hash<T>()(value);
}
template <typename T> std::size_t gHash(T* pointer) {
    return std::hash<T*>()(pointer);
}

struct TAVI_UTIL_EXPORT GHasher {
    template <typename T> std::size_t operator()(const T& value) const { return gHash(value); }
};

// A hashed map with implicit sharing (see SharedMultiMap): copies are cheap and share the
// data until one of them changes; insert() keeps one value per key, insertMulti() adds another.
template <typename K, typename V>
class GHash : public detail::SharedMultiMap<std::unordered_multimap<K, V, GHasher>> {};

} // namespace TAVI
