#include "platform/datamodel/ChangeReports.hpp"

#include "platform/veld/Meta.hpp"
#include "platform/veld/Object.hpp"

namespace KITE {

namespace {

// Whether the element differs from its state before the transaction in anything but its
// place and size: a name, a value of a client's attribute, what it contains or connects.
bool changedBeyondGeometry(const ModelChangeReport& report,
                           const VELD::ImmutableClassObject& element) {
    const VELD::ImmutableClassObject before = report.getOldState(element);
    if (before.isNull() || !before.isValid())
        return true; // no earlier state to compare with: assume the worst
    static const VELD::ImmutableClass elementClass = ImmutableDiagramElement::MetaClass();
    static const VELD::ImmutableProperty geometry[] = {
        elementClass.getProperty("x"), elementClass.getProperty("y"),
        elementClass.getProperty("width"), elementClass.getProperty("height")};
    for (const VELD::ImmutableProperty& property : element.getMetaClass().getAllAttributes()) {
        if (property.isDerived())
            continue;
        bool isGeometry = false;
        for (const VELD::ImmutableProperty& g : geometry)
            isGeometry = isGeometry || property == g;
        if (isGeometry)
            continue;
        const VELD::ImmutableSequence<VELD::ImmutableObject> now = element.get(property);
        const VELD::ImmutableSequence<VELD::ImmutableObject> then = before.get(property);
        if (now.size() != then.size())
            return true;
        auto a = now.begin();
        for (auto b = then.begin(); b != then.end(); ++a, ++b)
            if (!(*a == *b))
                return true;
    }
    return false;
}

} // namespace

bool changesMoreThanDiagramElements(const ModelChangeReport* report) {
    if (!report || !report->getAdded().empty() || !report->getRemoved().empty())
        return true;
    const VELD::ImmutableSequence<VELD::ImmutableClassObject> modified = report->getModified();
    if (modified.empty())
        return true; // nothing listed: the caller cannot tell what changed
    const VELD::ImmutableClass element = ImmutableDiagramElement::MetaClass();
    for (const VELD::ImmutableClassObject& object : modified)
        if (!VELD::isa(object.getMetaClass(), element) || changedBeyondGeometry(*report, object))
            return true;
    return false;
}

} // namespace KITE
