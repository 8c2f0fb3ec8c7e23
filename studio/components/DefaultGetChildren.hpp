#pragma once

#include "studio/components/GetChildrenBase.hpp"
#include "studio/components/kite_presentation_export.hpp"

namespace KITE {

// The tree populator for every kind of object: the children through the filters, as
// GetChildrenBase describes; an object has children when some value of a filtered attribute
// is a class object (the object filter is not asked then, so an object whose children are all
// filtered out may still be offered for expansion).
class KITE_PRESENTATION_EXPORT DefaultGetChildren : public GetChildrenBase {
public:
    DefaultGetChildren(boost::shared_ptr<Util::FilterBase> attributeFilter = {},
                       std::string filterMode = {},
                       boost::shared_ptr<Util::FilterBase> objectFilter = {});
    ~DefaultGetChildren() override;

    void visit(const VELD::ImmutableClassObject& object,
               std::vector<VELD::ImmutableClassObject>* out);

protected:
    DefaultGetChildren(Table* table, boost::shared_ptr<Util::FilterBase> attributeFilter,
                       std::string filterMode, boost::shared_ptr<Util::FilterBase> objectFilter);
    void internalRegisterParentTypes() override;
    bool internalHasAtleastOneChild(const VELD::ImmutableClassObject& object) override;
};

} // namespace KITE
