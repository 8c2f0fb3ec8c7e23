#pragma once

#include "platform/veld/VisitorTable.hpp"
#include "studio/components/kite_presentation_export.hpp"

#include <string>

namespace KITE {

// Gives an object its display text. A visitor over kernel objects: derived classes register
// per-class handlers in internalRegisterDescribableTypes, which runs on an instance's first
// describe (or registerDescribableTypes). Held by boost::shared_ptr (domain, studio, tree).
class KITE_PRESENTATION_EXPORT ElementDescriberBase {
public:
    using Table = VELD::VisitorTable<ElementDescriberBase, std::string, unsigned int>;

    virtual ~ElementDescriberBase();

    // nameOnly 0: the decorated text ("Gain1 (lib.Block)"); any other value: the bare name.
    std::string describe(const VELD::ImmutableClassObject& object, unsigned int nameOnly);
    void registerDescribableTypes();

protected:
    explicit ElementDescriberBase(Table* table);
    virtual void internalRegisterDescribableTypes() = 0;
    Table* getDispatchTable() const { return table; }

private:
    Table* table; // shared by every instance of the concrete class; not owned
    bool registered = false;
};

} // namespace KITE
