#include "studio/components/DefaultGetChildren.hpp"

namespace KITE {

DefaultGetChildren::DefaultGetChildren(boost::shared_ptr<Util::FilterBase> attributeFilter,
                                       std::string filterMode,
                                       boost::shared_ptr<Util::FilterBase> objectFilter)
    : DefaultGetChildren(Table::forClass<DefaultGetChildren>(), std::move(attributeFilter),
                         std::move(filterMode), std::move(objectFilter)) {}

DefaultGetChildren::DefaultGetChildren(Table* table,
                                       boost::shared_ptr<Util::FilterBase> attributeFilter,
                                       std::string filterMode,
                                       boost::shared_ptr<Util::FilterBase> objectFilter)
    : GetChildrenBase(table, std::move(attributeFilter), std::move(filterMode),
                      std::move(objectFilter)) {}

DefaultGetChildren::~DefaultGetChildren() = default;

void DefaultGetChildren::internalRegisterParentTypes() {
    Table::Handler generic = Table::member(&DefaultGetChildren::visit);
    getDispatchTable()->registerHandler(VELD::ImmutableClassObject::MetaClass(), generic);
    getDispatchTable()->setDefaultHandler(generic);
}

void DefaultGetChildren::visit(const VELD::ImmutableClassObject& object,
                               std::vector<VELD::ImmutableClassObject>* out) {
    getFilteredChildren(object, out);
}

bool DefaultGetChildren::internalHasAtleastOneChild(const VELD::ImmutableClassObject& object) {
    if (!object.isValid())
        return false;
    for (const VELD::ImmutableProperty& attribute : internalGetFilteredAttributes(object))
        for (const VELD::ImmutableObject& value : object.get(attribute))
            if (value.isClassObject())
                return true;
    return false;
}

} // namespace KITE
