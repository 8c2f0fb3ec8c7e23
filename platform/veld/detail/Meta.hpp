// Private to platform/veld/: included only by its own sources and tests; not installed.
#pragma once

// The process-wide table of meta-data: every registered package, class, property, type and
// enumeration, and the kernel objects that stand for them.

#include "platform/veld/detail/Core.hpp"

#include <map>
#include <memory>

namespace VELD::detail {

struct MetaRegistry {
    std::vector<std::unique_ptr<MetaInfo>> owned;
    std::unordered_map<const ObjectCore*, MetaInfo*> byCore;
    std::map<std::string, PackageInfo*, std::less<>> byUri;
    std::map<std::string, MetaInfo*, std::less<>> byQualifiedName; // "." separated
    std::vector<ClassInfo*> classes;                               // by id
    std::uint32_t nextPropertyId = 0;

    PackageInfo* kernelPackage = nullptr;
    ClassInfo* classObjectClass = nullptr; // the root of every class
    ClassInfo* modelClass = nullptr;       // "VELD.Model"
    ClassInfo* classClass = nullptr;
    ClassInfo* propertyClass = nullptr;
    ClassInfo* primitiveTypeClass = nullptr;
    ClassInfo* enumerationClass = nullptr;
    ClassInfo* literalClass = nullptr;
    ClassInfo* packageClass = nullptr;
    PrimitiveInfo* primitives[6] = {}; // indexed by PrimitiveKind

    MetaInfo* find(const ObjectCore* core) const {
        auto it = byCore.find(core);
        return it == byCore.end() ? nullptr : it->second;
    }
    MetaInfo* findQualified(std::string_view qualifiedName) const {
        auto it = byQualifiedName.find(qualifiedName);
        return it == byQualifiedName.end() ? nullptr : it->second;
    }
};

MetaRegistry& meta(); // made on first use, with the kernel's own package

// Computes slots, masks and ancestors of a class whose supers are laid out already.
void layoutClass(ClassInfo& c);

SlotKind slotKindOf(const TypeRef& t);

// Text conversions of primitive values; false when the text does not convert.
bool parsePrimitive(PrimitiveKind kind, std::string_view text, Slot& out, std::string& owned);
std::string formatDouble(double d);
std::string formatPrimitive(PrimitiveKind kind, const Slot& s);
const char* primitiveName(PrimitiveKind kind);

} // namespace VELD::detail
