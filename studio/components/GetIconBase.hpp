#pragma once

#include "platform/veld/VisitorTable.hpp"
#include "studio/components/IconNode.hpp"
#include "studio/components/kite_presentation_export.hpp"

#include <string>

namespace KITE {

// Gives an object its icon key (an icon file path). Icons are stored per class; a class
// without its own icon takes the first one found depth-first through its superclasses, in
// their declared order, and keeps it (only the class first asked for is remembered). Classes
// with no icon up their hierarchy, and types that are not classes, get the default icon.
// Held by boost::shared_ptr (domain, studio application, tree).
class KITE_PRESENTATION_EXPORT GetIconBase {
public:
    using Table = VELD::VisitorTable<GetIconBase, std::string>;

    virtual ~GetIconBase();

    // The icon key of a valid object (an invalid one is reported and gives "").
    std::string execute(const VELD::ImmutableClassObject& object);
    void registerVisitableTypes();

    // Registers every stored icon with the studio framework's icon manager, under its tag, as
    // the normal "on" image (icons the storage learns later by inheritance are not included).
    virtual void populateIconManager();
    virtual const IconNode& getIconNodeGivenType(const VELD::ImmutableType& type);
    virtual const std::string& getNameGivenType(const VELD::ImmutableType& type);
    virtual const std::string& getTagGivenType(const VELD::ImmutableType& type);

protected:
    explicit GetIconBase(Table* table);

    virtual void internalRegisterVisitableTypes() = 0;
    // One node shared by every instance, alive until the module unloads.
    virtual const IconNode& doGetDefaultIcon() = 0;
    virtual void doPopulateIconStorageMap(IconStorageMap& map) = 0;
    // The node of type; visited is the set of classes seen by the lookup in progress (null
    // for a new lookup, which alone stores what it finds).
    virtual const IconNode& doGetIconNodeGivenType(const VELD::ImmutableType& type,
                                                   VisitedTypeSet* visited);

    IconStorageMap& getIconStorageMap() { return iconStorageMap; }
    // The host installation root, read once (while it reads empty) from the application context.
    static const std::string& quasarRoot();
    Table* getDispatchTable() const { return table; }

private:
    Table* table; // shared by every instance of the concrete class; not owned
    bool registered = false;
    IconStorageMap iconStorageMap;
};

} // namespace KITE
