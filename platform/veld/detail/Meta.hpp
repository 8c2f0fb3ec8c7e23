// Private to platform/veld/: included only by its own sources and tests; not installed.
#pragma once

// The process-wide table of meta-data: every registered package, class, property, type and
// enumeration, and the kernel objects that stand for them. What the model-file reader (veld_io,
// a library of its own) uses is exported, so that shared builds link.

#include "platform/veld/detail/Core.hpp"

#include <map>
#include <memory>

namespace VELD::detail {

struct MetaRegistry {
    std::vector<std::unique_ptr<MetaInfo>> owned;
    std::unordered_map<const ObjectCore*, MetaInfo*> byCore;
    std::map<std::string, PackageInfo*, std::less<>> byUri;
    // "." separated. Packages of different URIs may share a name, so a name can stand for
    // several meta-data; a lookup by such a name must say which URI it means.
    std::map<std::string, std::vector<MetaInfo*>, std::less<>> byQualifiedName;
    std::vector<ClassInfo*> classes; // by id
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
    // Everything a qualified name ("lib.Block") or a URI-qualified name ("{urn:lib}Block")
    // stands for.
    VELD_EXPORT std::vector<MetaInfo*> findAllQualified(std::string_view name) const;
    // The one meta-datum of that name; null when there is none or when the name is ambiguous.
    MetaInfo* findQualified(std::string_view name) const {
        const std::vector<MetaInfo*> all = findAllQualified(name);
        return all.size() == 1 ? all.front() : nullptr;
    }
};

VELD_EXPORT MetaRegistry& meta(); // made on first use, with the kernel's own package

// Computes slots, masks and ancestors of a class whose supers are laid out already.
void layoutClass(ClassInfo& c);

SlotKind slotKindOf(const TypeRef& t);

// Splits a URI-qualified name "{uri}Name" into its URI and simple name; false for any other
// form of name.
VELD_EXPORT bool splitUriName(std::string_view name, std::string_view& uri,
                              std::string_view& simple);
// A member of a package by its simple name; null when none.
VELD_EXPORT MetaInfo* memberNamed(const PackageInfo& package, std::string_view simple);
// "'lib.Block' is ambiguous: ..." naming the URIs a reader may choose from.
VELD_EXPORT std::string ambiguityMessage(std::string_view name,
                                         const std::vector<MetaInfo*>& candidates);

// Text conversions of primitive values; false when the text does not convert.
VELD_EXPORT bool parsePrimitive(PrimitiveKind kind, std::string_view text, Slot& out,
                                std::string& owned);
VELD_EXPORT std::string formatDouble(double d);
VELD_EXPORT std::string formatPrimitive(PrimitiveKind kind, const Slot& s);
VELD_EXPORT const char* primitiveName(PrimitiveKind kind);

} // namespace VELD::detail
