#pragma once

#include "platform/veld/Meta.hpp"
#include "platform/veld/veld_export.hpp"

#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace VELD {

class ImmutableClassObject;
class ImmutableObject;
template <typename T> class ImmutableSequence;

// Computes the values of a derived property for one object.
using DeriveFunction = std::function<std::vector<ImmutableObject>(const ImmutableClassObject&)>;

// A property as a client declares it. The type names a primitive type ("Boolean", "Integer",
// "Double", "String", "UnlimitedNatural"), an enumeration or a class: a simple name within the
// package being built, or a qualified name ("KITE.GraphNode") of a registered meta-model.
struct VELD_EXPORT PropertySpec {
    PropertySpec() = default;
    PropertySpec(std::string propertyName, std::string typeName)
        : name(std::move(propertyName)), type(std::move(typeName)) {}

    std::string name;
    std::string type;
    bool composite = false;
    bool derived = false;
    bool readOnly = false;
    int lowerBound = 0;
    int upperBound = 1; // -1: unlimited
    std::optional<std::string> defaultValue;
    DeriveFunction deriver; // derived properties only
};

struct VELD_EXPORT ClassSpec {
    std::string name;
    std::vector<std::string> superClasses; // simple or qualified names; none: the root class
    bool isAbstract = false;
    std::string hostTypeName; // empty: the qualified name with "."
    std::vector<PropertySpec> properties;

    ClassSpec& attribute(std::string propertyName, std::string typeName, bool many = false);
    ClassSpec& reference(std::string propertyName, std::string className, bool many = false);
    ClassSpec& containment(std::string propertyName, std::string className, bool many = true);
    ClassSpec& property(PropertySpec definition);
};

// Defines a meta-model (one package with classes, properties and enumerations) and registers
// it with the kernel under its URI. build() checks everything first: on any error it throws
// VELD::Exception naming what is wrong and registers nothing.
class VELD_EXPORT MetaModelBuilder {
public:
    MetaModelBuilder(std::string packageName, std::string uri);

    ClassSpec& addClass(std::string name, std::vector<std::string> superClasses = {},
                        bool isAbstract = false);
    void addEnumeration(std::string name, std::vector<std::string> literals);
    // The class of a new model's root object; by default the kernel's "VELD.Model".
    void setModelClass(std::string className);
    // Imports the meta-model registered under the URI, or this one for its own URI: its
    // package becomes one of this package's imported members. Imports may form cycles.
    void importPackage(std::string uri);

    ImmutableNamespace build();

private:
    std::string packageName;
    std::string packageUri;
    std::string modelClassName;
    std::vector<ClassSpec> classSpecs;
    std::vector<std::pair<std::string, std::vector<std::string>>> enumSpecs;
    std::vector<std::string> importedUris;
};

} // namespace VELD
