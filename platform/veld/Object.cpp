#include "platform/veld/Object.hpp"

#include "platform/veld/Exception.hpp"
#include "platform/veld/Meta.hpp"
#include "platform/veld/detail/Meta.hpp"

namespace VELD {

using namespace detail;

ImmutableObject::ImmutableObject(const ImmutableClassObject& object) {
    if (object.isNull())
        return;
    kind = Kind::Object;
    classObject = object;
}

ImmutableObject::ImmutableObject(const ImmutableEnumerationLiteral& literal) {
    if (!literal.literalInfo())
        return;
    kind = Kind::Literal;
    literalRecord = literal.literalInfo();
}

ImmutableObject ImmutableObject::fromBoolean(bool v) {
    ImmutableObject o;
    o.kind = Kind::Primitive;
    o.primitive = PrimitiveKind::Boolean;
    o.value = v;
    return o;
}

ImmutableObject ImmutableObject::fromInteger(std::int64_t v) {
    ImmutableObject o;
    o.kind = Kind::Primitive;
    o.primitive = PrimitiveKind::Integer;
    o.value = v;
    return o;
}

ImmutableObject ImmutableObject::fromUnlimitedNatural(std::int64_t v) {
    if (v < -1)
        throw Exception("ImmutableObject::fromUnlimitedNatural: " + std::to_string(v) +
                        " is not an UnlimitedNatural");
    ImmutableObject o = fromInteger(v);
    o.primitive = PrimitiveKind::UnlimitedNatural;
    return o;
}

ImmutableObject ImmutableObject::fromDouble(double v) {
    ImmutableObject o;
    o.kind = Kind::Primitive;
    o.primitive = PrimitiveKind::Double;
    o.value = v;
    return o;
}

ImmutableObject ImmutableObject::fromString(std::string_view v) {
    ImmutableObject o;
    o.kind = Kind::Primitive;
    o.primitive = PrimitiveKind::String;
    o.value = std::string(v);
    return o;
}

bool ImmutableObject::isNull() const {
    return kind == Kind::Null;
}

ImmutableType ImmutableObject::getMetaType() const {
    switch (kind) {
    case Kind::Object:
        return ImmutableType(classObject.getMetaClass());
    case Kind::Literal:
        return ImmutableType(metaHandle(literalRecord->enumeration));
    case Kind::Primitive:
        return ImmutableType(metaHandle(meta().primitives[int(primitive)]));
    case Kind::Null:
        break;
    }
    return {};
}

std::string ImmutableObject::toString() const {
    switch (kind) {
    case Kind::Object:
        return classObject.toString();
    case Kind::Literal:
        return literalRecord->name;
    case Kind::Primitive: {
        Slot s{};
        if (auto* b = std::get_if<bool>(&value))
            s.b = *b;
        else if (auto* i = std::get_if<std::int64_t>(&value))
            s.i = *i;
        else if (auto* d = std::get_if<double>(&value))
            s.d = *d;
        else
            return std::get<std::string>(value);
        return formatPrimitive(primitive, s);
    }
    case Kind::Null:
        break;
    }
    return {};
}

ImmutableClassObject ImmutableObject::asClassObject() const {
    return kind == Kind::Object ? classObject : ImmutableClassObject();
}

ImmutableEnumerationLiteral ImmutableObject::asEnumerationLiteral() const {
    return kind == Kind::Literal ? ImmutableEnumerationLiteral(metaHandle(literalRecord))
                                 : ImmutableEnumerationLiteral();
}

namespace {
[[noreturn]] void wrongType(const ImmutableObject& o, const char* want) {
    throw Exception(std::string("ImmutableObject: '") + o.toString() + "' is not a " + want);
}
} // namespace

bool ImmutableObject::toBoolean() const {
    if (auto* b = std::get_if<bool>(&value))
        return *b;
    wrongType(*this, "Boolean");
}

std::int64_t ImmutableObject::toInteger() const {
    if (auto* i = std::get_if<std::int64_t>(&value))
        return *i;
    wrongType(*this, "Integer");
}

double ImmutableObject::toDouble() const {
    if (auto* d = std::get_if<double>(&value))
        return *d;
    if (auto* i = std::get_if<std::int64_t>(&value))
        return static_cast<double>(*i);
    wrongType(*this, "Double");
}

std::string ImmutableObject::toStringValue() const {
    if (auto* s = std::get_if<std::string>(&value))
        return *s;
    wrongType(*this, "String");
}

bool ImmutableObject::operator==(const ImmutableObject& o) const {
    if (kind != o.kind)
        return false;
    switch (kind) {
    case Kind::Null:
        return true;
    case Kind::Object:
        return classObject == o.classObject;
    case Kind::Literal:
        return literalRecord == o.literalRecord;
    case Kind::Primitive: {
        // Doubles compare by their bits, so NaN equals itself and 0.0 differs from -0.0.
        auto* a = std::get_if<double>(&value);
        auto* b = std::get_if<double>(&o.value);
        if (a && b)
            return std::memcmp(a, b, sizeof(double)) == 0;
        return primitive == o.primitive && value == o.value;
    }
    }
    return false;
}

ValueObject::ValueObject(const ImmutableObject& o) : ImmutableObject(o) {
    if (isClassObject())
        throw Exception("ValueObject: '" + o.toString() + "' is an object, not a value");
}

ValueObject ValueObjectFactory::createFromString(std::string_view typeName, std::string_view text) {
    MetaRegistry& reg = meta();
    for (int k = 1; k <= 5; ++k) {
        const auto kind = PrimitiveKind(k);
        const std::string name = primitiveName(kind);
        if (typeName != name && typeName != "VELD." + name)
            continue;
        Slot s{};
        std::string owned;
        if (!parsePrimitive(kind, text, s, owned))
            throw Exception("ValueObjectFactory::createFromString: '" + std::string(text) +
                            "' is not a valid " + name);
        switch (kind) {
        case PrimitiveKind::Boolean:
            return ValueObject(ImmutableObject::fromBoolean(s.b));
        case PrimitiveKind::Integer:
            return ValueObject(ImmutableObject::fromInteger(s.i));
        case PrimitiveKind::UnlimitedNatural:
            return ValueObject(ImmutableObject::fromUnlimitedNatural(s.i));
        case PrimitiveKind::Double:
            return ValueObject(ImmutableObject::fromDouble(s.d));
        default:
            return ValueObject(ImmutableObject::fromString(owned));
        }
    }
    MetaInfo* m = reg.findQualified(typeName);
    if (m && m->metaKind == MetaKind::Enumeration) {
        LiteralInfo* l = static_cast<EnumInfo*>(m)->literalNamed(text);
        if (!l)
            throw Exception("ValueObjectFactory::createFromString: '" + std::string(text) +
                            "' is not a literal of '" + std::string(typeName) + "'");
        return ValueObject(ImmutableObject(ImmutableEnumerationLiteral(metaHandle(l))));
    }
    throw Exception("ValueObjectFactory::createFromString: unknown type '" + std::string(typeName) +
                    "'");
}

} // namespace VELD
