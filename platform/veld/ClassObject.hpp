#pragma once

#include "platform/veld/detail/Core.hpp"
#include "platform/veld/veld_export.hpp"

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace VELD {

class ImmutableClass;
class ImmutableProperty;
class ImmutableType;
class ImmutableEnumeration;
class ImmutableEnumerationLiteral;
class ImmutableNamespace;
class ImmutableModel;
class Model;
class ImmutableObject;
class Object;
template <typename T> class ImmutableSequence;
template <typename T> class Sequence;

// A read-only handle to a model object as one deviant shows it. Handles are small values:
// copying one is cheap, they compare and hash by the identity of the object (whatever deviant
// they see it through), and a handle whose object or deviant is gone is invalid, never
// dangling. Reading through an invalid handle throws VELD::Exception.
class VELD_EXPORT ImmutableClassObject {
public:
    ImmutableClassObject() = default;
    ImmutableClassObject(detail::ObjectCore* core, detail::ViewRef view)
        : objectCore(core), deviantView(std::move(view)) {}

    static ImmutableClass MetaClass(); // the root of every class

    bool isNull() const { return objectCore == nullptr; }
    bool isValid() const { return detail::exists(deviantView.get(), objectCore); }
    explicit operator bool() const { return isValid(); }

    ImmutableClass getMetaClass() const;
    bool isa(const ImmutableClass& cls) const;
    ImmutableClassObject getContainerVELD() const;
    ImmutableProperty getContainingProperty() const;
    ImmutableSequence<ImmutableClassObject> getContaineeVELDs() const;

    ImmutableSequence<ImmutableObject> get(const ImmutableProperty& property) const;
    ImmutableObject getOne(const ImmutableProperty& property) const;
    ImmutableObject getOne(std::string_view propertyName) const;
    bool isSet(const ImmutableProperty& property) const;

    // Typed reads of single-valued properties (unset gives the default value).
    bool getBoolean(const ImmutableProperty& property) const;
    std::int64_t getInteger(const ImmutableProperty& property) const;
    double getDouble(const ImmutableProperty& property) const;
    std::string getString(const ImmutableProperty& property) const;
    ImmutableClassObject getObject(const ImmutableProperty& property) const;

    ImmutableModel getModelVELD() const; // the deviant this handle sees through
    ImmutableModel getRootModel() const;
    ImmutableClassObject asDeviant(const ImmutableModel& deviant) const;

    const char* getFullyQualifiedNoxTypeName() const;
    std::string toString() const;

    // Views of meta-data objects; invalid when the object is not of that kind.
    ImmutableClass asClass() const;
    ImmutableProperty asProperty() const;
    ImmutableType asType() const;
    ImmutableEnumeration asEnumeration() const;
    ImmutableEnumerationLiteral asEnumerationLiteral() const;
    ImmutableNamespace asNamespace() const;

    bool operator==(const ImmutableClassObject& o) const { return objectCore == o.objectCore; }
    std::size_t hash() const { return std::hash<const void*>()(objectCore); }

    detail::ObjectCore* core() const { return objectCore; }
    detail::ViewCore* view() const { return deviantView.get(); }
    const detail::ViewRef& viewRef() const { return deviantView; }

protected:
    const detail::State& state(const char* operation) const; // throws when invalid

    detail::ObjectCore* objectCore = nullptr;
    detail::ViewRef deviantView;
};

inline std::size_t gHash(const ImmutableClassObject& o) {
    return o.hash();
}

struct VELD_EXPORT ClassObjectHash {
    std::size_t operator()(const ImmutableClassObject& o) const { return o.hash(); }
};

// A handle through which the object can be changed. Every change needs an open transaction on
// the handle's deviant; otherwise, and for any other misuse, VELD::Exception is thrown and the
// model is unchanged.
class VELD_EXPORT ClassObject : public ImmutableClassObject {
public:
    ClassObject() = default;
    ClassObject(detail::ObjectCore* core, detail::ViewRef view)
        : ImmutableClassObject(core, std::move(view)) {}
    explicit ClassObject(const ImmutableClassObject& o) : ImmutableClassObject(o) {}

    ClassObject getContainerVELD() const;
    ClassObject asDeviant(const ImmutableModel& deviant) const;

    // The values of the property, bound to it: changes through the sequence change the model.
    Sequence<Object> get(const ImmutableProperty& property) const;

    // Single-valued: replaces the value (a null value unsets). Multi-valued: appends.
    void setOrAdd(const ImmutableProperty& property, const ImmutableObject& value) const;
    void set(const ImmutableProperty& property, const ImmutableObject& value) const;
    // Appends to a multi-valued property; on a single-valued one only when it is unset.
    void add(const ImmutableProperty& property, const ImmutableObject& value) const;
    void unset(const ImmutableProperty& property) const;

    void setBoolean(const ImmutableProperty& property, bool value) const;
    void setInteger(const ImmutableProperty& property, std::int64_t value) const;
    void setDouble(const ImmutableProperty& property, double value) const;
    void setString(const ImmutableProperty& property, std::string_view value) const;
    void setObject(const ImmutableProperty& property, const ImmutableClassObject& value) const;

    // Destroys the object and everything it contains. References to destroyed objects read
    // as unset from then on; undo brings the objects and those references back.
    void destroy() const;
};

} // namespace VELD

template <> struct std::hash<VELD::ImmutableClassObject> {
    std::size_t operator()(const VELD::ImmutableClassObject& o) const { return o.hash(); }
};
template <> struct std::hash<VELD::ClassObject> {
    std::size_t operator()(const VELD::ClassObject& o) const { return o.hash(); }
};
