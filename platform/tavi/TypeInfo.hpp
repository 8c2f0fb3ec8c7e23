#pragma once

#include "platform/tavi/StringID.hpp"
#include "platform/tavi/tavi_util_export.hpp"

#include <any>
#include <charconv>
#include <string>
#include <type_traits>
#include <typeinfo>

namespace TAVI {

class any;

namespace detail {
template <typename T> const void* anyAddress(const std::any& value) {
    if constexpr (std::is_void_v<T>)
        return nullptr;
    else
        return std::any_cast<T>(&value);
}
TAVI_UTIL_EXPORT std::string demangledName(const std::type_info& type);

template <typename T> std::string anyToString(const void* value) {
    if constexpr (std::is_void_v<T>) {
        return {};
    } else {
        const T& v = *static_cast<const T*>(value);
        if constexpr (std::is_same_v<T, bool>) {
            return v ? "true" : "false";
        } else if constexpr (std::is_same_v<T, std::string>) {
            return v;
        } else if constexpr (std::is_same_v<T, StringID>) {
            return v.getString();
        } else if constexpr (std::is_same_v<T, char>) {
            return std::string(1, v);
        } else if constexpr (std::is_arithmetic_v<T>) {
            char buffer[64];
            const auto result = std::to_chars(buffer, buffer + sizeof buffer, v);
            return std::string(buffer, result.ptr);
        } else if constexpr (std::is_enum_v<T>) {
            const auto underlying = static_cast<std::underlying_type_t<T>>(v);
            return anyToString<std::underlying_type_t<T>>(&underlying);
        } else {
            return "<" + demangledName(typeid(T)) + ">";
        }
    }
}

} // namespace detail

// Describes the type of the value an `any` holds: its name and how to show it
// as text. One TypeInfo exists per type; compare them by address or ==.
class TAVI_UTIL_EXPORT TypeInfo {
public:
    template <typename T> static const TypeInfo& get() {
        static const TypeInfo info(typeid(T), &detail::anyToString<T>, &detail::anyAddress<T>);
        return info;
    }

    const std::string& getName() const { return name; }
    const std::type_info& getTypeId() const { return *type; }

    // The text of a value of this type: strings as they are, numbers in their
    // shortest exact decimal form, booleans as "true"/"false", StringIDs as their
    // text; other types as "<type name>". An empty `any` gives "". Throws
    // TypedException when the value holds another type.
    std::string convertToString(const any& value) const;

    bool operator==(const TypeInfo& other) const { return *type == *other.type; }

private:
    TypeInfo(const std::type_info& type, std::string (*toString)(const void*),
             const void* (*address)(const std::any&));

    const std::type_info* type;
    std::string (*toString)(const void*);
    const void* (*address)(const std::any&);
    std::string name;
};

} // namespace TAVI
