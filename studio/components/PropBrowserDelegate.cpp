#include "studio/components/PropBrowserDelegate.hpp"

#include "platform/veld/Model.hpp"
#include "platform/veld/Sequence.hpp"
#include "studio/components/DefaultElementDescriber.hpp"
#include "studio/components/PropBrowserProperty.hpp"
#include "studio/components/propwidgets/CheckBox.hpp"
#include "studio/components/propwidgets/EnumComboBox.hpp"
#include "studio/components/propwidgets/NumericTextBox.hpp"
#include "studio/components/propwidgets/ObjectComboBox.hpp"
#include "studio/components/propwidgets/TextEditor.hpp"
#include "studio/components/propwidgets/TextEditorDialog.hpp"

#include <algorithm>
#include <unordered_set>

namespace KITE {

namespace {

// A property holding child objects: the model tree lists those, not the browser.
bool holdsChildObjects(const VELD::ImmutableProperty& property) {
    return property.isComposite() && property.getType().isClass();
}

// What a value cell shows for a value.
std::string displayText(const VELD::ImmutableObject& value) {
    if (value.isNull())
        return {};
    if (!value.isClassObject())
        return value.toString();
    const VELD::ImmutableClassObject object = value.asClassObject();
    if (!object.isValid())
        return {};
    const VELD::ImmutableClass metaClass = object.getMetaClass();
    const VELD::ImmutableProperty name = metaClass.getProperty("name");
    if (!name.isNull() && name.isValid() && !name.isMultivalued() && object.isSet(name)) {
        const VELD::ImmutableObject text = object.getOne(name);
        if (!text.isNull())
            return text.toString();
    }
    return ": " + metaClass.getQualifiedName();
}

bool isValidObject(const VELD::ImmutableObject& value) {
    return value.isClassObject() && value.asClassObject().isValid();
}

// Every subclass of cls, depth first and in order, then cls itself.
void addClasses(const VELD::ImmutableClass& cls, std::vector<VELD::ImmutableClass>& out,
                std::unordered_set<VELD::ImmutableClassObject>& seen) {
    for (const VELD::ImmutableClass& sub : cls.getSubClasses())
        if (seen.insert(sub).second) {
            addClasses(sub, out, seen);
            out.push_back(sub);
        }
}

} // namespace

PropBrowserDelegate::PropBrowserDelegate() = default;

PropBrowserDelegate::~PropBrowserDelegate() = default;

std::string PropBrowserDelegate::getName(const PropBrowserProperty& record) {
    if (record.property.isNull() || !record.property.isValid())
        return {};
    std::string name = record.property.getName();
    if (record.property.isMultivalued() && record.index >= 0)
        name += "[" + std::to_string(record.index) + "] ";
    return name;
}

std::string PropBrowserDelegate::getValue(const PropBrowserProperty& record) {
    return displayText(record.getValue());
}

bool PropBrowserDelegate::isReadOnly(const PropBrowserProperty& record) {
    return record.property.isNull() || record.property.isReadOnly();
}

bool PropBrowserDelegate::isExpandable(const PropBrowserProperty& record) {
    if (!record.object.isValid() || record.property.isNull())
        return false;
    if (record.property.isMultivalued() && record.index < 0)
        return !static_cast<const VELD::ImmutableClassObject&>(record.object)
                    .get(record.property)
                    .empty();
    return isValidObject(record.getValue());
}

TAVI::Color PropBrowserDelegate::getNameColor(const PropBrowserProperty&) {
    return TAVI::Color(TAVI::Color::Default);
}

TAVI::Color PropBrowserDelegate::getValueColor(const PropBrowserProperty&) {
    return TAVI::Color(TAVI::Color::Default);
}

std::vector<VELD::ImmutableProperty>
PropBrowserDelegate::getProperties(const VELD::ImmutableClassObject& object) {
    std::vector<VELD::ImmutableProperty> properties;
    if (!object.isValid())
        return properties;
    for (const VELD::ImmutableProperty& property : object.getMetaClass().getOwnedAttributes())
        if (!property.isDerived() && !holdsChildObjects(property))
            properties.push_back(property);
    return properties;
}

TAVI::EditTrigger PropBrowserDelegate::getEditTrigger() {
    return TAVI::GLAbstractView2::CurrentChanged;
}

bool PropBrowserDelegate::alternateRowColors() {
    return true;
}

VELD::ClassObject PropBrowserDelegate::getItemToSelect(const VELD::ClassObject&) {
    return VELD::ClassObject();
}

PropBrowserEditor* PropBrowserDelegate::createEditor(const PropBrowserProperty& record) {
    if (record.property.isNull() || !record.property.isValid())
        return nullptr;
    const bool single = !record.property.isMultivalued();
    if (!single && record.index < 0)
        return nullptr;
    const VELD::ImmutableType type = record.property.getType();
    if (type.isNull() || !type.isValid())
        return nullptr;
    if (type.isEnumeration())
        return createEnumComboBox(record);
    const std::string name = type.getName();
    if (name == "Boolean")
        return createBooleanCheckBox(record);
    if (name == "Integer" || name == "Double" || name == "UnlimitedNatural")
        return createNumericTextBox(record);
    if (name == "String")
        return createTextEditor(record);
    if (single && type.isClass())
        return createObjectComboBox(record);
    if (single && type.isPrimitive())
        return createTextEditor(record);
    return nullptr;
}

std::vector<VELD::ClassObject>
PropBrowserDelegate::getObjectsForComboBox(const PropBrowserProperty& record) {
    std::vector<VELD::ClassObject> candidates;
    const VELD::ImmutableClass type(record.property.getType());
    if (type.isNull() || !type.isValid())
        return candidates;
    std::vector<VELD::ImmutableClass> classes;
    std::unordered_set<VELD::ImmutableClassObject> classSet{type};
    addClasses(type, classes, classSet);
    classes.push_back(type);

    // Depth first, each object walked once: namespaces that import each other, and additional
    // candidates that lead back, end the walk instead of looping.
    std::unordered_set<VELD::ImmutableClassObject> walked;
    std::vector<VELD::ClassObject> pending{getScopeForObjectComboBox(record)};
    while (!pending.empty()) {
        const VELD::ClassObject object = pending.back();
        pending.pop_back();
        if (!object.isValid() || !walked.insert(object).second)
            continue;
        if (classSet.count(object.getMetaClass()))
            candidates.push_back(object);
        std::vector<VELD::ClassObject> next;
        for (const VELD::ImmutableClassObject& child : object.getContaineeVELDs())
            next.emplace_back(child);
        if (const VELD::ImmutableNamespace space(object); !space.isNull())
            for (const VELD::ImmutableClassObject& member : space.getImportedMembers())
                next.emplace_back(member);
        for (const VELD::ClassObject& more : getAdditionalCandidatesForObjectComboBox(object))
            next.push_back(more);
        pending.insert(pending.end(), next.rbegin(), next.rend());
    }
    return candidates;
}

VELD::ClassObject
PropBrowserDelegate::getScopeForObjectComboBox(const PropBrowserProperty& record) {
    if (!record.object.isValid())
        return VELD::ClassObject();
    return VELD::Model(record.object.getRootModel()).getRootObject();
}

std::vector<VELD::ClassObject>
PropBrowserDelegate::getAdditionalCandidatesForObjectComboBox(const VELD::ClassObject&) {
    return {};
}

std::string PropBrowserDelegate::describeForComboBox(const VELD::ClassObject& object) {
    DefaultElementDescriber describer;
    describer.registerDescribableTypes();
    return describer.describe(object, 0);
}

bool PropBrowserDelegate::shouldRefreshFromReportOfChanges(const ModelChangeReport* report) const {
    return changesMoreThanDiagramElements(report);
}

bool PropBrowserDelegate::openTextEditorDialog(const PropBrowserProperty&) {
    return true;
}

std::string PropBrowserDelegate::getBrowserTitle(const VELD::ImmutableClassObject& object) const {
    if (!object.isValid())
        return "Properties";
    return "Properties - " + object.getMetaClass().getQualifiedName();
}

PropBrowserEditor* PropBrowserDelegate::createBooleanCheckBox(const PropBrowserProperty& record) {
    return new PropertyBrowserWidgetsNS::CheckBox(record);
}

PropBrowserEditor* PropBrowserDelegate::createEnumComboBox(const PropBrowserProperty& record) {
    return new PropertyBrowserWidgetsNS::EnumComboBox(record);
}

PropBrowserEditor* PropBrowserDelegate::createNumericTextBox(const PropBrowserProperty& record) {
    return new PropertyBrowserWidgetsNS::NumericTextBox(record);
}

PropBrowserEditor* PropBrowserDelegate::createObjectComboBox(const PropBrowserProperty& record) {
    return new PropertyBrowserWidgetsNS::ObjectComboBox(record, this);
}

PropBrowserEditor* PropBrowserDelegate::createTextEditor(const PropBrowserProperty& record) {
    const std::string text = record.getValueAsString();
    if (std::find(text.begin(), text.end(), '\n') == text.end())
        return new PropertyBrowserWidgetsNS::TextEditor(record, this);
    if (openTextEditorDialog(record)) {
        // The delegate keeps the dialog: one at a time, the last one opened.
        textDialog =
            std::make_unique<PropertyBrowserWidgetsNS::TextEditorDialog>(record, text, nullptr);
        textDialog->show();
    }
    return nullptr;
}

} // namespace KITE
