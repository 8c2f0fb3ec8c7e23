#include "utils/ElementCreator.hpp"

#include "platform/tavi/ApplicationContext.hpp"
#include "platform/veld/Asserter.hpp"
#include "platform/veld/DomainRegistry.hpp"
#include "platform/veld/Exception.hpp"
#include "platform/veld/Model.hpp"
#include "platform/veld/Object.hpp"
#include "platform/veld/Sequence.hpp"

#include <unordered_set>

namespace KITE {

namespace {

constexpr const char* kNameProperty = "name";

// The text a name property holds; empty when unset.
std::string nameOf(const VELD::ImmutableClassObject& object) {
    const VELD::ImmutableProperty property = object.getMetaClass().getProperty(kNameProperty);
    if (property.isNull() || !property.isValid())
        return {};
    const VELD::ImmutableObject value = object.getOne(property);
    return value.isNull() ? std::string() : value.toString();
}

// Class name and number; numbering starts after the siblings of the class and skips a name
// some object of the parent goes by already, so that deleting Block1 of Block1 and Block2
// does not make a second Block2.
std::string generatedName(const VELD::ImmutableClassObject& parent,
                          const VELD::ImmutableClass& cls) {
    std::size_t sameClass = 0;
    std::unordered_set<std::string> taken;
    for (const VELD::ImmutableClassObject& child : parent.getContaineeVELDs()) {
        if (child.getMetaClass() == cls)
            ++sameClass;
        taken.insert(nameOf(child));
    }
    const std::string stem = cls.getName();
    for (std::size_t n = sameClass + 1;; ++n)
        if (std::string name = stem + std::to_string(n); !taken.count(name))
            return name;
}

void nameNewObject(const VELD::ClassObject& object, const VELD::ClassObject& parent,
                   const VELD::ImmutableClass& cls) {
    const VELD::ImmutableProperty nameProperty = cls.getProperty(kNameProperty);
    if (nameProperty.isNull() || !nameProperty.isValid())
        return;
    const VELD::ImmutableType type = nameProperty.getType();
    const std::string typeName = type.isEnumeration() ? type.getQualifiedName() : type.getName();
    try {
        object.setOrAdd(nameProperty, VELD::ValueObjectFactory::createFromString(
                                          typeName, generatedName(parent, cls)));
    } catch (const VELD::Exception&) {
        // A name property of a type that takes no text: the object stays unnamed.
    }
}

} // namespace

VELD::ClassObject GenericElementCreator::createElement(VELD::ClassObject parent,
                                                       VELD::ImmutableProperty property,
                                                       VELD::ImmutableClass cls) const {
    if (parent.isNull() || !parent.isValid()) {
        VELD_ASSERT(parent.isValid(), "parent of new type is not valid");
        return {};
    }
    const VELD::Model model(parent.getModelVELD());
    VELD::ClassObject object;
    if (!cls.isNull() && cls.isValid() && !cls.isAbstract())
        object = VELD::DomainRegistry::instance()
                     .createFactory(cls.getNamespace().getUri(), model)
                     .create(cls);
    if (object.isNull() || !object.isValid()) {
        VELD_ASSERT(object.isValid(), "newly creates element is not valid");
        return {};
    }
    nameNewObject(object, parent, cls);
    // A property that does not contain what it holds would leave the object in the model with
    // no container: refused before the object is put anywhere.
    if (property.isNull() || !property.isValid() || !property.isComposite()) {
        object.destroy();
        VELD_ASSERT(false, "The parent property was not set for this object creation.");
        return {};
    }
    parent.setOrAdd(property, object);
    if (object.getContainerVELD() != parent) {
        object.destroy();
        VELD_ASSERT(false, "The parent property was not set for this object creation.");
        return {};
    }
    return object;
}

namespace Util {

std::string extractObjectName(const VELD::ImmutableClassObject& object) {
    if (object.isNull() || !object.isValid()) {
        VELD_ASSERT(object.isValid(), "Expects a valid element");
        return {};
    }
    const VELD::ImmutableClass cls = object.getMetaClass();
    if (cls.isNull() || !cls.isValid()) {
        VELD_ASSERT(cls.isValid(), "Expects element to have a valid meta-class");
        return {};
    }
    const VELD::ImmutableProperty property = cls.getProperty(kNameProperty);
    if (property.isNull() || !property.isValid())
        return "unnamed";
    const std::string name = nameOf(object);
    return name.empty() ? "anonymous" : name;
}

const std::string& fetchQuasarRoot() {
    static std::string root;
    if (root.empty())
        root = TAVI::ApplicationContext::instance().getRootDirectory();
    return root;
}

} // namespace Util

} // namespace KITE
