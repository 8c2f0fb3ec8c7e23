#include "studio/components/PropBrowserProperty.hpp"

#include "platform/veld/Exception.hpp"
#include "platform/veld/Sequence.hpp"

#include <cmath>

namespace KITE {

namespace {

bool isOneOf(const std::string& name, std::initializer_list<const char*> names) {
    for (const char* candidate : names)
        if (name == candidate)
            return true;
    return false;
}

bool numeric(const VELD::ImmutableType& type) {
    return type.isPrimitive() && isOneOf(type.getName(), {"Integer", "Double", "UnlimitedNatural"});
}

std::string trimmed(const std::string& text) {
    const auto first = text.find_first_not_of(" \t\r\n");
    if (first == std::string::npos)
        return {};
    return text.substr(first, text.find_last_not_of(" \t\r\n") - first + 1);
}

} // namespace

VELD::Object PropBrowserProperty::getValue() const {
    if (!object.isValid() || property.isNull())
        return VELD::Object();
    if (!property.isMultivalued())
        return VELD::Object(object.getOne(property));
    if (index < 0)
        return VELD::Object();
    const VELD::ImmutableSequence<VELD::ImmutableObject> values =
        static_cast<const VELD::ImmutableClassObject&>(object).get(property);
    if (index >= values.size())
        return VELD::Object();
    return VELD::Object(values.at(index));
}

std::string PropBrowserProperty::getValueAsString() const {
    const VELD::Object current = getValue();
    return current.isNull() ? std::string() : current.toString();
}

void PropBrowserProperty::setValue(const VELD::Object& newValue) const {
    if (index < 0) {
        object.setOrAdd(property, newValue);
        return;
    }
    const VELD::Sequence<VELD::Object> values = object.get(property);
    if (index < values.size()) {
        values.erase(index);
        values.insert(index, newValue);
    } else {
        values.append(newValue);
    }
}

void PropBrowserProperty::setValue(const std::string& text) const {
    setValue(VELD::Object(
        VELD::ValueObjectFactory::createFromString(property.getType().getQualifiedName(), text)));
}

std::string PropBrowserProperty::refusal(const VELD::ImmutableProperty& property,
                                         const VELD::ImmutableObject& value) {
    if (value.isNull())
        return {};
    const VELD::ImmutableType type = property.getType();
    const std::string typeName = type.getQualifiedName();
    if (type.isClass()) {
        const VELD::ImmutableClassObject object = value.asClassObject();
        if (!value.isClassObject() || !object.isValid())
            return "not an object of " + typeName;
        if (!object.isa(VELD::ImmutableClass(type)))
            return object.getMetaClass().getQualifiedName() + " is not a " + typeName;
        return {};
    }
    if (type.isEnumeration()) {
        if (!value.isEnumerationLiteral() ||
            value.asEnumerationLiteral().getEnumeration() != VELD::ImmutableEnumeration(type))
            return "'" + value.toString() + "' is not a literal of " + typeName;
        return {};
    }
    if (!value.isPrimitive() || value.getMetaType() != type) {
        // An Integer where a Double is wanted is a number all the same.
        if (!(type.getName() == "Double" && value.isPrimitive() &&
              value.getMetaType().getName() == "Integer"))
            return "'" + value.toString() + "' is not a " + type.getName();
    }
    if (type.getName() == "Double" && !std::isfinite(value.toDouble()))
        return "'" + value.toString() + "' is not a finite number";
    return {};
}

VELD::Object PropBrowserProperty::convert(const VELD::ImmutableProperty& property,
                                          const std::string& text, std::string& error) {
    error.clear();
    const VELD::ImmutableType type = property.getType();
    if (type.isNull() || !type.isValid()) {
        error = "the property has no type";
        return VELD::Object();
    }
    if (type.isClass()) {
        error = "an object cannot be written as text";
        return VELD::Object();
    }
    VELD::Object value;
    try {
        value = VELD::Object(VELD::ValueObjectFactory::createFromString(
            type.getQualifiedName(), numeric(type) ? trimmed(text) : text));
    } catch (const VELD::Exception&) {
        error = "'" + text + "' is not " + (type.isEnumeration() ? "a literal of " : "a ") +
                (type.isEnumeration() ? type.getQualifiedName() : type.getName());
        return VELD::Object();
    }
    error = refusal(property, value);
    return error.empty() ? value : VELD::Object();
}

} // namespace KITE
