#pragma once

#include "platform/veld/ClassObject.hpp"
#include "studio/components/ElementDescriberBase.hpp"
#include "studio/components/kite_presentation_export.hpp"

namespace KITE {

// Describes every object alike: its own "name" attribute followed by " (" + the qualified
// class name + ")", "<No Name>" standing in for a missing name; an empty name gives ":" and
// the qualified name of the attribute's type. Derive and register more classes for
// class-specific texts (pass your class's table: Table::forClass<YourDescriber>()).
class KITE_PRESENTATION_EXPORT DefaultElementDescriber : public ElementDescriberBase {
public:
    DefaultElementDescriber();
    ~DefaultElementDescriber() override;

    std::string visit(const VELD::ClassObject& object, unsigned int nameOnly);

protected:
    explicit DefaultElementDescriber(Table* table);
    void internalRegisterDescribableTypes() override;
};

} // namespace KITE
