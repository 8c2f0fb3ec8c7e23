#include "platform/tavi/TypeInfo.hpp"

#include "platform/tavi/TypedException.hpp"
#include "platform/tavi/any.hpp"

#include <cstdlib>
#include <cxxabi.h>
#include <memory>

namespace TAVI {

namespace detail {

std::string demangledName(const std::type_info& type) {
    if (type == typeid(std::string))
        return "std::string";
    int status = 0;
    std::unique_ptr<char, void (*)(void*)> name(
        abi::__cxa_demangle(type.name(), nullptr, nullptr, &status), std::free);
    return status == 0 && name ? std::string(name.get()) : std::string(type.name());
}

void throwBadAnyCast(const TypeInfo& held, const TypeInfo& wanted) {
    throw TypedException(TAVI_HERE, "TAVI::any_cast: the value holds " + held.getName() + ", not " +
                                        wanted.getName());
}

} // namespace detail

TypeInfo::TypeInfo(const std::type_info& t, std::string (*convert)(const void*),
                   const void* (*addressOf)(const std::any&))
    : type(&t), toString(convert), address(addressOf), name(detail::demangledName(t)) {}

std::string TypeInfo::convertToString(const any& value) const {
    if (value.empty())
        return {};
    if (!(*value.info == *this))
        throw TypedException(TAVI_HERE, "TAVI::TypeInfo::convertToString: the value holds " +
                                            value.info->getName() + ", not " + name);
    return toString(address(value.value));
}

} // namespace TAVI
