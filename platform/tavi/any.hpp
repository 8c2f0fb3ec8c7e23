#pragma once

#include "platform/tavi/StringID.hpp"
#include "platform/tavi/TypeInfo.hpp"
#include "platform/tavi/tavi_util_export.hpp"

#include <any>
#include <string>
#include <type_traits>

namespace TAVI {

// A value of any copyable type together with its TypeInfo, so it can be shown
// as text without knowing the type.
class TAVI_UTIL_EXPORT any {
public:
    any() = default;
    template <typename T, typename D = std::decay_t<T>,
              typename = std::enable_if_t<!std::is_same_v<D, any>>>
    any(T&& value) : value(std::forward<T>(value)), info(&TypeInfo::get<D>()) {}
    any(const char* text) : any(std::string(text ? text : "")) {}

    bool empty() const { return info == nullptr; }
    // The TypeInfo of the held value; that of void when empty.
    const TypeInfo& type() const { return info ? *info : TypeInfo::get<void>(); }
    std::string convertToString() const { return type().convertToString(*this); }

    // The held value, or null when it is of another type.
    template <typename T> const T* get() const { return std::any_cast<T>(&value); }

private:
    friend class TypeInfo;
    std::any value;
    const TypeInfo* info = nullptr;
};

// The held value; throws TypedException when it is of another type.
template <typename T> T any_cast(const any& value);

namespace detail {

[[noreturn]] TAVI_UTIL_EXPORT void throwBadAnyCast(const TypeInfo& held, const TypeInfo& wanted);

} // namespace detail

template <typename T> T any_cast(const any& value) {
    if (const T* held = value.get<T>())
        return *held;
    detail::throwBadAnyCast(value.type(), TypeInfo::get<T>());
}

} // namespace TAVI
