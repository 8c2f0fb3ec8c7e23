#pragma once

#include "platform/veld/ClassObject.hpp"
#include "platform/veld/Meta.hpp"
#include "platform/veld/Object.hpp"
#include "studio/components/kite_propbrowser_export.hpp"

#include <string>

namespace KITE {

// The record behind one row of the property browser: one property of one object, as a whole
// (index -1) or one element of a multi-valued property (index >= 0), and the value last fetched
// for display. A plain value, owned by the browser's view model; editors keep copies.
class KITE_PROPBROWSER_EXPORT PropBrowserProperty {
public:
    PropBrowserProperty() = default;
    PropBrowserProperty(const VELD::ClassObject& object, const VELD::ImmutableProperty& property,
                        int index = -1)
        : object(object), property(property), index(index) {}

    // Single-valued: the value; multi-valued as a whole: null; an element: the element at index,
    // null when index is past the end. Null as well for an object that is gone.
    VELD::Object getValue() const;
    // The value's text; empty for a null value.
    std::string getValueAsString() const;
    // As a whole: set (single-valued) or append (multi-valued); an element: replaced in place,
    // appended when index is past the end. Needs an open transaction on the object's model;
    // throws VELD::Exception as the kernel does.
    void setValue(const VELD::Object& value) const;
    // The value the kernel makes of the text for the property's type, then setValue(value).
    // Throws VELD::Exception for text that does not convert.
    void setValue(const std::string& text) const;

    // Whether both records stand for the same row: object, property and index.
    bool sameRow(const PropBrowserProperty& other) const {
        return object == other.object && property == other.property && index == other.index;
    }

    // A value the kernel could store but that no edit should put there: a number that is not
    // finite, a literal of another enumeration, an object that is not of the property's class,
    // a primitive of another type. Empty when the value fits.
    static std::string refusal(const VELD::ImmutableProperty& property,
                               const VELD::ImmutableObject& value);
    // The value the text stands for, checked with refusal; null with the reason in error when
    // the text does not convert or the value is refused. Blanks around numbers are ignored.
    static VELD::Object convert(const VELD::ImmutableProperty& property, const std::string& text,
                                std::string& error);

    VELD::ClassObject object;
    VELD::ImmutableProperty property;
    int index = -1;
    VELD::Object value; // cache of what the value column shows
};

} // namespace KITE
