#pragma once

#include "platform/veld/Object.hpp"
#include "platform/veld/VisitorTable.hpp"
#include "studio/components/kite_presentation_export.hpp"
#include "utils/FilterBase.hpp"

#include <boost/shared_ptr.hpp>

#include <string>
#include <vector>

namespace KITE {

class StudioApp;

// Gives the children of an object in the model tree: the class objects among the values of
// the attributes the attribute filter lets through, as far as the object filter lets them
// through, each once. Both filters may be empty (all attributes, all values); both get the
// filter mode. Filters and mode can be replaced at any time; the next execute uses them.
// Held by boost::shared_ptr (domain, tree delegate); the filters are shared.
class KITE_PRESENTATION_EXPORT GetChildrenBase {
public:
    using Table =
        VELD::VisitorTable<GetChildrenBase, void, std::vector<VELD::ImmutableClassObject>*>;

    virtual ~GetChildrenBase();

    virtual void setStudioApp(StudioApp* studioApp); // ignored here
    virtual StudioApp* getStudioApp() const;         // null here
    virtual void setFilter(const boost::shared_ptr<Util::FilterBase>& filter);
    virtual void setFilterObjectsByType(const boost::shared_ptr<Util::FilterBase>& filter);

    const boost::shared_ptr<Util::FilterBase>& getFilter() const { return attributeFilter; }
    const boost::shared_ptr<Util::FilterBase>& getFilterObjectsByType() const {
        return objectFilter;
    }
    const std::string& getFilterMode() const { return filterMode; }
    void setFilterMode(const std::string& mode) { filterMode = mode; }

    // Appends the children of object to out (a null out is ignored).
    void execute(const VELD::ImmutableClassObject& object,
                 std::vector<VELD::ImmutableClassObject>* out);
    // Whether the tree should offer to expand object; no dispatch.
    bool hasAtleastOneChild(const VELD::ImmutableClassObject& object);
    void registerParentTypes();

protected:
    GetChildrenBase(Table* table, boost::shared_ptr<Util::FilterBase> attributeFilter,
                    std::string filterMode, boost::shared_ptr<Util::FilterBase> objectFilter);

    virtual void internalRegisterParentTypes() = 0;
    virtual bool internalHasAtleastOneChild(const VELD::ImmutableClassObject& object);
    virtual VELD::ImmutableSequence<VELD::ImmutableProperty>
    internalGetFilteredAttributes(const VELD::ImmutableClassObject& object);
    virtual VELD::ImmutableSequence<VELD::ImmutableObject>
    internalGetFilteredObjectsByType(const VELD::ImmutableClassObject& object,
                                     const VELD::ImmutableProperty& property);

    void getFilteredChildren(const VELD::ImmutableClassObject& object,
                             std::vector<VELD::ImmutableClassObject>* out);
    Table* getDispatchTable() const { return table; }

private:
    Table* table; // shared by every instance of the concrete class; not owned
    boost::shared_ptr<Util::FilterBase> attributeFilter;
    boost::shared_ptr<Util::FilterBase> objectFilter;
    std::string filterMode;
    bool registered = false;
};

} // namespace KITE
