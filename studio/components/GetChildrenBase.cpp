#include "studio/components/GetChildrenBase.hpp"

#include <algorithm>
#include <unordered_set>

namespace KITE {

GetChildrenBase::GetChildrenBase(Table* dispatchTable,
                                 boost::shared_ptr<Util::FilterBase> attributes, std::string mode,
                                 boost::shared_ptr<Util::FilterBase> objects)
    : table(dispatchTable), attributeFilter(std::move(attributes)),
      objectFilter(std::move(objects)), filterMode(std::move(mode)) {}

GetChildrenBase::~GetChildrenBase() = default;

void GetChildrenBase::setStudioApp(StudioApp*) {}

StudioApp* GetChildrenBase::getStudioApp() const {
    return nullptr;
}

void GetChildrenBase::setFilter(const boost::shared_ptr<Util::FilterBase>& filter) {
    attributeFilter = filter;
}

void GetChildrenBase::setFilterObjectsByType(const boost::shared_ptr<Util::FilterBase>& filter) {
    objectFilter = filter;
}

void GetChildrenBase::execute(const VELD::ImmutableClassObject& object,
                              std::vector<VELD::ImmutableClassObject>* out) {
    if (!out)
        return;
    if (!registered)
        registerParentTypes();
    table->dispatch(*this, object, out);
}

bool GetChildrenBase::hasAtleastOneChild(const VELD::ImmutableClassObject& object) {
    return internalHasAtleastOneChild(object);
}

void GetChildrenBase::registerParentTypes() {
    internalRegisterParentTypes();
    registered = true;
}

bool GetChildrenBase::internalHasAtleastOneChild(const VELD::ImmutableClassObject&) {
    return false;
}

VELD::ImmutableSequence<VELD::ImmutableProperty>
GetChildrenBase::internalGetFilteredAttributes(const VELD::ImmutableClassObject& object) {
    const VELD::ImmutableClass cls = object.getMetaClass();
    return attributeFilter ? attributeFilter->execute(cls, filterMode) : cls.getAllAttributes();
}

VELD::ImmutableSequence<VELD::ImmutableObject>
GetChildrenBase::internalGetFilteredObjectsByType(const VELD::ImmutableClassObject& object,
                                                  const VELD::ImmutableProperty& property) {
    VELD::ImmutableSequence<VELD::ImmutableObject> values = object.get(property);
    if (!objectFilter)
        return values;
    return objectFilter->executePropertyFilter(object.getMetaClass(), property, values, filterMode);
}

void GetChildrenBase::getFilteredChildren(const VELD::ImmutableClassObject& object,
                                          std::vector<VELD::ImmutableClassObject>* out) {
    // A child reached through two attributes appears once, at its first place. Most objects
    // have a handful of children, searched in place; past that a set keeps the cost linear.
    constexpr std::size_t kSearchLimit = 16;
    std::unordered_set<VELD::ImmutableClassObject> present;
    bool indexed = false;
    auto isNew = [&](const VELD::ImmutableClassObject& child) {
        if (!indexed && out->size() >= kSearchLimit) {
            present.insert(out->begin(), out->end());
            indexed = true;
        }
        if (indexed)
            return present.insert(child).second;
        return std::find(out->begin(), out->end(), child) == out->end();
    };
    for (const VELD::ImmutableProperty& attribute : internalGetFilteredAttributes(object)) {
        for (const VELD::ImmutableObject& value :
             internalGetFilteredObjectsByType(object, attribute)) {
            if (!value.isClassObject())
                continue;
            VELD::ImmutableClassObject child = value.asClassObject();
            if (isNew(child))
                out->push_back(std::move(child));
        }
    }
}

} // namespace KITE
