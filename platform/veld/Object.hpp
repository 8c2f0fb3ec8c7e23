#pragma once

#include "platform/veld/ClassObject.hpp"
#include "platform/veld/veld_export.hpp"

#include <cstdint>
#include <string>
#include <string_view>
#include <variant>

namespace VELD {

// Any value a property can hold: a model object, a primitive value or an enumeration
// literal; or nothing (null).
class VELD_EXPORT ImmutableObject {
public:
    ImmutableObject() = default;
    ImmutableObject(const ImmutableClassObject& object); // NOLINT: an object is a value
    ImmutableObject(const ImmutableEnumerationLiteral& literal);

    static ImmutableObject fromBoolean(bool v);
    static ImmutableObject fromInteger(std::int64_t v);
    static ImmutableObject fromUnlimitedNatural(std::int64_t v); // -1: unlimited
    static ImmutableObject fromDouble(double v);
    static ImmutableObject fromString(std::string_view v);

    bool isNull() const;
    bool isClassObject() const { return kind == Kind::Object; }
    bool isPrimitive() const { return kind == Kind::Primitive; }
    bool isEnumerationLiteral() const { return kind == Kind::Literal; }

    ImmutableType getMetaType() const;
    std::string toString() const;

    ImmutableClassObject asClassObject() const;
    ImmutableEnumerationLiteral asEnumerationLiteral() const;
    // Typed reads; VELD::Exception when the value is of another type.
    bool toBoolean() const;
    std::int64_t toInteger() const; // Integer and UnlimitedNatural
    double toDouble() const;        // Double, and Integer widened
    std::string toStringValue() const;

    bool operator==(const ImmutableObject& o) const;

    // Kernel-internal representation.
    const ImmutableClassObject& objectHandle() const { return classObject; }
    detail::PrimitiveKind primitiveKind() const { return primitive; }
    const detail::LiteralInfo* literal() const { return literalRecord; }
    const std::variant<std::monostate, bool, std::int64_t, double, std::string>& raw() const {
        return value;
    }

protected:
    enum class Kind : std::uint8_t { Null, Object, Primitive, Literal };
    Kind kind = Kind::Null;
    detail::PrimitiveKind primitive = detail::PrimitiveKind::None;
    ImmutableClassObject classObject;
    const detail::LiteralInfo* literalRecord = nullptr;
    std::variant<std::monostate, bool, std::int64_t, double, std::string> value;
};

// The mutable flavour: its object, if any, can be changed.
class VELD_EXPORT Object : public ImmutableObject {
public:
    Object() = default;
    Object(const ImmutableObject& o) : ImmutableObject(o) {}      // NOLINT
    Object(const ImmutableClassObject& o) : ImmutableObject(o) {} // NOLINT
    ClassObject asClassObject() const { return ClassObject(ImmutableObject::asClassObject()); }
};

// A primitive value or enumeration literal.
class VELD_EXPORT ValueObject : public ImmutableObject {
public:
    ValueObject() = default;
    explicit ValueObject(const ImmutableObject& o);
};

// Makes values from text: typeName is a primitive type name or the qualified name of an
// enumeration ("lib.Color"). VELD::Exception when the type is unknown or the text does not
// convert.
class VELD_EXPORT ValueObjectFactory {
public:
    static ValueObject createFromString(std::string_view typeName, std::string_view text);
};

} // namespace VELD
