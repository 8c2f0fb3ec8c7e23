#pragma once

#include "platform/veld/ClassObject.hpp"
#include "platform/veld/veld_export.hpp"

#include <string>
#include <string_view>

namespace VELD {

namespace detail {
struct MetaInfo;
}

// Meta-data are kernel objects too: these handles are views of them. Each is invalid when
// the object is not of its kind.
class VELD_EXPORT ImmutableType : public ImmutableClassObject {
public:
    ImmutableType() = default;
    explicit ImmutableType(const ImmutableClassObject& o);

    std::string getName() const;
    std::string getQualifiedName() const; // "." separated
    std::string getQualifiedNameWithSeperator(std::string_view separator) const;
    bool isPrimitive() const;
    bool isEnumeration() const;
    bool isClass() const;

    detail::MetaInfo* info() const { return record; }

protected:
    detail::MetaInfo* record = nullptr;
};

class VELD_EXPORT ImmutableClass : public ImmutableType {
public:
    ImmutableClass() = default;
    explicit ImmutableClass(const ImmutableClassObject& o);

    bool isAbstract() const;
    ImmutableSequence<ImmutableProperty> getOwnedAttributes() const;
    ImmutableSequence<ImmutableProperty> getAllAttributes() const;          // inherited included
    ImmutableProperty getOwnedAttributeByName(std::string_view name) const; // owned only
    ImmutableProperty getAttributeByName(std::string_view name) const;      // inherited too
    ImmutableProperty getProperty(std::string_view name) const;             // inherited too
    ImmutableSequence<ImmutableClass> getSuperClasses() const;
    ImmutableSequence<ImmutableClass> getSubClasses() const;
    ImmutableNamespace getNamespace() const;
    const char* getHostTypeName() const;

    detail::ClassInfo* classInfo() const;
};

class VELD_EXPORT ImmutableProperty : public ImmutableClassObject {
public:
    ImmutableProperty() = default;
    explicit ImmutableProperty(const ImmutableClassObject& o);

    std::string getName() const;
    ImmutableType getType() const;
    ImmutableClass getOwner() const;
    bool isComposite() const;
    bool isDerived() const;
    bool isMultivalued() const;
    bool isReadOnly() const;
    int lowerBound() const;
    int upperBound() const;   // -1: unlimited
    bool isReference() const; // class-typed

    detail::PropertyInfo* propertyInfo() const { return record; }

private:
    detail::PropertyInfo* record = nullptr;
};

class VELD_EXPORT ImmutableEnumerationLiteral : public ImmutableClassObject {
public:
    ImmutableEnumerationLiteral() = default;
    explicit ImmutableEnumerationLiteral(const ImmutableClassObject& o);

    std::string getName() const;
    ImmutableEnumeration getEnumeration() const;
    detail::LiteralInfo* literalInfo() const { return record; }

private:
    detail::LiteralInfo* record = nullptr;
};

class VELD_EXPORT ImmutableEnumeration : public ImmutableType {
public:
    ImmutableEnumeration() = default;
    explicit ImmutableEnumeration(const ImmutableClassObject& o);

    ImmutableSequence<ImmutableEnumerationLiteral> getOwnedLiterals() const;
    ImmutableEnumerationLiteral getLiteral(std::string_view name) const;
};

// A package: the namespace of a meta-model's classes, types and sub-packages.
class VELD_EXPORT ImmutableNamespace : public ImmutableClassObject {
public:
    ImmutableNamespace() = default;
    explicit ImmutableNamespace(const ImmutableClassObject& o);

    std::string getName() const;
    std::string getQualifiedNameWithSeperator(std::string_view separator) const;
    std::string getUri() const;
    ImmutableSequence<ImmutableClassObject> getOwnedMembers() const;
    ImmutableSequence<ImmutableClassObject> getImportedMembers() const;
    ImmutableClass getClass(std::string_view simpleName) const;
    ImmutableClass getModelClass() const;

    detail::PackageInfo* packageInfo() const;
};
using Namespace = ImmutableNamespace;

// True when cls is baseClass or inherits from it (through any of its superclasses).
VELD_EXPORT bool isa(const ImmutableClass& cls, const ImmutableClass& baseClass);
// Fills out with every class that inherits from cls, optionally cls itself first.
VELD_EXPORT void getAllSubClasses(const ImmutableClass& cls, Sequence<ImmutableClass>& out,
                                  bool includeSelf);

namespace detail {
VELD_EXPORT ImmutableClassObject metaHandle(const MetaInfo* info);
}

} // namespace VELD
