#pragma once

#include "platform/veld/VisitorTable.hpp"
#include "studio/components/kite_presentation_export.hpp"

namespace KITE {

// Tells whether an object's display text may be edited in place. Registration as for
// ElementDescriberBase.
class KITE_PRESENTATION_EXPORT ElementIsEditableObjectBase {
public:
    using Table = VELD::VisitorTable<ElementIsEditableObjectBase, bool, unsigned int>;

    virtual ~ElementIsEditableObjectBase();

    bool isEditable(const VELD::ImmutableClassObject& object, unsigned int flag);
    void registerDescribableTypes();

protected:
    explicit ElementIsEditableObjectBase(Table* table);
    virtual void internalRegisterDescribableTypes() = 0;
    Table* getDispatchTable() const { return table; }

private:
    Table* table; // shared by every instance of the concrete class; not owned
    bool registered = false;
};

} // namespace KITE
