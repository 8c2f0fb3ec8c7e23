#pragma once

#include "platform/veld/ClassObject.hpp"
#include "platform/veld/VisitorTable.hpp"
#include "studio/components/kite_presentation_export.hpp"

#include <string>

namespace KITE {

// Writes an edited display text back into an object, inside the caller's transaction; kernel
// exceptions reach the caller. Registration as for ElementDescriberBase.
class KITE_PRESENTATION_EXPORT ElementSetDescriptionBase {
public:
    using Table = VELD::VisitorTable<ElementSetDescriptionBase, void, const std::string&>;

    virtual ~ElementSetDescriptionBase();

    void setDescription(const VELD::ClassObject& object, const std::string& text);
    void registerDescribableTypes();

protected:
    explicit ElementSetDescriptionBase(Table* table);
    virtual void internalRegisterDescribableTypes() = 0;
    Table* getDispatchTable() const { return table; }

private:
    Table* table; // shared by every instance of the concrete class; not owned
    bool registered = false;
};

} // namespace KITE
